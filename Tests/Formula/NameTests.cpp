// Names and function calls: the variable and function callbacks, their order, text arguments.
#include "FormulaTestSupport.hpp"

#include <tuple>

using namespace FormulaTest;
using Names = PointLocale;

TEST_F(Names, VariableValuesEnterTheTextWithEightDecimals)
{
    TestContext context({{"Area", 12.3456789012}, {"Small", 0.000000004}, {"Minus", -2.5}, {"Big", 1e20}});
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"Area", "12.34567890"}, {"Small", "0.00000000"}, {"2*Minus", "2*-2.50000000"},
        {"Big", "100000000000000000000.00000000"}, {" Area + 1 ", "12.34567890+1"}, {"(Area)", "(12.34567890)"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Substituted(context, row.first), row.second) << row.first;
    EXPECT_DOUBLE_EQ(EvaluateIn(context, "Area").value, 12.3456789);
}

TEST_F(Names, NamesAndTheirLengthLimit)
{
    const std::string name127(127, 'n'), name128(128, 'm');
    const Variables variables = {{"a1", 1}, {"_x", 2}, {"it's", 3}, {"'q'", 4}, {"A_b_9", 5}, {"SQRT", 6},
                                 {"sum", 7}, {name127, 2}, {name128, 2}};
    Expect({
        {"a1+_x", 3}, {"it's*2", 6}, {"'q'", 4}, {"A_b_9-1", 4},
        {"SQRT*2", 12}, {"sum+SUM(1)", 8},  // a built-in's name without "(" is a variable
        {name127 + "+1", 3}, {name128 + "+1", 4, "Variable length limit exceeded."},
        {name128 + "(1)", 4, "Variable length limit exceeded."},
    }, variables);
}

TEST_F(Names, ResolversAreCalledLeftToRightAndEveryTime)
{
    TestContext context({{"A", 1}, {"B", 2}, {"C", 3}});
    context.function = [](const char*, Math_Parameter* parameters, Int32 count, double* value) {
        *value = 0;
        for (Int32 i = 0; i < count; ++i)
            *value += parameters[i].value;
        return true;
    };
    Expect(context, {{"A+B*C+F(A,G(B))+A", 1 + 2 * 3 + (1 + 2) + 1}});
    const std::vector<std::string> expected = {"var:A", "var:B", "var:C", "var:A", "var:B", "fn:G/1", "fn:F/2", "var:A"};
    EXPECT_EQ(context.log, expected);
    EXPECT_EQ(context.seen, static_cast<Math_Context*>(&context));  // the caller's own record comes back
}

TEST_F(Names, FunctionResolverReceivesNumbersAndTexts)
{
    using Argument = std::tuple<UInt32, std::string, double>;
    TestContext context({{"X", 4}});
    std::vector<Argument> received;
    context.function = [&](const char*, Math_Parameter* parameters, Int32 count, double* value) {
        received.clear();
        for (Int32 i = 0; i < count; ++i)
            received.emplace_back(parameters[i].kind, parameters[i].kind == Math_TextParameter ? parameters[i].text : "",
                                  parameters[i].value);
        *value = 42;
        return true;
    };
    const UInt32 text = Math_TextParameter, number = Math_NumberParameter;
    const std::vector<std::pair<const char*, std::vector<Argument>>> rows = {
        {"Property('Fire rating')", {{text, "Fire rating", 0.0}}},
        {"Property('  two  blanks ')", {{text, "  two  blanks ", 0.0}}},
        {"Property( 'x')", {{text, "x", 0.0}}},
        {"Property(')", {{text, "", 0.0}}},  // one apostrophe alone: an empty text
        {"Property('abc)", {{text, "ab", 0.0}}},  // the last character goes, whatever it is
        {"Property('a(b)c')", {{text, "a(b)c", 0.0}}},
        {"Property('Width', 2+3, X)", {{text, "Width", 0.0}, {number, "", 5.0}, {number, "", 4.0}}},
        {"Property(X*2,'a b')", {{number, "", 8.0}, {text, "a b", 0.0}}},
    };
    for (const auto& row : rows) {
        Expect(context, {{row.first, 42}});
        EXPECT_EQ(received, row.second) << row.first;
    }
}

TEST_F(Names, FailedNumberArgumentCountsAsZeroAndLeavesItsMessage)
{
    TestContext context({{"A", 5}});
    Expect(context, {{"SUM(Undefined,A)", 5}});
    ASSERT_NE(context.message, nullptr);
    EXPECT_STREQ(context.message, "Variable was not defined: Undefined.");
    Expect(context, {{"SUM(1/0,2)", 2}, {"SUM((1,2))", 0}});  // "(1,2)" is no expression
}

TEST_F(Names, MissingResolversRefuseNamesWithoutCrashing)
{
    Math_Context context;
    Math_InitContext(&context);
    double value = 0;
    EXPECT_EQ(Math_Evaluate(&context, "X+1", &value), Math_ErrInvalidToken);
    EXPECT_STREQ(context.message, "Variable was not defined: X.");
    EXPECT_EQ(Math_Evaluate(&context, "F(1)", &value), Math_ErrInvalidToken);
    EXPECT_STREQ(context.message, "Undeclared identifier: F.");
    EXPECT_EQ(Math_Evaluate(&context, "SQRT(9)", &value), Math_NoError);
    EXPECT_EQ(value, 3.0);
    Math_ClearError(&context);
}
