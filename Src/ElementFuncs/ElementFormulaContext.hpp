#pragma once
// The evaluator's context for one formula evaluated against one model element: variables are
// the element's named quantities, functions that are not built in go to the element's type.
// The evaluator state is the base, so the Math_Context pointer the evaluator hands back to the
// callbacks converts to the whole record with a static_cast.
#include "API/ApiElements.hpp"
#include "Formula/MathEvaluator.hpp"
#include "GSRoot/HashTable.hpp"
#include "GSRoot/UniString.hpp"

class ElementFormulaContext : public Math_Context {
public:
    ElementFormulaContext();
    ~ElementFormulaContext();
    ElementFormulaContext(const ElementFormulaContext&) = delete;
    ElementFormulaContext& operator=(const ElementFormulaContext&) = delete;

    // The first value given to a name wins.
    void SetVariable(GS::UniString name, double value);
    // The record stays the caller's and must outlive every evaluation on this context.
    void SetElement(const API_Element* element);

    static bool LookupVariable(Math_Context* context, const char* name, double* value, GS::Int32 reserved);
    static bool CallFunction(Math_Context* context, const char* name, Math_Parameter* parameters, GS::Int32 count,
                             double* value);

    const API_Element* element;
    GS::HashTable<GS::UniString, double> variables;

private:
    static ElementFormulaContext* From(Math_Context* context);
};
