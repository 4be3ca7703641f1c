// Random expressions of + - * / and parentheses over small decimals and variables, made and valued
// with exact rational arithmetic by exact_check.py, must come out within the bound it gives for
// the precision the rewriting keeps.
#include "FormulaTestSupport.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace FormulaTest;

namespace {

void CheckAgainstExactValues(int seed, int count, char separator)
{
    const std::string output = ::testing::TempDir() + "formula_exact_" + std::to_string(::getpid());
    const std::string command = std::string("/usr/bin/python3 '") + FORMULA_EXACT_CHECK_SCRIPT + "' " +
                                std::to_string(seed) + " " + std::to_string(count) + " '" + output + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    // The same values as the script's; a negative one is spliced after a sign now and then.
    TestContext context({{"Va", -2.5}, {"Vb", 3.75}, {"Vc", -0.04}, {"Vd", 12}, {"Ve", -7.1}});
    ASSERT_EQ(context.decimalSeparator, separator);
    std::ifstream file(output);  // the classic locale: the script writes its floats with a point
    int lines = 0, compared = 0;
    for (std::string line; std::getline(file, line); ++lines) {
        std::istringstream fields(line);
        std::string tag, expression;
        double exact = 0, bound = 0;
        if (!(fields >> tag >> expression >> exact >> bound) || tag != "OK")
            continue;
        std::replace(expression.begin(), expression.end(), '.', separator);
        const Row outcome = EvaluateIn(context, expression);
        ASSERT_EQ(outcome.code, Math_NoError) << expression << ": " << outcome.message;
        EXPECT_LE(std::fabs(outcome.value - exact), bound) << expression << " gave " << outcome.value << ", exactly "
                                                            << exact;
        ++compared;
    }
    std::remove(output.c_str());
    EXPECT_EQ(lines, count);
    EXPECT_GT(compared, count * 9 / 10);
}

}  // namespace

TEST(ExactArithmetic, RandomExpressionsInThePointLocale)
{
    ScopedLocale locale("C");
    ASSERT_TRUE(locale.ok);
    CheckAgainstExactValues(20261206, 3000, '.');
}

TEST(ExactArithmetic, RandomExpressionsInTheCommaLocale)
{
    ScopedLocale locale(kCommaLocale);
    ASSERT_TRUE(locale.ok);
    CheckAgainstExactValues(4242, 1000, ',');
}
