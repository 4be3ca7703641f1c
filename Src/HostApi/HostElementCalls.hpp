#pragma once
// The element-related calls into the host: elements, memos, quantities, properties, attributes,
// databases, stories and library parts. Each returns APIERR_MISSINGENTRY without calling anything
// when the host's table has no entry for it. What a read hands out is taken through the holders of
// HostApi/HostHandles.hpp.
#include "API/ApiElements.hpp"
#include "HostApi/HostCalls.hpp"

// Elements. The guid is taken from the record's header; mask 0 reads the whole record.
GSErrCode HostGetElement(API_Element* element, GS::UInt32 mask = 0);
GSErrCode HostGetElementHeader(API_Elem_Head* header, GS::UInt32 mask = 0);
// The whole record of the element with this guid; false when the host cannot give it.
bool HostReadElement(const API_Guid& guid, API_Element* element);
GSErrCode HostGetElementMemo(const API_Guid& guid, API_ElementMemo* memo, GS::UInt64 mask);
GSErrCode HostDisposeElementMemo(API_ElementMemo* memo);
// Fills the fields the mask asks for; composites gets one record per skin of a composite element.
GSErrCode HostGetElementQuantities(const API_Guid& guid, const API_QuantityPar* params, API_Quantities* quantities,
                                   const HostQuantitiesMask* mask);
// The element's ID text.
GSErrCode HostGetElementInfoString(const API_Guid& guid, GS::UniString* infoString);

// Properties.
GSErrCode HostGetElementPropertyDefinitions(const API_Guid& elemGuid, GS::Int32 filter,
                                            GS::Array<API_PropertyDefinition>* definitions);
GSErrCode HostGetElementProperty(const API_Guid& elemGuid, const API_Guid& definitionGuid, API_Property* property);
// One property per definition that has a value for the element, in the definitions' order.
GSErrCode HostGetElementProperties(const API_Guid& elemGuid, const GS::Array<API_Guid>& definitionGuids,
                                   GS::Array<API_Property>* properties);
// False also when the table has no entry.
bool HostIsValidPropertyValue(const API_Variant& value, const API_PropertyDefinition& definition);

// Attributes. The attribute's header gives its type and index.
GSErrCode HostGetAttribute(HostAttribute* attribute);
GSErrCode HostGetAttributeDef(GS::Int32 typeID, GS::Int32 index, HostAttributeDef* def);
GSErrCode HostDisposeAttributeDef(HostAttributeDef* def);
GSErrCode HostGetAttributeDefExt(GS::Int32 typeID, GS::Int32 index, HostAttributeDefExt* defExt);
GSErrCode HostDisposeAttributeDefExt(HostAttributeDefExt* defExt);
// The pen's index is set by the caller.
GSErrCode HostGetPen(API_PenType* pen);

// Databases and stories.
GSErrCode HostGetCurrentDatabase(HostDatabaseInfo* info);
// Finds the database by its guid, or else the first of its type; fills in the rest of the record.
GSErrCode HostChangeDatabase(HostDatabaseInfo* info);
GSErrCode HostGetContainingDatabase(const API_Guid& elemGuid, HostDatabaseInfo* info);
// Hands out info->data, a memory handle.
GSErrCode HostGetStorySettings(HostStoryInfo* info);

// Library parts.
GSErrCode HostGetLibPartParams(GS::Int32 libInd, HostLibPartParams* params);
GSErrCode HostDisposeLibPartParams(HostLibPartParams* params);
