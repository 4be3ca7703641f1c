// Separators: taken from the locale in force when the context is made, and from nowhere else.
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;
using Locale = PointLocale;

TEST_F(Locale, SeparatorsComeFromTheLocaleTheContextWasMadeIn)
{
    TestContext pointContext;
    ScopedLocale comma(kCommaLocale);
    ASSERT_TRUE(comma.ok) << "the locale " << kCommaLocale << " must be generated (scripts/install-deps.sh)";
    TestContext commaContext({{"Area", 12.3456789012}, {"Minus", -2.5}});
    EXPECT_EQ(std::string({pointContext.decimalSeparator, pointContext.argumentSeparator,
                           commaContext.decimalSeparator, commaContext.argumentSeparator}), ".,,;");
    Expect(commaContext, {
        {"1,5*2", 3}, {"ROUND(2,5;1)", 3}, {"ROUND(7,3;0,5)", 7.5}, {"SUM(1;2;3)", 6}, {"AVG(1;2;3)", 2},
        {"SUM(1+POW(2;3);1)", 10}, {"(1,5)*2", 3}, {"(0,00001)*100000", 1}, {"1/4", 0.25}, {"0,1+0,2=0,3", 1},
        {"Area*2", 24.6913578}, {"1-Minus", 3.5},
        // ROUND(2.5,1) is one argument that does not evaluate: "." is no character of this locale.
        {"ROUND(2.5,1)", 4, "Invalid number of parameters passed to method: ROUND"},
        {"1.5*2", 4, "Token is invalid: ."}, {"1;2", 4, "Token is invalid: ;"},
    });
    EXPECT_EQ(Rewritten(commaContext, "Area", false), "12,34567890");
    EXPECT_EQ(Rewritten(commaContext, "1/3"), "0,3333333333333333");
    EXPECT_EQ(Rewritten(commaContext, "(1/8)"), "0,125");
    // Evaluated while the comma locale is in force, the point context still reads points...
    EXPECT_DOUBLE_EQ(EvaluateIn(pointContext, "SUM(1.5,2.25)*2").value, 7.5);
    EXPECT_EQ(Rewritten(pointContext, "(1/8)*3"), "0.375");
    ScopedLocale point("C");
    // ... and the comma context reads commas under the point locale.
    EXPECT_DOUBLE_EQ(EvaluateIn(commaContext, "SUM(1,5;2,25)*2").value, 7.5);
    EXPECT_EQ(Rewritten(commaContext, "(1/8)*3"), "0,375");
}
