// Every error the evaluator reports, with its code and its message word for word.
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;
using Errors = PointLocale;

TEST_F(Errors, EveryMessageWordForWordTheLimitsAndAnErrorStaysUntilCleared)
{
    const std::string missing = "Value to the right of operator is missing or invalid.";
    const std::string mismatch = "Parentheses mismatch.", huge = "1" + std::string(200, '0');  // 1e200
    const std::string sum = "1" + Repeat("+1", 511), spaced = "1" + Repeat(" + 1", 511);  // 1023 characters, no blanks
    const std::string argument = "Argument length limit exceeded.", operand = "Operand length limit exceeded.";
    TestContext context;
    Expect(context, {
        {huge + "*" + huge, 1, "Result of * is infinite or not a number."},
        {huge + "/0.0" + std::string(150, '0') + "1", 1, "Result of / is infinite or not a number."},
        {"2(3)", 2, "Missing mathematical operator near: (."}, {"(2)3", 2, "Missing mathematical operator near: )."},
        {"(1)(2)", 2, "Missing mathematical operator near: )."},
        {"1/0", 3, "Divide by zero."}, {"1/(1-1)", 3, "Divide by zero."}, {"5%0", 3, "Mod by zero."},
        {"2~3", 3, "Invalid operator: ~."},
        {"2#3", 4, "Token is invalid: #"}, {"1;2", 4, "Token is invalid: ;"}, {"12 34", 4, "Token is invalid: 3"},
        {"1,2", 4, "Token is invalid: ,"},  // the argument separator outside a call
        {"2\xC3\xA4" "3", 4, "Token is invalid: \xC3\xA4"}, {"2\xFF", 4, "Token is invalid: \xFF"},
        {"Undefined*2", 4, "Variable was not defined: Undefined."},
        {"Nothing(2)", 4, "Undeclared identifier: Nothing."}, {"Nothing (2)", 4, "Undeclared identifier: Nothing."},
        {"POW(2)", 4, "Invalid number of parameters passed to method: POW"},
        {"1<+2", 4, "Invalid token: +"}, {"1|&&2", 4, "Invalid token: &&"}, {"*2", 4, "Invalid token: *"},
        {"()", 4, "Invalid token: "}, {"", 4, "Invalid token: "}, {"   ", 4, "Invalid token: "},  // the character 0
        {"5!", 4, "Invalid token: 5"}, {"5.", 4, "Invalid token: 5"}, {".5", 4, "Invalid token: ."},
        {"2*", 9, missing}, {"2+", 9, missing}, {"1+~", 9, missing}, {"!!1", 9, missing}, {"1<", 9, missing},
        // An argument of more than 1023 characters; its dropped blanks do not count.
        {"SUM(" + sum + ")", 512}, {"SUM(" + sum + "1)", 4, argument},
        {"SUM(" + spaced + ")", 512}, {"SUM(" + spaced + "1)", 4, argument},
        // An operand of more than 348 characters; the largest doubles still fit.
        {std::string(348, '0') + "*2", 0}, {"1" + std::string(308, '0') + "*1", 1e308},
        {std::string(349, '0') + "*2", 4, operand}, {"2*" + std::string(349, '0'), 4, operand},
        {"1" + std::string(320, '0'), 1, "Result is infinite or not a number."},  // beyond a double
        {Repeat("ABS(", 50) + "0-2" + std::string(50, ')'), 2},
        {Repeat("ABS(", 1000) + "1" + std::string(1000, ')'), 4, "Nesting depth limit exceeded."},
        {"(1+2", 10, mismatch}, {"1+2)", 10, mismatch}, {")(", 10, mismatch}, {"SUM(1,2", 10, mismatch},
        {"SUM(", 10, mismatch}, {"SUM((1)", 10, mismatch}, {"1+1", 2},
    });
    // Each error replaced the one before, and a success does not clear it.
    EXPECT_STREQ(context.message, mismatch.c_str());
    EXPECT_EQ(context.code, Math_ErrParentheses);
    Math_ClearError(&context);
    EXPECT_EQ(context.message, nullptr);
    EXPECT_EQ(context.code, 0);
    Math_ClearError(&context);  // twice is harmless
    double value = 12.5;
    EXPECT_EQ(Math_Evaluate(&context, "2*4", nullptr), Math_NoError);
    EXPECT_EQ(Math_Evaluate(&context, nullptr, &value), Math_ErrInvalidToken);
    EXPECT_EQ(value, 12.5);
    // With 200 digits of precision a write-back no longer fits the operand buffer.
    context.precision = 200;
    Expect(context, {{"1" + std::string(200, '0') + "*1", 8, "Text->Double converion failed."},
                     {"(0." + std::string(299, '0') + "1)", 8, "Text->Double converion failed."}, {"2*3", 6}});
}
