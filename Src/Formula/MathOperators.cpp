// Passes 2 and 3: the innermost parenthesised group is evaluated and written back until none is
// left; a text without parentheses is evaluated one operator at a time, each result written back.
#include "Formula/MathInternal.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Characters that end an operand in either direction.
bool EndsOperand(char c)
{
    switch (c) {
        case '*': case '/': case '!': case '%': case '&': case '<':
        case '=': case '>': case '^': case '|': case '~':
            return true;
        default:
            return false;
    }
}

// Comparison and logic operators, exhausted one after the other in this order.
const char* const kTableOperators[] = {"<>", "|=", "&=", "^=", "<=", ">=", "!=", "<<", ">>",
                                       "=",  ">",  "<",  "&&", "||", "|",  "&",  "^"};

// A bit for each character that begins an operator of the table, none for the others.
UInt32 TableCharBit(char c)
{
    switch (c) {
        case '<': return 1;
        case '>': return 2;
        case '|': return 4;
        case '&': return 8;
        case '^': return 16;
        case '=': return 32;
        case '!': return 64;
        default: return 0;
    }
}

// strcmp(op, name) == 0, without a call for the one or two characters of an operator.
bool Is(const char* op, const char* name)
{
    return op[0] == name[0] &&
           (name[0] == '\0' || (op[1] == name[1] && (name[1] == '\0' || std::strcmp(op + 2, name + 2) == 0)));
}

Math_Error OperandTooLong(Math_Context* context)
{
    return Math_SetError(context, Math_ErrInvalidToken, "Operand length limit exceeded.");
}

}  // namespace

Math_Error Math_Splice(Math_Context* context, Math_Expression* text, Int32 start, Int32 end, const char* newText,
                       Int32 newLength)
{
    const Int64 length = static_cast<Int64>(text->length) - (end - start) + newLength;
    if (length >= 0x7FFFFFFF)
        return Math_SetError(context, Math_ErrMemory, "Memory allocation error.");
    if (length >= text->capacity) {
        const Math_Error code = Math_Reserve(context, text, static_cast<Int32>(length) + 1);
        if (code != Math_NoError)
            return code;
    }
    std::memmove(text->text + start + newLength, text->text + end, static_cast<size_t>(text->length - end));
    if (newLength > 0)
        std::memcpy(text->text + start, newText, static_cast<size_t>(newLength));
    text->length = static_cast<Int32>(length);
    text->text[text->length] = '\0';
    return Math_NoError;
}

Math_Error Math_SpliceValue(Math_Context* context, Math_Expression* text, Int32 start, Int32 end, const char* value,
                            Int32 valueLength)
{
    Int32 from = start;
    while (valueLength > 0 && value[0] == '-' && from >= 1 &&
           (text->text[from - 1] == '-' || text->text[from - 1] == '+')) {
        const Int32 signAt = from - 1;
        const char sign = text->text[signAt];
        const char before = signAt >= 1 ? text->text[signAt - 1] : '\0';
        // After an operand the sign is a binary operator, whose right operand takes the value's
        // sign as it stands; folding it there would give the wrong operand to a tighter operator
        // (1-P!3 with P = -5).
        if (Math_IsDigit(before) || before == context->decimalSeparator || before == ')')
            break;
        // At the start, after an operator or "(": the pair becomes the value's own sign.
        from = signAt;
        if (sign == '-') {
            ++value;
            --valueLength;
            break;
        }
        // "+" and a negative value leave the value's "-", which may meet another sign before it.
    }
    return Math_Splice(context, text, from, end, value, valueLength);
}

Int32 Math_FindText(Math_Context*, const char* pattern, const char* text, Int32 length, Int32 start)
{
    const Int32 patternLength = static_cast<Int32>(std::strlen(pattern));
    if (start > length || patternLength > length)
        return -2;
    if (patternLength == 0)
        return start < 0 ? 0 : start;
    const char* end = text + length - patternLength + 1;
    for (const char* p = text + (start < 0 ? 0 : start); p < end;) {
        p = static_cast<const char*>(std::memchr(p, pattern[0], static_cast<size_t>(end - p)));
        if (p == nullptr)
            return -1;
        if (std::memcmp(p + 1, pattern + 1, static_cast<size_t>(patternLength - 1)) == 0)
            return static_cast<Int32>(p - text);
        ++p;
    }
    return -1;
}

Int32 Math_FindNotOperator(Math_Context*, const Math_Expression* text)
{
    if (text->length < 2)
        return -1;
    const char* t = text->text;
    const char* last = t + text->length - 1;  // a "!" there has no operand
    for (const char* p = t; p < last; ++p) {
        p = static_cast<const char*>(std::memchr(p, '!', static_cast<size_t>(last - p)));
        if (p == nullptr)
            break;
        if (p[1] != '=')
            return static_cast<Int32>(p - t);
    }
    return -1;
}

Int32 Math_FindMulOperator(Math_Context*, const Math_Expression* text, Int32 start)
{
    const char* t = text->text;
    for (Int32 i = start > 1 ? start : 1, length = text->length; i < length; ++i) {
        const char c = t[i];
        if (c == '*' || c == '/' || c == '%' || c == '~')
            return i;
    }
    return 0;
}

Math_Error Math_ReadLeftOperand(Math_Context* context, const Math_Expression* text, Int32 index, char* buffer,
                                Int32 bufferSize, Int32* length, Int32* boundary)
{
    const char* t = text->text;
    const char separator = context->decimalSeparator;
    Int32 pos = index - 1;
    for (; pos >= 0; --pos) {
        const char c = t[pos];
        if (Math_IsDigit(c) || c == separator) {
        } else if (c == '+' || c == '-') {
            // A sign when nothing or an operator stands before it; a typed run of signs is taken
            // whole and reads as 0, as atof reads it.
            if (pos != 0 && !Math_IsOperatorChar(t[pos - 1]))
                break;
        } else if (EndsOperand(c)) {
            break;
        } else {
            return Math_SetError(context, Math_ErrInvalidToken, "Token is invalid: %c", c);
        }
        if (index - 1 - pos >= bufferSize - 1)
            return OperandTooLong(context);
    }
    const Int32 taken = index - 1 - pos;
    *boundary = pos + 1;
    *length = taken;
    std::memcpy(buffer, t + pos + 1, static_cast<size_t>(taken));
    buffer[taken] = '\0';
    return Math_NoError;
}

Math_Error Math_ReadRightOperand(Math_Context* context, const Math_Expression* text, Int32 index, char* buffer,
                                 Int32 bufferSize, Int32* length, Int32* boundary)
{
    const char* t = text->text;
    const char separator = context->decimalSeparator;
    Int32 pos = index;
    for (const Int32 end = text->length; pos < end;) {
        const char c = t[pos];
        if (Math_IsDigit(c) || c == separator || ((c == '+' || c == '-') && pos == index)) {
            if (pos - index >= bufferSize - 1)
                return OperandTooLong(context);
            ++pos;
            continue;
        }
        if (c == '+' || c == '-' || EndsOperand(c))
            break;
        return Math_SetError(context, Math_ErrInvalidToken, "Token is invalid: %c", c);
    }
    *boundary = pos;
    *length = pos - index;
    std::memcpy(buffer, t + index, static_cast<size_t>(pos - index));
    buffer[pos - index] = '\0';
    return Math_NoError;
}

bool Math_IsNumber(Math_Context* context, const char* text, Int32 length)
{
    if (length <= 0)
        return false;
    Int32 i = 0;
    bool leadingMinus = false;
    if (text[0] == '+' || text[0] == '-') {
        leadingMinus = text[0] == '-';
        i = 1;
    }
    bool separatorSeen = false;
    for (; i < length; ++i) {
        const char c = text[i];
        if (Math_IsDigit(c))
            continue;
        if (c != context->decimalSeparator || separatorSeen || i == 0 || i == length - 1 || (leadingMinus && i == 1))
            return false;
        separatorSeen = true;
    }
    return true;
}

Math_Error Math_IntegerOperator(Math_Context* context, Math_Expression* result, Int32 left, const char* op, Int32 right)
{
    const UInt32 l = static_cast<UInt32>(left);
    const UInt32 r = static_cast<UInt32>(right);
    Int32 value = 0;
    if (Is(op, "&") || Is(op, "&="))
        value = static_cast<Int32>(l & r);
    else if (Is(op, "|") || Is(op, "|="))
        value = static_cast<Int32>(l | r);
    else if (Is(op, "^") || Is(op, "^="))
        value = static_cast<Int32>(l ^ r);
    else if (Is(op, "~"))
        value = static_cast<Int32>(~r);
    else if (Is(op, "<<"))
        value = static_cast<Int32>(l << (r & 31u));
    else if (Is(op, ">>")) {
        // Arithmetic shift, spelled out so that it does not rest on the compiler.
        const UInt32 count = r & 31u;
        value = left < 0 ? static_cast<Int32>(~(~l >> count)) : static_cast<Int32>(l >> count);
    } else
        return Math_SetError(context, Math_ErrArithmetic, "Invalid operator: %s.", op);
    result->value = value;
    return Math_NoError;
}

Math_Error Math_LogicalNot(Math_Context*, Math_Expression* result, Int32 operand, const char*)
{
    result->value = operand == 0 ? 1.0 : 0.0;
    return Math_NoError;
}

Math_Error Math_BinaryOperator(Math_Context* context, Math_Expression* result, double left, const char* op,
                               double right)
{
    if (Is(op, "&") || Is(op, "&=") || Is(op, "|") || Is(op, "|=") || Is(op, "^") || Is(op, "^=") || Is(op, "<<") ||
        Is(op, ">>"))
        return Math_IntegerOperator(context, result, Math_TruncateToInt32(left), op, Math_TruncateToInt32(right));

    double value = 0.0;
    if (Is(op, "*"))
        value = left * right;
    else if (Is(op, "/")) {
        if (right == 0.0)
            return Math_SetError(context, Math_ErrArithmetic, "Divide by zero.");
        value = left / right;
    } else if (Is(op, "+"))
        value = left + right;
    else if (Is(op, "-"))
        value = left - right;
    else if (Is(op, "&&"))
        value = (left != 0.0 && right != 0.0) ? 1.0 : 0.0;
    else if (Is(op, "||"))
        value = (left != 0.0 || right != 0.0) ? 1.0 : 0.0;
    else if (Is(op, "="))
        value = left == right ? 1.0 : 0.0;
    else if (Is(op, ">"))
        value = left > right ? 1.0 : 0.0;
    else if (Is(op, "<"))
        value = left < right ? 1.0 : 0.0;
    else if (Is(op, ">="))
        value = left >= right ? 1.0 : 0.0;
    else if (Is(op, "<="))
        value = left <= right ? 1.0 : 0.0;
    else if (Is(op, "<>") || Is(op, "!=") || Is(op, "!"))
        value = left != right ? 1.0 : 0.0;
    else if (Is(op, "%")) {
        if (right == 0.0)
            return Math_SetError(context, Math_ErrArithmetic, "Mod by zero.");
        value = std::fmod(left, right);
    } else
        return Math_SetError(context, Math_ErrArithmetic, "Invalid operator: %s.", op);
    if (!std::isfinite(value))
        return Math_SetError(context, Math_ErrNotFinite, "Result of %s is infinite or not a number.", op);
    result->value = value;
    return Math_NoError;
}

Math_Error Math_ApplyOperator(Math_Context* context, Math_Expression* result, Math_Expression* text, const char* op,
                              Int32 index, Int32 opLength, Int32* resultEnd)
{
    char left[Math_OperandBufferSize];
    char right[Math_OperandBufferSize];
    char written[Math_OperandBufferSize];
    Int32 leftLength = 0, leftStart = index;
    Math_Error code = Math_ReadLeftOperand(context, text, index, left, sizeof left, &leftLength, &leftStart);
    if (code != Math_NoError)
        return code;
    Int32 rightLength = 0, rightEnd = index + opLength;

    if (leftLength == 0) {
        if (Is(op, "!") || Is(op, "~")) {
            code = Math_ReadRightOperand(context, text, index + opLength, right, sizeof right, &rightLength, &rightEnd);
            if (code != Math_NoError)
                return code;
            if (rightLength == 0)
                return Math_SetError(context, Math_ErrMissingOperand,
                                     "Value to the right of operator is missing or invalid.");
            const Int32 operand = Math_ReadLong(right);
            code = Is(op, "!") ? Math_LogicalNot(context, result, operand, op)
                               : Math_IntegerOperator(context, result, 0, op, operand);
            if (code != Math_NoError)
                return code;
            const std::to_chars_result converted =
                std::to_chars(written, written + sizeof written - 1, static_cast<Int32>(result->value));
            if (converted.ec != std::errc())
                return Math_SetError(context, Math_ErrIntegerToText, "Integer to text conversion failed.");
            *converted.ptr = '\0';
            const Int32 writtenLength = static_cast<Int32>(converted.ptr - written);
            if (context->trace)
                Math_Trace(context, "\t%s%s%s = %s\n", "", op, right, written);
            if (resultEnd != nullptr)
                *resultEnd = index + writtenLength;
            return Math_Splice(context, text, index, rightEnd, written, writtenLength);
        }
        if (Is(op, "-"))
            return Math_SignOutcome;
        return Math_SetError(context, Math_ErrInvalidToken, "Invalid token: %s", op);
    }

    code = Math_ReadRightOperand(context, text, index + opLength, right, sizeof right, &rightLength, &rightEnd);
    if (code != Math_NoError)
        return code;
    if (rightLength == 0)
        return Math_SetError(context, Math_ErrMissingOperand, "Value to the right of operator is missing or invalid.");
    const double l = Math_ReadNumber(context, text->numbers, left, leftLength);
    const double r = Math_ReadNumber(context, text->numbers, right, rightLength);
    code = Math_BinaryOperator(context, result, l, op, r);
    if (code != Math_NoError)
        return code;
    double readBack = 0.0;
    const Int32 writtenLength = Math_FormatDouble(context, result->value, written, sizeof written, &readBack);
    if (writtenLength < 1)
        return Math_SetError(context, Math_ErrDoubleToText, "Text->Double converion failed.");
    Math_RememberNumber(text->numbers, written, writtenLength, readBack);
    if (context->trace) {
        char a[Math_OperandBufferSize], b[Math_OperandBufferSize], c[Math_OperandBufferSize];
        Math_TraceNumber(context, l, a, sizeof a);
        Math_TraceNumber(context, r, b, sizeof b);
        Math_TraceNumber(context, result->value, c, sizeof c);
        Math_Trace(context, "\t(%s %s %s) = %s\n", a, op, b, c);
    }
    if (resultEnd != nullptr)
        *resultEnd = leftStart + writtenLength;
    return Math_Splice(context, text, leftStart, rightEnd, written, writtenLength);
}

Math_Error Math_EvaluateFlat(Math_Context* context, Math_Expression* result, Math_Expression* text)
{
    result->value = 0.0;
    Math_Error code = Math_NoError;
    char op[3] = {0, 0, 0};

    for (Int32 at; (at = Math_FindNotOperator(context, text)) >= 0;) {
        if ((code = Math_ApplyOperator(context, result, text, "!", at, 1)) != Math_NoError)
            return code;
    }

    // Before the end of the last result there is none left: the search goes on from there.
    for (Int32 at, from = 1; (at = Math_FindMulOperator(context, text, from)) > 0;) {
        op[0] = text->text[at];
        op[1] = '\0';
        if ((code = Math_ApplyOperator(context, result, text, op, at, 1, &from)) != Math_NoError)
            return code;
    }

    for (Int32 start = 1;;) {
        Int32 at = start;
        while (at < text->length && text->text[at] != '+' && text->text[at] != '-')
            ++at;
        if (at >= text->length)
            break;
        op[0] = text->text[at];
        op[1] = '\0';
        code = Math_ApplyOperator(context, result, text, op, at, 1);
        if (code == Math_SignOutcome) {
            start = at + 1;
            continue;
        }
        if (code != Math_NoError)
            return code;
    }

    // Results are written with digits, separators and signs only, so an operator character missing
    // now stays missing: the entries that begin with one are skipped, and most formulas skip them all.
    UInt32 present = 0;
    if (std::strpbrk(text->text, "<>|&^=!") != nullptr) {
        for (Int32 i = 0; i < text->length; ++i)
            present |= TableCharBit(text->text[i]);
    }
    for (const char* tableOp : kTableOperators) {
        if (present == 0)
            break;
        if ((present & TableCharBit(tableOp[0])) == 0)
            continue;
        const Int32 opLength = tableOp[1] == '\0' ? 1 : 2;
        for (Int32 at; (at = Math_FindText(context, tableOp, text->text, text->length, 0)) >= 1;) {
            code = Math_ApplyOperator(context, result, text, tableOp, at, opLength);
            if (code == Math_SignOutcome)
                break;
            if (code != Math_NoError)
                return code;
        }
    }

    double value = 0.0;
    if (Math_IsNumber(context, text->text, text->length)) {
        value = Math_ReadNumber(context, text->numbers, text->text, text->length);
    } else if (text->length > 1 && text->text[0] == '~' && Math_IsNumber(context, text->text + 1, text->length - 1)) {
        const double number = Math_ReadDouble(context, text->text + 1);
        if (context->trace) {
            char shown[Math_OperandBufferSize];
            Math_TraceNumber(context, number, shown, sizeof shown);
            Math_Trace(context, "\t%s = %s\n", text->text, shown);
        }
        value = static_cast<Int32>(~static_cast<UInt32>(Math_ReadLong(text->text + 1)));
    } else {
        return Math_SetError(context, Math_ErrInvalidToken, "Invalid token: %c", text->length > 0 ? text->text[0] : '\0');
    }
    // A number too long for a double reads as infinite.
    if (!std::isfinite(value))
        return Math_SetError(context, Math_ErrNotFinite, "Result is infinite or not a number.");
    result->value = value;
    return Math_NoError;
}

Math_Error Math_ReduceParentheses(Math_Context* context, Math_Expression* expression)
{
    if (expression->length > 0) {
        Int64 balance = 0;
        for (Int32 i = 0; i < expression->length; ++i) {
            if (expression->text[i] == '(')
                ++balance;
            else if (expression->text[i] == ')')
                --balance;
        }
        if (balance != 0)
            return Math_SetError(context, Math_ErrParentheses, "Parentheses mismatch.");
    }

    Math_Expression group;
    group.numbers = expression->numbers;
    Math_Error code = Math_NoError;
    for (;;) {
        const char* close = static_cast<const char*>(std::memchr(expression->text, ')', static_cast<size_t>(expression->length)));
        if (close == nullptr) {
            code = Math_EvaluateFlat(context, expression, expression);
            break;
        }
        const Int32 closeAt = static_cast<Int32>(close - expression->text);
        Int32 openAt = closeAt - 1;
        while (openAt >= 0 && expression->text[openAt] != '(')
            --openAt;
        if (openAt < 0) {
            code = Math_SetError(context, Math_ErrParentheses, "Parentheses mismatch.");
            break;
        }
        if (openAt > 0) {
            const char before = expression->text[openAt - 1];
            if (!Math_IsOperatorChar(before) && before != '(') {
                code = Math_SetError(context, Math_ErrMissingOperator, "Missing mathematical operator near: (.");
                break;
            }
        }
        if (closeAt < expression->length - 1) {
            const char after = expression->text[closeAt + 1];
            if (!Math_IsOperatorChar(after) && after != ')') {
                code = Math_SetError(context, Math_ErrMissingOperator, "Missing mathematical operator near: ).");
                break;
            }
        }
        const Int32 groupLength = closeAt - openAt - 1;
        if ((code = Math_Reserve(context, &group, groupLength + 1)) != Math_NoError)
            break;
        std::memcpy(group.text, expression->text + openAt + 1, static_cast<size_t>(groupLength));
        group.text[groupLength] = '\0';
        group.length = groupLength;
        if ((code = Math_EvaluateFlat(context, expression, &group)) != Math_NoError)
            break;
        char written[Math_OperandBufferSize];
        const Int32 writtenLength = Math_WriteSignificant(context, expression->value, written, sizeof written);
        if (writtenLength < 1) {
            code = Math_SetError(context, Math_ErrDoubleToText, "Text->Double converion failed.");
            break;
        }
        if ((code = Math_SpliceValue(context, expression, openAt, closeAt + 1, written, writtenLength)) != Math_NoError)
            break;
    }
    Math_Release(&group);
    return code;
}
