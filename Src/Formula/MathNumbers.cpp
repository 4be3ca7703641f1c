// Numbers in the working text. They are written and read with the context's decimal
// separator only, so the C library's locale never changes a result.
#include "Formula/MathInternal.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

bool Math_IsOperatorChar(char c)
{
    switch (c) {
        case '!': case '%': case '&': case '*': case '+': case '-': case '/':
        case '<': case '=': case '>': case '^': case '|': case '~':
            return true;
        default:
            return false;
    }
}

bool Math_IsBlank(char c)
{
    return c == 0 || c == 9 || c == 10 || c == 13 || c == 32;
}

Int32 Math_WriteFixed(double value, Int32 decimals, char separator, char* buffer, Int32 bufferSize)
{
    if (bufferSize < 2 || !std::isfinite(value))
        return -1;
    // to_chars with a precision gives exactly the digits of printf's "%.*f".
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + bufferSize - 1, value, std::chars_format::fixed, decimals);
    if (written.ec != std::errc())
        return -1;
    *written.ptr = '\0';
    if (separator != '.') {
        char* point = static_cast<char*>(std::memchr(buffer, '.', static_cast<size_t>(written.ptr - buffer)));
        if (point != nullptr)
            *point = separator;
    }
    return static_cast<Int32>(written.ptr - buffer);
}

Int32 Math_WriteSignificant(Math_Context* context, double value, char* buffer, Int32 bufferSize)
{
    if (bufferSize < 2 || !std::isfinite(value))
        return -1;
    const int precision = context->precision > 0 ? context->precision : 1;
    // The digits of "%.*g", but laid out without an exponent so that the operand scan can read them.
    char scientific[320];
    const std::to_chars_result converted = std::to_chars(scientific, scientific + sizeof scientific - 1, value,
                                                         std::chars_format::scientific, precision - 1);
    if (converted.ec != std::errc())
        return -1;
    *converted.ptr = '\0';
    const char* p = scientific;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    char digits[320];
    Int32 digitCount = 0;
    for (; *p != '\0' && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits[digitCount++] = *p;
    }
    const int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    while (digitCount > 1 && digits[digitCount - 1] == '0')
        --digitCount;

    Int32 length = 0;
    auto put = [&](char c) {
        if (length < bufferSize - 1)
            buffer[length] = c;
        ++length;
    };
    if (negative)
        put('-');
    if (exponent >= 0) {
        for (Int32 i = 0; i <= exponent; ++i)
            put(i < digitCount ? digits[i] : '0');
        if (digitCount > exponent + 1) {
            put(context->decimalSeparator);
            for (Int32 i = exponent + 1; i < digitCount; ++i)
                put(digits[i]);
        }
    } else if (digitCount == 1 && digits[0] == '0') {
        put('0');
    } else {
        put('0');
        put(context->decimalSeparator);
        for (int i = 0; i < -exponent - 1; ++i)
            put('0');
        for (Int32 i = 0; i < digitCount; ++i)
            put(digits[i]);
    }
    if (length >= bufferSize)
        return -1;
    buffer[length] = '\0';
    return length;
}

double Math_ReadDouble(Math_Context* context, const char* text)
{
    const char separator = context->decimalSeparator;
    const char* p = text;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    const char* begin = p;
    bool separatorSeen = false;
    bool anyDigit = false;
    while ((*p >= '0' && *p <= '9') || (*p == separator && !separatorSeen)) {
        if (*p == separator)
            separatorSeen = true;
        else
            anyDigit = true;
        ++p;
    }
    if (!anyDigit)
        return 0.0;
    const size_t length = static_cast<size_t>(p - begin);
    char local[Math_OperandBufferSize + 1];
    char* copy = local;
    if (separator != '.' || length > Math_OperandBufferSize) {
        if (length > Math_OperandBufferSize) {
            copy = static_cast<char*>(std::malloc(length + 1));
            if (copy == nullptr)
                return 0.0;
        }
        std::memcpy(copy, begin, length);
        if (separatorSeen)
            for (size_t i = 0; i < length; ++i)
                if (copy[i] == separator)
                    copy[i] = '.';
        begin = copy;
    }
    double value = 0.0;
    const std::from_chars_result read = std::from_chars(begin, begin + length, value, std::chars_format::fixed);
    if (read.ec == std::errc::result_out_of_range) {
        // Like atof: too large gives infinity, too small gives zero.
        bool large = false;
        for (size_t i = 0; i < length && begin[i] != '.'; ++i)
            if (begin[i] != '0')
                large = true;
        value = large ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (read.ec != std::errc()) {
        value = 0.0;
    }
    if (copy != local)
        std::free(copy);
    return negative ? -value : value;
}

Int32 Math_ReadLong(const char* text)
{
    const char* p = text;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // A 32-bit long, saturated on overflow.
    Int64 magnitude = 0;
    const Int64 limit = negative ? 2147483648LL : 2147483647LL;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<Int32>(negative ? -magnitude : magnitude);
}

Int32 Math_TruncateToInt32(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return std::numeric_limits<Int32>::min();
    return static_cast<Int32>(value);
}

Int64 Math_TruncateToInt64(double value)
{
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
        return std::numeric_limits<Int64>::min();
    return static_cast<Int64>(value);
}
