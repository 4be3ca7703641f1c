// The add-on's host wrappers, linked in-process, against an empty table and against the stand-in host.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>

#include "HostApi/HostCalls.hpp"
#include "HostApi/HostElementCalls.hpp"
#include "GSRoot/Memory.hpp"
#include "Host/StandInHost.hpp"
#include "ScenarioSupport.hpp"

namespace {

TEST(HostWrappers, AnEmptySlotAnswersMissingEntryWithoutCalling)
{
    API_FunctionTable table{};
    CalvoraSetHostTable(&table);
    ASSERT_TRUE(CalvoraHostTablePresent());

    // Every wrapper is the one slot call; a few of each header stand for them all.
    const std::vector<std::pair<const char*, std::function<GSErrCode()>>> calls = {
        {"HostRegisterMenu", [] { return HostRegisterMenu(32500, 32506, 0, 0); }},
        {"HostGetMenuItemFlags", [] { API_MenuItemRef ref{32500, 1}; GSFlags flags = 0; return HostGetMenuItemFlags(&ref, &flags); }},
        {"HostRegisterPalette", [] { return HostRegisterPalette(1, nullptr, 0, APINULLGuid); }},
        {"HostGetModuleData", [] { API_ModulData data{}; return HostGetModuleData(&data, "CalvoraDB"); }},
        {"HostGetElement", [] { API_Element element{}; return HostGetElement(&element); }},
        {"HostGetElementMemo", [] { API_ElementMemo memo{}; return HostGetElementMemo(APINULLGuid, &memo, 0); }},
        {"HostGetAttribute", [] { HostAttribute attribute{}; return HostGetAttribute(&attribute); }},
        {"HostGetPen", [] { API_PenType pen{}; return HostGetPen(&pen); }},
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

// Module data is read as it was written: blanks and line breaks anywhere are skipped, padding ends
// the data, missing padding is forgiven, and anything else refuses the text. The add-on reads the
// bytes stored exactly; a store the host refuses keeps what was there, and data that is missing or
// not base64 answers the host's errors without a handle.
TEST(ProjectFile, ModuleDataIsReadAsItWasWritten)
{
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"", ""}, {"TWFu", "Man"}, {"TWE=", "Ma"}, {"TQ==", "M"}, {"TWE", "Ma"}, {"TWFuTWFuTQ", "ManManM"},
        {"T W\nF\r\nu", "Man"}, {"TWFu\nTWFu\n", "ManMan"}, {"TQ=\n= ", "M"}, {"/+/+", "\xFF\xEF\xFE"},
        {"TQ===", std::nullopt}, {"TQ==TWFu", std::nullopt}, {"TWFu=TWFu", std::nullopt}, {"TWE=u", std::nullopt}, {"TW*u", std::nullopt},
        {"TWFu\tTWFu", std::nullopt}, {"TWFu-_", std::nullopt},
    };
    for (const auto& [text, bytes] : cases) {
        const auto decoded = Host::Base64Decode(text);
        ASSERT_EQ(decoded.has_value(), bytes.has_value()) << text;
        if (bytes.has_value()) {
            EXPECT_EQ(std::string(decoded->begin(), decoded->end()), *bytes) << text;
        }
    }

    Host::StandInHost host;
    CalvoraSetHostTable(host.Table());
    for (std::size_t size : {0, 1, 2, 3, 4099}) {
        std::vector<unsigned char> bytes;
        for (std::size_t i = 0; i < size; ++i)
            bytes.push_back(static_cast<unsigned char>((i * 131) ^ (i >> 3)));
        host.SetModuleData("CalvoraDB", bytes);
        API_ModulData info{};
        ASSERT_EQ(HostGetModuleData(&info, "CalvoraDB"), NoError);
        ASSERT_NE(info.dataHdl, nullptr);
        ASSERT_EQ(static_cast<std::size_t>(BMGetHandleSize(info.dataHdl)), size);
        EXPECT_TRUE(size == 0 || std::memcmp(*info.dataHdl, bytes.data(), size) == 0) << size;
        const auto before = host.ModuleData("Other");
        host.FailOperation("HostStoreModuleData");
        EXPECT_EQ(HostStoreModuleData(&info, "Other"), APIERR_GENERAL);
        EXPECT_EQ(host.ModuleData("Other"), before);
        host.ClearFailures();
        EXPECT_EQ(HostStoreModuleData(&info, "Other"), NoError);
        EXPECT_EQ(host.ModuleData("Other"), bytes);
        BMKillHandle(&info.dataHdl);
    }
    API_ModulData missing{};
    EXPECT_EQ(HostGetModuleData(&missing, "Missing"), APIERR_NOMODULEDATA);
    host.Project()["moduleData"]["Broken"] = "no*base64";
    EXPECT_EQ(HostGetModuleData(&missing, "Broken"), APIERR_GENERAL);
    EXPECT_EQ(missing.dataHdl, nullptr);
    CalvoraClearHostTable();
}

}  // namespace
