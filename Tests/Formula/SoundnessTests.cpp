// Inputs on which a plain text rewriter goes wrong: signs typed and signs of spliced values, numbers
// running into names, results that are not finite, extreme magnitudes, undefined conversions, nested calls.
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;

struct Soundness : PointLocale {
    TestContext context{{{"N", -5}, {"P", 2}, {"Zero", -0.0}, {"Area", 2}, {"Width", 3}, {"Area2", 7}, {"V", -1},
                         {"Bad", std::nan("")}, {"Tiny", 1e-7}, {"Huge", 1e53}, {"TooHuge", 1e54}, {"NegHuge", -2e53}}};
    Soundness()
    {
        // Endless answers infinity, Inner(a,b) 10a+b, any other function its number of arguments.
        context.function = [](const char* name, Math_Parameter* parameters, Int32 count, double* value) {
            const std::string function = name;
            *value = function == "Endless" ? INFINITY : count;
            if (function == "Inner" && count == 2)
                *value = parameters[0].value * 10 + parameters[1].value;
            return true;
        };
    }
};

TEST_F(Soundness, SignsNumbersNamesAndArgumentsKeepTheirReading)
{
    const auto invalid = [](const char* token) { return "Token is invalid: " + std::string(token); };
    Expect(context, {
        // A typed "-" without a left operand is read as 0, and a typed run of signs is taken whole into
        // a left operand.
        {"--2", -2}, {"--2*3", 0}, {"+-2*3", 0}, {"--2!3", 1}, {"1--2*3", 7}, {"-", 0}, {"+2", 2}, {"2*-3", -6},
        {"2--3", 5}, {"1+-3", -2}, {"-(2)", -2}, {"1<-2", 0}, {"-1<2", 1}, {"-P", -2}, {"--P", -2}, {"1--2", 3},
        // A negative value folds into a sign only where that sign has no left operand; after one the
        // sign is a binary operator and the value stays the right operand's own.
        {"1+N!3", 2}, {"1-N!3", 0}, {"1-N*2", 11}, {"1+N", -4}, {"1-(0-2)", 3}, {"2*3-(0-2)*4", 14}, {"-N", 5},
        {"+N", -5}, {"3*-(0-2)", 6}, {"1<-N", 1}, {"1-+N", 6}, {"-(0-2)", 2}, {"1-N", 6}, {"2--N", -3},
        {"2*+N", -10}, {"+(0-3)*2", -6}, {"!-N", 0}, {"~-N", -6}, {"(1)-N", 6}, {"1+(0-2)", -1}, {"2^-(0-3)", 1},
        {"-(-(0-3))", -3}, {"1-SUM(0-2)", 3}, {"-ABS(0-2)", -2}, {"SUM(-N,1)", 6}, {"1-Zero", 1}, {"-+(0-2)", 2},
        {"-+N", 5}, {"2*+-N", 10}, {"--N", -5},
        // Numbers and values do not run together; a refused argument is 0.0.
        {"2Area", 4, invalid("A")}, {"2 Area", 4, invalid("A")}, {"Area 2", 4, invalid("2")},
        {"Area2 3", 4, invalid("3")}, {"Area Width", 4, invalid("W")}, {"2.Area", 4, invalid("A")},
        {"Area.5", 4, invalid(".")}, {"SQRT(4)2", 4, invalid("2")}, {"SQRT(4) Area", 4, invalid("A")},
        {"1e5", 4, invalid("e")}, {"Area2", 7}, {"Area * Width", 6}, {"SUM(Area 2)", 0}, {"SUM(12 34,1)", 1},
        // The argument separator ends only the call's own arguments.
        {"SUM(1+POW(2,3),1)", 10}, {"SUM(2*ATAN2(0,1)+1,1)", 2}, {"SUM((1+2)*SUM(1,1),1)", 7},
        {"AVG(1+SUM(1,2,3),3)", 5}, {"Outer(1+Inner(4,2),3)", 2}, {"Inner(1+Inner(4,2),3)", 433},
        // Long inputs finish.
        {"0" + Repeat("+1", 4000), 4000}, {std::string(3000, '(') + "1" + Repeat("+1)", 3000), 3001},
        {"V" + Repeat("-V", 2000), 1999},
    });
}

TEST_F(Soundness, ValuesAtTheEdgesFailInWordsOrAreWrittenWithoutExponent)
{
    const auto notFinite = [](const char* name) {
        return std::string("Result of ") + name + " is infinite or not a number.";
    };
    const auto large = [](const char* name) { return std::string("Result of ") + name + " is too large."; };
    Expect(context, {
        {"SQRT(0-1)", 1, notFinite("SQRT")}, {"sqrt(0-1)", 1, notFinite("sqrt")}, {"LOG(0)", 1, notFinite("LOG")},
        {"LOG10(0)", 1, notFinite("LOG10")}, {"ACOS(2)", 1, notFinite("ACOS")}, {"POW(0,0-1)", 1, notFinite("POW")},
        {"ROUND(1,0)", 1, notFinite("ROUND")}, {"EXP(1000)", 1, notFinite("EXP")}, {"Bad*2", 1, notFinite("Bad")},
        {"Endless(1)", 1, notFinite("Endless")}, {"POW(10,60)", 1, large("POW")},
        // Inside a number argument the failure counts as 0.0, as every failed argument does, also for
        // a call that begins the argument.
        {"SUM(1+SQRT(0-1),2)", 2}, {"SUM(1*LOG(0),5)", 5}, {"2+SUM(1/0)", 2}, {"SUM(SQRT(0-1),2)", 2},
        {"SUM(LOG(0)*2,3)", 3}, {"SUM(LOG(0)SQRT(4),1)", 1}, {"NOT(SQRT(0-1))", 1},
        // Values that the 63 characters of a value text cannot hold stop the evaluation.
        {"TooHuge", 1, large("TooHuge")}, {"NegHuge", 1, large("NegHuge")}, {"SUM(POW(10,60),1)", 1, large("POW")},
        // Other magnitudes are written without an exponent.
        {"(0.00001)*100000", 1}, {"(POW(10,0-7))*10000000", 1}, {"(100000000000000000000)*2", 2e20},
        {"(POW(10,50)*POW(10,50))/POW(10,50)/POW(10,49)", 10}, {"Huge/POW(10,52)", 10}, {"Tiny*10000000", 1},
        {"(0.000000000000000123)*1000000000000000000", 123},
        {"(12345678901234567890123)/1000000000000000000", 12345.67890123457},
        // Conversions to integers are defined for every input.
        {"10000000000<<1", 0}, {"10000000000&1", 0}, {"0-10000000000|0", -2147483648.0},  // out of range
        {"1<<32", 1}, {"-2147483648>>31", -1}, {"LDEXP(1,10000000000)", 0},
        {"!99999999999", 0}, {"~99999999999", -2147483648.0}, {"~-99999999999", 2147483647.0},  // atol saturates
        {"NOT(1000000000000000000000)", 0}, {"NOT(0-1000000000000000000000)", 0},
        {"MODPOW(2,10000000000000000000000,7)", 1}, {"MODPOW(1000000000000000000000000000000,3,7)", 0},
    });
    char buffer[Math_OperandBufferSize];
    EXPECT_GT(Math_WriteSignificant(&context, 4.9e-324, buffer, sizeof buffer), 300);
    EXPECT_GT(Math_WriteSignificant(&context, -1.7976931348623157e308, buffer, sizeof buffer), 300);
}
