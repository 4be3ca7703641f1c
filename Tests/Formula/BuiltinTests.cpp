// The built-in functions, in the point locale ("," separates arguments).
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;

namespace {

// A value enters the text with 8 decimals.
double Eight(double value)
{
    return std::round(value * 1e8) / 1e8;
}

struct BuiltinCase {
    const char* expression;
    double value;
};

}  // namespace

class Builtins : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(locale_.Ok()); }
    ScopedLocale locale_{"C"};
};

TEST_F(Builtins, EveryBuiltinComputesItsValue)
{
    const double pi = std::acos(-1.0);
    const std::vector<BuiltinCase> cases = {
        {"ACOS(1)", 0},
        {"ACOS(0)", Eight(pi / 2)},
        {"ASIN(1)", Eight(pi / 2)},
        {"ASIN(-0.5)", Eight(std::asin(-0.5))},
        {"ATAN(1)", Eight(pi / 4)},
        {"ATAN2(1,1)", Eight(pi / 4)},
        {"ATAN2(1,-1)", Eight(3 * pi / 4)},
        {"ATAN2(-1,-1)", Eight(-3 * pi / 4)},
        {"LDEXP(3,2)", 12},
        {"LDEXP(1,2.9)", 4},        // the exponent is truncated
        {"LDEXP(1,-1)", 0.5},
        {"SINH(1)", Eight(std::sinh(1.0))},
        {"COSH(0)", 1},
        {"COSH(1)", Eight(std::cosh(1.0))},
        {"TANH(0.5)", Eight(std::tanh(0.5))},
        {"LOG(1)", 0},
        {"LOG(10)", Eight(std::log(10.0))},
        {"LOG10(1000)", 3},
        {"LOG10(0.01)", -2},
        {"EXP(0)", 1},
        {"EXP(2)", Eight(std::exp(2.0))},
        {"MODPOW(4,13,497)", 445},
        {"MODPOW(2,0,7)", 1},
        {"MODPOW(-2,1,5)", -2},
        {"MODPOW(2,-3,7)", 1},
        {"MODPOW(123456789,987654321,2147483647)", 1077769156},
        {"MODPOW(5,3,-1)", 0},      // a remainder by -1 is 0
        {"MODPOW(5,3,1)", 0},
        {"SQRT(16)", 4},
        {"SQRT(2)", Eight(std::sqrt(2.0))},
        {"POW(2,10)", 1024},
        {"POW(2,-1)", 0.5},
        {"POW(9,0.5)", 3},
        {"FLOOR(1.5)", 1},
        {"FLOOR(-1.5)", -2},
        {"CEIL(1.2)", 2},
        {"CEIL(-1.5)", -1},
        {"ROUND(7.3,0.5)", 7.5},
        {"ROUND(2.5,1)", 3},        // halves away from zero
        {"ROUND(-2.5,1)", -3},
        {"ROUND(2.25,0.1)", Eight(std::round(2.25 / 0.1) * 0.1)},  // a multiple of 0.1 next to 2.25
        {"ROUND(1234,100)", 1200},
        {"NOT(0)", 1},
        {"NOT(0.5)", 1},            // truncated to an integer first
        {"NOT(3)", 0},
        {"NOT(-1)", 0},
        {"AVG(1,2,3)", 2},
        {"AVG(4)", 4},
        {"AVG(1,2)", 1.5},
        {"SUM(1,2,3)", 6},
        {"SUM(5)", 5},
        {"SUM(0.1,0.2)", 0.3},
        {"TAN(0)", 0},
        {"TAN(1)", Eight(std::tan(1.0))},
        {"SIN(0)", 0},
        {"SIN(1)", Eight(std::sin(1.0))},
        {"COS(0)", 1},
        {"COS(1)", Eight(std::cos(1.0))},
        {"ABS(-3.5)", 3.5},
        {"ABS(2)", 2},
    };
    for (const BuiltinCase& c : cases) {
        SCOPED_TRACE(c.expression);
        const Outcome outcome = Evaluate(c.expression);
        ASSERT_EQ(outcome.code, Math_NoError) << outcome.message;
        EXPECT_NEAR(outcome.value, c.value, 1e-12);
    }
}

TEST_F(Builtins, NamesIgnoreLetterCaseAndBlanksBeforeTheParenthesis)
{
    for (const char* expression : {"Sqrt(16)", "SQRT (16)", "sqrt(16)", "sQrT\t(16)", "SQRT( 16 )"}) {
        const Outcome outcome = Evaluate(expression);
        ASSERT_EQ(outcome.code, Math_NoError) << expression << ": " << outcome.message;
        EXPECT_EQ(outcome.value, 4.0) << expression;
    }
}

TEST_F(Builtins, BuiltinsAreCalledInsideExpressionsAndArguments)
{
    const std::vector<BuiltinCase> cases = {
        {"SQRT(16)*2+1", 9},
        {"2*ABS(0-3)", 6},
        {"SUM(SQRT(4),SQRT(9))", 5},
        {"SUM(sqrt (4),1)", 3},
        {"POW(SUM(1,1),3)", 8},
        {"ROUND(SUM(1.2,0.06),0.1)", 1.3},
        {"SUM((1+2)*3,1)", 10},
        {"ABS(-(2+3))", 5},
    };
    for (const BuiltinCase& c : cases) {
        SCOPED_TRACE(c.expression);
        const Outcome outcome = Evaluate(c.expression);
        ASSERT_EQ(outcome.code, Math_NoError) << outcome.message;
        EXPECT_NEAR(outcome.value, c.value, 1e-12);
    }
}

TEST_F(Builtins, EmptyArgumentListGivesOneZeroArgument)
{
    EXPECT_EQ(Evaluate("SUM()").value, 0.0);
    EXPECT_EQ(Evaluate("NOT()").value, 1.0);
    EXPECT_EQ(Evaluate("SUM(1,)").value, 1.0);
    EXPECT_EQ(Evaluate("AVG(,4)").value, 2.0);
    const Outcome outcome = Evaluate("ATAN2()");
    EXPECT_EQ(outcome.code, Math_ErrInvalidToken);
    EXPECT_EQ(outcome.message, "Invalid number of parameters passed to method: ATAN2");
}

TEST_F(Builtins, WrongNumberOfArgumentsNamesTheFunctionAsWritten)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"ATAN2(1)", "Invalid number of parameters passed to method: ATAN2"},
        {"atan2(1)", "Invalid number of parameters passed to method: atan2"},
        {"SQRT(1,2)", "Invalid number of parameters passed to method: SQRT"},
        {"MODPOW(1,2)", "Invalid number of parameters passed to method: MODPOW"},
        {"Round(1)", "Invalid number of parameters passed to method: Round"},
        {"LDEXP(1,2,3)", "Invalid number of parameters passed to method: LDEXP"},
        {"SUM(ATAN2(1),2)", "Invalid number of parameters passed to method: ATAN2"},  // nested call ends the pass
    };
    for (const auto& c : cases) {
        const Outcome outcome = Evaluate(c.first);
        EXPECT_EQ(outcome.code, Math_ErrInvalidToken) << c.first;
        EXPECT_EQ(outcome.message, c.second) << c.first;
    }
}

TEST_F(Builtins, TextArgumentsAreReadAsZero)
{
    EXPECT_EQ(Evaluate("SUM('abc',2)").value, 2.0);
    EXPECT_EQ(Evaluate("NOT('x')").value, 1.0);
}

TEST_F(Builtins, ModPowWrapsAroundAndRefusesAZeroModulus)
{
    // 3037000500 squared leaves the 64-bit range: the product wraps around.
    EXPECT_EQ(Evaluate("MODPOW(3037000500,2,1000000007)").value, -145697812.0);
    // A base beyond the 64-bit range converts to the smallest 64-bit integer.
    EXPECT_EQ(Evaluate("MODPOW(1000000000000000000000000000000,3,7)").value, 0.0);
    EXPECT_EQ(Evaluate("MODPOW(7,2,10000000000)").value, 49.0);  // modulus -2147483648
    for (const char* expression : {"MODPOW(2,5,0)", "MODPOW(2,5,0.5)", "MODPOW(2,0,0)"}) {
        const Outcome outcome = Evaluate(expression);
        EXPECT_EQ(outcome.code, Math_ErrArithmetic) << expression;
        EXPECT_EQ(outcome.message, "Mod by zero.") << expression;
    }
}
