// Inputs on which a plain text rewriter goes wrong: signs of spliced values, numbers running
// into names, results that are not finite, extreme magnitudes, undefined conversions, nested calls.
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;
using Soundness = PointLocale;

TEST_F(Soundness, NegativeValueSplicedAfterASignKeepsItsSign)
{
    const Variables variables = {{"Param", -5}, {"P", 2}, {"Zero", -0.0}};
    Expect({
        {"-(0-2)", 2}, {"3*-(0-2)", 6}, {"-Param", 5}, {"1<-Param", 1}, {"1-Param", 6}, {"1+Param", -4},
        {"2--Param", -3}, {"2*+Param", -10}, {"+(0-3)*2", -6}, {"!-Param", 0}, {"~-Param", -6}, {"(1)-Param", 6},
        {"1-(0-2)", 3}, {"1+(0-2)", -1}, {"2^-(0-3)", 1}, {"-(-(0-3))", -3}, {"1-SUM(0-2)", 3}, {"-ABS(0-2)", -2},
        {"SUM(-Param,1)", 6}, {"1-Zero", 1}, {"-+(0-2)", 2}, {"-+Param", 5}, {"1-+Param", 6}, {"2*+-Param", 10},
        {"--Param", -5},
        // The typed text keeps its own reading.
        {"--2", -2}, {"1<-2", 0}, {"-P", -2}, {"--P", -2}, {"1--2", 3},
    }, variables);
}

TEST_F(Soundness, NumbersAndValuesDoNotRunTogether)
{
    const Variables variables = {{"Area", 2}, {"Width", 3}, {"Area2", 7}};
    Expect({
        {"2Area", 4, "Token is invalid: A"}, {"2 Area", 4, "Token is invalid: A"}, {"Area 2", 4, "Token is invalid: 2"},
        {"Area2 3", 4, "Token is invalid: 3"}, {"Area Width", 4, "Token is invalid: W"},
        {"2.Area", 4, "Token is invalid: A"}, {"Area.5", 4, "Token is invalid: ."},
        {"SQRT(4)2", 4, "Token is invalid: 2"}, {"SQRT(4) Area", 4, "Token is invalid: A"},
        {"1e5", 4, "Token is invalid: e"},
        {"Area2", 7}, {"Area * Width", 6}, {"SUM(Area 2)", 0}, {"SUM(12 34,1)", 1},  // a refused argument is 0.0
    }, variables);
}

TEST_F(Soundness, ResultsThatAreNotFiniteFailInWords)
{
    const auto notFinite = [](const char* name) {
        return std::string("Result of ") + name + " is infinite or not a number.";
    };
    TestContext context({{"Bad", std::nan("")}});
    context.function = [](const char*, Math_Parameter*, Int32, double* value) {
        *value = INFINITY;
        return true;
    };
    Expect(context, {
        {"SQRT(0-1)", 1, notFinite("SQRT")}, {"sqrt(0-1)", 1, notFinite("sqrt")}, {"LOG(0)", 1, notFinite("LOG")},
        {"LOG10(0)", 1, notFinite("LOG10")}, {"ACOS(2)", 1, notFinite("ACOS")}, {"POW(0,0-1)", 1, notFinite("POW")},
        {"ROUND(1,0)", 1, notFinite("ROUND")}, {"EXP(1000)", 1, notFinite("EXP")}, {"Bad*2", 1, notFinite("Bad")},
        {"Endless(1)", 1, notFinite("Endless")},
        // Inside a number argument the failure counts as 0.0, as every failed argument does, also for
        // a call that begins the argument.
        {"SUM(1+SQRT(0-1),2)", 2}, {"SUM(1*LOG(0),5)", 5}, {"2+SUM(1/0)", 2}, {"SUM(SQRT(0-1),2)", 2},
        {"SUM(LOG(0)*2,3)", 3}, {"SUM(LOG(0)SQRT(4),1)", 1}, {"NOT(SQRT(0-1))", 1},
    });
}

TEST_F(Soundness, ExtremeMagnitudesAreWrittenWithoutExponent)
{
    const auto tooLarge = [](const char* name) { return std::string("Result of ") + name + " is too large."; };
    const Variables variables = {{"Tiny", 1e-7}, {"Huge", 1e53}, {"TooHuge", 1e54}, {"NegHuge", -2e53}};
    Expect({
        {"(0.00001)*100000", 1}, {"(POW(10,0-7))*10000000", 1}, {"(100000000000000000000)*2", 2e20},
        {"(POW(10,50)*POW(10,50))/POW(10,50)/POW(10,49)", 10}, {"Huge/POW(10,52)", 10}, {"Tiny*10000000", 1},
        {"(0.000000000000000123)*1000000000000000000", 123},
        {"(12345678901234567890123)/1000000000000000000", 12345.67890123457},
        // Values that the 63 characters of a value text cannot hold stop the evaluation.
        {"TooHuge", 1, tooLarge("TooHuge")}, {"NegHuge", 1, tooLarge("NegHuge")}, {"POW(10,60)", 1, tooLarge("POW")},
        {"SUM(POW(10,60),1)", 1, tooLarge("POW")},
    }, variables);
    TestContext context;
    char buffer[Math_OperandBufferSize];
    EXPECT_GT(Math_WriteSignificant(&context, 4.9e-324, buffer, sizeof buffer), 300);
    EXPECT_GT(Math_WriteSignificant(&context, -1.7976931348623157e308, buffer, sizeof buffer), 300);
}

TEST_F(Soundness, ConversionsToIntegersAreDefinedForEveryInput)
{
    Expect({
        {"10000000000<<1", 0}, {"10000000000&1", 0}, {"0-10000000000|0", -2147483648.0},  // out of range
        {"1<<32", 1}, {"-2147483648>>31", -1},
        {"!99999999999", 0}, {"~99999999999", -2147483648.0}, {"~-99999999999", 2147483647.0},  // atol saturates
        {"LDEXP(1,10000000000)", 0}, {"NOT(1000000000000000000000)", 0}, {"NOT(0-1000000000000000000000)", 0},
        {"MODPOW(2,10000000000000000000000,7)", 1}, {"MODPOW(1000000000000000000000000000000,3,7)", 0},
    });
}

TEST_F(Soundness, ArgumentSeparatorEndsOnlyTheCallsOwnArguments)
{
    TestContext context;
    context.function = [](const char* name, Math_Parameter* parameters, Int32 count, double* value) {
        const bool inner = std::string(name) == "Inner" && count == 2;
        *value = inner ? parameters[0].value * 10 + parameters[1].value : count;
        return true;
    };
    Expect(context, {{"SUM(1+POW(2,3),1)", 10}, {"SUM(2*ATAN2(0,1)+1,1)", 2}, {"SUM((1+2)*SUM(1,1),1)", 7},
                     {"AVG(1+SUM(1,2,3),3)", 5}, {"Outer(1+Inner(4,2),3)", 2}, {"Inner(1+Inner(4,2),3)", 433}});
}

TEST_F(Soundness, LongInputsFinish)
{
    std::string sum = "0", nested = std::string(3000, '(') + "1", names = "V";
    for (int i = 0; i < 4000; ++i)
        sum += "+1";
    for (int i = 0; i < 3000; ++i)
        nested += "+1)";
    for (int i = 0; i < 2000; ++i)
        names += "-V";
    Expect({{sum, 4000}, {nested, 3001}, {names, 1999}}, {{"V", -1}});
}
