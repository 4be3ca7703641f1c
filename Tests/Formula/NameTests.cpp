// Names and function calls: the variable and function callbacks, their order, text arguments.
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;
using Names = PointLocale;

TEST_F(Names, ValuesEnterTheTextWithEightDecimalsNamesUpToTheirLimitAndWithoutResolvers)
{
    const std::string name127(127, 'n'), name128(128, 'm');
    TestContext context({{"Area", 12.3456789012}, {"Small", 0.000000004}, {"Minus", -2.5}, {"Big", 1e20},
                         {"Half", 0.001953125}, {"Halves", 0.005859375}, {"MinusZero", -0.0}, {"a1", 1}, {"_x", 2},
                         {"it's", 3}, {"'q'", 4}, {"A_b_9", 5}, {"SQRT", 6}, {"sum", 7}, {name127, 2}, {name128, 2}});
    // Half of the last decimal goes to the even digit: 2^-9 and 3*2^-9.
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"Area", "12.34567890"}, {"Small", "0.00000000"}, {"2*Minus", "2*-2.50000000"},
        {"Big", "100000000000000000000.00000000"}, {" Area + 1 ", "12.34567890+1"}, {"(Area)", "(12.34567890)"},
        {"Half", "0.00195312"}, {"Halves", "0.00585938"}, {"MinusZero", "-0.00000000"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Rewritten(context, row.first, false), row.second) << row.first;
    Expect(context, {
        // Any name characters; a built-in's name without "(" is a variable.
        {"a1+_x", 3}, {"it's*2", 6}, {"'q'", 4}, {"A_b_9-1", 4}, {"SQRT*2", 12}, {"sum+SUM(1)", 8},
        {name127 + "+1", 3}, {name128 + "+1", 4, "Variable length limit exceeded."},
        {name128 + "(1)", 4, "Variable length limit exceeded."},
        // A failed number argument counts as 0.0 and leaves its message; "(1,2)" is no expression.
        {"SUM(1/0,2)", 2}, {"SUM((1,2))", 0}, {"SUM(Undefined,_x)", 2},
    });
    EXPECT_STREQ(context.message, "Variable was not defined: Undefined.");
    // Without resolvers names are refused, and built-ins still work.
    Math_SetVariableResolver(&context, nullptr);
    Math_SetFunctionResolver(&context, nullptr);
    Expect(context, {{"X+1", 4, "Variable was not defined: X."}, {"F(1)", 4, "Undeclared identifier: F."},
                     {"SQRT(9)", 3}});
}

TEST_F(Names, ResolversAreCalledInOrderWithNumbersAndTexts)
{
    TestContext context({{"A", 1}, {"B", 2}, {"C", 3}});
    context.function = [](const char*, Math_Parameter*, Int32, double* value) {
        *value = 42;
        return true;
    };
    // Left to right, a name used twice resolved twice, the record the caller made passed back.
    Expect(context, {{"A+B*C+F(A,G(B))+A", 1 + 2 * 3 + 42 + 1}});
    EXPECT_EQ(context.log, std::vector<std::string>({"var:A", "var:B", "var:C", "var:A", "var:B", "fn:G/1 2.000000",
                                                     "fn:F/2 1.000000 42.000000", "var:A"}));
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"F('Fire rating')", "fn:F/1 [Fire rating]"}, {"F('  two  blanks ')", "fn:F/1 [  two  blanks ]"},
        {"F( 'x')", "fn:F/1 [x]"}, {"F(')", "fn:F/1 []"},  // one apostrophe alone: an empty text
        {"F('abc)", "fn:F/1 [ab]"},                           // the last character goes, whatever it is
        {"F('a(b)c')", "fn:F/1 [a(b)c]"}, {"F('Width', 2+3, C)", "fn:F/3 [Width] 5.000000 3.000000"},
        {"F(C*2,'a b')", "fn:F/2 6.000000 [a b]"}, {"F(1.5)", "fn:F/1 1.500000"},
        {"F(SQRT(0-1)'x')", "fn:F/1 0.000000"},  // a failed nested call stays a number argument, whatever follows
    };
    for (const auto& row : rows) {
        Expect(context, {{row.first, 42}});
        EXPECT_EQ(context.log.back(), row.second) << row.first;
    }
}
