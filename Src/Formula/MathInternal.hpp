#pragma once
// The evaluator's passes and helpers, shared by its sources and its tests.
#include "Formula/MathEvaluator.hpp"

// Numbers written into the working texts of one evaluation, with the value each reads back as, so
// that they need not be read again. Kept by their text, so no splice can make an entry wrong.
struct Math_WrittenNumbers {
    static constexpr Int32 Capacity = 8;
    static constexpr Int32 MaxLength = 32;
    char text[Capacity][MaxLength];  // without a sign
    Int32 length[Capacity];
    double value[Capacity];
    Int32 count = 0;
    Int32 next = 0;  // the entry replaced next
};

// The working text of one evaluation.
struct Math_Expression {
    char* text = nullptr;  // always terminated once allocated
    Int32 length = 0;
    Int32 capacity = 0;
    double value = 0.0;
    Math_WrittenNumbers* numbers = nullptr;  // none: every number is read from the text
};

// Fixed limits of the working texts.
constexpr Int32 Math_NameBufferSize = 128;      // names of at most 127 characters
constexpr Int32 Math_ValueBufferSize = 64;      // a value written with 8 decimals
constexpr Int32 Math_ArgumentBufferSize = 1024; // one argument while collected
constexpr Int32 Math_OperandBufferSize = 349;   // one operand, or one operator's result
constexpr Int32 Math_TraceBufferSize = 1722;
// Calls nested inside calls; deeper input is refused rather than exhausting the stack.
constexpr Int32 Math_MaxCallDepth = 200;

// Outcome of Math_ApplyOperator for a "-" without a left operand: it is a sign.
constexpr Math_Error Math_SignOutcome = -1;

// Context and text helpers.
Math_Error Math_SetError(Math_Context* context, Int32 code, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void Math_Trace(Math_Context* context, const char* format, ...) __attribute__((format(printf, 2, 3)));
// A number of a trace line: "%.4f" with the context's separator.
void Math_TraceNumber(Math_Context* context, double value, char* buffer, Int32 bufferSize);
Int32 Math_FormatDouble(Math_Context* context, double value, char* buffer, Int32 bufferSize,
                        double* readBack = nullptr);
Math_Error Math_Reserve(Math_Context* context, Math_Expression* expression, Int32 capacity);
void Math_Release(Math_Expression* expression);
Math_Error Math_EvaluateText(Math_Context* context, const char* text, Int32 length, Int32 depth, double* value);

// Number texts. All use the context's decimal separator and never the C library's locale.
// Writes value with a fixed number of decimals; the length, or -1 when it does not fit or is not finite.
// readBack, when given, receives what Math_ReadDouble reads from the text when that is known without
// reading it, otherwise NaN.
Int32 Math_WriteFixed(double value, Int32 decimals, char separator, char* buffer, Int32 bufferSize,
                      double* readBack = nullptr);
// Writes value with the context's precision as significant digits, never with an exponent.
Int32 Math_WriteSignificant(Math_Context* context, double value, char* buffer, Int32 bufferSize);
// Reads the longest leading number (sign, digits, one separator, digits) as the C library's atof does.
double Math_ReadDouble(Math_Context* context, const char* text);
// Math_ReadDouble of an operand's text, taken from the numbers already written when it is one of them.
double Math_ReadNumber(Math_Context* context, const Math_WrittenNumbers* numbers, const char* text, Int32 length);
// Keeps a number written into a working text with the value it reads back as (not kept when NaN).
void Math_RememberNumber(Math_WrittenNumbers* numbers, const char* text, Int32 length, double readBack);
// Reads the leading integer as a 32-bit atol does: saturated at the 32-bit limits.
Int32 Math_ReadLong(const char* text);
// Conversions toward zero as the host's 64-bit processor does them: NaN and values out of range
// give the smallest integer.
Int32 Math_TruncateToInt32(double value);
Int64 Math_TruncateToInt64(double value);
inline bool Math_IsOperatorChar(char c)
{
    switch (c) {
        case '!': case '%': case '&': case '*': case '+': case '-': case '/':
        case '<': case '=': case '>': case '^': case '|': case '~':
            return true;
        default:
            return false;
    }
}
inline bool Math_IsBlank(char c)
{
    return c == 0 || c == 9 || c == 10 || c == 13 || c == 32;
}
inline bool Math_IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Pass 1: names and function calls.
Math_Error Math_Substitute(Math_Context* context, Math_Expression* out, const char* text, Int32 length,
                           Int32 depth = 0);
Math_Error Math_ParseArguments(Math_Context* context, const char* text, Int32 length, Int32* index,
                               Math_Parameter** parameters, Int32* count, Int32 depth = 0);
Math_Error Math_CallBuiltin(Math_Context* context, const char* name, Math_Parameter* parameters, Int32 count,
                            double* value);
bool Math_IsBuiltinName(const char* name, Int32 length);
void Math_FreeParameters(Math_Parameter* parameters, Int32 count);

// Passes 2 and 3: parentheses and operators.
Math_Error Math_ReduceParentheses(Math_Context* context, Math_Expression* expression);
Math_Error Math_EvaluateFlat(Math_Context* context, Math_Expression* result, Math_Expression* text);
// resultEnd, when given, receives the index just after the text written for the result.
Math_Error Math_ApplyOperator(Math_Context* context, Math_Expression* result, Math_Expression* text,
                              const char* op, Int32 index, Int32 opLength, Int32* resultEnd = nullptr);
Int32 Math_FindNotOperator(Math_Context* context, const Math_Expression* text);
Int32 Math_FindMulOperator(Math_Context* context, const Math_Expression* text, Int32 start = 1);
Int32 Math_FindText(Math_Context* context, const char* pattern, const char* text, Int32 length, Int32 start);
Math_Error Math_ReadLeftOperand(Math_Context* context, const Math_Expression* text, Int32 index, char* buffer,
                                Int32 bufferSize, Int32* length, Int32* boundary);
Math_Error Math_ReadRightOperand(Math_Context* context, const Math_Expression* text, Int32 index, char* buffer,
                                 Int32 bufferSize, Int32* length, Int32* boundary);
bool Math_IsNumber(Math_Context* context, const char* text, Int32 length);
Math_Error Math_BinaryOperator(Math_Context* context, Math_Expression* result, double left, const char* op,
                               double right);
Math_Error Math_IntegerOperator(Math_Context* context, Math_Expression* result, Int32 left, const char* op,
                                Int32 right);
Math_Error Math_LogicalNot(Math_Context* context, Math_Expression* result, Int32 operand, const char* op);
Math_Error Math_Splice(Math_Context* context, Math_Expression* text, Int32 start, Int32 end, const char* newText,
                       Int32 newLength);
// Splices a value over [start, end); a negative value folds into a sign written just before it
// that has no left operand, so -P and 3*-(0-2) keep their meaning.
Math_Error Math_SpliceValue(Math_Context* context, Math_Expression* text, Int32 start, Int32 end,
                            const char* value, Int32 valueLength);
