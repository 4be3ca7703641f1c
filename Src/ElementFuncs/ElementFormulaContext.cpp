#include "ElementFuncs/ElementFormulaContext.hpp"

#include "ElementFuncs/ElementFuncsFactory.hpp"

ElementFormulaContext::ElementFormulaContext() : Math_Context(), element(nullptr)
{
    Math_InitContext(this);
    Math_SetVariableResolver(this, &ElementFormulaContext::LookupVariable);
    Math_SetFunctionResolver(this, &ElementFormulaContext::CallFunction);
}

ElementFormulaContext::~ElementFormulaContext()
{
    variables.Clear();
    Math_ClearError(this);
}

void ElementFormulaContext::SetVariable(GS::UniString name, double value)
{
    variables.Add(name, value);  // a name already present keeps its first value
}

void ElementFormulaContext::SetElement(const API_Element* newElement)
{
    element = newElement;
}

ElementFormulaContext* ElementFormulaContext::From(Math_Context* context)
{
    // The evaluator only ever hands back the context it was given: the base of one of ours.
    return static_cast<ElementFormulaContext*>(context);
}

bool ElementFormulaContext::LookupVariable(Math_Context* context, const char* name, double* value, GS::Int32)
{
    if (context == nullptr || name == nullptr || value == nullptr)
        return false;
    const double* found = From(context)->variables.GetPtr(GS::UniString(name, CC_Default));
    if (found == nullptr)
        return false;
    *value = *found;
    return true;
}

bool ElementFormulaContext::CallFunction(Math_Context* context, const char* name, Math_Parameter* parameters,
                                         GS::Int32 count, double* value)
{
    if (context == nullptr || name == nullptr || value == nullptr)
        return false;
    ElementFormulaContext* self = From(context);
    if (self->element == nullptr)
        return false;
    // The records refer to the evaluator's texts, which live until the evaluation ends.
    GS::Array<Math_Parameter> args;
    for (GS::Int32 i = 0; i < count && parameters != nullptr; ++i)
        args.Push(parameters[i]);
    *value = GetElementFuncsFactory().EvaluateFunction(*self->element, GS::UniString(name, CC_Default), args);
    return true;
}
