// Separators: taken from the locale in force when the context is made, and from nowhere else.
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;

namespace {

struct LocaleCase {
    const char* expression;
    double value;
};

}  // namespace

TEST(Locale, PointLocaleUsesCommaBetweenArguments)
{
    ScopedLocale locale("C");
    ASSERT_TRUE(locale.Ok());
    TestContext context;
    EXPECT_EQ(context.decimalSeparator, '.');
    EXPECT_EQ(context.argumentSeparator, ',');
    const std::vector<LocaleCase> cases = {
        {"1.5*2", 3}, {"ROUND(2.5,1)", 3}, {"SUM(1,2,3)", 6}, {"AVG(1,2,3)", 2}, {"ROUND(7.3,0.5)", 7.5},
    };
    for (const LocaleCase& c : cases) {
        const Outcome outcome = EvaluateIn(context, c.expression);
        ASSERT_EQ(outcome.code, Math_NoError) << c.expression << ": " << outcome.message;
        EXPECT_DOUBLE_EQ(outcome.value, c.value) << c.expression;
    }
    EXPECT_EQ(EvaluateIn(context, "1,5*2").message, "Token is invalid: ,");
}

TEST(Locale, CommaLocaleUsesSemicolonBetweenArguments)
{
    ScopedLocale locale(kCommaLocale);
    ASSERT_TRUE(locale.Ok()) << "the locale " << kCommaLocale << " must be generated (scripts/install-deps.sh)";
    TestContext context;
    context.variables = {{"Area", 12.3456789012}, {"Minus", -2.5}};
    EXPECT_EQ(context.decimalSeparator, ',');
    EXPECT_EQ(context.argumentSeparator, ';');
    const std::vector<LocaleCase> cases = {
        {"1,5*2", 3},
        {"ROUND(2,5;1)", 3},
        {"ROUND(7,3;0,5)", 7.5},
        {"SUM(1;2;3)", 6},
        {"AVG(1;2;3)", 2},
        {"SUM(1+POW(2;3);1)", 10},
        {"(1,5)*2", 3},
        {"(0,00001)*100000", 1},
        {"1/4", 0.25},
        {"0,1+0,2=0,3", 1},
        {"Area*2", 24.6913578},
        {"1-Minus", 3.5},
    };
    for (const LocaleCase& c : cases) {
        const Outcome outcome = EvaluateIn(context, c.expression);
        ASSERT_EQ(outcome.code, Math_NoError) << c.expression << ": " << outcome.message;
        EXPECT_NEAR(outcome.value, c.value, 1e-12) << c.expression;
    }
    // ROUND(2.5,1) is one argument that does not evaluate ("." is no character of this locale).
    const Outcome refused = EvaluateIn(context, "ROUND(2.5,1)");
    EXPECT_EQ(refused.code, Math_ErrInvalidToken);
    EXPECT_EQ(refused.message, "Invalid number of parameters passed to method: ROUND");
    EXPECT_EQ(EvaluateIn(context, "1.5*2").message, "Token is invalid: .");
    EXPECT_EQ(EvaluateIn(context, "1;2").message, "Token is invalid: ;");

    // The working text is written with the context's separator.
    EXPECT_EQ(Substituted(context, "Area"), "12,34567890");
    EXPECT_EQ(Reduced(context, "1/3"), "0,3333333333333333");
    EXPECT_EQ(Reduced(context, "(1/8)"), "0,125");
    char buffer[Math_OperandBufferSize];
    Math_FormatDouble(&context, 2.5, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "2,5");
}

TEST(Locale, ContextKeepsTheSeparatorsItWasMadeWith)
{
    ScopedLocale outer("C");
    ASSERT_TRUE(outer.Ok());
    TestContext pointContext;  // made under the point locale
    {
        ScopedLocale comma(kCommaLocale);
        ASSERT_TRUE(comma.Ok());
        TestContext commaContext;
        // Evaluated while the comma locale is in force, the point context still reads points.
        EXPECT_DOUBLE_EQ(EvaluateIn(pointContext, "SUM(1.5,2.25)*2").value, 7.5);
        EXPECT_DOUBLE_EQ(EvaluateIn(pointContext, "1/3").value, 0.3333333333333333);
        EXPECT_EQ(Reduced(pointContext, "(1/8)*3"), "0.375");
        {
            ScopedLocale point("C");
            // ... and the comma context reads commas under the point locale.
            EXPECT_DOUBLE_EQ(EvaluateIn(commaContext, "SUM(1,5;2,25)*2").value, 7.5);
            EXPECT_EQ(Reduced(commaContext, "(1/8)*3"), "0,375");
        }
    }
}

TEST(Locale, TestsRestoreTheProcessLocale)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    {
        ScopedLocale comma(kCommaLocale);
        ASSERT_TRUE(comma.Ok());
        EXPECT_STRNE(std::setlocale(LC_ALL, nullptr), before.c_str());
    }
    EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), before);
}
