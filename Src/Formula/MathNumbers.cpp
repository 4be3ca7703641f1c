// Numbers in the working text. They are written and read with the context's decimal
// separator only, so the C library's locale never changes a result.
#include "Formula/MathInternal.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr UInt64 kPowersOfTen[] = {1ULL,
                                   10ULL,
                                   100ULL,
                                   1000ULL,
                                   10000ULL,
                                   100000ULL,
                                   1000000ULL,
                                   10000000ULL,
                                   100000000ULL,
                                   1000000000ULL,
                                   10000000000ULL,
                                   100000000000ULL,
                                   1000000000000ULL,
                                   10000000000000ULL,
                                   100000000000000ULL,
                                   1000000000000000ULL,
                                   10000000000000000ULL,
                                   100000000000000000ULL,
                                   1000000000000000000ULL,
                                   10000000000000000000ULL};
constexpr Int32 kMaxScaledDecimals = 19;
// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr Int32 kMaxExactPower = 22;
constexpr UInt64 kMaxExactInteger = 1ULL << 53;

// |value| times 10^decimals rounded half to even, as fixed-point printing rounds: exactly, in 128
// bits, for |value| below 2^63 and up to 19 decimals. False outside that range.
bool ScaleExactly(double value, Int32 decimals, unsigned __int128* scaled)
{
    if (decimals < 0 || decimals > kMaxScaledDecimals)
        return false;
    UInt64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    UInt64 mantissa = bits & ((1ULL << 52) - 1);
    int exponent = -1074;
    if (biased != 0) {
        mantissa |= 1ULL << 52;
        exponent = biased - 1075;
    }
    if (exponent > 10)
        return false;
    unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * kPowersOfTen[decimals];
    if (exponent >= 0) {
        *scaled = product << exponent;
        return true;
    }
    const int shift = -exponent;
    if (shift >= 128) {  // below half a unit of the last decimal
        *scaled = 0;
        return true;
    }
    const unsigned __int128 one = 1;
    const unsigned __int128 rest = product & ((one << shift) - 1);
    const unsigned __int128 half = one << (shift - 1);
    product >>= shift;
    if (rest > half || (rest == half && (product & 1) != 0))
        ++product;
    *scaled = product;
    return true;
}

const char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Exactly eight digits of a number below 10^8: four pairs, with short chains of divisions.
void WriteEightDigits(UInt32 number, char* out)
{
    const UInt32 high = number / 10000;
    const UInt32 low = number % 10000;
    std::memcpy(out, kDigitPairs + 2 * (high / 100), 2);
    std::memcpy(out + 2, kDigitPairs + 2 * (high % 100), 2);
    std::memcpy(out + 4, kDigitPairs + 2 * (low / 100), 2);
    std::memcpy(out + 6, kDigitPairs + 2 * (low % 100), 2);
}

// The last count digits of number, with leading zeros, eight at a time where it can.
void WriteDigits(UInt64 number, Int32 count, char* out)
{
    char* end = out + count;
    for (; count >= 8; count -= 8) {
        end -= 8;
        WriteEightDigits(static_cast<UInt32>(number % 100000000), end);
        number /= 100000000;
    }
    for (; count > 0; --count) {
        *--end = static_cast<char>('0' + number % 10);
        number /= 10;
    }
}

// The first count significant digits of a value, rounded as scientific printing rounds, and the
// decimal exponent of the first: exactly, when those digits end at one of the first 19 decimals.
// False otherwise (zero, more than 19 digits, magnitudes out of that range).
bool SignificantDigitsExactly(double value, Int32 count, UInt64* digits, int* exponent)
{
    if (value == 0.0 || count > kMaxScaledDecimals)
        return false;
    UInt64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int binaryExponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;  // |value| >= 2^binaryExponent
    // A first guess from the binary exponent; the checks below correct it by one where needed.
    int decimals = count - 1 - static_cast<int>(std::floor(binaryExponent * 0.30102999566398120));
    for (int attempt = 0; attempt < 3; ++attempt) {
        unsigned __int128 scaled = 0;
        if (!ScaleExactly(value, decimals, &scaled))
            return false;
        if (scaled >= kPowersOfTen[count]) {
            --decimals;
        } else if (scaled < kPowersOfTen[count - 1]) {
            ++decimals;
        } else {
            *digits = static_cast<UInt64>(scaled);
            *exponent = count - 1 - decimals;
            return true;
        }
    }
    return false;
}

// The text of Math_WriteFixed from the exact scaled value; the length, or -1 when they do not fit.
Int32 WriteScaled(unsigned __int128 scaled, bool negative, Int32 decimals, char separator, char* buffer,
                  Int32 bufferSize)
{
    UInt64 whole = 0, fraction = 0;
    if ((scaled >> 64) == 0) {
        // The evaluator's two fixed formats divide by a constant, which needs no division instruction.
        const UInt64 small = static_cast<UInt64>(scaled);
        if (decimals == 16) {
            whole = small / 10000000000000000ULL;
            fraction = small % 10000000000000000ULL;
        } else if (decimals == 8) {
            whole = small / 100000000;
            fraction = small % 100000000;
        } else {
            whole = small / kPowersOfTen[decimals];
            fraction = small % kPowersOfTen[decimals];
        }
    } else {
        whole = static_cast<UInt64>(scaled / kPowersOfTen[decimals]);
        fraction = static_cast<UInt64>(scaled % kPowersOfTen[decimals]);
    }
    char digits[20];
    const Int32 wholeLength = static_cast<Int32>(std::to_chars(digits, digits + sizeof digits, whole).ptr - digits);
    const Int32 length = (negative ? 1 : 0) + wholeLength + (decimals > 0 ? 1 + decimals : 0);
    if (length > bufferSize - 1)
        return -1;
    char* p = buffer;
    if (negative)
        *p++ = '-';
    std::memcpy(p, digits, static_cast<size_t>(wholeLength));
    p += wholeLength;
    if (decimals > 0) {
        *p++ = separator;
        WriteDigits(fraction, decimals, p);
        p += decimals;
    }
    *p = '\0';
    return length;
}

}  // namespace

Int32 Math_WriteFixed(double value, Int32 decimals, char separator, char* buffer, Int32 bufferSize, double* readBack)
{
    if (readBack != nullptr)
        *readBack = std::numeric_limits<double>::quiet_NaN();
    if (bufferSize < 2 || !std::isfinite(value))
        return -1;
    const bool negative = std::signbit(value);
    unsigned __int128 scaled = 0;
    const bool exact = ScaleExactly(value, decimals, &scaled);
    Int32 length = -1;
    if (exact) {
        length = WriteScaled(scaled, negative, decimals, separator, buffer, bufferSize);
    } else {
        // to_chars with a precision gives exactly the digits of printf's "%.*f".
        const std::to_chars_result written =
            std::to_chars(buffer, buffer + bufferSize - 1, value, std::chars_format::fixed, decimals);
        if (written.ec == std::errc()) {
            *written.ptr = '\0';
            length = static_cast<Int32>(written.ptr - buffer);
            char* point = static_cast<char*>(std::memchr(buffer, '.', static_cast<size_t>(length)));
            if (point != nullptr)
                *point = separator;
        }
    }
    if (length < 0 || readBack == nullptr)
        return length;
    // An integer up to 2^53 over an exact power of ten is read as one correctly rounded division. With
    // 16 decimals or more the text is within 5e-17 of the value, less than half the gap between doubles
    // from 0.5 on: the value reads back unchanged.
    double magnitude = std::numeric_limits<double>::quiet_NaN();
    if (exact && scaled <= kMaxExactInteger && decimals <= kMaxExactPower)
        magnitude = static_cast<double>(static_cast<UInt64>(scaled)) / kExactPowersOfTen[decimals];
    else if (decimals >= 16 && std::fabs(value) >= 0.5)
        magnitude = std::fabs(value);
    *readBack = negative ? -magnitude : magnitude;
    return length;
}

Int32 Math_WriteSignificant(Math_Context* context, double value, char* buffer, Int32 bufferSize)
{
    if (bufferSize < 2 || !std::isfinite(value))
        return -1;
    const int precision = context->precision > 0 ? context->precision : 1;
    // The digits of "%.*g", but laid out without an exponent so that the operand scan can read them.
    const bool negative = std::signbit(value);
    char digits[320];
    Int32 digitCount = 0;
    int exponent = 0;
    UInt64 significand = 0;
    if (SignificantDigitsExactly(value, precision, &significand, &exponent)) {
        digitCount = precision;
        WriteDigits(significand, digitCount, digits);
    } else {
        char scientific[320];
        const std::to_chars_result converted = std::to_chars(scientific, scientific + sizeof scientific - 1, value,
                                                             std::chars_format::scientific, precision - 1);
        if (converted.ec != std::errc())
            return -1;
        *converted.ptr = '\0';
        const char* p = scientific + (negative ? 1 : 0);
        for (; *p != '\0' && *p != 'e'; ++p) {
            if (*p >= '0' && *p <= '9')
                digits[digitCount++] = *p;
        }
        exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    }
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
    UInt64 significand = 0;  // the first 19 significant digits
    Int32 significantDigits = 0;
    Int32 decimals = 0;
    while ((*p >= '0' && *p <= '9') || (*p == separator && !separatorSeen)) {
        if (*p == separator) {
            separatorSeen = true;
        } else {
            anyDigit = true;
            decimals += separatorSeen ? 1 : 0;
            if ((significand != 0 || *p != '0') && ++significantDigits <= 19)
                significand = significand * 10 + static_cast<UInt64>(*p - '0');
        }
        ++p;
    }
    if (!anyDigit)
        return 0.0;
    if (significantDigits <= 19 && significand <= kMaxExactInteger && decimals <= kMaxExactPower) {
        // Both exact as doubles: one correctly rounded division gives the nearest double, as a full read does.
        const double magnitude = static_cast<double>(significand) / kExactPowersOfTen[decimals];
        return negative ? -magnitude : magnitude;
    }
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

double Math_ReadNumber(Math_Context* context, const Math_WrittenNumbers* numbers, const char* text, Int32 length)
{
    if (numbers != nullptr) {
        // A sign reads as the sign of what follows it.
        const Int32 sign = length > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
        const size_t digits = static_cast<size_t>(length - sign);
        const char* key = text + sign;
        for (Int32 i = 0; i < numbers->count; ++i) {
            // Entries are never empty; most that differ already differ in their first or last digit.
            const char* entry = numbers->text[i];
            if (static_cast<size_t>(numbers->length[i]) == digits && entry[0] == key[0] &&
                entry[digits - 1] == key[digits - 1] && std::memcmp(entry, key, digits) == 0)
                return text[0] == '-' ? -numbers->value[i] : numbers->value[i];
        }
    }
    return Math_ReadDouble(context, text);
}

void Math_RememberNumber(Math_WrittenNumbers* numbers, const char* text, Int32 length, double readBack)
{
    if (numbers == nullptr || std::isnan(readBack))
        return;
    if (length > 0 && text[0] == '-') {
        ++text;
        --length;
        readBack = -readBack;
    }
    if (length <= 0 || length > Math_WrittenNumbers::MaxLength)
        return;
    const Int32 entry = numbers->next;
    numbers->next = (entry + 1) % Math_WrittenNumbers::Capacity;
    if (numbers->count < Math_WrittenNumbers::Capacity)
        ++numbers->count;
    std::memcpy(numbers->text[entry], text, static_cast<size_t>(length));
    numbers->length[entry] = length;
    numbers->value[entry] = readBack;
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
