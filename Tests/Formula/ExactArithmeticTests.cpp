// Random expressions of + - * / and parentheses over small decimals and variables, made and valued
// with exact rational arithmetic by exact_check.py, must come out within the bound it gives for
// the precision the rewriting keeps, in both locales.
#include "FormulaTestSupport.hpp"

#include <cstdio>
#include <sstream>

using namespace FormulaTest;

TEST(ExactArithmetic, RandomExpressionsComeOutWithinTheirBound)
{
    const struct { const char* locale; int seed, count; char separator; } runs[] = {
        {"C", 20261206, 3000, '.'}, {kCommaLocale, 4242, 1000, ','}};
    for (const auto& run : runs) {
        ScopedLocale locale(run.locale);
        ASSERT_TRUE(locale.ok);
        const std::string command = std::string("/usr/bin/python3 '") + FORMULA_EXACT_CHECK_SCRIPT + "' " +
                                    std::to_string(run.seed) + " " + std::to_string(run.count) + " " + run.separator;
        FILE* script = ::popen(command.c_str(), "r");
        ASSERT_NE(script, nullptr) << command;
        std::string output;
        for (int c; (c = std::fgetc(script)) != EOF;)
            output += static_cast<char>(c);
        ASSERT_EQ(::pclose(script), 0) << command;
        // The same values as the script's; a negative one is spliced after a sign now and then.
        TestContext context({{"Va", -2.5}, {"Vb", 3.75}, {"Vc", -0.04}, {"Vd", 12}, {"Ve", -7.1}});
        ASSERT_EQ(context.decimalSeparator, run.separator);
        std::istringstream lines(output);  // the classic locale: the script writes its values with a point
        int count = 0, compared = 0;
        for (std::string line; std::getline(lines, line); ++count) {
            std::istringstream fields(line);
            std::string tag, expression;
            double exact = 0, bound = 0;
            if (!(fields >> tag >> expression >> exact >> bound) || tag != "OK")
                continue;
            const Row outcome = EvaluateIn(context, expression);
            EXPECT_EQ(outcome.message, "") << expression;
            EXPECT_LE(std::fabs(outcome.value - exact), bound) << expression << " gave " << outcome.value
                                                                << ", exactly " << exact;
            ++compared;
        }
        EXPECT_EQ(count, run.count);
        EXPECT_GT(compared, run.count * 9 / 10);
    }
}
