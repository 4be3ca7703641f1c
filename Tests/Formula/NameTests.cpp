// Names and function calls: the variable and function callbacks, their order, text arguments.
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;
using Names = PointLocale;

TEST_F(Names, VariableValuesEnterTheTextWithEightDecimals)
{
    // Half of the last decimal goes to the even digit: 2^-9 and 3*2^-9.
    TestContext context({{"Area", 12.3456789012}, {"Small", 0.000000004}, {"Minus", -2.5}, {"Big", 1e20},
                         {"Half", 0.001953125}, {"Halves", 0.005859375}, {"MinusZero", -0.0}});
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"Area", "12.34567890"}, {"Small", "0.00000000"}, {"2*Minus", "2*-2.50000000"},
        {"Big", "100000000000000000000.00000000"}, {" Area + 1 ", "12.34567890+1"}, {"(Area)", "(12.34567890)"},
        {"Half", "0.00195312"}, {"Halves", "0.00585938"}, {"MinusZero", "-0.00000000"},
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

TEST_F(Names, ResolversAreCalledInOrderWithNumbersAndTexts)
{
    TestContext context({{"A", 1}, {"B", 2}, {"C", 3}});
    std::string received;  // "[text]" for a text argument, the value for a number, each with a blank
    context.function = [&](const char*, Math_Parameter* parameters, Int32 count, double* value) {
        received.clear();
        for (Int32 i = 0; i < count; ++i)
            received += (parameters[i].kind == Math_TextParameter ? "[" + std::string(parameters[i].text) + "]"
                                                                  : std::to_string(parameters[i].value)) + " ";
        *value = 42;
        return true;
    };
    // Left to right, a name used twice resolved twice, the record the caller made passed back.
    Expect(context, {{"A+B*C+F(A,G(B))+A", 1 + 2 * 3 + 42 + 1}});
    const std::vector<std::string> order = {"var:A", "var:B", "var:C", "var:A", "var:B", "fn:G/1", "fn:F/2", "var:A"};
    EXPECT_EQ(context.log, order);
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"F('Fire rating')", "[Fire rating] "}, {"F('  two  blanks ')", "[  two  blanks ] "}, {"F( 'x')", "[x] "},
        {"F(')", "[] "},     // one apostrophe alone: an empty text
        {"F('abc)", "[ab] "},  // the last character goes, whatever it is
        {"F('a(b)c')", "[a(b)c] "}, {"F('Width', 2+3, C)", "[Width] 5.000000 3.000000 "},
        {"F(C*2,'a b')", "6.000000 [a b] "}, {"F(1.5)", "1.500000 "}, {"F(A,G(B))", "1.000000 42.000000 "},
        {"F(SQRT(0-1)'x')", "0.000000 "},  // a failed nested call stays a number argument, whatever follows
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
    TestContext context;
    Math_SetVariableResolver(&context, nullptr);
    Math_SetFunctionResolver(&context, nullptr);
    Expect(context, {{"X+1", 4, "Variable was not defined: X."}, {"F(1)", 4, "Undeclared identifier: F."},
                     {"SQRT(9)", 3}});
}
