// Evaluates generated formulas and prints everything the evaluator hands back, in a canonical
// form: code, value bits, message, the calls of the resolvers, the trace lines and the rewritten
// text. Two builds of the evaluator agree when their outputs are byte-identical
// (scripts/compare-formula-results.sh); --expect checks a digest of the output instead.
// The draws of the generator are part of that output: change none of them, nor their order.
//
//     formula_results [--count N] [--locale NAME] [--seed S] [--digest | --expect HEX]
#include "Formula/MathInternal.hpp"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
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
    template <size_t N> const char* Pick(const char* const (&items)[N]) { return items[Below(static_cast<int>(N))]; }
};

template <typename To, typename From>
To BitCast(From from)
{
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

std::string Hex(std::uint64_t bits)
{
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
    return text;
}

std::string Bits(double value) { return Hex(BitCast<std::uint64_t>(value)); }

// Any byte outside printable ASCII as \xNN, so that every record stays on its line.
std::string Escaped(const char* text)
{
    std::string out;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c) {
        if (*c < 32 || *c > 126 || *c == '\\')
            out += std::string("\\x") + "0123456789abcdef"[*c >> 4] + "0123456789abcdef"[*c & 15];
        else
            out += static_cast<char>(*c);
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
        case 0: return kEdges[random.Below(std::size(kEdges))];
        case 1: return static_cast<double>(random.Below(2001) - 1000);
        case 2: return std::ldexp(static_cast<double>(random.Below(1 << 20) - (1 << 19)), -random.Below(30));
        case 3: return (random.Chance(50) ? 1 : -1) * static_cast<double>(random.Next() >> 11) *
                       std::pow(10.0, random.Below(80) - 50) / 9007199254740992.0;
        case 4: return static_cast<double>(random.Below(100000)) / static_cast<double>(1 + random.Below(997));
        case 5: return std::ldexp(static_cast<double>(random.Next() >> 11), random.Below(140) - 120);
        case 6: return static_cast<double>(random.Below(1000000)) / 1000.0;
        default: return BitCast<double>(random.Next());
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
    char decimal, argument;
    std::string out;

    void Blank() { out += !random.Chance(8) ? "" : random.Chance(80) ? " " : random.Chance(50) ? "\t" : "\n"; }
    void Separator() { out += random.Chance(96) ? decimal : (decimal == '.' ? ',' : '.'); }
    void Digits(int count) { while (count-- > 0) out += static_cast<char>('0' + random.Below(10)); }
    void Close() { out += random.Chance(97) ? ")" : ""; }
    void Number()
    {
        switch (random.Below(10)) {
            case 0: Digits(1 + random.Below(3)); return;
            case 1: Digits(1 + random.Below(4)); Separator(); Digits(1 + random.Below(4)); return;
            case 2: Digits(1 + random.Below(2)); Separator(); Digits(15 + random.Below(30)); return;
            case 3: Digits(16 + random.Below(50)); return;
            case 4: {  // an exact half at the 9th or 17th decimal
                const int shift = random.Chance(50) ? 9 : 17;
                char text[80];
                std::snprintf(text, sizeof text, "%.*f", shift, std::ldexp(random.Below(1 << 16), -shift));
                for (const char* p = text; *p != 0; ++p)
                    out += *p == '.' ? decimal : *p;
                return;
            }
            case 5: out += "0"; Separator(); Digits(1 + random.Below(12)); return;
            case 6: Separator(); Digits(1 + random.Below(3)); return;
            case 7:  // "5." and "1.2.3"
                Digits(1 + random.Below(3));
                Separator();
                if (random.Chance(30))
                    Digits(1), Separator(), Digits(1);
                return;
            case 8: Digits(random.Chance(97) ? 1 + random.Below(3) : 330 + random.Below(40)); return;
        }
        if (random.Chance(80)) {
            out += "0";
            return Digits(random.Below(3));
        }
        // An exponent, which no number of a formula has.
        Digits(1 + random.Below(2));
        if (random.Chance(50))
            Separator(), Digits(1);
        out += random.Chance(50) ? "e" : "E";
        if (random.Chance(50))
            out += random.Chance(50) ? "-" : "+";
        Digits(1 + random.Below(2));
    }
    void Call(int depth)
    {
        out += random.Chance(70) ? random.Pick(kBuiltins) : random.Pick(kFunctions);
        Blank();
        out += '(';
        for (int i = 0, count = random.Below(random.Chance(10) ? 6 : 4); i < count; ++i) {
            if (i > 0)
                out += random.Chance(95) ? argument : (argument == ',' ? ';' : ',');
            Blank();
            if (random.Chance(15)) {
                out += '\'';
                out += random.Chance(50) ? "Fire rating" : (random.Chance(50) ? "a, b; c" : "");
                out += random.Chance(90) ? "'" : "";
            } else if (random.Chance(95)) {
                Expression(depth + 1);
            }
            Blank();
        }
        Close();
    }
    void Operand(int depth)
    {
        if (random.Chance(15))
            out += random.Pick(kPrefixes);
        switch (random.Below(depth > 4 ? 2 : 8)) {
            case 1: case 4: out += random.Pick(kVariables); return;
            case 2: Call(depth); return;
            case 3: break;
            default: Number(); return;
        }
        if (random.Chance(3))
            Digits(1);  // a number against a parenthesis
        out += '(';
        Blank();
        Expression(depth + 1);
        Blank();
        Close();
        if (random.Chance(3))
            Digits(1);
    }
    void Expression(int depth)
    {
        for (int i = 0, terms = 1 + random.Below(depth == 0 ? 6 : 3); i < terms; ++i) {
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
                const int depth = 1 + random.Below(260), calls = random.Below(101);  // percent of levels
                for (int i = 0; i < depth; ++i)
                    out += random.Chance(calls) ? "SUM(" : "(";
                Number();
                return out.append(depth, ')');
            }
            case 2: return out.assign(120 + random.Below(20), 'n');
            case 3: out += "SUM("; Digits(1000 + random.Below(60)); return out += ")+1";
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
    double values[std::size(kVariables) + 4];  // the variables', then four answers of the functions
    std::string calls, trace;
};

bool Variable(Math_Context* context, const char* name, double* value, Int32 reserved)
{
    Caller* caller = static_cast<Caller*>(context);
    caller->calls += std::string(" v:") + name + "/" + std::to_string(reserved);
    size_t i = 0;
    while (i < std::size(kVariables) && std::strcmp(kVariables[i], name) != 0)
        ++i;
    if (i < std::size(kVariables))
        *value = caller->values[i];
    return i < std::size(kVariables);
}

bool Function(Math_Context* context, const char* name, Math_Parameter* parameters, Int32 count, double* value)
{
    Caller* caller = static_cast<Caller*>(context);
    caller->calls += std::string(" f:") + name + "/" + std::to_string(count);
    double sum = 0.0;
    for (const Math_Parameter* p = parameters; p < parameters + count; ++p) {
        const bool text = p->kind == Math_TextParameter;
        caller->calls += " " + std::to_string(p->kind) + ":" + (text ? Escaped(p->text) : Bits(p->value));
        sum += text ? static_cast<double>(std::strlen(p->text)) : p->value;
    }
    const double* answers = caller->values + std::size(kVariables);
    const std::string function = name;
    if (function == "Skin")
        *value = count == 1 ? 1.5 * parameters[0].value : answers[0];
    else if (function == "Echo")
        *value = count > 0 ? parameters[count - 1].value : answers[1];
    else if (function == "Label")
        *value = sum + answers[2];
    else if (function == "Endless")
        *value = answers[3] * INFINITY;
    else
        return false;
    return true;
}

// One record: the values the names answer, then the formula evaluated, evaluated with a trace, and
// rewritten by the passes that go before the operators.
std::string Record(int index, const std::string& formula, std::uint64_t seed, int precision)
{
    Caller prepared;
    Math_InitContext(&prepared);
    Math_SetVariableResolver(&prepared, Variable);
    Math_SetFunctionResolver(&prepared, Function);
    prepared.precision = static_cast<UInt8>(precision);
    Random random{seed};
    std::string record = "#" + std::to_string(index) + " p" + std::to_string(precision) + " " +
                         Escaped(formula.c_str()) + "\n names:";
    for (double& value : prepared.values)
        record += " " + Bits(value = RandomValue(random));
    record += "\n";
    for (int run = 0; run < 3; ++run) {
        Caller caller = prepared;  // every run sees the same values
        if (run == 1) {
            Math_SetTrace(&caller, true);
            caller.traceSink = [](Math_Context* context, const char* line) {
                static_cast<Caller*>(context)->trace += line;
            };
        }
        double value = -777.0;
        Math_Error code = Math_NoError;
        std::string text;
        if (run < 2) {
            code = Math_Evaluate(&caller, formula.c_str(), &value);
        } else {
            Math_Expression expression;
            code = Math_Substitute(&caller, &expression, formula.c_str(), static_cast<Int32>(formula.size()));
            if (code == Math_NoError)
                code = Math_ReduceParentheses(&caller, &expression);
            if (expression.text != nullptr)
                text.assign(expression.text, static_cast<size_t>(expression.length));
            value = expression.value;
            Math_Release(&expression);
        }
        const std::string details[] = {"  calls:" + caller.calls, "  trace: " + Escaped(caller.trace.c_str()),
                                       "  text: " + Escaped(text.c_str())};
        record += " " + std::to_string(run) + ": code " + std::to_string(code) + " context " +
                  std::to_string(caller.code) + " value " + Bits(value) + " message " +
                  (caller.message != nullptr ? Escaped(caller.message) : "(none)") + "\n" + details[run] + "\n";
        Math_ClearError(&caller);
    }
    return record;
}

}  // namespace

int main(int argc, char** argv)
{
    const char *count = "1000", *seed = "20240516", *locale = "C", *expect = nullptr;
    bool digest = false;
    const std::map<std::string, const char**> options = {
        {"--count", &count}, {"--seed", &seed}, {"--locale", &locale}, {"--expect", &expect}};
    for (int i = 1; i < argc; ++i) {
        const auto option = options.find(argv[i]);
        if (std::strcmp(argv[i], "--digest") == 0) {
            digest = true;
        } else if (option != options.end() && i + 1 < argc) {
            *option->second = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--count N] [--locale NAME] [--seed S] [--digest | --expect HEX]\n",
                         argv[0]);
            return 2;
        }
    }
    if (std::setlocale(LC_ALL, locale) == nullptr) {
        std::fprintf(stderr, "the locale %s is not available\n", locale);
        return 2;
    }
    Math_Context probe;
    Math_InitContext(&probe);
    const std::uint64_t start = std::strtoull(seed, nullptr, 10);
    Generator generator{Random{start}, probe.decimalSeparator, probe.argumentSeparator, {}};
    Random settings{start ^ 0x5DEECE66DULL};
    std::uint64_t hash = 0xCBF29CE484222325ULL;  // FNV-1a over the whole output
    for (long i = 0, n = std::atol(count); i < n; ++i) {
        const std::string formula = generator.Formula();
        const int precision = settings.Chance(92) ? 16 : settings.Below(26);
        const std::string record = Record(static_cast<int>(i), formula, settings.Next(), precision);
        for (unsigned char c : record)
            hash = (hash ^ c) * 0x100000001B3ULL;
        if (!digest && expect == nullptr)
            std::fwrite(record.data(), 1, record.size(), stdout);
    }
    const std::string hex = Hex(hash);
    if (digest)
        std::printf("%s\n", hex.c_str());
    if (expect != nullptr && hex != expect) {
        std::fprintf(stderr, "%s: digest %s, expected %s\n", locale, hex.c_str(), expect);
        return 1;
    }
    return 0;
}
