#include "HostApi/HostElementCalls.hpp"

#include <cstring>

GSErrCode HostGetElement(API_Element* element, GS::UInt32 mask)
{
    return CallHostSlot<HostGetElementFn>(Slot_GetElement, element, mask);
}

bool HostReadElement(const API_Guid& guid, API_Element* element)
{
    std::memset(element, 0, sizeof *element);
    element->header.guid = guid;
    return HostGetElement(element, 0) == NoError;
}

GSErrCode HostGetElementHeader(API_Elem_Head* header, GS::UInt32 mask)
{
    return CallHostSlot<HostGetElementHeaderFn>(Slot_GetElementHeader, header, mask);
}

GSErrCode HostGetElementMemo(const API_Guid& guid, API_ElementMemo* memo, GS::UInt64 mask)
{
    return CallHostSlot<HostGetElementMemoFn>(Slot_GetElementMemo, &guid, memo, mask);
}

GSErrCode HostDisposeElementMemo(API_ElementMemo* memo)
{
    return CallHostSlot<HostDisposeElementMemoFn>(Slot_DisposeElementMemo, memo);
}

GSErrCode HostGetElementQuantities(const API_Guid& guid, const API_QuantityPar* params, API_Quantities* quantities,
                                   const HostQuantitiesMask* mask)
{
    return CallHostSlot<HostGetElementQuantitiesFn>(Slot_GetElementQuantities, &guid, params, quantities, mask);
}

GSErrCode HostGetElementInfoString(const API_Guid& guid, GS::UniString* infoString)
{
    return CallHostSlot<HostGetElementInfoStringFn>(Slot_GetElementInfoString, &guid, infoString);
}

GSErrCode HostGetElementPropertyDefinitions(const API_Guid& elemGuid, GS::Int32 filter,
                                            GS::Array<API_PropertyDefinition>* definitions)
{
    return CallHostSlot<HostGetElementPropertyDefinitionsFn>(Slot_GetElementPropertyDefinitions, &elemGuid, filter,
                                                             definitions);
}

GSErrCode HostGetElementProperty(const API_Guid& elemGuid, const API_Guid& definitionGuid, API_Property* property)
{
    return CallHostSlot<HostGetElementPropertyFn>(Slot_GetElementProperty, &elemGuid, &definitionGuid, property);
}

GSErrCode HostGetElementProperties(const API_Guid& elemGuid, const GS::Array<API_Guid>& definitionGuids,
                                   GS::Array<API_Property>* properties)
{
    return CallHostSlot<HostGetElementPropertiesFn>(Slot_GetElementProperties, &elemGuid, &definitionGuids,
                                                    properties);
}

bool HostIsValidPropertyValue(const API_Variant& value, const API_PropertyDefinition& definition)
{
    auto fn = reinterpret_cast<HostIsValidPropertyValueFn>(CalvoraHostEntry(Slot_IsValidPropertyValue));
    return fn != nullptr && fn(&value, &definition);
}

GSErrCode HostGetAttribute(HostAttribute* attribute)
{
    return CallHostSlot<HostAttributeGetFn>(Slot_AttributeGet, attribute);
}

GSErrCode HostGetAttributeDef(GS::Int32 typeID, GS::Int32 index, HostAttributeDef* def)
{
    return CallHostSlot<HostGetAttributeDefFn>(Slot_GetAttributeDef, typeID, index, def);
}

GSErrCode HostDisposeAttributeDef(HostAttributeDef* def)
{
    return CallHostSlot<HostDisposeAttributeDefFn>(Slot_DisposeAttributeDef, def);
}

GSErrCode HostGetAttributeDefExt(GS::Int32 typeID, GS::Int32 index, HostAttributeDefExt* defExt)
{
    return CallHostSlot<HostGetAttributeDefExtFn>(Slot_GetAttributeDefExt, typeID, index, defExt);
}

GSErrCode HostDisposeAttributeDefExt(HostAttributeDefExt* defExt)
{
    return CallHostSlot<HostDisposeAttributeDefExtFn>(Slot_DisposeAttributeDefExt, defExt);
}

GSErrCode HostGetPen(API_PenType* pen)
{
    return CallHostSlot<HostGetPenFn>(Slot_GetPen, pen);
}

GSErrCode HostGetCurrentDatabase(HostDatabaseInfo* info)
{
    return CallHostSlot<HostGetCurrentDatabaseFn>(Slot_GetCurrentDatabase, info);
}

GSErrCode HostChangeDatabase(HostDatabaseInfo* info)
{
    return CallHostSlot<HostChangeDatabaseFn>(Slot_ChangeDatabase, info);
}

GSErrCode HostGetContainingDatabase(const API_Guid& elemGuid, HostDatabaseInfo* info)
{
    return CallHostSlot<HostGetContainingDatabaseFn>(Slot_GetContainingDatabase, &elemGuid, info);
}

GSErrCode HostGetStorySettings(HostStoryInfo* info)
{
    return CallHostSlot<HostGetStorySettingsFn>(Slot_GetStorySettings, info);
}

GSErrCode HostGetLibPartParams(GS::Int32 libInd, HostLibPartParams* params)
{
    return CallHostSlot<HostGetLibPartParamsFn>(Slot_GetLibPartParams, libInd, params);
}

GSErrCode HostDisposeLibPartParams(HostLibPartParams* params)
{
    return CallHostSlot<HostDisposeLibPartParamsFn>(Slot_DisposeLibPartParams, params);
}
