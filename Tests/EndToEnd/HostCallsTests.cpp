// The add-on's host wrappers, linked in-process, against an empty table and against the stand-in host.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

#include "HostApi/HostCalls.hpp"
#include "HostApi/HostElementCalls.hpp"
#include "GSRoot/Memory.hpp"
#include "Host/Script.hpp"
#include "Host/StandInHost.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace {

GSErrCode NoCallAllowed()
{
    ADD_FAILURE() << "an empty slot was called";
    return NoError;
}

TEST(HostWrappers, EveryEmptySlotAnswersMissingEntryWithoutCalling)
{
    API_FunctionTable table{};
    CalvoraSetHostTable(&table);
    ASSERT_TRUE(CalvoraHostTablePresent());

    API_ModulData modData{};
    GS::Array<GS::ArrayFB<GS::UniString, 3>> autoTexts;
    API_SelectionInfo selInfo{};
    GS::Array<API_Neig> neigs;
    GS::Array<API_Guid> guids;
    API_MenuItemRef ref{32500, 1};
    GSFlags flags = 0;
    API_Element element{};
    API_Elem_Head head{};
    API_ElementMemo memo{};
    API_QuantityPar qpar{};
    API_Quantities quantities{};
    HostQuantitiesMask qmask{};
    GS::UniString text;
    GS::Array<API_PropertyDefinition> defs;
    API_Property property{};
    GS::Array<API_Property> properties;
    HostAttribute attribute{};
    HostAttributeDef attrDef{};
    HostAttributeDefExt attrDefExt{};
    API_PenType pen{};
    HostDatabaseInfo db{};
    HostStoryInfo story{};
    HostLibPartParams lpp{};

    const std::vector<std::pair<const char*, std::function<GSErrCode()>>> calls = {
        {"HostRegisterMenu", [&] { return HostRegisterMenu(32500, 32506, 0, 0); }},
        {"HostInstallMenuHandler", [&] { return HostInstallMenuHandler(32500, nullptr); }},
        {"HostGetMenuItemFlags", [&] { return HostGetMenuItemFlags(&ref, &flags); }},
        {"HostSetMenuItemFlags", [&] { return HostSetMenuItemFlags(&ref, &flags); }},
        {"HostRegisterPalette", [&] { return HostRegisterPalette(1, nullptr, 0, APINULLGuid); }},
        {"HostUnregisterPalette", [&] { return HostUnregisterPalette(1); }},
        {"HostCatchProjectEvent", [&] { return HostCatchProjectEvent(39, nullptr); }},
        {"HostCatchSelectionChange", [&] { return HostCatchSelectionChange(nullptr); }},
        {"HostGetModuleData", [&] { return HostGetModuleData(&modData, "CalvoraDB"); }},
        {"HostStoreModuleData", [&] { return HostStoreModuleData(&modData, "CalvoraDB"); }},
        {"HostGetAutoTexts", [&] { return HostGetAutoTexts(&autoTexts, 1); }},
        {"HostGetSelection", [&] { return HostGetSelection(&selInfo, &neigs, false); }},
        {"HostSelectElements", [&] { return HostSelectElements(neigs, false); }},
        {"HostZoomToElements", [&] { return HostZoomToElements(guids); }},
        {"HostGetElement", [&] { return HostGetElement(&element); }},
        {"HostGetElementHeader", [&] { return HostGetElementHeader(&head); }},
        {"HostGetElementMemo", [&] { return HostGetElementMemo(APINULLGuid, &memo, 0); }},
        {"HostDisposeElementMemo", [&] { return HostDisposeElementMemo(&memo); }},
        {"HostGetElementQuantities", [&] { return HostGetElementQuantities(APINULLGuid, &qpar, &quantities, &qmask); }},
        {"HostGetElementInfoString", [&] { return HostGetElementInfoString(APINULLGuid, &text); }},
        {"HostGetElementPropertyDefinitions", [&] { return HostGetElementPropertyDefinitions(APINULLGuid, 0, &defs); }},
        {"HostGetElementProperty", [&] { return HostGetElementProperty(APINULLGuid, APINULLGuid, &property); }},
        {"HostGetElementProperties", [&] { return HostGetElementProperties(APINULLGuid, guids, &properties); }},
        {"ACAPI_Attribute_Get", [&] { return ACAPI_Attribute_Get(&attribute); }},
        {"HostGetAttributeDef", [&] { return HostGetAttributeDef(1, 1, &attrDef); }},
        {"HostDisposeAttributeDef", [&] { return HostDisposeAttributeDef(&attrDef); }},
        {"HostGetAttributeDefExt", [&] { return HostGetAttributeDefExt(1, 1, &attrDefExt); }},
        {"HostDisposeAttributeDefExt", [&] { return HostDisposeAttributeDefExt(&attrDefExt); }},
        {"ACAPI_Environment_GetPen", [&] { return ACAPI_Environment_GetPen(&pen); }},
        {"HostGetCurrentDatabase", [&] { return HostGetCurrentDatabase(&db); }},
        {"HostChangeDatabase", [&] { return HostChangeDatabase(&db); }},
        {"HostGetContainingDatabase", [&] { return HostGetContainingDatabase(APINULLGuid, &db); }},
        {"HostGetStorySettings", [&] { return HostGetStorySettings(&story); }},
        {"HostGetLibPartParams", [&] { return HostGetLibPartParams(1, &lpp); }},
        {"HostDisposeLibPartParams", [&] { return HostDisposeLibPartParams(&lpp); }},
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
    table.entries[Slot_GetModuleData] = reinterpret_cast<void*>(&NoCallAllowed);
    table.entries[Slot_GetModuleData] = nullptr;
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

std::string TempPath(const std::string& name)
{
    return (std::string(::testing::TempDir()) + "calvora_" + name);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ProjectFile, ModuleDataSurvivesSaveAndReopenByteForByte)
{
    std::vector<unsigned char> image;
    for (int i = 0; i < 4099; ++i)
        image.push_back(static_cast<unsigned char>((i * 131) ^ (i >> 3)));
    for (std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(2), std::size_t(3), image.size()}) {
        std::vector<unsigned char> bytes(image.begin(), image.begin() + static_cast<long>(size));
        std::string path = TempPath("roundtrip.json");
        {
            Host::StandInHost host;
            host.Project()["model"]["elements"] = Host::Json::array();
            host.Project()["projectInfo"] = {{{"description", "Name"}, {"key", "PROJECTNAME"}, {"value", "Vila Š"}}};
            host.SetModuleData("CalvoraDB", bytes);
            std::string error;
            ASSERT_TRUE(host.SaveProject(path, &error)) << error;
        }
        Host::StandInHost host;
        std::string error;
        ASSERT_TRUE(host.OpenProject(path, &error)) << error;
        auto back = host.ModuleData("CalvoraDB");
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, bytes) << size;
        EXPECT_EQ(host.Project()["projectInfo"][0]["value"], "Vila Š");

        // The add-on reads exactly those bytes through its wrapper.
        CalvoraSetHostTable(host.Table());
        API_ModulData info{};
        ASSERT_EQ(HostGetModuleData(&info, "CalvoraDB"), NoError);
        ASSERT_NE(info.dataHdl, nullptr);
        ASSERT_EQ(static_cast<std::size_t>(BMGetHandleSize(info.dataHdl)), size);
        if (size > 0) {
            EXPECT_EQ(std::memcmp(*info.dataHdl, bytes.data(), size), 0);
        }
        BMKillHandle(&info.dataHdl);

        // Saving again without changes writes the same file.
        std::string again = TempPath("roundtrip2.json");
        ASSERT_TRUE(host.SaveProject(again, &error)) << error;
        EXPECT_EQ(ReadFile(again), ReadFile(path));
        CalvoraClearHostTable();
    }
}

TEST(ProjectFile, StoredModuleDataAndFailures)
{
    Host::StandInHost host;
    CalvoraSetHostTable(host.Table());
    GSHandle h = BMAllocateHandle(3);
    std::memcpy(*h, "abc", 3);
    API_ModulData info{};
    info.dataVersion = 1;
    info.dataHdl = h;
    EXPECT_EQ(HostStoreModuleData(&info, "CalvoraDB"), NoError);
    EXPECT_EQ(host.ModuleData("CalvoraDB"), (std::vector<unsigned char>{'a', 'b', 'c'}));

    host.FailOperation("HostStoreModuleData");
    std::memcpy(*h, "xyz", 3);
    EXPECT_EQ(HostStoreModuleData(&info, "CalvoraDB"), APIERR_GENERAL);
    EXPECT_EQ(host.ModuleData("CalvoraDB"), (std::vector<unsigned char>{'a', 'b', 'c'}));
    BMKillHandle(&h);

    API_ModulData missing{};
    EXPECT_NE(HostGetModuleData(&missing, "Other"), NoError);
    EXPECT_EQ(missing.dataHdl, nullptr);
    CalvoraClearHostTable();
}

TEST(ProjectFile, RefusesFilesThatAreNotProjects)
{
    struct Case {
        const char* content;
        const char* message;
    } cases[] = {
        {"{not json", "not valid JSON"},
        {"[1, 2]", "does not hold a project"},
    };
    for (const auto& c : cases) {
        std::string path = TempPath("bad.json");
        std::ofstream(path) << c.content;
        Host::StandInHost host;
        std::string error;
        EXPECT_FALSE(host.OpenProject(path, &error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
    Host::StandInHost host;
    std::string error;
    EXPECT_FALSE(host.OpenProject(TempPath("missing-file.json"), &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

TEST(Script, ErrorsNameTheLine)
{
    struct Case {
        std::string script;
        bool ok;
        std::string errorPart;
    } cases[] = {
        {"echo hi\nnew\n", true, ""},
        {"echo hi\nfrobnicate\n", false, "test.script:2: error: unknown command 'frobnicate'"},
        {"\n\nselect not-a-guid\n", false, "test.script:3: error: 'not-a-guid' is not a guid"},
        {"menu 32503\n", false, "test.script:1: error: no menu entry '32503'"},
        {"menu abc 1\n", false, "test.script:1: error: menu takes a menu id"},
        {"show nothing\n", false, "test.script:1: error: show takes one of"},
        {"echo \"unterminated\n", false, "test.script:1: error: unterminated quoted text"},
        {"open /nonexistent/p.json\n", false, "test.script:1: error: cannot open project file"},
        {"# a comment\nquit\nfrobnicate\n", true, ""},
    };
    for (const auto& c : cases) {
        Host::StandInHost host;
        std::ostringstream out;
        Host::ScriptRunner runner(host, out);
        std::istringstream in(c.script);
        testing::internal::CaptureStderr();
        bool ok = runner.RunStream(in, "test.script", false);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(ok, c.ok) << c.script;
        if (!c.ok) {
            EXPECT_NE(err.find(c.errorPart), std::string::npos) << err;
        }
    }
}

TEST(Selection, SelectionReachesTheAddOnInOrder)
{
    Host::StandInHost host;
    CalvoraSetHostTable(host.Table());
    API_SelectionInfo info{};
    GS::Array<API_Neig> neigs;
    EXPECT_EQ(HostGetSelection(&info, &neigs, false), APIERR_NOSEL);
    EXPECT_TRUE(neigs.IsEmpty());

    std::vector<GS::Guid> chosen = {GS::Guid("22222222-0000-0000-0000-000000000000"),
                                    GS::Guid("11111111-0000-0000-0000-000000000000")};
    host.Select(chosen);
    ASSERT_EQ(HostGetSelection(&info, &neigs, false), NoError);
    ASSERT_EQ(neigs.GetSize(), 2u);
    EXPECT_EQ(info.sel_nElem, 2);
    EXPECT_EQ(APIGuid2GSGuid(neigs[0].guid), chosen[0]);
    EXPECT_EQ(APIGuid2GSGuid(neigs[1].guid), chosen[1]);

    GS::Array<API_Neig> add;
    API_Neig n{};
    n.guid = GSGuid2APIGuid(GS::Guid("33333333-0000-0000-0000-000000000000"));
    add.Push(n);
    EXPECT_EQ(HostSelectElements(add, true), NoError);
    EXPECT_EQ(host.Selection().size(), 3u);
    EXPECT_EQ(HostSelectElements(add, false), NoError);
    EXPECT_EQ(host.Selection().size(), 1u);
    CalvoraClearHostTable();
}

}  // namespace
