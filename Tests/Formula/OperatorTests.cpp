// Parentheses and operators: precedence, associativity, each operator, and the text written back.
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;

namespace {

struct ValueCase {
    const char* expression;
    double value;
};

void ExpectValues(const std::vector<ValueCase>& cases)
{
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.expression);
        const Outcome outcome = Evaluate(c.expression);
        ASSERT_EQ(outcome.code, Math_NoError) << outcome.message;
        EXPECT_DOUBLE_EQ(outcome.value, c.value);
    }
}

}  // namespace

TEST(Operators, PrecedenceFollowsThePassOrder)
{
    ExpectValues({
        {"2*3+4*5", 26},
        {"1+2*3", 7},
        {"10-2*3", 4},
        {"(1+2)*3", 9},
        {"(1+2)*(3+4)", 21},
        {"((2))", 2},
        {"1+1=2", 1},
        {"2*2<5", 1},
        {"5>3&&2>1", 1},
        {"1<2=1", 0},   // "=" is exhausted before "<" is looked at
        {"1|2&3", 3},   // "|" before "&"
        {"0=1<2", 1},
        {"!0+1", 2},    // "!" binds tightest
        {"2+3%2", 3},
        {"6/2*3", 9},
        {"1+~3", -3},
        {"1||0&&0", 1}, // "&&" before "||"
    });
}

TEST(Operators, SamePassGoesLeftToRight)
{
    ExpectValues({
        {"3-2-1", 0},
        {"2-3+4", 3},
        {"8/2/2", 2},
        {"12/3*2", 8},
        {"2*3/4", 1.5},
        {"7%4%2", 1},
        {"2^3^1", 0},
        {"3>2>1", 0},
        {"1<2<3", 1},
        {"1<<2<<3", 32},
    });
}

TEST(Operators, ArithmeticOperators)
{
    ExpectValues({
        {"1.5*2", 3},
        {"7/2", 3.5},
        {"1/3", 0.3333333333333333},
        {"2+3", 5},
        {"2-3", -1},
        {"7%3", 1},
        {"-7%3", -1},
        {"7%-3", 1},
        {"5.5%2", 1.5},
        {"0.1+0.2=0.3", 1},   // every step is rounded to 16 decimals
        {"1/3*3", 1},
    });
}

TEST(Operators, ComparisonAndLogicOperators)
{
    ExpectValues({
        {"1=1", 1},   {"1=2", 0},   {"2>1", 1},   {"1>2", 0},   {"1<2", 1},   {"2<1", 0},
        {"3>=3", 1},  {"2>=3", 0},  {"2<=1", 0},  {"1<=1", 1},  {"2<>3", 1},  {"2<>2", 0},
        {"2!=2", 0},  {"2!=3", 1},  {"2!3", 1},   {"2!2", 0},   {"1&&0", 0},  {"2&&3", 1},
        {"0||2", 1},  {"0||0", 0},  {"1<-2", 0},  {"-1<2", 1},
    });
}

TEST(Operators, BitwiseOperatorsTruncateTo32Bits)
{
    ExpectValues({
        {"2^3", 1},          // exclusive or, not a power
        {"6&3", 2},          {"6|3", 7},          {"6^3", 5},
        {"5|=2", 7},         {"5&=4", 4},         {"5^=1", 4},
        {"6.9&3.9", 2},      {"-1&255", 255},
        {"1<<3", 8},         {"1<<33", 2},        // the shift count is taken modulo 32
        {"1<<31", -2147483648.0},
        {"-1<<1", -2},       {"1<<-1", -2147483648.0},
        {"-8>>1", -4},       {"16>>2", 4},        {"-1>>31", -1},
        {"~5", -6},          {"~0", -1},          {"~-1", 0},          {"~2.9", -3},
        {"!0", 1},           {"!5", 0},           {"!0.5", 1},         {"!-3", 0},
    });
}

TEST(Operators, SignsWithoutLeftOperand)
{
    ExpectValues({
        {"--2", -2},   // typed text: the first "-" is a lone sign read as 0
        {"--2*3", 0},  // a typed run of signs before a left operand is taken whole: "--2" reads as 0
        {"+-2*3", 0},
        {"--2!3", 1},
        {"1--2*3", 7}, // the run ends at the operand before it
        {"-", 0},
        {"-2", -2},
        {"+2", 2},
        {"-2*3", -6},
        {"2*-3", -6},
        {"2--3", 5},
        {"1+-3", -2},
        {"-(2)", -2},
    });
}

TEST(Operators, WritesEachResultBackWithSixteenDecimals)
{
    TestContext context;
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"1.5*2", "3.0"},
        {"2*3", "6.0"},
        {"1/3", "0.3333333333333333"},
        {"2/3", "0.6666666666666666"},
        {"0.1+0.2", "0.3"},
        {"5*5", "25.0"},
        {"1/20", "0.05"},
        {"0.000000000001*0.00000001", "0.0"},
        {"1-1", "0"},
        {"~5", "~5"},                   // a complement group is read as it stands
        {"!0", "1"},
        {"(2)", "2"},
        {"(1.5)*2", "3.0"},
        {"(1/3)", "0.3333333333333333"},
        {"(0.00001)", "0.00001"},       // no exponent for small group values
        {"(100000000000000000000)", "100000000000000000000"},
        {"(1.25)+(-(2))", "-0.75"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Reduced(context, c.first), c.second) << c.first;
}

TEST(Operators, FormatDoubleTable)
{
    TestContext context;
    const std::vector<std::pair<double, const char*>> cases = {
        {0.0, "0"},        {6.0, "6.0"},         {25.0, "25.0"},   {2.5, "2.5"},   {0.05, "0.05"},
        {0.1 + 0.2, "0.3"}, {1e-20, "0.0"},      {-2.5, "-2.5"},   {-0.75, "-0.75"},
        {1.0 / 3.0, "0.3333333333333333"},       {123456789.125, "123456789.125"},
        {1e20, "100000000000000000000.0"},
    };
    for (const auto& c : cases) {
        char buffer[Math_OperandBufferSize];
        const Int32 length = Math_FormatDouble(&context, c.first, buffer, sizeof buffer);
        EXPECT_EQ(std::string(buffer), c.second) << c.first;
        EXPECT_EQ(length, static_cast<Int32>(std::strlen(c.second)));
    }
    char small[4];
    EXPECT_EQ(Math_FormatDouble(&context, 123.5, small, sizeof small), -1);
    char buffer[Math_OperandBufferSize];
    EXPECT_EQ(Math_FormatDouble(&context, std::nan(""), buffer, sizeof buffer), -1);
    EXPECT_EQ(Math_FormatDouble(&context, INFINITY, buffer, sizeof buffer), -1);
    // The largest double still fits the operand buffer with its 16 decimals.
    EXPECT_GT(Math_FormatDouble(&context, 1.7976931348623157e308, buffer, sizeof buffer), 300);
}

TEST(Operators, HelpersFindOperatorsAndNumbers)
{
    TestContext context;
    EXPECT_EQ(Math_FindText(&context, "<=", "1<=2", 4, 0), 1);
    EXPECT_EQ(Math_FindText(&context, "<=", "1<=2", 4, 2), -1);
    EXPECT_EQ(Math_FindText(&context, "<=", "1<=2", 4, 5), -2);
    EXPECT_EQ(Math_FindText(&context, "<<<", "1<", 2, 0), -2);

    const std::vector<std::pair<const char*, bool>> numbers = {
        {"12", true},   {"-12", true},  {"+1.5", true}, {"1.5", true},  {"-", true},    {"+", true},
        {"", false},    {".5", false},  {"5.", false},  {"-.5", false}, {"1.2.3", false}, {"1-2", false},
        {"~5", false},  {"1e5", false},
    };
    for (const auto& n : numbers)
        EXPECT_EQ(Math_IsNumber(&context, n.first, static_cast<Int32>(std::strlen(n.first))), n.second) << n.first;

    Math_Expression text;
    const auto setText = [&](const char* value) {
        Math_Reserve(&context, &text, static_cast<Int32>(std::strlen(value)) + 1);
        std::strcpy(text.text, value);
        text.length = static_cast<Int32>(std::strlen(value));
    };
    setText("1!=2!3");
    EXPECT_EQ(Math_FindNotOperator(&context, &text), 4);
    setText("5!");
    EXPECT_EQ(Math_FindNotOperator(&context, &text), -1);
    setText("~2*3");
    EXPECT_EQ(Math_FindMulOperator(&context, &text), 2);
    setText("~2+3");
    EXPECT_EQ(Math_FindMulOperator(&context, &text), 0);

    char buffer[Math_OperandBufferSize];
    Int32 length = 0, boundary = 0;
    setText("1--2.5*3");
    ASSERT_EQ(Math_ReadLeftOperand(&context, &text, 6, buffer, sizeof buffer, &length, &boundary), Math_NoError);
    EXPECT_STREQ(buffer, "-2.5");
    EXPECT_EQ(boundary, 2);
    ASSERT_EQ(Math_ReadRightOperand(&context, &text, 2, buffer, sizeof buffer, &length, &boundary), Math_NoError);
    EXPECT_STREQ(buffer, "-2.5");
    EXPECT_EQ(boundary, 6);
    setText("--2*3");
    ASSERT_EQ(Math_ReadLeftOperand(&context, &text, 3, buffer, sizeof buffer, &length, &boundary), Math_NoError);
    EXPECT_STREQ(buffer, "--2");
    EXPECT_EQ(boundary, 0);
    Math_Release(&text);
}

TEST(Operators, PrecisionDrivesBothWriteBacks)
{
    TestContext context;
    EXPECT_EQ(context.precision, 16);
    context.precision = 4;
    EXPECT_EQ(Reduced(context, "1/3"), "0.3333");
    EXPECT_EQ(Reduced(context, "(2/3)"), "0.6667");
    EXPECT_EQ(Reduced(context, "(123456)"), "123500");
    EXPECT_EQ(Reduced(context, "2*3"), "6.0");
    context.precision = 0;  // no fraction digits at all
    EXPECT_EQ(Reduced(context, "7/2"), "4");
}
