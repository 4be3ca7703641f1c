// Random expressions of + - * / and parentheses over small decimals, checked against exact
// rational arithmetic (Python's fractions) within the precision the rewriting keeps.
#include "FormulaTestSupport.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

using namespace FormulaTest;

namespace {

// Variables with their values, and how the exact check reads them (a negative one as a group).
struct Variable {
    const char* name;
    double value;
    const char* exact;
};
const Variable kVariables[] = {
    {"Va", -2.5, "(0-2.5)"}, {"Vb", 3.75, "(3.75)"}, {"Vc", -0.04, "(0-0.04)"}, {"Vd", 12, "(12)"}, {"Ve", -7.1, "(0-7.1)"},
};

// Writes one expression twice: as typed for the evaluator and with values for the exact check.
class ExpressionGenerator {
public:
    ExpressionGenerator(unsigned seed, char separator) : random_(seed), separator_(separator) {}

    void Expression(int depth)
    {
        Operand(depth);
        for (int operands = Between(1, 4); operands > 1; --operands) {
            Write(std::string(1, "+-*/"[Between(0, 3)]));
            Operand(depth);
        }
    }

    std::string typed, exact;

private:
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    void Write(const std::string& forTyped, const std::string& forExact)
    {
        typed += forTyped;
        exact += forExact;
    }
    void Write(const std::string& both) { Write(both, both); }

    void Operand(int depth)
    {
        if (Between(0, 9) < 2) {
            // A variable, sometimes negated: its value, often negative, is spliced after the sign.
            const Variable& variable = kVariables[Between(0, 4)];
            if (Between(0, 3) == 0)
                Write("-");
            Write(variable.name, variable.exact);
        } else if (depth > 0 && Between(0, 9) < 4) {
            // A group, sometimes negated: its value is spliced after the sign.
            Write(Between(0, 4) == 0 ? "-(" : "(");
            Expression(depth - 1);
            Write(")");
        } else {
            Write(std::to_string(Between(0, 19)));
            const int decimals = Between(0, 2);
            if (decimals > 0)
                Write(std::string(1, separator_), ".");
            for (int i = 0; i < decimals; ++i)
                Write(std::string(1, static_cast<char>('0' + Between(0, 9))));
        }
    }

    std::mt19937 random_;
    char separator_;
};

void CheckAgainstExactValues(unsigned seed, int count, char separator)
{
    std::vector<std::string> typed;
    const std::string base = ::testing::TempDir() + "formula_exact_" + std::to_string(::getpid());
    {
        std::ofstream input(base + ".in");
        for (int i = 0; i < count; ++i) {
            ExpressionGenerator generator(seed + static_cast<unsigned>(i), separator);
            generator.Expression(3);
            typed.push_back(generator.typed);
            input << generator.exact << '\n';
        }
    }
    const std::string command = std::string("/usr/bin/python3 '") + FORMULA_EXACT_CHECK_SCRIPT + "' '" + base +
                                ".in' '" + base + ".out'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream output(base + ".out");

    TestContext context;
    ASSERT_EQ(context.decimalSeparator, separator);
    for (const Variable& variable : kVariables)
        context.variables[variable.name] = variable.value;
    int compared = 0, lines = 0;
    for (std::string line; std::getline(output, line); ++lines) {
        std::istringstream fields(line);  // Python writes its floats with a point
        std::string tag;
        double exact = 0, bound = 0;
        if (!(fields >> tag >> exact >> bound) || tag != "OK")
            continue;
        const std::string& expression = typed[static_cast<size_t>(lines)];
        const Outcome outcome = EvaluateIn(context, expression);
        ASSERT_EQ(outcome.code, Math_NoError) << expression << ": " << outcome.message;
        EXPECT_LE(std::fabs(outcome.value - exact), bound) << expression << " gave " << outcome.value << ", exactly " << exact;
        ++compared;
    }
    EXPECT_EQ(lines, count);
    EXPECT_GT(compared, count * 9 / 10);
    std::remove((base + ".in").c_str());
    std::remove((base + ".out").c_str());
}

}  // namespace

TEST(ExactArithmetic, RandomExpressionsInThePointLocale)
{
    ScopedLocale locale("C");
    ASSERT_TRUE(locale.ok);
    CheckAgainstExactValues(20261206u, 3000, '.');
}

TEST(ExactArithmetic, RandomExpressionsInTheCommaLocale)
{
    ScopedLocale locale(kCommaLocale);
    ASSERT_TRUE(locale.ok);
    CheckAgainstExactValues(4242u, 1000, ',');
}
