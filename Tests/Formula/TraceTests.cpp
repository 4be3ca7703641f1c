// Trace lines: to a sink or to the standard output, only when tracing is on.
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;

namespace {

std::vector<std::string>* collected = nullptr;

void Collect(Math_Context*, const char* line)
{
    collected->push_back(line);
}

std::vector<std::string> TraceOf(const char* expression, const std::map<std::string, double>& variables = {})
{
    std::vector<std::string> lines;
    collected = &lines;
    TestContext context;
    context.variables = variables;
    context.traceSink = &Collect;
    Math_SetTrace(&context, true);
    EvaluateIn(context, expression);
    collected = nullptr;
    return lines;
}

}  // namespace

class Trace : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(locale_.Ok()); }
    ScopedLocale locale_{"C"};
};

TEST_F(Trace, LinesForOperatorsPrefixesAndComplements)
{
    const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
        {"1+2", {"\"1+2\" = {\n", "\t(1.0000 + 2.0000) = 3.0000\n", "} = 3.0000\n"}},
        {"2*3-1", {"\"2*3-1\" = {\n", "\t(2.0000 * 3.0000) = 6.0000\n", "\t(6.0000 - 1.0000) = 5.0000\n",
                   "} = 5.0000\n"}},
        {"1<2", {"\"1<2\" = {\n", "\t(1.0000 < 2.0000) = 1.0000\n", "} = 1.0000\n"}},
        {"!0", {"\"!0\" = {\n", "\t!0 = 1\n", "} = 1.0000\n"}},
        {"1+~3", {"\"1+~3\" = {\n", "\t~3 = -4\n", "\t(1.0000 + -4.0000) = -3.0000\n", "} = -3.0000\n"}},
        {"~5", {"\"~5\" = {\n", "\t~5 = 5.0000\n", "} = -6.0000\n"}},
        {"1/0", {"\"1/0\" = {\n", "\tDivide by zero.\n", "} = 0.0000\n"}},
        {"SUM(2,1+1)", {"\"SUM(2,1+1)\" = {\n", "\"2\" = {\n", "} = 2.0000\n", "\"1+1\" = {\n",
                        "\t(1.0000 + 1.0000) = 2.0000\n", "} = 2.0000\n", "} = 4.0000\n"}},
        {"X", {"\"X\" = {\n", "\tVariable was not defined: X.\n", "} = 0.0000\n"}},
        // An argument is shown without the blanks dropped while it was collected.
        {"SUM( 1 + 1 )", {"\"SUM( 1 + 1 )\" = {\n", "\"1+1\" = {\n", "\t(1.0000 + 1.0000) = 2.0000\n", "} = 2.0000\n",
                          "} = 2.0000\n"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TraceOf(c.first), c.second) << c.first;
}

TEST_F(Trace, NothingWithoutTheFlag)
{
    std::vector<std::string> lines;
    collected = &lines;
    TestContext context;
    context.traceSink = &Collect;
    EvaluateIn(context, "1+2*3");
    EvaluateIn(context, "1/0");
    collected = nullptr;
    EXPECT_TRUE(lines.empty());
}

TEST_F(Trace, StandardOutputWithoutASink)
{
    TestContext context;
    Math_SetTrace(&context, true);
    ::testing::internal::CaptureStdout();
    EvaluateIn(context, "1+2");
    const std::string output = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(output, "(1+2) = {\n\t(1.0000 + 2.0000) = 3.0000\n} = 3.0000\n");
}

TEST_F(Trace, LongLinesAreCut)
{
    const std::string name(100, 'v');
    std::string expression = name;
    for (int i = 0; i < 30; ++i)
        expression += "+" + name;
    const std::vector<std::string> lines = TraceOf(expression.c_str(), {{name, 1}});
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().size(), static_cast<size_t>(Math_TraceBufferSize - 1));
    EXPECT_EQ(lines.back(), "} = 31.0000\n");
}

TEST_F(Trace, CommaLocaleNumbers)
{
    ScopedLocale comma(kCommaLocale);
    ASSERT_TRUE(comma.Ok());
    EXPECT_EQ(TraceOf("1,5*2"), (std::vector<std::string>{"\"1,5*2\" = {\n", "\t(1,5000 * 2,0000) = 3,0000\n",
                                                           "} = 3,0000\n"}));
}
