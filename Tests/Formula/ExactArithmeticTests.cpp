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

// Variables and their values; the exact check sees each as a group "(0-2.5)" or "(3.75)".
const std::vector<std::pair<std::string, std::string>> kVariables = {
    {"Va", "-2.5"}, {"Vb", "3.75"}, {"Vc", "-0.04"}, {"Vd", "12"}, {"Ve", "-7.1"},
};

std::string WithValues(const std::string& expression)
{
    std::string out;
    for (size_t i = 0; i < expression.size();) {
        if (expression[i] == 'V') {
            const std::string name = expression.substr(i, 2);
            for (const auto& variable : kVariables) {
                if (variable.first == name) {
                    const std::string& value = variable.second;
                    out += value[0] == '-' ? "(0" + value + ")" : "(" + value + ")";
                }
            }
            i += 2;
        } else {
            out += expression[i++];
        }
    }
    return out;
}

class ExpressionGenerator {
public:
    explicit ExpressionGenerator(unsigned seed) : random_(seed) {}

    std::string Expression(int depth)
    {
        const int operands = Between(1, 4);
        std::string text = Operand(depth);
        for (int i = 1; i < operands; ++i) {
            static const char operators[] = {'+', '-', '*', '/'};
            text += operators[Between(0, 3)];
            text += Operand(depth);
        }
        return text;
    }

private:
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::string Operand(int depth)
    {
        if (Between(0, 9) < 2) {
            // A variable, sometimes negated: its value, often negative, is spliced after the sign.
            const std::string name = kVariables[Between(0, static_cast<int>(kVariables.size()) - 1)].first;
            return Between(0, 3) == 0 ? "-" + name : name;
        }
        if (depth > 0 && Between(0, 9) < 4) {
            // A group, sometimes negated: its value is spliced after the sign.
            const std::string group = "(" + Expression(depth - 1) + ")";
            return Between(0, 4) == 0 ? "-" + group : group;
        }
        std::string number = std::to_string(Between(0, 19));
        const int decimals = Between(0, 2);
        if (decimals > 0) {
            number += '.';
            for (int i = 0; i < decimals; ++i)
                number += static_cast<char>('0' + Between(0, 9));
        }
        return number;
    }

    std::mt19937 random_;
};

struct Expected {
    bool skip = true;
    double value = 0.0;
    double bound = 0.0;
};

std::vector<Expected> ExactValues(const std::vector<std::string>& expressions)
{
    const std::string base = ::testing::TempDir() + "formula_exact_" + std::to_string(::getpid());
    const std::string input = base + ".in";
    const std::string output = base + ".out";
    {
        std::ofstream file(input);
        for (const std::string& e : expressions)
            file << WithValues(e) << '\n';
    }
    const std::string command =
        std::string("/usr/bin/python3 '") + FORMULA_EXACT_CHECK_SCRIPT + "' '" + input + "' '" + output + "'";
    const int status = std::system(command.c_str());
    std::vector<Expected> values;
    if (status == 0) {
        std::ifstream file(output);
        std::string line;
        while (std::getline(file, line)) {
            std::istringstream fields(line);
            std::string tag;
            Expected expected;
            fields >> tag;
            if (tag == "OK") {
                // Python writes its floats with a point; the stream reads them in the classic
                // locale, whatever the process locale.
                fields >> expected.value >> expected.bound;
                expected.skip = fields.fail();
            }
            values.push_back(expected);
        }
    }
    std::remove(input.c_str());
    std::remove(output.c_str());
    return values;
}

void CheckAgainstExactValues(unsigned seed, int count, char decimalSeparator)
{
    ExpressionGenerator generator(seed);
    std::vector<std::string> expressions;
    for (int i = 0; i < count; ++i)
        expressions.push_back(generator.Expression(3));
    const std::vector<Expected> expected = ExactValues(expressions);
    ASSERT_EQ(expected.size(), expressions.size()) << "the exact check did not run: " << FORMULA_EXACT_CHECK_SCRIPT;

    TestContext context;
    ASSERT_EQ(context.decimalSeparator, decimalSeparator);
    for (const auto& variable : kVariables) {
        std::istringstream number(variable.second);  // the classic locale, not the process locale
        number >> context.variables[variable.first];
    }
    int compared = 0;
    for (size_t i = 0; i < expressions.size(); ++i) {
        if (expected[i].skip)
            continue;
        std::string typed = expressions[i];
        for (char& c : typed)
            if (c == '.')
                c = decimalSeparator;
        const Outcome outcome = EvaluateIn(context, typed);
        ASSERT_EQ(outcome.code, Math_NoError) << typed << ": " << outcome.message;
        EXPECT_LE(std::fabs(outcome.value - expected[i].value), expected[i].bound)
            << typed << " gave " << outcome.value << ", exactly " << expected[i].value;
        ++compared;
    }
    EXPECT_GT(compared, count * 9 / 10);
}

}  // namespace

TEST(ExactArithmetic, RandomExpressionsInThePointLocale)
{
    ScopedLocale locale("C");
    ASSERT_TRUE(locale.Ok());
    CheckAgainstExactValues(20261206u, 3000, '.');
}

TEST(ExactArithmetic, RandomExpressionsInTheCommaLocale)
{
    ScopedLocale locale(kCommaLocale);
    ASSERT_TRUE(locale.Ok());
    CheckAgainstExactValues(4242u, 1000, ',');
}
