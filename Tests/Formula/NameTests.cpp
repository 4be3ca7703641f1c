// Names and function calls: the variable and function callbacks, their order, text arguments.
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;

class Names : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(locale_.Ok()); }
    ScopedLocale locale_{"C"};
};

TEST_F(Names, VariableValuesEnterTheTextWithEightDecimals)
{
    TestContext context;
    context.variables = {{"Area", 12.3456789012}, {"Small", 0.000000004}, {"Minus", -2.5}, {"Big", 1e20}};
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"Area", "12.34567890"},
        {"Area*2", "12.34567890*2"},
        {"Small", "0.00000000"},
        {"2*Minus", "2*-2.50000000"},
        {"Big", "100000000000000000000.00000000"},
        {" Area + 1 ", "12.34567890+1"},
        {"(Area)", "(12.34567890)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Substituted(context, c.first), c.second) << c.first;
    EXPECT_NEAR(EvaluateIn(context, "Area").value, 12.3456789, 1e-15);
}

TEST_F(Names, NamesAreLettersDigitsUnderscoresAndApostrophes)
{
    const std::map<std::string, double> variables = {
        {"a1", 1}, {"_x", 2}, {"it's", 3}, {"'q'", 4}, {"A_b_9", 5}, {"SQRT", 6}, {"sum", 7}};
    const std::vector<std::pair<const char*, double>> cases = {
        {"a1+_x", 3}, {"it's*2", 6}, {"'q'", 4}, {"A_b_9-1", 4},
        {"SQRT*2", 12},  // a built-in's name without "(" is a variable
        {"sum+SUM(1)", 8},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Evaluate(c.first, variables);
        ASSERT_EQ(outcome.code, Math_NoError) << c.first << ": " << outcome.message;
        EXPECT_EQ(outcome.value, c.second) << c.first;
    }
}

TEST_F(Names, NameLengthLimit)
{
    const std::string name127(127, 'n');
    const std::string name128(128, 'n');
    const Outcome accepted = Evaluate(name127 + "+1", {{name127, 2}});
    ASSERT_EQ(accepted.code, Math_NoError) << accepted.message;
    EXPECT_EQ(accepted.value, 3.0);
    const Outcome refused = Evaluate(name128 + "+1", {{name128, 2}});
    EXPECT_EQ(refused.code, Math_ErrInvalidToken);
    EXPECT_EQ(refused.message, "Variable length limit exceeded.");
    const Outcome call = Evaluate(name128 + "(1)");
    EXPECT_EQ(call.message, "Variable length limit exceeded.");
}

TEST_F(Names, ResolversAreCalledLeftToRightAndEveryTime)
{
    TestContext context;
    context.variables = {{"A", 1}, {"B", 2}, {"C", 3}};
    context.function = [](const char*, Math_Parameter* parameters, Int32 count, double* value) {
        double sum = 0;
        for (Int32 i = 0; i < count; ++i)
            sum += parameters[i].value;
        *value = sum;
        return true;
    };
    const Outcome outcome = EvaluateIn(context, "A+B*C+F(A,G(B))+A");
    ASSERT_EQ(outcome.code, Math_NoError) << outcome.message;
    EXPECT_EQ(outcome.value, 1 + 2 * 3 + (1 + 2) + 1);
    const std::vector<std::string> expected = {"var:A", "var:B", "var:C", "var:A", "var:B", "fn:G/1", "fn:F/2", "var:A"};
    EXPECT_EQ(context.log, expected);
    EXPECT_EQ(context.seen, static_cast<Math_Context*>(&context));  // the caller's own record comes back
}

TEST_F(Names, FunctionResolverReceivesNumbersAndTexts)
{
    TestContext context;
    context.variables = {{"X", 4}};
    std::vector<std::tuple<UInt32, std::string, double>> received;
    context.function = [&](const char* name, Math_Parameter* parameters, Int32 count, double* value) {
        if (std::string(name) != "Property")
            return false;
        received.clear();
        for (Int32 i = 0; i < count; ++i)
            received.emplace_back(parameters[i].kind,
                                  parameters[i].kind == Math_TextParameter ? parameters[i].text : "",
                                  parameters[i].value);
        *value = 42;
        return true;
    };
    struct Case {
        const char* expression;
        std::vector<std::tuple<UInt32, std::string, double>> arguments;
    };
    const std::vector<Case> cases = {
        {"Property('Fire rating')", {{Math_TextParameter, "Fire rating", 0.0}}},
        {"Property('  two  blanks ')", {{Math_TextParameter, "  two  blanks ", 0.0}}},
        {"Property( 'x')", {{Math_TextParameter, "x", 0.0}}},
        {"Property(')", {{Math_TextParameter, "", 0.0}}},        // one apostrophe alone: empty text
        {"Property('')", {{Math_TextParameter, "", 0.0}}},
        {"Property('abc)", {{Math_TextParameter, "ab", 0.0}}},    // the last character goes, whatever it is
        {"Property('a(b)c')", {{Math_TextParameter, "a(b)c", 0.0}}},
        {"Property('Width', 2+3, X)", {{Math_TextParameter, "Width", 0.0}, {Math_NumberParameter, "", 5.0},
                                       {Math_NumberParameter, "", 4.0}}},
        {"Property(X*2,'a b')", {{Math_NumberParameter, "", 8.0}, {Math_TextParameter, "a b", 0.0}}},
    };
    for (const Case& c : cases) {
        const Outcome outcome = EvaluateIn(context, c.expression);
        ASSERT_EQ(outcome.code, Math_NoError) << c.expression << ": " << outcome.message;
        EXPECT_EQ(outcome.value, 42.0);
        EXPECT_EQ(received, c.arguments) << c.expression;
    }
}

TEST_F(Names, FunctionValueIsUsedInTheExpression)
{
    TestContext context;
    context.function = [](const char* name, Math_Parameter* parameters, Int32 count, double* value) {
        if (std::string(name) != "Twice" || count != 1)
            return false;
        *value = 2 * parameters[0].value;
        return true;
    };
    EXPECT_EQ(EvaluateIn(context, "Twice(2)*3").value, 12.0);
    EXPECT_EQ(EvaluateIn(context, "1-Twice(0-2)").value, 5.0);
    EXPECT_EQ(EvaluateIn(context, "Twice(Twice(1))").value, 4.0);
    const Outcome refused = EvaluateIn(context, "Other(1)");
    EXPECT_EQ(refused.code, Math_ErrInvalidToken);
    EXPECT_EQ(refused.message, "Undeclared identifier: Other.");
}

TEST_F(Names, UndefinedNames)
{
    TestContext context;
    const Outcome variable = EvaluateIn(context, "Foo+1");
    EXPECT_EQ(variable.code, Math_ErrInvalidToken);
    EXPECT_EQ(variable.message, "Variable was not defined: Foo.");
    const Outcome function = EvaluateIn(context, "Foo(1)");
    EXPECT_EQ(function.code, Math_ErrInvalidToken);
    EXPECT_EQ(function.message, "Undeclared identifier: Foo.");
    const Outcome spaced = EvaluateIn(context, "Foo (1)");
    EXPECT_EQ(spaced.message, "Undeclared identifier: Foo.");
}

TEST_F(Names, FailedNumberArgumentCountsAsZero)
{
    TestContext context;
    context.variables = {{"A", 5}};
    const Outcome outcome = EvaluateIn(context, "SUM(Undefined,A)");
    ASSERT_EQ(outcome.code, Math_NoError);
    EXPECT_EQ(outcome.value, 5.0);
    // The argument's own message may stay in the context after a successful evaluation.
    ASSERT_NE(context.message, nullptr);
    EXPECT_STREQ(context.message, "Variable was not defined: Undefined.");
    EXPECT_EQ(EvaluateIn(context, "SUM(1/0,2)").value, 2.0);
    EXPECT_EQ(EvaluateIn(context, "SUM((1,2))").value, 0.0);  // "(1,2)" is no expression
}

TEST_F(Names, MissingResolversRefuseNamesWithoutCrashing)
{
    Math_Context context;
    Math_InitContext(&context);
    double value = 0;
    EXPECT_EQ(Math_Evaluate(&context, "X+1", &value), Math_ErrInvalidToken);
    EXPECT_STREQ(context.message, "Variable was not defined: X.");
    EXPECT_EQ(Math_Evaluate(&context, "F(1)", &value), Math_ErrInvalidToken);
    EXPECT_STREQ(context.message, "Undeclared identifier: F.");
    EXPECT_EQ(Math_Evaluate(&context, "SQRT(9)", &value), Math_NoError);
    EXPECT_EQ(value, 3.0);
    Math_ClearError(&context);
}

TEST_F(Names, SetterReturnsThePreviousOne)
{
    Math_Context context;
    Math_InitContext(&context);
    EXPECT_EQ(Math_SetVariableResolver(&context, &TestContext::Variable), nullptr);
    EXPECT_EQ(Math_SetVariableResolver(&context, nullptr), &TestContext::Variable);
    EXPECT_EQ(Math_SetFunctionResolver(&context, &TestContext::Function), nullptr);
    EXPECT_EQ(Math_SetFunctionResolver(&context, nullptr), &TestContext::Function);
    EXPECT_FALSE(Math_SetTrace(&context, true));
    EXPECT_TRUE(Math_SetTrace(&context, false));
    // Initialising again leaves the resolvers alone.
    Math_SetVariableResolver(&context, &TestContext::Variable);
    Math_InitContext(&context);
    EXPECT_EQ(context.variableResolver, &TestContext::Variable);
    EXPECT_EQ(context.precision, 16);
    EXPECT_FALSE(context.trace);
}
