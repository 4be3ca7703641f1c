#pragma once
// A stand-in host holding the fixture model, with its table handed to the add-on's host calls.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "Calvora/HostElementCalls.hpp"
#include "GSRoot/Memory.hpp"
#include "Host/ElementOps.hpp"
#include "Host/Model.hpp"
#include "Host/StandInHost.hpp"

namespace Fx {
// Elements of the fixture model.
constexpr const char* BasicWall = "E0000000-0000-4000-8000-000000000001";
constexpr const char* CompositeWall = "E0000000-0000-4000-8000-000000000002";
constexpr const char* ProfiledWall = "E0000000-0000-4000-8000-000000000003";
constexpr const char* BasicColumn = "E0000000-0000-4000-8000-000000000011";
constexpr const char* ProfiledColumn = "E0000000-0000-4000-8000-000000000012";
constexpr const char* PlainBeam = "E0000000-0000-4000-8000-000000000021";
constexpr const char* SlantedBeam = "E0000000-0000-4000-8000-000000000022";
constexpr const char* Window = "E0000000-0000-4000-8000-000000000031";
constexpr const char* Door = "E0000000-0000-4000-8000-000000000032";
constexpr const char* Object = "E0000000-0000-4000-8000-000000000041";
constexpr const char* CompositeSlab = "E0000000-0000-4000-8000-000000000051";
constexpr const char* BasicSlab = "E0000000-0000-4000-8000-000000000052";
constexpr const char* Roof = "E0000000-0000-4000-8000-000000000061";
constexpr const char* Zone = "E0000000-0000-4000-8000-000000000071";
constexpr const char* Fill = "E0000000-0000-4000-8000-000000000081";
constexpr const char* Line = "E0000000-0000-4000-8000-000000000091";
constexpr const char* ArcPolyline = "E0000000-0000-4000-8000-0000000000A1";
constexpr const char* OvercountedPolyline = "E0000000-0000-4000-8000-0000000000A2";
constexpr const char* SectionElement = "E0000000-0000-4000-8000-0000000000B1";
constexpr const char* CurtainWall = "E0000000-0000-4000-8000-0000000000C1";
constexpr const char* Morph = "E0000000-0000-4000-8000-0000000000D1";
constexpr const char* Stair = "E0000000-0000-4000-8000-0000000000E1";
constexpr const char* Railing = "E0000000-0000-4000-8000-0000000000F1";
constexpr const char* Missing = "E0000000-0000-4000-8000-0000000000FF";

// Databases.
constexpr const char* FloorPlanDb = "DB000000-0000-4000-8000-000000000001";
constexpr const char* ModelDb = "DB000000-0000-4000-8000-000000000004";
constexpr const char* SectionA = "DB000000-0000-4000-8000-00000000000A";
constexpr const char* SectionB = "DB000000-0000-4000-8000-00000000000B";

// Property definitions.
constexpr const char* FireRating = "DF000000-0000-4000-8000-000000000001";
constexpr const char* LoadReal = "DF000000-0000-4000-8000-000000000002";
constexpr const char* Count = "DF000000-0000-4000-8000-000000000003";
constexpr const char* LoadInteger = "DF000000-0000-4000-8000-000000000004";
constexpr const char* SlabOnly = "DF000000-0000-4000-8000-000000000005";

inline API_Guid G(const char* text) { return GSGuid2APIGuid(GS::Guid(text)); }

inline Host::Json LoadJson(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return Host::Json::parse(in);
}
}  // namespace Fx

class HostModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.SetProject(Fx::LoadJson(HOSTMODEL_FIXTURE));
        CalvoraSetHostTable(host.Table());
        Host::ResetElementCounters();
        Host::ClearDatabaseSwitches();
        handlesBefore = GS::LiveHandleCount();
        ptrsBefore = GS::LivePtrCount();
    }
    void TearDown() override { CalvoraClearHostTable(); }

    // Everything handed out was given back.
    void ExpectNothingLive() const
    {
        EXPECT_EQ(GS::LiveHandleCount(), handlesBefore);
        EXPECT_EQ(GS::LivePtrCount(), ptrsBefore);
        EXPECT_TRUE(Host::ElementCounters().Balanced());
    }

    static API_Element Read(const char* guid, GSErrCode* code = nullptr)
    {
        API_Element element{};
        element.header.guid = Fx::G(guid);
        GSErrCode err = HostGetElement(&element);
        if (code != nullptr)
            *code = err;
        return element;
    }

    Host::StandInHost host;
    GS::Int64 handlesBefore = 0;
    GS::Int64 ptrsBefore = 0;
};
