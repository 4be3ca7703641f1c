// Amounts as the user reads them: two decimals in the user's locale, the process locale untouched.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "Dialogs/AmountText.hpp"
#include "PaletteTestSupport.hpp"

namespace {

using PaletteTest::UserLocale;

TEST(FormatTwoDecimals, FollowsTheUsersLocaleAndCutsAt29Characters)
{
    struct Case {
        const char* userLocale;
        double value;
        const char* text;
    } const cases[] = {
        {"de_DE.UTF-8", 1234.5, "1234,50"},
        {"de_DE.UTF-8", -0.004, "-0,00"},
        {"de_DE.UTF-8", 0.0, "0,00"},
        {"de_DE.UTF-8", 0.125, "0,12"},  // round half to even of an exact binary value
        {"de_DE.UTF-8", -7.5, "-7,50"},
        {"C", 1234.5, "1234.50"},
        {"C", -0.004, "-0.00"},
        {"C", 1e30, "10000000000000000198846248386"},  // 34 characters, cut to 29
        {"C", -1e300, "-1000000000000000052504760255"},
    };
    for (const Case& c : cases) {
        UserLocale user(c.userLocale);
        ASSERT_TRUE(user.ok) << c.userLocale;
        EXPECT_EQ(FormatTwoDecimals(c.value).ToUtf8(), c.text) << c.userLocale << " " << c.value;
    }
}

TEST(FormatTwoDecimals, PutsBackTheWholeLocaleNameInForce)
{
    UserLocale user("de_DE.UTF-8");
    ASSERT_TRUE(user.ok);
    // A mixed locale has a long composite name; it must come back exactly, not as "C" or "".
    std::setlocale(LC_ALL, "C");
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(before.find(';'), std::string::npos) << before;
    EXPECT_EQ(FormatTwoDecimals(2.5).ToUtf8(), "2,50");
    EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), before);
}

}  // namespace
