// Every error the evaluator reports, with its code and its message word for word.
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;

namespace {

struct ErrorCase {
    std::string expression;
    Math_Error code;
    std::string message;
};

}  // namespace

class Errors : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(locale_.Ok()); }
    ScopedLocale locale_{"C"};
};

TEST_F(Errors, EveryMessageWordForWord)
{
    const std::string huge = "1" + std::string(200, '0');  // 1e200
    const std::vector<ErrorCase> cases = {
        // 1: a result that is infinite or not a number
        {huge + "*" + huge, 1, "Result of * is infinite or not a number."},
        {huge + "/0.0" + std::string(150, '0') + "1", 1, "Result of / is infinite or not a number."},
        // 2: a number against a parenthesis
        {"2(3)", 2, "Missing mathematical operator near: (."},
        {"(2)3", 2, "Missing mathematical operator near: )."},
        {"(1)(2)", 2, "Missing mathematical operator near: )."},
        // 3: arithmetic
        {"1/0", 3, "Divide by zero."},
        {"1/(1-1)", 3, "Divide by zero."},
        {"5%0", 3, "Mod by zero."},
        {"2~3", 3, "Invalid operator: ~."},
        // 4: tokens and names
        {"2#3", 4, "Token is invalid: #"},
        {"1;2", 4, "Token is invalid: ;"},
        {"1,2", 4, "Token is invalid: ,"},  // the argument separator outside a call
        {"12 34", 4, "Token is invalid: 3"},
        {"Undefined*2", 4, "Variable was not defined: Undefined."},
        {"Nothing(2)", 4, "Undeclared identifier: Nothing."},
        {"POW(2)", 4, "Invalid number of parameters passed to method: POW"},
        {"1<+2", 4, "Invalid token: +"},
        {"1|&&2", 4, "Invalid token: &&"},
        {"*2", 4, "Invalid token: *"},
        {"2*", 9, "Value to the right of operator is missing or invalid."},
        {"()", 4, "Invalid token: "},  // the empty group: the character 0 shows nothing
        {"", 4, "Invalid token: "},
        {"   ", 4, "Invalid token: "},
        {"5!", 4, "Invalid token: 5"},
        {"5.", 4, "Invalid token: 5"},
        // 9: missing right operand
        {"2+", 9, "Value to the right of operator is missing or invalid."},
        {"1+~", 9, "Value to the right of operator is missing or invalid."},
        {"!!1", 9, "Value to the right of operator is missing or invalid."},
        {"1<", 9, "Value to the right of operator is missing or invalid."},
        // 10: parentheses
        {"(1+2", 10, "Parentheses mismatch."},
        {"1+2)", 10, "Parentheses mismatch."},
        {")(", 10, "Parentheses mismatch."},
        {"SUM(1,2", 10, "Parentheses mismatch."},
        {"SUM(", 10, "Parentheses mismatch."},
        {"SUM((1)", 10, "Parentheses mismatch."},
    };
    for (const ErrorCase& c : cases) {
        const Outcome outcome = Evaluate(c.expression);
        EXPECT_EQ(outcome.code, c.code) << c.expression;
        EXPECT_EQ(outcome.message, c.message) << c.expression;
    }
}

TEST_F(Errors, LimitsOfTheFixedBuffersStopWithAnError)
{
    std::string spaced;  // 1 + 1 + ... + 1: 1023 characters once its blanks are dropped
    for (int i = 0; i < 511; ++i)
        spaced += "1 + ";
    spaced += "1";
    const std::vector<ErrorCase> cases = {
        // An argument of more than 1023 characters; its dropped blanks do not count.
        {"SUM(" + std::string(1023, '1') + ")", 0, ""},
        {"SUM(" + std::string(1024, '1') + ")", 4, "Argument length limit exceeded."},
        {"SUM(" + spaced + ")", 0, ""},
        {"SUM(" + spaced + "1)", 4, "Argument length limit exceeded."},
        // An operand of more than 348 characters.
        {std::string(348, '0') + "*2", 0, ""},
        {std::string(349, '0') + "*2", 4, "Operand length limit exceeded."},
        {"2*" + std::string(349, '0'), 4, "Operand length limit exceeded."},
        // A number too large for a double.
        {"1" + std::string(320, '0'), 1, "Result is infinite or not a number."},
    };
    for (const ErrorCase& c : cases) {
        const Outcome outcome = Evaluate(c.expression);
        EXPECT_EQ(outcome.code, c.code) << c.expression.substr(0, 40);
        EXPECT_EQ(outcome.message, c.message) << c.expression.substr(0, 40);
    }
}

TEST_F(Errors, ResultTooLongForTheOperandBufferIsRefused)
{
    // With 200 digits of precision some results no longer fit the 348 characters of a write-back.
    const std::string huge = "1" + std::string(200, '0');
    const std::vector<ErrorCase> cases = {
        {huge + "*1", 8, "Text->Double converion failed."},                     // an operator's result
        {"(0." + std::string(299, '0') + "1)", 8, "Text->Double converion failed."}, // a group's value
        {"2*3", 0, ""},
    };
    for (const ErrorCase& c : cases) {
        TestContext context;
        context.precision = 200;
        const Outcome outcome = EvaluateIn(context, c.expression);
        EXPECT_EQ(outcome.code, c.code) << c.expression.substr(0, 40);
        EXPECT_EQ(outcome.message, c.message) << c.expression.substr(0, 40);
    }
}

TEST_F(Errors, NestingTooDeepIsRefused)
{
    std::string nested;
    for (int i = 0; i < 1000; ++i)
        nested += "ABS(";
    nested += "1";
    nested += std::string(1000, ')');
    const Outcome outcome = Evaluate(nested);
    EXPECT_EQ(outcome.code, Math_ErrInvalidToken);
    EXPECT_EQ(outcome.message, "Nesting depth limit exceeded.");

    std::string allowed;
    for (int i = 0; i < 50; ++i)
        allowed += "ABS(";
    allowed += "0-2";
    allowed += std::string(50, ')');
    const Outcome ok = Evaluate(allowed);
    ASSERT_EQ(ok.code, Math_NoError) << ok.message;
    EXPECT_EQ(ok.value, 2.0);
}

TEST_F(Errors, ClearErrorAndReplacement)
{
    TestContext context;
    EXPECT_EQ(EvaluateIn(context, "1/0").code, Math_ErrArithmetic);
    EXPECT_STREQ(context.message, "Divide by zero.");
    EXPECT_EQ(context.code, Math_ErrArithmetic);
    // A second error replaces the first.
    EXPECT_EQ(EvaluateIn(context, "(1").code, Math_ErrParentheses);
    EXPECT_STREQ(context.message, "Parentheses mismatch.");
    EXPECT_EQ(context.code, Math_ErrParentheses);
    // A successful evaluation does not clear it.
    EXPECT_EQ(EvaluateIn(context, "1+1").code, Math_NoError);
    EXPECT_STREQ(context.message, "Parentheses mismatch.");
    Math_ClearError(&context);
    EXPECT_EQ(context.message, nullptr);
    EXPECT_EQ(context.code, 0);
    Math_ClearError(&context);  // twice is harmless
    EXPECT_EQ(context.message, nullptr);
}

TEST_F(Errors, ResultStaysUnchangedOnFailure)
{
    TestContext context;
    double value = 12.5;
    EXPECT_NE(Math_Evaluate(&context, "1/0", &value), Math_NoError);
    EXPECT_EQ(value, 12.5);
    EXPECT_EQ(Math_Evaluate(&context, "2*4", &value), Math_NoError);
    EXPECT_EQ(value, 8.0);
    EXPECT_EQ(Math_Evaluate(&context, "2*4", nullptr), Math_NoError);
    EXPECT_EQ(Math_Evaluate(&context, nullptr, &value), Math_ErrInvalidToken);
    EXPECT_EQ(value, 8.0);
}

TEST_F(Errors, CharactersBeyondAsciiAreNamedWhole)
{
    const Outcome outcome = Evaluate("2\xC3\xA4" "3");  // "2ä3"
    EXPECT_EQ(outcome.code, Math_ErrInvalidToken);
    EXPECT_EQ(outcome.message, "Token is invalid: \xC3\xA4");
    const Outcome lone = Evaluate("2\xFF");
    EXPECT_EQ(lone.message, "Token is invalid: \xFF");
}
