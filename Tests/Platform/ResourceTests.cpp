#include <gtest/gtest.h>

#include <string>

#include "RS/RS.hpp"

namespace {

// A list's size is shown by the host's menus.
TEST(ResourceModule, LooksUpItemsFromOneAndRefusesMalformedData)
{
    const std::string data = R"({"strings": {"32527": ["Import from SQL", "File Not Found"], "-5": []},
                                 "dialogs": {"32401": {"title": "Calvora"}}})";
    GSResModule m = RSOpenModuleFromData(data.data(), data.size());
    ASSERT_NE(m, InvalidResModule);
    // A list and an index, and the text found ("unchanged": none).
    const struct { GS::Int16 list; GS::Int32 index; const char* text; } cases[] = {
        {32527, 1, "Import from SQL"}, {32527, 2, "File Not Found"}, {32527, 3, "unchanged"}, {32527, 0, "unchanged"},
        {32527, -1, "unchanged"},      {32528, 1, "unchanged"},      {-5, 1, "unchanged"}};
    for (const auto& c : cases) {
        GS::UniString s("unchanged");
        const bool found = RSGetIndString(&s, c.list, c.index, m, 0);
        EXPECT_EQ(found, std::string(c.text) != "unchanged") << c.list << "/" << c.index;
        EXPECT_EQ(s.ToUtf8(), c.text) << c.list << "/" << c.index;
    }
    std::string dialog;
    EXPECT_TRUE(RSGetDialogResource(32401, m, &dialog));
    EXPECT_NE(dialog.find("Calvora"), std::string::npos);
    EXPECT_FALSE(RSGetDialogResource(32402, m, &dialog));
    RSCloseModule(m);
    GS::UniString s;
    EXPECT_FALSE(RSGetIndString(&s, 32527, 1, m, 0));

    for (std::string bad : {"", "not json", "[1,2]", R"({"strings": {"abc": ["x"]}})",
                            R"({"strings": {"99999": ["x"]}})", R"({"strings": {"1": "x"}})"})
        EXPECT_EQ(RSOpenModuleFromData(bad.data(), bad.size()), InvalidResModule) << bad;
}

}  // namespace
