#pragma once
// One IElementFuncs per supported element type. Names come from the type's string list, item 1
// being the type name.
#include "ElementFuncs/IElementFuncs.hpp"

namespace ElementNameLists {
constexpr GS::Int16 Beam = 32701;
constexpr GS::Int16 Column = 32702;
constexpr GS::Int16 Fill = 32703;
constexpr GS::Int16 Line = 32704;
constexpr GS::Int16 Morph = 32705;
constexpr GS::Int16 Object = 32706;
constexpr GS::Int16 PolyLine = 32707;
constexpr GS::Int16 Roof = 32708;
constexpr GS::Int16 Slab = 32709;
constexpr GS::Int16 Stair = 32710;
constexpr GS::Int16 Wall = 32711;
constexpr GS::Int16 Window = 32712;
constexpr GS::Int16 Zone = 32713;
constexpr GS::Int16 Railing = 32714;
constexpr GS::Int16 CurtainWall = 32715;
}  // namespace ElementNameLists

// A type whose names all come from one list.
class ListedElementFuncs : public IElementFuncs {
public:
    explicit ListedElementFuncs(GS::Int16 listId) : listId(listId) {}
    GS::UniString GetTypeName() override;

protected:
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
    WallElementFuncs() : ListedElementFuncs(ElementNameLists::Wall) {}
    GS::Array<GS::UniString> GetQuantityNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetFunctionNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class ColumnElementFuncs : public ListedElementFuncs {
public:
    ColumnElementFuncs() : ListedElementFuncs(ElementNameLists::Column) {}
    GS::Array<GS::UniString> GetQuantityNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetFunctionNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class BeamElementFuncs : public ListedElementFuncs {
public:
    BeamElementFuncs() : ListedElementFuncs(ElementNameLists::Beam) {}
    GS::Array<GS::UniString> GetQuantityNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetFunctionNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class WindowElementFuncs : public ListedElementFuncs {
public:
    WindowElementFuncs() : ListedElementFuncs(ElementNameLists::Window) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class ObjectElementFuncs : public ListedElementFuncs {
public:
    ObjectElementFuncs() : ListedElementFuncs(ElementNameLists::Object) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class SlabElementFuncs : public ListedElementFuncs {
public:
    SlabElementFuncs() : ListedElementFuncs(ElementNameLists::Slab) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetFunctionNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class RoofElementFuncs : public ListedElementFuncs {
public:
    RoofElementFuncs() : ListedElementFuncs(ElementNameLists::Roof) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetFunctionNames(const API_Element& element) override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class ZoneElementFuncs : public ListedElementFuncs {
public:
    ZoneElementFuncs() : ListedElementFuncs(ElementNameLists::Zone) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    GS::Array<GS::UniString> GetAllFunctionNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) override;
};

class FillElementFuncs : public NoFunctionElementFuncs {
public:
    FillElementFuncs() : NoFunctionElementFuncs(ElementNameLists::Fill) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
};

class LineElementFuncs : public NoFunctionElementFuncs {
public:
    LineElementFuncs() : NoFunctionElementFuncs(ElementNameLists::Line) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
};

class PolyLineElementFuncs : public NoFunctionElementFuncs {
public:
    PolyLineElementFuncs() : NoFunctionElementFuncs(ElementNameLists::PolyLine) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
    // Length of the polyline's memo polygon, arcs counted along their curve.
    static double PolyLineLength(const API_Element& element);
};

class CurtainWallElementFuncs : public NoFunctionElementFuncs {
public:
    CurtainWallElementFuncs() : NoFunctionElementFuncs(ElementNameLists::CurtainWall) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
};

class MorphElementFuncs : public NoFunctionElementFuncs {
public:
    MorphElementFuncs() : NoFunctionElementFuncs(ElementNameLists::Morph) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
};

class StairElementFuncs : public NoFunctionElementFuncs {
public:
    StairElementFuncs() : NoFunctionElementFuncs(ElementNameLists::Stair) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
};

class RailingElementFuncs : public NoFunctionElementFuncs {
public:
    RailingElementFuncs() : NoFunctionElementFuncs(ElementNameLists::Railing) {}
    GS::Array<GS::UniString> GetAllQuantityNames() override;
    void SetVariables(API_Element element, ElementFormulaContext& context) override;
};
