// The built-in functions, in the point locale ("," separates arguments).
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;
using Builtins = PointLocale;

TEST_F(Builtins, EachBuiltinInEveryWritingAndItsRefusals)
{
    const double pi = std::acos(-1.0);
    const auto Eight = [](double value) { return std::round(value * 1e8) / 1e8; };  // as the value enters the text
    const std::string count = "Invalid number of parameters passed to method: ", mod = "Mod by zero.";
    TestContext context;
    Expect(context, {
        {"ACOS(1)", 0}, {"ACOS(0)", Eight(pi / 2)}, {"ASIN(-0.5)", Eight(-pi / 6)}, {"ATAN(1)", Eight(pi / 4)},
        {"ATAN2(1,-1)", Eight(3 * pi / 4)}, {"ATAN2(-1,-1)", Eight(-3 * pi / 4)}, {"SQRT(2)", Eight(std::sqrt(2.0))},
        {"LDEXP(3,2)", 12}, {"LDEXP(1,2.9)", 4}, {"LDEXP(1,-1)", 0.5},  // the exponent is truncated
        {"SINH(1)", Eight(std::sinh(1.0))}, {"COSH(1)", Eight(std::cosh(1.0))}, {"TANH(0.5)", Eight(std::tanh(0.5))},
        {"LOG(10)", Eight(std::log(10.0))}, {"LOG10(0.01)", -2}, {"EXP(2)", Eight(std::exp(2.0))},
        {"MODPOW(4,13,497)", 445}, {"MODPOW(2,0,7)", 1}, {"MODPOW(-2,1,5)", -2}, {"MODPOW(2,-3,7)", 1},
        {"MODPOW(123456789,987654321,2147483647)", 1077769156}, {"MODPOW(5,3,-1)", 0},
        {"MODPOW(3037000500,2,1000000007)", -145697812},  // the 64-bit product wraps around
        {"MODPOW(7,2,10000000000)", 49},                  // the modulus converts to -2147483648
        {"POW(2,-1)", 0.5}, {"POW(9,0.5)", 3}, {"ABS(-3.5)", 3.5}, {"TAN(1)", Eight(std::tan(1.0))},
        {"FLOOR(-1.5)", -2}, {"CEIL(-1.5)", -1}, {"ROUND(7.3,0.5)", 7.5}, {"ROUND(2.5,1)", 3}, {"ROUND(-2.5,1)", -3},
        {"ROUND(2.25,0.1)", Eight(std::round(2.25 / 0.1) * 0.1)}, {"ROUND(1234,100)", 1200},
        {"NOT(0)", 1}, {"NOT(0.5)", 1}, {"NOT(-1)", 0}, {"AVG(1,2)", 1.5}, {"AVG(4)", 4}, {"SUM(1,2,3)", 6},
        {"SUM(0.1,0.2)", 0.3}, {"SIN(1)", Eight(std::sin(1.0))}, {"COS(1)", Eight(std::cos(1.0))},
        // Any case, blanks before "(" and around arguments, calls inside expressions and arguments.
        {"Sqrt(16)", 4}, {"SQRT (16)", 4}, {"sQrT\t(16)", 4}, {"SQRT( 16 )", 4}, {"SQRT(16)*2+1", 9},
        {"SUM(sqrt (4),1)", 3}, {"POW(SUM(1,1),3)", 8}, {"ROUND(SUM(1.2,0.06),0.1)", 1.3}, {"SUM((1+2)*3,1)", 10},
        {"ABS(-(2+3))", 5}, {"SUM(SQRT(4)+5,1)", 8},
        // An empty argument counts as 0.0, and so does a text argument.
        {"SUM()", 0}, {"NOT()", 1}, {"SUM(1,)", 1}, {"AVG(,4)", 2}, {"SUM('abc',2)", 2}, {"NOT('x')", 1},
        // A number running into a nested call's value fails that argument, as at the top level.
        {"SUM(SQRT(4)5,1)", 1}, {"SUM(SQRT(4).5,1)", 1}, {"SUM(SQRT(4) 5,1)", 1},
        {"ATAN2()", 4, count + "ATAN2"}, {"atan2(1)", 4, count + "atan2"}, {"SQRT(1,2)", 4, count + "SQRT"},
        {"MODPOW(1,2)", 4, count + "MODPOW"}, {"LDEXP(1,2,3)", 4, count + "LDEXP"},
        {"SUM(ATAN2(1),2)", 4, count + "ATAN2"},  // a nested built-in's failure ends the whole pass
        {"MODPOW(2,5,0)", 3, mod}, {"MODPOW(2,5,0.5)", 3, mod}, {"MODPOW(2,0,0)", 3, mod},
    });
}
