#pragma once
// What a formula may know about one model element of a given type: the names the type offers,
// its named quantities (stored as formula variables) and its formula functions.
#include "API/ApiElements.hpp"
#include "Formula/MathEvaluator.hpp"
#include "GSRoot/Array.hpp"
#include "GSRoot/UniString.hpp"

#include <cstddef>
#include <initializer_list>

class ElementFormulaContext;

class IElementFuncs {
public:
    virtual ~IElementFuncs();

    virtual GS::UniString GetTypeName();
    virtual GS::Array<GS::UniString> GetQuantityNames(const API_Element& element);
    virtual GS::Array<GS::UniString> GetAllQuantityNames() = 0;
    virtual GS::Array<GS::UniString> GetFunctionNames(const API_Element& element);
    virtual GS::Array<GS::UniString> GetAllFunctionNames() = 0;
    virtual void SetVariables(API_Element element, ElementFormulaContext& context) = 0;
    virtual double EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args) = 0;

    // One request for the host's computed quantities; only the fields the mask asks for are filled.
    bool GetElementQuantities(const API_Element& element, const HostQuantitiesMask& mask,
                              HostElementQuantity* quantity, GS::Array<API_CompositeQuantity>* composites);

    // Core volume of a wall, slab or roof: the core skins' volumes of a composite, else the volume.
    static double CompositeCoreVolume(double volume, GS::Int32 structureType,
                                      const GS::Array<API_CompositeQuantity>& composites);

    // Profile measurements; a failed read gives false or 0.0.
    bool GetProfileDimensions(GS::UInt32 profileIndex, double& width, double& height);
    double GetProfileArea(GS::UInt32 profileIndex);
    double GetProfileCoreArea(GS::UInt32 profileIndex, double elementWidth, double elementHeight);
    double GetProfileRegionArea(GS::UInt32 profileIndex, const GS::UniString& buildingMaterialName);
    static double CalcHatchArea(const HatchObject& hatch);

    // The functions shared by several types.
    double EvaluatePropertyFunction(const API_Element& element, const GS::UniString& name,
                                    const GS::Array<Math_Parameter>& args);
    // Parameter of objects, windows and zones: an additional parameter of length or real type.
    double EvaluateParameterFunction(const API_Element& element, const GS::UniString& name,
                                     const GS::UniString& parameterItem, const GS::Array<Math_Parameter>& args);
    // SkinVolume (isVolume) or SkinArea of a composite wall, slab or roof.
    double EvaluateSkinFunction(const API_Element& element, GS::Int32 structureType, GS::Int32 compositeIndex,
                                bool isVolume, const GS::Array<Math_Parameter>& args);

    // Shared by the types that offer no functions.
    static GS::Array<GS::UniString> GetNoFunctionNames();
    static double EvaluateNoFunction(GS::UniString name, GS::Array<Math_Parameter> args);
};

// Helpers shared by the implementations.
namespace ElementFuncsUtil {
// Items of one string list, in the order given.
GS::Array<GS::UniString> ResNames(GS::Int16 listId, std::initializer_list<GS::Int16> items);
// Text of a fixed-size char field that may fill the field without a terminator.
GS::UniString FieldText(const char* field, std::size_t fieldSize);
// The text of a text argument (the host's default character code); empty when there is none.
GS::UniString ArgumentText(const Math_Parameter& argument);
// Reads an attribute by type and index; false when the host cannot.
bool ReadAttribute(GS::Int32 typeID, GS::Int32 index, HostAttribute* attribute);
// The attribute's name, read within its field.
GS::UniString AttributeName(const HostAttribute& attribute);
// The first segment of a beam or column, read from its memo; false when there is none.
struct Segment {
    GS::Int32 structureType = 0;
    GS::Int32 profileAttr = 0;
    double nominalWidth = 0.0;
    double nominalHeight = 0.0;
};
bool ReadFirstBeamSegment(const API_Element& element, Segment* segment);
bool ReadFirstColumnSegment(const API_Element& element, Segment* segment);
// Plan length of a beam's reference line, divided by the cosine of its slant when slanted.
double BeamLength(const API_Element& element);
double BeamProjectionLength(const API_Element& element);
}  // namespace ElementFuncsUtil
