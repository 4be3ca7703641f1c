// Parentheses and operators: precedence, associativity, each operator and the text written back.
#include "FormulaTestSupport.hpp"

#include <tuple>

using namespace FormulaTest;
using Operators = PointLocale;

TEST_F(Operators, EachOperatorInThePassOrderLeftToRight)
{
    TestContext context;
    Expect(context, {
        // "!" first, then "* / % ~", then "+ -", then the comparison table one operator at a time.
        {"2*3+4*5", 26}, {"10-2*3", 4}, {"2+3%2", 3}, {"1+~3", -3}, {"!0+1", 2}, {"(1+2)*(3+4)", 21},
        {"((2))", 2}, {"1+1=2", 1}, {"5>3&&2>1", 1}, {"1<2=1", 0}, {"0=1<2", 1}, {"1|2&3", 3}, {"1||0&&0", 1},
        // Within one pass the leftmost occurrence goes first.
        {"3-2-1", 0}, {"2-3+4", 3}, {"8/2/2", 2}, {"12/3*2", 8}, {"7%4%2", 1}, {"3>2>1", 0}, {"1<<2<<3", 32},
        {"1.5*2", 3}, {"7/2", 3.5}, {"2-3", -1}, {"7%3", 1}, {"-7%3", -1}, {"7%-3", 1}, {"5.5%2", 1.5}, {"0||0", 0},
        {"0.1+0.2=0.3", 1}, {"1/3*3", 1},  // every step is rounded to 16 decimals
        {"1=2", 0}, {"2>1", 1}, {"1>2", 0}, {"2<1", 0}, {"3>=3", 1}, {"2>=3", 0}, {"2<=1", 0}, {"1<=1", 1},
        {"2<>3", 1}, {"2<>2", 0}, {"2!=2", 0}, {"2!3", 1}, {"2!2", 0}, {"1&&0", 0}, {"2&&3", 1}, {"0||2", 1},
        // Bitwise operators truncate to 32 bits; shift counts are taken modulo 32.
        {"2^3", 1}, {"6&3", 2}, {"6|3", 7}, {"5|=2", 7}, {"5&=4", 4}, {"5^=1", 4}, {"6.9&3.9", 2},
        {"-1&255", 255}, {"1<<33", 2}, {"1<<31", -2147483648.0}, {"1<<-1", -2147483648.0}, {"-8>>1", -4},
        {"-1>>31", -1}, {"~5", -6}, {"~-1", 0}, {"~2.9", -3}, {"!5", 0}, {"!0.5", 1}, {"!-3", 0},
    });
}

TEST_F(Operators, ResultsAreWrittenBackWithTheContextsPrecision)
{
    const std::vector<std::tuple<int, const char*, const char*>> rows = {  // precision, text, text written
        // An operator's result: that many decimals, trailing zeros dropped but one kept.
        {16, "1.5*2", "3.0"}, {16, "5*5", "25.0"}, {16, "1/3", "0.3333333333333333"}, {16, "2/3", "0.6666666666666666"},
        {16, "0.1+0.2", "0.3"}, {16, "1/20", "0.05"}, {16, "0.000000000001*0.00000001", "0.0"}, {16, "1-1", "0"},
        {16, "0-2.5", "-2.5"}, {16, "123456789+0.125", "123456789.125"}, {4, "1/3", "0.3333"}, {4, "2*3", "6.0"},
        {16, "100000000000000000000*1", "100000000000000000000.0"}, {16, "0-0.00000000000000000001", "-0.0"},
        {0, "7/2", "4"}, {16, "9223372036854775808*1", "9223372036854775808.0"},
        // An exact half of the last decimal goes to the even digit: 1+2^-17 and 1+3*2^-17.
        {16, "1+0.00000762939453125", "1.0000076293945312"}, {16, "1+0.00002288818359375", "1.0000228881835938"},
        // A prefix writes an integer, a complement group is read as it stands; a group's value has that many
        // significant digits.
        {16, "!0", "1"}, {16, "~5", "~5"}, {16, "(2)", "2"}, {16, "(1/3)", "0.3333333333333333"}, {4, "(9.9996)", "10"},
        {4, "(2/3)", "0.6667"}, {4, "(123456)", "123500"}, {4, "(1.0625)", "1.062"}, {4, "(1.1875)", "1.188"},
        {16, "(1.25)+(-(2))", "-0.75"}, {16, "(0.000244140625)", "0.000244140625"},
    };
    for (const auto& [precision, text, written] : rows) {
        TestContext context;
        context.precision = static_cast<UInt8>(precision);
        EXPECT_EQ(Rewritten(context, text), written) << text << " at precision " << precision;
    }
}

TEST_F(Operators, TheWorkingTextGrowsGeometrically)
{
    // Results longer than their operands grow the text a little at a time: it is not reallocated
    // at every step.
    TestContext context;
    Math_Expression text;
    int reallocations = 0;
    for (int i = 0; i < 4096; ++i) {
        const Int32 capacity = text.capacity;
        ASSERT_EQ(Math_Splice(&context, &text, text.length, text.length, "7", 1), Math_NoError);
        reallocations += text.capacity != capacity ? 1 : 0;
    }
    EXPECT_EQ(std::string(text.text), std::string(4096, '7'));
    EXPECT_LE(reallocations, 12);
    Math_Release(&text);
}
