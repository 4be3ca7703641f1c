// The evaluator's context, its errors, tracing and the entry point.
#include "Formula/MathInternal.hpp"

#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

void Math_InitContext(Math_Context* context)
{
    if (context == nullptr)
        return;
    context->trace = false;
    context->precision = 16;
    // The separators are taken once: numbers are written into the text and read back with them.
    const struct lconv* conventions = std::localeconv();
    const char* point = (conventions != nullptr && conventions->decimal_point != nullptr) ? conventions->decimal_point : ".";
    context->decimalSeparator = point[0] != '\0' ? point[0] : '.';
    context->argumentSeparator = std::strcmp(point, ".") == 0 ? ',' : ';';
    std::free(context->message);
    context->message = nullptr;
    context->code = Math_NoError;
    context->traceSink = nullptr;
}

Math_VariableResolver Math_SetVariableResolver(Math_Context* context, Math_VariableResolver resolver)
{
    Math_VariableResolver previous = context->variableResolver;
    context->variableResolver = resolver;
    return previous;
}

Math_FunctionResolver Math_SetFunctionResolver(Math_Context* context, Math_FunctionResolver resolver)
{
    Math_FunctionResolver previous = context->functionResolver;
    context->functionResolver = resolver;
    return previous;
}

bool Math_SetTrace(Math_Context* context, bool trace)
{
    const bool previous = context->trace;
    context->trace = trace;
    return previous;
}

void Math_ClearError(Math_Context* context)
{
    if (context == nullptr)
        return;
    std::free(context->message);
    context->message = nullptr;
    context->code = Math_NoError;
}

Math_Error Math_SetError(Math_Context* context, Int32 code, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    char* message = nullptr;
    if (needed >= 0) {
        message = static_cast<char*>(std::malloc(static_cast<size_t>(needed) + 1));
        if (message != nullptr)
            std::vsnprintf(message, static_cast<size_t>(needed) + 1, format, args);
    }
    va_end(args);
    std::free(context->message);
    context->message = message;
    context->code = code;
    if (context->trace)
        Math_Trace(context, "\t%s\n", message != nullptr ? message : "");
    return code;
}

void Math_Trace(Math_Context* context, const char* format, ...)
{
    // Lines longer than the buffer are cut.
    char line[Math_TraceBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (context->traceSink != nullptr)
        context->traceSink(context, line);
    else
        std::fputs(line, stdout);
}

void Math_TraceNumber(Math_Context* context, double value, char* buffer, Int32 bufferSize)
{
    if (Math_WriteFixed(value, 4, context->decimalSeparator, buffer, bufferSize) < 0)
        std::snprintf(buffer, static_cast<size_t>(bufferSize), "%s", std::isnan(value) ? "nan" : "inf");
}

Math_Error Math_Reserve(Math_Context* context, Math_Expression* expression, Int32 capacity)
{
    if (capacity <= expression->capacity)
        return Math_NoError;
    // At least doubled, so that a text growing step by step is not copied at every step; a first
    // allocation has room for a typical formula with its values.
    const Int32 doubled = expression->capacity == 0 ? 64
                          : expression->capacity < 0x3FFFFFFF ? 2 * expression->capacity : 0x7FFFFFFF;
    char* grown = nullptr;
    if (doubled > capacity) {
        grown = static_cast<char*>(std::realloc(expression->text, static_cast<size_t>(doubled)));
        if (grown != nullptr)
            capacity = doubled;
    }
    if (grown == nullptr)
        grown = static_cast<char*>(std::realloc(expression->text, static_cast<size_t>(capacity)));
    if (grown == nullptr)
        return Math_SetError(context, Math_ErrMemory, "Memory allocation error.");
    std::memset(grown + expression->capacity, 0, static_cast<size_t>(capacity - expression->capacity));
    expression->text = grown;
    expression->capacity = capacity;
    return Math_NoError;
}

void Math_Release(Math_Expression* expression)
{
    std::free(expression->text);
    expression->text = nullptr;
    expression->length = 0;
    expression->capacity = 0;
}

Int32 Math_FormatDouble(Math_Context* context, double value, char* buffer, Int32 bufferSize, double* readBack)
{
    if (readBack != nullptr)
        *readBack = std::numeric_limits<double>::quiet_NaN();
    if (bufferSize < 2)
        return -1;
    if (value == 0.0) {
        buffer[0] = '0';
        buffer[1] = '\0';
        return 1;
    }
    // Fixed point with the precision's fraction digits; trailing zeros go, one digit stays after the
    // separator.
    Int32 length =
        Math_WriteFixed(value, context->precision, context->decimalSeparator, buffer, bufferSize, readBack);
    if (length < 0)
        return -1;
    // A fixed-point text ends with exactly that many digits after its separator.
    if (context->precision == 0)
        return length;
    const Int32 lastKept = length - context->precision;
    while (length - 1 > lastKept && buffer[length - 1] == '0')
        --length;
    buffer[length] = '\0';
    return length;
}

Math_Error Math_EvaluateText(Math_Context* context, const char* text, Int32 length, Int32 depth, double* value)
{
    if (context->trace) {
        if (context->traceSink != nullptr)
            Math_Trace(context, "\"%.*s\" = {\n", static_cast<int>(length), text);
        else
            Math_Trace(context, "(%.*s) = {\n", static_cast<int>(length), text);
    }
    Math_WrittenNumbers numbers;
    Math_Expression expression;
    expression.numbers = &numbers;
    Math_Error code = Math_Substitute(context, &expression, text, length, depth);
    if (code == Math_NoError)
        code = Math_ReduceParentheses(context, &expression);
    if (code == Math_NoError && value != nullptr)
        *value = expression.value;
    Math_Release(&expression);
    if (context->trace) {
        char number[Math_OperandBufferSize];
        Math_TraceNumber(context, expression.value, number, sizeof number);
        Math_Trace(context, "} = %s\n", number);
    }
    return code;
}

Math_Error Math_Evaluate(Math_Context* context, const char* expression, double* result)
{
    if (context == nullptr)
        return Math_ErrInvalidToken;
    if (expression == nullptr)
        expression = "";
    const size_t length = std::strlen(expression);
    // The positions in the working text are 32-bit.
    if (length > 0x3FFFFFFF)
        return Math_SetError(context, Math_ErrMemory, "Memory allocation error.");
    return Math_EvaluateText(context, expression, static_cast<Int32>(length), 0, result);
}
