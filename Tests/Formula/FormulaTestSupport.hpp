#pragma once
// Shared by the evaluator's tests: a context with tables of variables and functions, table
// checks of values and errors, and a locale switch that always restores the process locale.
#include "Formula/MathEvaluator.hpp"
#include "Formula/MathInternal.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace FormulaTest {

using Variables = std::map<std::string, double>;

// A caller's record with the evaluator's context first, as the element quantities use it.
struct TestContext : Math_Context {
    Variables variables;
    std::function<bool(const char*, Math_Parameter*, Int32, double*)> function;
    std::vector<std::string> log;  // every name resolved, in order
    const Math_Context* seen = nullptr;

    explicit TestContext(Variables values = {}) : variables(std::move(values))
    {
        Math_InitContext(this);
        Math_SetVariableResolver(this, &Variable);
        Math_SetFunctionResolver(this, &Function);
    }
    ~TestContext() { Math_ClearError(this); }

    static bool Variable(Math_Context* context, const char* name, double* value, Int32 reserved)
    {
        auto* self = static_cast<TestContext*>(context);
        self->seen = context;
        self->log.push_back(std::string("var:") + name + (reserved == 0 ? "" : ":reserved!=0"));
        const auto found = self->variables.find(name);
        if (found != self->variables.end())
            *value = found->second;
        return found != self->variables.end();
    }

    static bool Function(Math_Context* context, const char* name, Math_Parameter* parameters, Int32 count,
                         double* value)
    {
        auto* self = static_cast<TestContext*>(context);
        self->seen = context;
        self->log.push_back(std::string("fn:") + name + "/" + std::to_string(count));
        return self->function && self->function(name, parameters, count, value);
    }
};

struct Outcome {
    Math_Error code = 0;
    double value = 0.0;
    std::string message;  // empty on success
};

inline Outcome EvaluateIn(TestContext& context, const std::string& expression)
{
    Outcome outcome;
    double value = -777.0;
    outcome.code = Math_Evaluate(&context, expression.c_str(), &value);
    outcome.value = value;
    if (outcome.code != Math_NoError) {
        EXPECT_EQ(value, -777.0) << "the result must stay unchanged on failure: " << expression;
        outcome.message = context.message != nullptr ? context.message : "<none>";
    }
    return outcome;
}

inline Outcome Evaluate(const std::string& expression, const Variables& variables = {})
{
    TestContext context(variables);
    return EvaluateIn(context, expression);
}

// One expression with its value, or with its error code and message.
struct Row {
    Row(std::string text, double result) : expression(std::move(text)), value(result) {}
    Row(std::string text, Math_Error error, std::string words)
        : expression(std::move(text)), code(error), message(std::move(words)) {}
    std::string expression;
    double value = 0.0;
    Math_Error code = Math_NoError;
    std::string message;
};

inline void Expect(TestContext& context, const std::vector<Row>& rows, double tolerance = 0.0)
{
    for (const Row& row : rows) {
        const Outcome outcome = EvaluateIn(context, row.expression);
        const std::string shown = row.expression.substr(0, 40);
        EXPECT_EQ(outcome.code, row.code) << shown << ": " << outcome.message;
        EXPECT_EQ(outcome.message, row.message) << shown;
        if (row.code != Math_NoError)
            continue;
        if (tolerance == 0.0)
            EXPECT_DOUBLE_EQ(outcome.value, row.value) << shown;
        else
            EXPECT_NEAR(outcome.value, row.value, tolerance) << shown;
    }
}
inline void Expect(const std::vector<Row>& rows, const Variables& variables = {}, double tolerance = 0.0)
{
    TestContext context(variables);
    Expect(context, rows, tolerance);
}

// The working text after pass 1, or "error: " and the message.
inline std::string Substituted(TestContext& context, const std::string& expression)
{
    Math_Expression out;
    const Math_Error code = Math_Substitute(&context, &out, expression.c_str(), static_cast<Int32>(expression.size()));
    std::string text = code == Math_NoError ? std::string(out.text, static_cast<size_t>(out.length))
                                            : std::string("error: ") + context.message;
    Math_Release(&out);
    return text;
}

// The working text after passes 2 and 3 over a text without names, or "error: " and the message.
inline std::string Reduced(TestContext& context, const std::string& text)
{
    Math_Expression expression;
    Math_Reserve(&context, &expression, static_cast<Int32>(text.size()) + 1);
    text.copy(expression.text, text.size());
    expression.length = static_cast<Int32>(text.size());
    expression.text[expression.length] = '\0';
    const Math_Error code = Math_ReduceParentheses(&context, &expression);
    std::string result = code == Math_NoError ? std::string(expression.text, static_cast<size_t>(expression.length))
                                              : std::string("error: ") + context.message;
    Math_Release(&expression);
    return result;
}

// Switches the process locale for one scope and restores it whatever happens.
struct ScopedLocale {
    explicit ScopedLocale(const char* name)
        : saved(std::setlocale(LC_ALL, nullptr)), ok(std::setlocale(LC_ALL, name) != nullptr) {}
    ~ScopedLocale() { std::setlocale(LC_ALL, saved.c_str()); }
    const std::string saved;
    const bool ok;
};

constexpr const char* kCommaLocale = "de_DE.UTF-8";  // generated by scripts/install-deps.sh

// Tests written with "." as decimal and "," as argument separator.
class PointLocale : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(locale_.ok); }
    ScopedLocale locale_{"C"};
};

}  // namespace FormulaTest
