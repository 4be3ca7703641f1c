#include "ElementFuncs/ElementFuncsFactory.hpp"

#include <cstring>
#include <new>

#include "HostApi/HostElementCalls.hpp"
#include "ElementFuncs/ElementTypes.hpp"

IElementFuncs* ElementFuncsFactory::Create(GS::Int32 typeID) const
{
    switch (typeID) {
        case API_WallID: return new (std::nothrow) WallElementFuncs();
        case API_ColumnID: return new (std::nothrow) ColumnElementFuncs();
        case API_BeamID: return new (std::nothrow) BeamElementFuncs();
        case API_WindowID: return new (std::nothrow) WindowElementFuncs();
        case API_ObjectID: return new (std::nothrow) ObjectElementFuncs();
        case API_SlabID: return new (std::nothrow) SlabElementFuncs();
        case API_RoofID: return new (std::nothrow) RoofElementFuncs();
        case API_ZoneID: return new (std::nothrow) ZoneElementFuncs();
        case API_HatchID: return new (std::nothrow) FillElementFuncs();
        case API_LineID: return new (std::nothrow) LineElementFuncs();
        case API_PolyLineID: return new (std::nothrow) PolyLineElementFuncs();
        case API_CurtainWallID: return new (std::nothrow) CurtainWallElementFuncs();
        case API_MorphID: return new (std::nothrow) MorphElementFuncs();
        case API_StairID: return new (std::nothrow) StairElementFuncs();
        case API_RailingID: return new (std::nothrow) RailingElementFuncs();
        default: return nullptr;
    }
}

GS::Array<GS::UniString> ElementFuncsFactory::GetQuantityNames(const API_Element& element) const
{
    API_Element record = element;
    GS::Int32 typeID = record.header.typeID;
    if (typeID == API_SectElemID) {
        // The section element stands for its parent; without the parent there is nothing to offer.
        API_Elem_Head parentHeader;
        std::memset(&parentHeader, 0, sizeof parentHeader);
        parentHeader.guid = element.sectElem.parentGuid;
        if (HostGetElementHeader(&parentHeader, 0) != NoError)
            return GS::Array<GS::UniString>();
        typeID = parentHeader.typeID;
        API_Element parent;
        std::memset(&parent, 0, sizeof parent);
        parent.header.guid = element.sectElem.parentGuid;
        if (HostGetElement(&parent, 0) != NoError)
            return GS::Array<GS::UniString>();
        record = parent;
    }
    std::unique_ptr<IElementFuncs> funcs(Create(typeID));
    if (funcs == nullptr)
        return GS::Array<GS::UniString>();
    return funcs->GetQuantityNames(record);
}

GS::Array<GS::UniString> ElementFuncsFactory::GetFunctionNames(const API_Element& element) const
{
    std::unique_ptr<IElementFuncs> funcs(Create(element.header.typeID));
    if (funcs == nullptr)
        return GS::Array<GS::UniString>();
    return funcs->GetFunctionNames(element);
}

bool ElementFuncsFactory::SetVariables(const API_Element& element, ElementFormulaContext& context) const
{
    std::unique_ptr<IElementFuncs> funcs(Create(element.header.typeID));
    if (funcs != nullptr)
        funcs->SetVariables(element, context);
    return true;
}

double ElementFuncsFactory::EvaluateFunction(const API_Element& element, GS::UniString name,
                                             GS::Array<Math_Parameter> args) const
{
    std::unique_ptr<IElementFuncs> funcs(Create(element.header.typeID));
    if (funcs == nullptr)
        return 0.0;
    return funcs->EvaluateFunction(element, name, args);
}

ElementFuncsFactory& GetElementFuncsFactory()
{
    static ElementFuncsFactory factory;
    return factory;
}
