// Amounts as the user reads them: two decimals in the user's locale, the process locale untouched.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "Dialogs/AmountText.hpp"
#include "ScenarioSupport.hpp"

namespace {

TEST(FormatTwoDecimals, FollowsTheUsersLocaleAndCutsAt29Characters)
{
    const std::tuple<const char*, double, const char*> cases[] = {
        {"de_DE.UTF-8", 1234.5, "1234,50"}, {"de_DE.UTF-8", -0.004, "-0,00"}, {"de_DE.UTF-8", 0.0, "0,00"},
        {"de_DE.UTF-8", 0.125, "0,12"},  // an exact binary half rounds to even
        {"C", 1234.5, "1234.50"}, {"C", -0.004, "-0.00"},
        {"C", 1e30, "10000000000000000198846248386"},  // 34 characters, cut to 29
        {"C", -1e300, "-1000000000000000052504760255"},
        {"de_DE.UTF-8", -HUGE_VAL, "-inf"}, {"de_DE.UTF-8", NAN, "nan"},  // as printf writes them
    };
    for (const auto& [locale, value, text] : cases) {
        Scenario::UserLocale user(locale);
        ASSERT_TRUE(user.ok) << locale;
        EXPECT_EQ(FormatTwoDecimals(value).ToUtf8(), text) << locale << " " << value;
    }
}

TEST(FormatTwoDecimals, PutsBackTheWholeLocaleNameInForce)
{
    Scenario::UserLocale user("de_DE.UTF-8");
    ASSERT_TRUE(user.ok);
    // A mixed locale has a long composite name; it must come back exactly, not as "C" or "".
    std::setlocale(LC_ALL, "C");
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(before.find(';'), std::string::npos) << before;
    EXPECT_EQ(FormatTwoDecimals(2.5).ToUtf8(), "2,50");
    EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), before);
    // The user's separator, not the process's, also for a format made for a whole list.
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(AmountFormat().Text(2.5).ToUtf8(), "2,50");
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
}

}  // namespace
