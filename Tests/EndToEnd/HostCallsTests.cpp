// The add-on's host wrappers, linked in-process, against an empty table and against the stand-in host.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "HostApi/HostCalls.hpp"
#include "HostApi/HostElementCalls.hpp"
#include "GSRoot/Memory.hpp"
#include "Host/StandInHost.hpp"
#include "ScenarioSupport.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace {

TEST(HostWrappers, AnEmptySlotAnswersMissingEntryWithoutCalling)
{
    API_FunctionTable table{};
    CalvoraSetHostTable(&table);
    ASSERT_TRUE(CalvoraHostTablePresent());

    // Every wrapper is the one slot call; a few of each header stand for them all.
    API_ModulData modData{};
    API_MenuItemRef ref{32500, 1};
    GSFlags flags = 0;
    API_Element element{};
    API_ElementMemo memo{};
    HostAttribute attribute{};
    API_PenType pen{};
    const std::vector<std::pair<const char*, std::function<GSErrCode()>>> calls = {
        {"HostRegisterMenu", [&] { return HostRegisterMenu(32500, 32506, 0, 0); }},
        {"HostGetMenuItemFlags", [&] { return HostGetMenuItemFlags(&ref, &flags); }},
        {"HostRegisterPalette", [&] { return HostRegisterPalette(1, nullptr, 0, APINULLGuid); }},
        {"HostGetModuleData", [&] { return HostGetModuleData(&modData, "CalvoraDB"); }},
        {"HostGetElement", [&] { return HostGetElement(&element); }},
        {"HostGetElementMemo", [&] { return HostGetElementMemo(APINULLGuid, &memo, 0); }},
        {"HostGetAttribute", [&] { return HostGetAttribute(&attribute); }},
        {"HostGetPen", [&] { return HostGetPen(&pen); }},
    };
    for (const auto& [name, call] : calls)
        EXPECT_EQ(call(), APIERR_MISSINGENTRY) << name;

    // The ones without a result do nothing.
    HostKeepInMemory(true);
    HostWriteReport(false, "%s", "nothing");
    EXPECT_EQ(HostGetMainWindow(), nullptr);
    API_Variant variant{};
    API_PropertyDefinition definition{};
    EXPECT_FALSE(HostIsValidPropertyValue(variant, definition));

    // A filled slot is called.
    table.entries[Slot_RegisterMenu] = reinterpret_cast<void*>(+[](GS::Int16, GS::Int16, GS::Int32, GSFlags) {
        return GSErrCode(42);
    });
    CalvoraSetHostTable(&table);
    EXPECT_EQ(HostRegisterMenu(32500, 32506, 0, 0), 42);
    CalvoraClearHostTable();
    EXPECT_FALSE(CalvoraHostTablePresent());
    EXPECT_EQ(HostRegisterMenu(32500, 32506, 0, 0), APIERR_MISSINGENTRY);
}

TEST(StringResources, ItemsOfTheAddOnsOwnLists)
{
    struct Case {
        GS::Int16 list;
        GS::Int16 index;
        const char* text;
    } cases[] = {
        {32527, 1, "Import from SQL"},
        {32527, 2, "File Not Found"},
        {32000, 1, "Calvora"},
        {32000, 2, "Calvora :: Project Quantities and Cost Estimation"},
        {32500, 2, "Show Calvora Palette^E3^ES^EE^EI^ET^EM^EW"},
        {32527, 99, ""},
        {32506, 1, ""},
        {32000, 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetResString(c.list, c.index).ToUtf8(), c.text) << c.list << "/" << c.index;
}

// The estimate's bytes survive the project's save and reopen, and the add-on reads exactly them; a
// store the host refuses keeps what was there.
TEST(ProjectFile, ModuleDataSurvivesSaveAndReopenByteForByte)
{
    const std::string path = Scenario::TempDir() + "/roundtrip.json";
    for (std::size_t size : {0, 1, 3, 4099}) {
        std::vector<unsigned char> bytes;
        for (std::size_t i = 0; i < size; ++i)
            bytes.push_back(static_cast<unsigned char>((i * 131) ^ (i >> 3)));
        {
            Host::StandInHost host;
            host.SetModuleData("CalvoraDB", bytes);
            std::string error;
            ASSERT_TRUE(host.SaveProject(path, &error)) << error;
        }
        Host::StandInHost host;
        std::string error;
        ASSERT_TRUE(host.OpenProject(path, &error)) << error;
        CalvoraSetHostTable(host.Table());
        API_ModulData info{};
        ASSERT_EQ(HostGetModuleData(&info, "CalvoraDB"), NoError);
        ASSERT_NE(info.dataHdl, nullptr);
        ASSERT_EQ(static_cast<std::size_t>(BMGetHandleSize(info.dataHdl)), size);
        EXPECT_TRUE(size == 0 || std::memcmp(*info.dataHdl, bytes.data(), size) == 0) << size;

        host.FailOperation("HostStoreModuleData");
        EXPECT_EQ(HostStoreModuleData(&info, "Other"), APIERR_GENERAL);
        EXPECT_FALSE(host.ModuleData("Other").has_value());
        host.ClearFailures();
        EXPECT_EQ(HostStoreModuleData(&info, "Other"), NoError);
        EXPECT_EQ(host.ModuleData("Other"), bytes);
        BMKillHandle(&info.dataHdl);
        API_ModulData missing{};
        EXPECT_NE(HostGetModuleData(&missing, "Missing"), NoError);
        EXPECT_EQ(missing.dataHdl, nullptr);
        CalvoraClearHostTable();
    }
}

}  // namespace
