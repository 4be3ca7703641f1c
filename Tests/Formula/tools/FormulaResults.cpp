// Evaluates generated formulas and prints everything the evaluator hands back, in a canonical
// form: code, value bits, message, the calls of the resolvers, the trace lines and the rewritten
// text. Two builds of the evaluator agree when their outputs are byte-identical
// (scripts/compare-formula-results.sh); --expect checks a digest of the output instead.
//
//     formula_results [--count N] [--locale NAME] [--seed S] [--digest | --expect HEX]
#include "Formula/MathInternal.hpp"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Random {
    std::uint64_t state;
    std::uint64_t Next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <size_t N>
    const char* Pick(const char* const (&items)[N]) { return items[Below(static_cast<int>(N))]; }
};

std::string Bits(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
    return text;
}

// Any byte outside printable ASCII as \xNN, so that every record stays on its line.
std::string Escaped(const char* text)
{
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (*p < 32 || *p > 126 || *p == '\\') {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02x", *p);
            out += code;
        } else {
            out += static_cast<char>(*p);
        }
    }
    return out;
}

// Values that names and functions answer: magnitudes from 5e-324 to 1e300, exact halves at the 8th and
// 16th decimal, the edges of 2^53, 2^63 and 2^64, signed zeros, and values that are not finite.
double RandomValue(Random& random)
{
    static const double kEdges[] = {
        0.0,  -0.0, 0.5,  0.49999999999999994, 0.9999999999999999, 1.0, 9007199254740992.0, 9007199254740993.0,
        9.2233720368547758e18, 1.8446744073709552e19, 1e22, 1e23, 1e53, -1e53, 1e54, 1e300, 5e-324, 1e-9, 5e-9,
        4.9999999e-9, 1e-17, NAN, INFINITY, -INFINITY, 0.1, 0.2, 0.30000000000000004, 2147483647.5, -2147483648.0,
        4294967296.0};
    switch (random.Below(8)) {
        case 0: return kEdges[random.Below(sizeof kEdges / sizeof kEdges[0])];
        case 1: return static_cast<double>(random.Below(2001) - 1000);
        case 2: return std::ldexp(static_cast<double>(random.Below(1 << 20) - (1 << 19)), -random.Below(30));
        case 3: return (random.Chance(50) ? 1 : -1) * static_cast<double>(random.Next() >> 11) *
                       std::pow(10.0, random.Below(80) - 50) / 9007199254740992.0;
        case 4: return static_cast<double>(random.Below(100000)) / static_cast<double>(1 + random.Below(997));
        case 5: return std::ldexp(static_cast<double>(random.Next() >> 11), random.Below(140) - 120);
        case 6: return static_cast<double>(random.Below(1000000)) / 1000.0;
        default: {
            double value;
            const std::uint64_t bits = random.Next();
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
    }
}

const char* const kVariables[] = {"Volume", "Area", "Length", "Height", "Openings", "x", "e", "_v1", "Q'2", "sum"};
const char* const kBuiltins[] = {"ACOS", "asin", "Atan", "ATAN2", "LDEXP", "SINH", "cosh", "TANH",  "LOG",
                                 "log10", "EXP", "MODPOW", "SQRT", "POW", "floor", "CEIL", "ROUND", "NOT",
                                 "AVG", "SUM", "tan", "SIN", "Cos", "ABS", "sqrt", "round"};
const char* const kFunctions[] = {"Skin", "Echo", "Label", "Refuse", "Endless"};
const char* const kOperators[] = {"+", "-", "*", "/", "%", "~", "!", "&", "|", "^", "<<", ">>", "<", ">", "<=", ">=",
                                  "=", "<>", "!=", "&&", "||", "|=", "&=", "^=", "**", "=<", "--", "+-"};
const char* const kCommonOperators[] = {"+", "-", "*", "/"};
const char* const kPrefixes[] = {"-", "+", "!", "~", "--", "-+", "!-", "~-", "+-"};
const char* const kJunk[] = {"#", "$", "?", "[", "]", ":", "\"", "\xc3\xa9", "\xe2\x82\xac", "\x01", "e", "E", "0x",
                             "\\", "`", "{", "}", "@", "\x7f", "\xff"};

struct Generator {
    Random random;
    char decimal;
    char argument;
    std::string out;

    void Blank()
    {
        if (random.Chance(8))
            out += random.Chance(80) ? " " : (random.Chance(50) ? "\t" : "\n");
    }
    char Separator() { return random.Chance(96) ? decimal : (decimal == '.' ? ',' : '.'); }
    void Digits(int count)
    {
        for (int i = 0; i < count; ++i)
            out += static_cast<char>('0' + random.Below(10));
    }
    void Number()
    {
        switch (random.Below(10)) {
            case 0: Digits(1 + random.Below(3)); break;
            case 1: Digits(1 + random.Below(4)); out += Separator(); Digits(1 + random.Below(4)); break;
            case 2: Digits(1 + random.Below(2)); out += Separator(); Digits(15 + random.Below(30)); break;
            case 3: Digits(16 + random.Below(50)); break;
            case 4: {  // an exact half at the 9th or 17th decimal
                const int shift = random.Chance(50) ? 9 : 17;
                char text[80];
                std::snprintf(text, sizeof text, "%.*f", shift, std::ldexp(random.Below(1 << 16), -shift));
                for (char* p = text; *p != 0; ++p)
                    out += *p == '.' ? decimal : *p;
                break;
            }
            case 5: out += "0"; out += Separator(); Digits(random.Below(12)); Digits(1); break;
            case 6: out += Separator(); Digits(1 + random.Below(3)); break;
            case 7:  // "5." and "1.2.3"
                Digits(1 + random.Below(3));
                out += Separator();
                if (random.Chance(30)) {
                    Digits(1);
                    out += Separator();
                    Digits(1);
                }
                break;
            case 8: Digits(random.Chance(97) ? 1 + random.Below(3) : 330 + random.Below(40)); break;
            default:
                if (random.Chance(80)) {
                    out += "0";
                    Digits(random.Below(3));
                    break;
                }
                // An exponent, which no number of a formula has.
                Digits(1 + random.Below(2));
                if (random.Chance(50)) {
                    out += Separator();
                    Digits(1);
                }
                out += random.Chance(50) ? "e" : "E";
                if (random.Chance(50))
                    out += random.Chance(50) ? "-" : "+";
                Digits(1 + random.Below(2));
                break;
        }
    }
    void Call(int depth)
    {
        out += random.Chance(70) ? random.Pick(kBuiltins) : random.Pick(kFunctions);
        Blank();
        out += '(';
        const int count = random.Below(random.Chance(10) ? 6 : 4);
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                out += random.Chance(95) ? argument : (argument == ',' ? ';' : ',');
            Blank();
            if (random.Chance(15)) {
                out += '\'';
                out += random.Chance(50) ? "Fire rating" : (random.Chance(50) ? "a, b; c" : "");
                if (random.Chance(90))
                    out += '\'';
            } else if (random.Chance(95)) {
                Expression(depth + 1);
            }
            Blank();
        }
        if (random.Chance(97))
            out += ')';
    }
    void Operand(int depth)
    {
        if (random.Chance(15))
            out += random.Pick(kPrefixes);
        const int kind = depth > 4 ? random.Below(2) : random.Below(8);
        if (kind == 0 || kind >= 5)
            Number();
        else if (kind == 1 || kind == 4)
            out += random.Pick(kVariables);
        else if (kind == 2)
            Call(depth);
        else {
            if (random.Chance(3))
                Digits(1);  // a number against a parenthesis
            out += '(';
            Blank();
            Expression(depth + 1);
            Blank();
            if (random.Chance(97))
                out += ')';
            if (random.Chance(3))
                Digits(1);
        }
    }
    void Expression(int depth)
    {
        const int terms = 1 + random.Below(depth == 0 ? 6 : 3);
        for (int i = 0; i < terms; ++i) {
            if (i > 0) {
                Blank();
                out += random.Chance(60) ? random.Pick(kCommonOperators) : random.Pick(kOperators);
                Blank();
            }
            Operand(depth);
        }
    }
    // Now and then a long or malformed formula: text growth, deep nesting, limits, stray characters.
    std::string Formula()
    {
        out.clear();
        switch (random.Below(40)) {
            case 0:
                for (int i = 0, n = 20 + random.Below(400); i < n; ++i) {
                    if (i > 0)
                        out += random.Pick(kCommonOperators);
                    out += random.Pick(kVariables);
                }
                return out;
            case 1: {
                const int depth = 1 + random.Below(260);
                const int calls = random.Below(101);  // percent of the levels that are calls
                for (int i = 0; i < depth; ++i)
                    out += random.Chance(calls) ? "SUM(" : "(";
                Number();
                for (int i = 0; i < depth; ++i)
                    out += ')';
                return out;
            }
            case 2:
                out.assign(120 + random.Below(20), 'n');
                return out;
            case 3:
                out += "SUM(";
                Digits(1000 + random.Below(60));
                out += ")+1";
                return out;
            default: break;
        }
        Expression(0);
        if (random.Chance(6) && !out.empty()) {
            const size_t at = static_cast<size_t>(random.Below(static_cast<int>(out.size()) + 1));
            out.insert(at, random.Chance(50) ? random.Pick(kJunk) : (random.Chance(50) ? "(" : ")"));
        }
        if (random.Chance(3) && !out.empty())
            out.erase(static_cast<size_t>(random.Below(static_cast<int>(out.size()))), 1);
        return out;
    }
};

// The caller's record, as the element quantities extend the context.
struct Caller : Math_Context {
    double values[sizeof kVariables / sizeof kVariables[0]];
    double answers[4];
    std::string calls;
    std::string trace;
};

bool Variable(Math_Context* context, const char* name, double* value, Int32 reserved)
{
    Caller* caller = static_cast<Caller*>(context);
    caller->calls += std::string(" v:") + name + "/" + std::to_string(reserved);
    for (size_t i = 0; i < sizeof kVariables / sizeof kVariables[0]; ++i) {
        if (std::strcmp(kVariables[i], name) == 0) {
            *value = caller->values[i];
            return true;
        }
    }
    return false;
}

bool Function(Math_Context* context, const char* name, Math_Parameter* parameters, Int32 count, double* value)
{
    Caller* caller = static_cast<Caller*>(context);
    caller->calls += std::string(" f:") + name + "/" + std::to_string(count);
    double sum = 0.0;
    for (Int32 i = 0; i < count; ++i) {
        caller->calls += " " + std::to_string(parameters[i].kind) + ":";
        if (parameters[i].kind == Math_TextParameter) {
            caller->calls += Escaped(parameters[i].text);
            sum += static_cast<double>(std::strlen(parameters[i].text));
        } else {
            caller->calls += Bits(parameters[i].value);
            sum += parameters[i].value;
        }
    }
    if (std::strcmp(name, "Skin") == 0)
        *value = count == 1 ? 1.5 * parameters[0].value : caller->answers[0];
    else if (std::strcmp(name, "Echo") == 0)
        *value = count > 0 ? parameters[count - 1].value : caller->answers[1];
    else if (std::strcmp(name, "Label") == 0)
        *value = sum + caller->answers[2];
    else if (std::strcmp(name, "Endless") == 0)
        *value = caller->answers[3] * INFINITY;
    else
        return false;
    return true;
}

void Sink(Math_Context* context, const char* line)
{
    static_cast<Caller*>(context)->trace += line;
}

void Prepare(Caller& caller, Random& values, int precision)
{
    Math_InitContext(&caller);
    Math_SetVariableResolver(&caller, Variable);
    Math_SetFunctionResolver(&caller, Function);
    caller.precision = static_cast<UInt8>(precision);
    for (double& value : caller.values)
        value = RandomValue(values);
    for (double& answer : caller.answers)
        answer = RandomValue(values);
}

// One record: the values the names answer, then each way of running the formula.
std::string Record(int index, const std::string& formula, std::uint64_t seed, int precision)
{
    std::string record = "#" + std::to_string(index) + " p" + std::to_string(precision) + " " +
                         Escaped(formula.c_str()) + "\n";
    for (int run = 0; run < 3; ++run) {
        Random values{seed};  // every run sees the same values
        Caller caller;
        Prepare(caller, values, precision);
        if (run == 0) {
            record += " names:";
            for (double value : caller.values)
                record += " " + Bits(value);
            for (double answer : caller.answers)
                record += " " + Bits(answer);
            record += "\n";
        }
        if (run == 1) {
            Math_SetTrace(&caller, true);
            caller.traceSink = Sink;
        }
        double value = -777.0;
        Math_Error code = Math_NoError;
        std::string text;
        if (run < 2) {
            code = Math_Evaluate(&caller, formula.c_str(), &value);
        } else {
            // The rewritten text after the passes.
            Math_Expression expression;
            code = Math_Substitute(&caller, &expression, formula.c_str(), static_cast<Int32>(formula.size()));
            if (code == Math_NoError)
                code = Math_ReduceParentheses(&caller, &expression);
            if (expression.text != nullptr)
                text.assign(expression.text, static_cast<size_t>(expression.length));
            value = expression.value;
            Math_Release(&expression);
        }
        record += " " + std::to_string(run) + ": code " + std::to_string(code) + " context " +
                  std::to_string(caller.code) + " value " + Bits(value) + " message " +
                  (caller.message != nullptr ? Escaped(caller.message) : "(none)") + "\n";
        if (run == 0)
            record += "  calls:" + caller.calls + "\n";
        if (run == 1)
            record += "  trace: " + Escaped(caller.trace.c_str()) + "\n";
        if (run == 2)
            record += "  text: " + Escaped(text.c_str()) + "\n";
        Math_ClearError(&caller);
    }
    return record;
}

}  // namespace

int main(int argc, char** argv)
{
    long count = 1000;
    std::uint64_t seed = 20240516;
    const char* locale = "C";
    const char* expect = nullptr;
    bool digest = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--count" && i + 1 < argc)
            count = std::atol(argv[++i]);
        else if (option == "--seed" && i + 1 < argc)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (option == "--locale" && i + 1 < argc)
            locale = argv[++i];
        else if (option == "--expect" && i + 1 < argc)
            expect = argv[++i];
        else if (option == "--digest")
            digest = true;
        else {
            std::fprintf(stderr, "usage: %s [--count N] [--locale NAME] [--seed S] [--digest | --expect HEX]\n",
                         argv[0]);
            return 2;
        }
    }
    if (std::setlocale(LC_ALL, locale) == nullptr) {
        std::fprintf(stderr, "the locale %s is not available\n", locale);
        return 2;
    }
    Caller probe;
    Math_InitContext(&probe);
    Generator generator{Random{seed}, probe.decimalSeparator, probe.argumentSeparator, {}};
    Random settings{seed ^ 0x5DEECE66DULL};
    std::uint64_t hash = 0xCBF29CE484222325ULL;  // FNV-1a over the whole output
    for (long i = 0; i < count; ++i) {
        const std::string formula = generator.Formula();
        const int precision = settings.Chance(92) ? 16 : settings.Below(26);
        const std::string record = Record(static_cast<int>(i), formula, settings.Next(), precision);
        for (unsigned char c : record)
            hash = (hash ^ c) * 0x100000001B3ULL;
        if (!digest && expect == nullptr)
            std::fwrite(record.data(), 1, record.size(), stdout);
    }
    char hex[20];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    if (digest)
        std::printf("%s\n", hex);
    if (expect != nullptr && std::strcmp(expect, hex) != 0) {
        std::fprintf(stderr, "%s: digest %s, expected %s\n", locale, hex, expect);
        return 1;
    }
    return 0;
}
