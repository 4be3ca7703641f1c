#pragma once
// The add-on's code linked into the test and driven directly (pickers, swatches, the sync dialog's
// steps), with a stand-in host answering its calls and a queue of user actions as the pump.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

#include "API/ApiElements.hpp"
#include "CommandsTestSupport.hpp"
#include "DG/DGUser.hpp"
#include "Database/ProjectDatabase.hpp"
#include "GSRoot/Debug.hpp"
#include "HostApi/HostCalls.hpp"
#include "HostApi/HostElementCalls.hpp"

namespace Commands {

class InProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUpProject(host, kEstimateRows);
        CalvoraSetHostTable(host.Table());
        ProjectDatabase::instance().reopen();
        DG::User::ResetLogs();
        previousPump = DG::User::SetPump([this] {
            if (actions.empty())
                return false;
            auto action = std::move(actions.front());
            actions.pop_front();
            action();
            return true;
        });
        GS::SetDebugCapture([this](const std::string& text) { debugOutput += text; });
    }
    void TearDown() override
    {
        GS::SetDebugCapture(nullptr);
        DG::User::SetPump(previousPump);
        ProjectDatabase::instance().reopen();
        CalvoraClearHostTable();
    }

    API_Element Element(const char* guid)
    {
        API_Element element{};
        element.header.guid = GSGuid2APIGuid(GS::Guid(guid));
        EXPECT_EQ(HostGetElement(&element), NoError) << guid;
        return element;
    }
    // Runs a user action on the top modal; a refused action fails the test.
    void Act(std::function<bool(Int16 panel, std::string* error)> action)
    {
        actions.push_back([action] {
            std::string error;
            EXPECT_TRUE(action(DG::User::TopModal(), &error)) << error;
        });
    }

    Host::StandInHost host;
    std::deque<std::function<void()>> actions;
    DG::User::Pump previousPump;
    std::string debugOutput;
};

}  // namespace Commands
