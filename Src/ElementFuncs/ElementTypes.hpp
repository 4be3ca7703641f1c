#pragma once
// One IElementFuncs per supported element type. Names come from the type's string list.
#include "ElementFuncs/IElementFuncs.hpp"
#include "ResourceNames.hpp"

// A type whose names all come from one list.
class ListedElementFuncs : public IElementFuncs {
public:
    explicit ListedElementFuncs(GS::Int16 listId) : listId(listId) {}
    GS::UniString GetTypeName() override;

protected:
    // Every type's list starts with the type's name.
    static constexpr GS::Int16 TypeNameItem = 1;

    GS::UniString Name(GS::Int16 item) const;
    GS::Array<GS::UniString> Names(std::initializer_list<GS::Int16> items) const;
    const GS::Int16 listId;
};

// The seven types that offer no functions.
class NoFunctionElementFuncs : public ListedElementFuncs {
public:
    using ListedElementFuncs::ListedElementFuncs;
    GS::Array<GS::UniString> GetAllFunctionNames() override { return GetNoFunctionNames(); }
    double EvaluateFunction(API_Element, GS::UniString name, GS::Array<Math_Parameter> args) override
    {
        return EvaluateNoFunction(std::move(name), std::move(args));
    }
};

class WallElementFuncs : public ListedElementFuncs {
public:
    WallElementFuncs() : ListedElementFuncs(WallNames::ListId) {}
    GS::Array<GS::UniString> GetQuantityNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetFunctionNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class ColumnElementFuncs : public ListedElementFuncs {
public:
    ColumnElementFuncs() : ListedElementFuncs(ColumnNames::ListId) {}
    GS::Array<GS::UniString> GetQuantityNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetFunctionNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class BeamElementFuncs : public ListedElementFuncs {
public:
    BeamElementFuncs() : ListedElementFuncs(BeamNames::ListId) {}
    GS::Array<GS::UniString> GetQuantityNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetFunctionNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class WindowElementFuncs : public ListedElementFuncs {
public:
    WindowElementFuncs() : ListedElementFuncs(WindowNames::ListId) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class ObjectElementFuncs : public ListedElementFuncs {
public:
    ObjectElementFuncs() : ListedElementFuncs(ObjectNames::ListId) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class SlabElementFuncs : public ListedElementFuncs {
public:
    SlabElementFuncs() : ListedElementFuncs(SlabNames::ListId) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetFunctionNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class RoofElementFuncs : public ListedElementFuncs {
public:
    RoofElementFuncs() : ListedElementFuncs(RoofNames::ListId) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetFunctionNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class ZoneElementFuncs : public ListedElementFuncs {
public:
    ZoneElementFuncs() : ListedElementFuncs(ZoneNames::ListId) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class FillElementFuncs : public NoFunctionElementFuncs {
public:
    FillElementFuncs() : NoFunctionElementFuncs(FillNames::ListId) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
};

class LineElementFuncs : public NoFunctionElementFuncs {
public:
    LineElementFuncs() : NoFunctionElementFuncs(LineNames::ListId) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
};

class PolyLineElementFuncs : public NoFunctionElementFuncs {
public:
    PolyLineElementFuncs() : NoFunctionElementFuncs(PolyLineNames::ListId) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    // Length of the polyline's memo polygon, arcs counted along their curve.
    static double PolyLineLength(const API_Element& element);
};

class CurtainWallElementFuncs : public NoFunctionElementFuncs {
public:
    CurtainWallElementFuncs() : NoFunctionElementFuncs(CurtainWallNames::ListId) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
};

class MorphElementFuncs : public NoFunctionElementFuncs {
public:
    MorphElementFuncs() : NoFunctionElementFuncs(MorphNames::ListId) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
};

class StairElementFuncs : public NoFunctionElementFuncs {
public:
    StairElementFuncs() : NoFunctionElementFuncs(StairNames::ListId) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
};

class RailingElementFuncs : public NoFunctionElementFuncs {
public:
    RailingElementFuncs() : NoFunctionElementFuncs(RailingNames::ListId) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
};
