#pragma once
// The formula evaluator: plain Math_ functions over a Math_Context. It rewrites the
// expression text: names and calls become numbers, then parenthesised groups, then
// operators, each result written back into the text.
//
// Typical use (a caller that needs more state puts the Math_Context first in its record):
//     Math_Context context;
//     Math_InitContext(&context);
//     Math_SetVariableResolver(&context, MyVariables);
//     Math_SetFunctionResolver(&context, MyFunctions);   // optional
//     double value = 0.0;
//     if (Math_Evaluate(&context, "Volume*1.05-Area*0.02", &value) != Math_NoError)
//         use context.message;
//     Math_ClearError(&context);
#include "GSRoot/Definitions.hpp"

struct Math_Context;

// Result codes of the evaluator (Math_Error).
using Math_Error = Int32;
constexpr Math_Error Math_NoError = 0;
constexpr Math_Error Math_ErrNotFinite = 1;
constexpr Math_Error Math_ErrMissingOperator = 2;
constexpr Math_Error Math_ErrArithmetic = 3;
constexpr Math_Error Math_ErrInvalidToken = 4;
constexpr Math_Error Math_ErrIntegerToText = 7;
constexpr Math_Error Math_ErrDoubleToText = 8;
constexpr Math_Error Math_ErrMissingOperand = 9;
constexpr Math_Error Math_ErrParentheses = 10;
constexpr Math_Error Math_ErrMemory = 11;

// Kinds of a function argument.
constexpr UInt32 Math_NumberParameter = 0;
constexpr UInt32 Math_TextParameter = 1;

// One argument of a function call. The text belongs to the evaluator and lives until the
// evaluation that made it ends.
struct Math_Parameter {
    UInt32 kind;   // Math_NumberParameter or Math_TextParameter
    char* text;    // text arguments: the argument without its first and last character
    double value;  // number arguments: the argument's value (0.0 for texts)
};

// Answers the value of a name that is not followed by "("; reserved is always 0.
typedef bool (*Math_VariableResolver)(Math_Context* context, const char* name, double* value, Int32 reserved);
// Answers a call of a function that is not built in.
typedef bool (*Math_FunctionResolver)(Math_Context* context, const char* name, Math_Parameter* parameters,
                                      Int32 count, double* value);
// Receives each trace line.
typedef void (*Math_TraceSink)(Math_Context* context, const char* line);

// A plain record: it owns its message, so it is not copied while it holds one.
struct Math_Context {
    bool trace = false;
    UInt8 precision = 16;         // significant digits of a group's value written back
    char decimalSeparator = '.';  // from the locale in force at Math_InitContext
    char argumentSeparator = ',';
    char* message = nullptr;      // last error's message, owned
    Int32 code = 0;               // last error's code
    Math_VariableResolver variableResolver = nullptr;
    Math_FunctionResolver functionResolver = nullptr;
    Math_TraceSink traceSink = nullptr;  // none: trace lines go to the standard output
};

// Trace off, precision 16, separators from the process locale in force, no message, code 0,
// no trace sink. The resolvers are left as they are.
void Math_InitContext(Math_Context* context);
Math_VariableResolver Math_SetVariableResolver(Math_Context* context, Math_VariableResolver resolver);
Math_FunctionResolver Math_SetFunctionResolver(Math_Context* context, Math_FunctionResolver resolver);
bool Math_SetTrace(Math_Context* context, bool trace);
// 0 and the value in *result, or an error code with the message in the context (*result unchanged).
// The expression is UTF-8 text; an earlier error is not cleared.
Math_Error Math_Evaluate(Math_Context* context, const char* expression, double* result);
void Math_ClearError(Math_Context* context);
