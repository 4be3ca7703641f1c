#pragma once
// Chooses the IElementFuncs of an element by its host type id; the rest of the add-on calls
// its dispatchers.
#include <memory>

#include "ElementFuncs/IElementFuncs.hpp"

class ElementFuncsFactory {
public:
    // A new object for the type (owned by the caller), or null for a type without one.
    IElementFuncs* Create(GS::Int32 typeID) const;

    // A section element (type 29) offers the names of the element it stands for; none when
    // that element cannot be read.
    GS::Array<GS::UniString> GetQuantityNames(const API_Element& element) const;
    GS::Array<GS::UniString> GetFunctionNames(const API_Element& element) const;
    bool SetVariables(const API_Element& element, ElementFormulaContext& context) const;
    double EvaluateFunction(const API_Element& element, GS::UniString name, GS::Array<Math_Parameter> args) const;
};

ElementFuncsFactory& GetElementFuncsFactory();
