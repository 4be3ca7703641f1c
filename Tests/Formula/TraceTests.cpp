// Trace lines: to a sink or to the standard output, only when tracing is on.
#include "FormulaTestSupport.hpp"

using namespace FormulaTest;
using Trace = PointLocale;

// Every line handed to the trace sink, one after the other.
static std::string TraceOf(const std::string& expression, const Variables& variables = {}, bool trace = true)
{
    static std::string lines;
    lines.clear();
    TestContext context(variables);
    context.traceSink = [](Math_Context*, const char* line) { lines += line; };
    Math_SetTrace(&context, trace);
    EvaluateIn(context, expression);
    return lines;
}

TEST_F(Trace, LinesOfEachStepToTheSinkOrTheOutputCutToTheBufferWithTheContextsSeparator)
{
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"2*3-1", "\"2*3-1\" = {\n\t(2.0000 * 3.0000) = 6.0000\n\t(6.0000 - 1.0000) = 5.0000\n} = 5.0000\n"},
        {"!0", "\"!0\" = {\n\t!0 = 1\n} = 1.0000\n"}, {"~5", "\"~5\" = {\n\t~5 = 5.0000\n} = -6.0000\n"},
        {"1+~3", "\"1+~3\" = {\n\t~3 = -4\n\t(1.0000 + -4.0000) = -3.0000\n} = -3.0000\n"},
        {"1/0", "\"1/0\" = {\n\tDivide by zero.\n} = 0.0000\n"},
        {"SUM(2,1+1)", "\"SUM(2,1+1)\" = {\n\"2\" = {\n} = 2.0000\n\"1+1\" = {\n\t(1.0000 + 1.0000) = 2.0000\n"
                       "} = 2.0000\n} = 4.0000\n"},
        // An argument is shown without the blanks dropped while it was collected.
        {"SUM( 1 + 1 )", "\"SUM( 1 + 1 )\" = {\n\"1+1\" = {\n\t(1.0000 + 1.0000) = 2.0000\n} = 2.0000\n} = 2.0000\n"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TraceOf(row.first), row.second) << row.first;
    EXPECT_TRUE(TraceOf("1/0", {}, false).empty());
    // Without a sink the lines go to the standard output.
    TestContext context;
    Math_SetTrace(&context, true);
    ::testing::internal::CaptureStdout();
    EvaluateIn(context, "1+2");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "(1+2) = {\n\t(1.0000 + 2.0000) = 3.0000\n} = 3.0000\n");
    // Long lines are cut; numbers are written with the separator of the context's locale.
    const std::string name(100, 'v');
    const std::string lines = TraceOf(name + Repeat("+" + name, 30), {{name, 1}});
    EXPECT_EQ(lines.find("\t(1.0000 + 1.0000)"), static_cast<size_t>(Math_TraceBufferSize - 1));  // the first line, cut
    EXPECT_EQ(lines.substr(lines.size() - 12), "} = 31.0000\n");
    ScopedLocale comma(kCommaLocale);
    ASSERT_TRUE(comma.ok);
    EXPECT_EQ(TraceOf("1,5*2"), "\"1,5*2\" = {\n\t(1,5000 * 2,0000) = 3,0000\n} = 3,0000\n");
}
