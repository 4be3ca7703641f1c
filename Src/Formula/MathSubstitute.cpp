// Pass 1: every name and function call in the expression is replaced by its value, written
// with 8 decimals, so that the later passes see only numbers, operators and parentheses.
#include "Formula/MathInternal.hpp"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

enum class Copied { Nothing, Digit, Separator, Other, Value };

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsNameStart(char c)
{
    return IsLetter(c) || c == '_' || c == '\'';
}

bool IsNameChar(char c)
{
    return IsNameStart(c) || Math_IsDigit(c);
}

char ToLowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

enum Builtin {
    B_ACOS, B_ASIN, B_ATAN, B_ATAN2, B_LDEXP, B_SINH, B_COSH, B_TANH, B_LOG, B_LOG10, B_EXP, B_MODPOW,
    B_SQRT, B_POW, B_FLOOR, B_CEIL, B_ROUND, B_NOT, B_AVG, B_SUM, B_TAN, B_SIN, B_COS, B_ABS
};

struct BuiltinEntry {
    const char* name;
    Int32 arguments;  // 0: one or more
};

const BuiltinEntry kBuiltins[] = {
    {"ACOS", 1}, {"ASIN", 1}, {"ATAN", 1}, {"ATAN2", 2}, {"LDEXP", 2}, {"SINH", 1},
    {"COSH", 1}, {"TANH", 1}, {"LOG", 1}, {"LOG10", 1}, {"EXP", 1}, {"MODPOW", 3},
    {"SQRT", 1}, {"POW", 2}, {"FLOOR", 1}, {"CEIL", 1}, {"ROUND", 2}, {"NOT", 1},
    {"AVG", 0}, {"SUM", 0}, {"TAN", 1}, {"SIN", 1}, {"COS", 1}, {"ABS", 1},
};

Int32 FindBuiltin(const char* name, Int32 length)
{
    const char first = length > 0 ? ToLowerAscii(name[0]) : '\0';
    for (Int32 i = 0; i < static_cast<Int32>(sizeof kBuiltins / sizeof kBuiltins[0]); ++i) {
        const char* builtin = kBuiltins[i].name;
        if (ToLowerAscii(builtin[0]) != first)
            continue;
        Int32 j = 0;
        while (j < length && builtin[j] != '\0' && ToLowerAscii(builtin[j]) == ToLowerAscii(name[j]))
            ++j;
        if (j == length && builtin[j] == '\0')
            return i;
    }
    return -1;
}

// Characters that merge into one name or number when the blank between them is dropped.
bool RunsTogether(const Math_Context* context, char c)
{
    return IsNameChar(c) || c == context->decimalSeparator;
}

// The offending character; a character beyond ASCII is named whole, not by its first byte.
Math_Error InvalidToken(Math_Context* context, const char* text, Int32 length, Int32 index)
{
    const unsigned char lead = static_cast<unsigned char>(text[index]);
    if (lead >= 0xC0) {
        Int32 end = index + 1;
        while (end < length && end - index < 4 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
        return Math_SetError(context, Math_ErrInvalidToken, "Token is invalid: %.*s", static_cast<int>(end - index),
                             text + index);
    }
    return Math_SetError(context, Math_ErrInvalidToken, "Token is invalid: %c", text[index]);
}

Math_Error NotFinite(Math_Context* context, const char* name)
{
    return Math_SetError(context, Math_ErrNotFinite, "Result of %s is infinite or not a number.", name);
}

// A value enters the text with 8 decimals; one that cannot be written so stops the evaluation.
Math_Error WriteValueText(Math_Context* context, const char* name, double value, char* buffer, Int32* length,
                          double* readBack = nullptr)
{
    if (!std::isfinite(value))
        return NotFinite(context, name);
    *length = Math_WriteFixed(value, 8, context->decimalSeparator, buffer, Math_ValueBufferSize, readBack);
    if (*length < 0)
        return Math_SetError(context, Math_ErrNotFinite, "Result of %s is too large.", name);
    return Math_NoError;
}

// Characters copied into the working text as they are.
bool IsCopied(const Math_Context* context, char c)
{
    return Math_IsDigit(c) || c == context->decimalSeparator || Math_IsOperatorChar(c) || c == '(' || c == ')';
}

struct Arguments {
    Math_Parameter* records = nullptr;
    Int32 count = 0;
    Int32 capacity = 0;
};

// failed: the argument already failed while it was collected; it counts as 0.0 unevaluated.
Math_Error AddArgument(Math_Context* context, Arguments* arguments, const char* text, Int32 length, Int32 depth,
                       bool failed)
{
    if (arguments->count == arguments->capacity) {
        const Int32 capacity = arguments->capacity == 0 ? 4 : arguments->capacity * 2;
        void* grown = std::realloc(arguments->records, sizeof(Math_Parameter) * static_cast<size_t>(capacity));
        if (grown == nullptr)
            return Math_SetError(context, Math_ErrMemory, "Memory allocation error.");
        arguments->records = static_cast<Math_Parameter*>(grown);
        arguments->capacity = capacity;
    }
    Math_Parameter record{};
    if (!failed && length > 0 && text[0] == '\'') {
        // A text: the argument without its first and last character.
        const Int32 textLength = length >= 2 ? length - 2 : 0;
        record.kind = Math_TextParameter;
        record.text = static_cast<char*>(std::malloc(static_cast<size_t>(textLength) + 1));
        if (record.text == nullptr)
            return Math_SetError(context, Math_ErrMemory, "Memory allocation error.");
        std::memcpy(record.text, text + 1, static_cast<size_t>(textLength));
        record.text[textLength] = '\0';
        record.value = 0.0;
    } else {
        // A number: an expression of its own; its failure counts as 0.0 and goes no further.
        record.kind = Math_NumberParameter;
        record.text = nullptr;
        double value = 0.0;
        if (failed || Math_EvaluateText(context, text, length, depth, &value) != Math_NoError)
            value = 0.0;
        record.value = value;
    }
    arguments->records[arguments->count++] = record;
    return Math_NoError;
}

}  // namespace

bool Math_IsBuiltinName(const char* name, Int32 length)
{
    return FindBuiltin(name, length) >= 0;
}

void Math_FreeParameters(Math_Parameter* parameters, Int32 count)
{
    if (parameters == nullptr)
        return;
    for (Int32 i = 0; i < count; ++i)
        std::free(parameters[i].text);
    std::free(parameters);
}

Math_Error Math_Substitute(Math_Context* context, Math_Expression* out, const char* text, Int32 length, Int32 depth)
{
    Math_Error code = Math_Reserve(context, out, length + 1);
    if (code != Math_NoError)
        return code;
    out->length = 0;
    out->text[0] = '\0';

    Copied last = Copied::Nothing;
    bool blankDropped = false;
    Int32 i = 0;
    while (i < length) {
        const char c = text[i];
        if (Math_IsBlank(c)) {
            blankDropped = true;
            ++i;
            continue;
        }
        if (IsCopied(context, c)) {
            // The text always has room for the rest of the input (see the growth below), so a run of
            // such characters is copied without growing it.
            char* copy = out->text + out->length;
            for (; i < length && IsCopied(context, text[i]); ++i) {
                const char d = text[i];
                const Copied kind = Math_IsDigit(d) ? Copied::Digit
                                    : d == context->decimalSeparator ? Copied::Separator : Copied::Other;
                // A number must not run into a value, nor into the number before a blank: Area 2 and
                // 12 34 are refused rather than merged into one number.
                if (kind != Copied::Other &&
                    (last == Copied::Value || (kind == Copied::Digit && last == Copied::Digit && blankDropped))) {
                    out->length = static_cast<Int32>(copy - out->text);
                    return InvalidToken(context, text, length, i);
                }
                *copy++ = d;
                last = kind;
                blankDropped = false;
            }
            out->length = static_cast<Int32>(copy - out->text);
            continue;
        }
        if (!IsNameStart(c))
            return InvalidToken(context, text, length, i);

        // A name must not run into a number or a value: 2Area and Area Width are refused.
        if (last == Copied::Digit || last == Copied::Separator || last == Copied::Value)
            return InvalidToken(context, text, length, i);
        char name[Math_NameBufferSize];
        Int32 nameLength = 0;
        while (i < length && IsNameChar(text[i])) {
            if (nameLength == Math_NameBufferSize - 1)
                return Math_SetError(context, Math_ErrInvalidToken, "Variable length limit exceeded.");
            name[nameLength++] = text[i++];
        }
        name[nameLength] = '\0';
        while (i < length && Math_IsBlank(text[i]))
            ++i;

        double value = 0.0;
        if (i < length && text[i] == '(') {
            Math_Parameter* parameters = nullptr;
            Int32 count = 0;
            code = Math_ParseArguments(context, text, length, &i, &parameters, &count, depth + 1);
            if (code != Math_NoError)
                return code;
            if (Math_IsBuiltinName(name, nameLength))
                code = Math_CallBuiltin(context, name, parameters, count, &value);
            else if (context->functionResolver == nullptr ||
                     !context->functionResolver(context, name, parameters, count, &value))
                code = Math_SetError(context, Math_ErrInvalidToken, "Undeclared identifier: %s.", name);
            Math_FreeParameters(parameters, count);
            if (code != Math_NoError)
                return code;
        } else if (context->variableResolver == nullptr || !context->variableResolver(context, name, &value, 0)) {
            return Math_SetError(context, Math_ErrInvalidToken, "Variable was not defined: %s.", name);
        }

        char valueText[Math_ValueBufferSize];
        Int32 valueLength = 0;
        double readBack = 0.0;
        if ((code = WriteValueText(context, name, value, valueText, &valueLength, &readBack)) != Math_NoError)
            return code;
        Math_RememberNumber(out->numbers, valueText, valueLength, readBack);
        // Room for the value and for the rest of the input.
        const Int64 needed = static_cast<Int64>(valueLength) + out->length + length;
        if (needed >= out->capacity) {
            if (needed >= 0x7FFFFFFF)
                return Math_SetError(context, Math_ErrMemory, "Memory allocation error.");
            if ((code = Math_Reserve(context, out, static_cast<Int32>(needed) + 1)) != Math_NoError)
                return code;
        }
        if ((code = Math_SpliceValue(context, out, out->length, out->length, valueText, valueLength)) != Math_NoError)
            return code;
        last = Copied::Value;
    }
    out->text[out->length] = '\0';
    return Math_NoError;
}

Math_Error Math_ParseArguments(Math_Context* context, const char* text, Int32 length, Int32* index,
                               Math_Parameter** parameters, Int32* count, Int32 depth)
{
    *parameters = nullptr;
    *count = 0;
    if (depth > Math_MaxCallDepth)
        return Math_SetError(context, Math_ErrInvalidToken, "Nesting depth limit exceeded.");
    Int32 i = *index + 1;
    if (i >= length)
        return Math_SetError(context, Math_ErrParentheses, "Parentheses mismatch.");

    Arguments arguments;
    char argument[Math_ArgumentBufferSize];
    Int32 argumentLength = 0;
    Int32 level = 1;
    bool failed = false;  // the argument being collected counts as 0.0
    bool afterValue = false;  // the argument so far is a nested call's value
    char droppedBlank = 0;  // a blank dropped since the last character collected
    bool closed = false;
    Math_Error code = Math_NoError;

    auto collect = [&](char c) -> Math_Error {
        if (argumentLength == Math_ArgumentBufferSize - 1)
            return Math_SetError(context, Math_ErrInvalidToken, "Argument length limit exceeded.");
        argument[argumentLength++] = c;
        return Math_NoError;
    };

    while (i < length && code == Math_NoError) {
        const char c = text[i];
        const bool isText = argumentLength > 0 && argument[0] == '\'';
        if (Math_IsBlank(c)) {
            // A text keeps its blanks; elsewhere they go, as leading blanks always do.
            if (isText)
                code = collect(c);
            else if (argumentLength > 0)
                droppedBlank = c;
            ++i;
            continue;
        }
        if (afterValue && (Math_IsDigit(c) || c == context->decimalSeparator)) {
            // A number must not run into a value, as at the top level: the argument fails.
            InvalidToken(context, text, length, i);
            failed = true;
        }
        afterValue = false;
        if (droppedBlank != 0) {
            // ... except one between two names or numbers, so that 12 34 and Area 2 are refused
            // rather than merged.
            if (RunsTogether(context, argument[argumentLength - 1]) && RunsTogether(context, c))
                code = collect(droppedBlank);
            droppedBlank = 0;
            if (code != Math_NoError)
                break;
        }
        if (c == '(') {
            if (!failed && !isText && argumentLength > 0 && Math_IsBuiltinName(argument, argumentLength)) {
                // A built-in that begins the argument is called at once; its failure ends the pass.
                char name[Math_NameBufferSize];
                std::memcpy(name, argument, static_cast<size_t>(argumentLength));
                name[argumentLength] = '\0';
                Math_Parameter* nested = nullptr;
                Int32 nestedCount = 0;
                double value = 0.0;
                code = Math_ParseArguments(context, text, length, &i, &nested, &nestedCount, depth + 1);
                if (code == Math_NoError)
                    code = Math_CallBuiltin(context, name, nested, nestedCount, &value);
                Math_FreeParameters(nested, nestedCount);
                if (code == Math_NoError && !std::isfinite(value)) {
                    // Fails the argument only, as its own evaluation would.
                    NotFinite(context, name);
                    failed = true;
                    argumentLength = 0;
                } else if (code == Math_NoError) {
                    code = WriteValueText(context, name, value, argument, &argumentLength);
                    afterValue = true;
                }
                continue;
            }
            ++level;
            code = collect(c);
            ++i;
            continue;
        }
        if (c == ')') {
            --level;
            ++i;
            if (level > 0) {
                code = collect(c);
                continue;
            }
            code = AddArgument(context, &arguments, argument, argumentLength, depth, failed);
            closed = true;
            break;
        }
        if (c == context->argumentSeparator && level == 1) {
            // Only a separator of this call ends an argument; nested calls keep their own.
            code = AddArgument(context, &arguments, argument, argumentLength, depth, failed);
            argumentLength = 0;
            failed = false;
            afterValue = false;
            ++i;
            continue;
        }
        code = collect(c);
        ++i;
    }
    if (code == Math_NoError && !closed)
        code = Math_SetError(context, Math_ErrParentheses, "Parentheses mismatch.");
    if (code != Math_NoError) {
        Math_FreeParameters(arguments.records, arguments.count);
        return code;
    }
    *parameters = arguments.records;
    *count = arguments.count;
    *index = i;
    return Math_NoError;
}

Math_Error Math_CallBuiltin(Math_Context* context, const char* name, Math_Parameter* parameters, Int32 count,
                            double* value)
{
    const Int32 builtin = FindBuiltin(name, static_cast<Int32>(std::strlen(name)));
    if (builtin < 0)
        return Math_SetError(context, Math_ErrInvalidToken, "Undeclared identifier: %s.", name);
    const Int32 expected = kBuiltins[builtin].arguments;
    if ((expected > 0 && count != expected) || (expected == 0 && count < 1) || parameters == nullptr)
        return Math_SetError(context, Math_ErrInvalidToken, "Invalid number of parameters passed to method: %s", name);

    const double a = parameters[0].value;
    const double b = count > 1 ? parameters[1].value : 0.0;
    double result = 0.0;
    switch (static_cast<Builtin>(builtin)) {
        case B_ACOS: result = std::acos(a); break;
        case B_ASIN: result = std::asin(a); break;
        case B_ATAN: result = std::atan(a); break;
        case B_ATAN2: result = std::atan2(a, b); break;
        case B_LDEXP: result = std::ldexp(a, Math_TruncateToInt32(b)); break;
        case B_SINH: result = std::sinh(a); break;
        case B_COSH: result = std::cosh(a); break;
        case B_TANH: result = std::tanh(a); break;
        case B_LOG: result = std::log(a); break;
        case B_LOG10: result = std::log10(a); break;
        case B_EXP: result = std::exp(a); break;
        case B_MODPOW: {
            Int64 base = Math_TruncateToInt64(a);
            Int64 exponent = Math_TruncateToInt64(b);
            const Int64 modulus = Math_TruncateToInt32(parameters[2].value);
            if (modulus == 0)
                return Math_SetError(context, Math_ErrArithmetic, "Mod by zero.");
            // 64-bit products wrap around; remainders truncate toward zero; a remainder by -1 is 0.
            auto multiply = [](Int64 x, Int64 y) {
                return static_cast<Int64>(static_cast<UInt64>(x) * static_cast<UInt64>(y));
            };
            auto remainder = [modulus](Int64 x) { return modulus == -1 ? 0 : x % modulus; };
            Int64 power = 1;
            if (exponent >= 1) {
                while (exponent > 0) {
                    if (exponent & 1)
                        power = remainder(multiply(power, base));
                    base = remainder(multiply(base, base));
                    exponent >>= 1;
                }
            }
            result = static_cast<Int32>(power);
            break;
        }
        case B_SQRT: result = std::sqrt(a); break;
        case B_POW: result = std::pow(a, b); break;
        case B_FLOOR: result = std::floor(a); break;
        case B_CEIL: result = std::ceil(a); break;
        case B_ROUND:
            // A step of 0 has no multiples: not a number, without dividing by zero.
            result = b != 0.0 ? std::round(a / b) * b : std::numeric_limits<double>::quiet_NaN();
            break;
        case B_NOT: result = Math_TruncateToInt64(a) == 0 ? 1.0 : 0.0; break;
        case B_AVG:
        case B_SUM: {
            double sum = 0.0;
            for (Int32 i = 0; i < count; ++i)
                sum += parameters[i].value;
            result = builtin == B_AVG ? sum / count : sum;
            break;
        }
        case B_TAN: result = std::tan(a); break;
        case B_SIN: result = std::sin(a); break;
        case B_COS: result = std::cos(a); break;
        case B_ABS: result = std::fabs(a); break;
    }
    *value = result;
    return Math_NoError;
}
