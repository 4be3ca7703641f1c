#pragma once
// Helpers for the evaluator's tests: a context with a table of variables and functions, and a
// locale switch that always restores the process locale.
#include "Formula/MathEvaluator.hpp"
#include "Formula/MathInternal.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace FormulaTest {

// A caller's record with the evaluator's context first, as the element quantities use it.
struct TestContext : Math_Context {
    std::map<std::string, double> variables;
    std::function<bool(const char*, Math_Parameter*, Int32, double*)> function;
    std::vector<std::string> log;  // every name resolved, in order
    const Math_Context* seen = nullptr;

    TestContext()
    {
        Math_InitContext(this);
        Math_SetVariableResolver(this, &TestContext::Variable);
        Math_SetFunctionResolver(this, &TestContext::Function);
    }
    ~TestContext() { Math_ClearError(this); }
    TestContext(const TestContext&) = delete;
    TestContext& operator=(const TestContext&) = delete;

    static bool Variable(Math_Context* context, const char* name, double* value, Int32 reserved)
    {
        TestContext* self = static_cast<TestContext*>(context);
        self->seen = context;
        self->log.push_back(std::string("var:") + name + (reserved == 0 ? "" : ":reserved!=0"));
        const auto found = self->variables.find(name);
        if (found == self->variables.end())
            return false;
        *value = found->second;
        return true;
    }

    static bool Function(Math_Context* context, const char* name, Math_Parameter* parameters, Int32 count,
                         double* value)
    {
        TestContext* self = static_cast<TestContext*>(context);
        self->seen = context;
        self->log.push_back(std::string("fn:") + name + "/" + std::to_string(count));
        return self->function ? self->function(name, parameters, count, value) : false;
    }
};

struct Outcome {
    Math_Error code = 0;
    double value = 0.0;
    std::string message;
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

// A fresh context made under the locale in force, with the given variables.
inline Outcome Evaluate(const std::string& expression, const std::map<std::string, double>& variables = {})
{
    TestContext context;
    context.variables = variables;
    return EvaluateIn(context, expression);
}

// The working text after pass 1.
inline std::string Substituted(TestContext& context, const std::string& expression)
{
    Math_Expression out;
    const Math_Error code =
        Math_Substitute(&context, &out, expression.c_str(), static_cast<Int32>(expression.size()));
    std::string text = code == Math_NoError ? std::string(out.text, static_cast<size_t>(out.length))
                                            : std::string("error: ") + (context.message ? context.message : "");
    Math_Release(&out);
    return text;
}

// The working text after passes 2 and 3 have run over a text without names.
inline std::string Reduced(TestContext& context, const std::string& text)
{
    Math_Expression expression;
    Math_Reserve(&context, &expression, static_cast<Int32>(text.size()) + 1);
    std::copy(text.begin(), text.end(), expression.text);
    expression.length = static_cast<Int32>(text.size());
    expression.text[expression.length] = '\0';
    const Math_Error code = Math_ReduceParentheses(&context, &expression);
    std::string result = code == Math_NoError ? std::string(expression.text, static_cast<size_t>(expression.length))
                                              : std::string("error: ") + (context.message ? context.message : "");
    Math_Release(&expression);
    return result;
}

// Switches the process locale for one test and restores it whatever happens.
class ScopedLocale {
public:
    explicit ScopedLocale(const char* name)
    {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved_ = current != nullptr ? current : "C";
        ok_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;
    bool Ok() const { return ok_; }

private:
    std::string saved_;
    bool ok_ = false;
};

constexpr const char* kCommaLocale = "de_DE.UTF-8";

}  // namespace FormulaTest
