#include "Host/ElementOps.hpp"

#include <algorithm>
#include <cstring>

#include "API/ApiTable.hpp"
#include "Host/Model.hpp"

namespace Host {

namespace {

ElementOpsCounters counters;
std::vector<DatabaseSwitch> switches;

ElementOpsHost* activeHost = nullptr;

ElementOpsHost* H() { return activeHost; }

// No exception may cross into the add-on: a model that cannot be read is a failed call.
template <typename F>
GSErrCode Guarded(F body)
{
    try {
        return body();
    } catch (...) {
        return APIERR_GENERAL;
    }
}

bool Fails(Operation op, const API_Guid* guid, GSErrCode* code) { return H()->ShouldFail(op, guid, code); }

const Json& ModelOf() { return H()->Model(); }

bool Applies(const Json& model, const Json& element, const Json* definition)
{
    for (const Json* d : PropertyDefinitionsFor(model, element)) {
        if (d == definition)
            return true;
    }
    return false;
}

// ---- Elements.

GSErrCode GetElement(API_Element* element, GS::UInt32)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || element == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetElement, &element->header.guid, &code))
            return code;
        const Json* found = FindElement(ModelOf(), element->header.guid);
        if (found == nullptr)
            return APIERR_BADID;
        FillElementRecord(ModelOf(), *found, element);
        return NoError;
    });
}

GSErrCode GetElementHeader(API_Elem_Head* header, GS::UInt32)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || header == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetElementHeader, &header->guid, &code))
            return code;
        const Json* found = FindElement(ModelOf(), header->guid);
        if (found == nullptr)
            return APIERR_BADID;
        FillElementHeader(ModelOf(), *found, header);
        return NoError;
    });
}

GSErrCode GetElementMemo(const API_Guid* guid, API_ElementMemo* memo, GS::UInt64 mask)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || guid == nullptr || memo == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetElementMemo, guid, &code))
            return code;
        const Json* found = FindElement(ModelOf(), *guid);
        if (found == nullptr)
            return APIERR_BADID;
        FillElementMemo(ModelOf(), *found, mask, memo);
        ++counters.memosHandedOut;
        return NoError;
    });
}

GSErrCode DisposeElementMemo(API_ElementMemo* memo)
{
    if (memo == nullptr)
        return APIERR_BADPARS;
    ReleaseElementMemo(memo);
    ++counters.memosReleased;
    return NoError;
}

GSErrCode GetElementQuantities(const API_Guid* guid, const API_QuantityPar*, API_Quantities* quantities,
                               const HostQuantitiesMask* mask)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || guid == nullptr || quantities == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetElementQuantities, guid, &code))
            return code;
        const Json& model = ModelOf();
        const Json* found = FindElement(model, *guid);
        if (found == nullptr)
            return APIERR_BADID;
        if (!HasQuantityRecord(ElementType(*found)))
            return APIERR_BADELEMTYPE;
        // Model elements are measured in the model, not in a section's drawing.
        if (CurrentDatabase(model).typeID == APIWind_SectionID)
            return APIERR_BADDATABASE;
        if (quantities->elements != nullptr)
            FillQuantities(*found, mask, quantities->elements);
        if (quantities->composites != nullptr)
            FillCompositeQuantities(*found, mask, quantities->composites);
        return NoError;
    });
}

GSErrCode GetElementInfoString(const API_Guid* guid, GS::UniString* infoString)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || guid == nullptr || infoString == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetElementInfoString, guid, &code))
            return code;
        const Json* found = FindElement(ModelOf(), *guid);
        if (found == nullptr)
            return APIERR_BADID;
        auto it = found->find("id");
        *infoString = GS::UniString(it != found->end() && it->is_string() ? it->get<std::string>() : std::string());
        return NoError;
    });
}

// ---- Properties.

GSErrCode GetElementPropertyDefinitions(const API_Guid* elemGuid, GS::Int32 filter,
                                        GS::Array<API_PropertyDefinition>* definitions)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || elemGuid == nullptr || definitions == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetElementPropertyDefinitions, elemGuid, &code))
            return code;
        if (filter != API_PropertyDefinitionFilter_All)
            return APIERR_BADPARS;
        const Json* found = FindElement(ModelOf(), *elemGuid);
        if (found == nullptr)
            return APIERR_BADID;
        definitions->Clear();
        for (const Json* d : PropertyDefinitionsFor(ModelOf(), *found)) {
            API_PropertyDefinition record;
            ToPropertyDefinition(*d, &record);
            definitions->Push(record);
        }
        return NoError;
    });
}

GSErrCode GetElementProperty(const API_Guid* elemGuid, const API_Guid* definitionGuid, API_Property* property)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || elemGuid == nullptr || definitionGuid == nullptr || property == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetElementProperty, elemGuid, &code))
            return code;
        const Json& model = ModelOf();
        const Json* found = FindElement(model, *elemGuid);
        if (found == nullptr)
            return APIERR_BADID;
        const Json* definition = FindPropertyDefinition(model, APIGuid2GSGuid(*definitionGuid));
        if (definition == nullptr || !Applies(model, *found, definition))
            return APIERR_BADPROPERTY;
        API_Property value;
        if (!PropertyValue(*found, *definition, &value))
            return APIERR_BADPROPERTY;
        *property = value;
        return NoError;
    });
}

GSErrCode GetElementProperties(const API_Guid* elemGuid, const GS::Array<API_Guid>* definitionGuids,
                               GS::Array<API_Property>* properties)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || elemGuid == nullptr || definitionGuids == nullptr || properties == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetElementProperties, elemGuid, &code))
            return code;
        const Json& model = ModelOf();
        const Json* found = FindElement(model, *elemGuid);
        if (found == nullptr)
            return APIERR_BADID;
        properties->Clear();
        for (const API_Guid& g : *definitionGuids) {
            const Json* definition = FindPropertyDefinition(model, APIGuid2GSGuid(g));
            API_Property value;
            if (definition != nullptr && Applies(model, *found, definition) &&
                PropertyValue(*found, *definition, &value))
                properties->Push(value);
        }
        return NoError;
    });
}

bool IsValidPropertyValue(const API_Variant* value, const API_PropertyDefinition* definition)
{
    if (H() == nullptr || value == nullptr || definition == nullptr)
        return false;
    GSErrCode code = NoError;
    if (Fails(Operation::IsValidPropertyValue, &definition->guid, &code))
        return false;
    return value->type != API_PropertyUndefinedValueType && value->type == definition->valueType;
}

// ---- Attributes.

GSErrCode AttributeGet(HostAttribute* attribute)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || attribute == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetAttribute, nullptr, &code))
            return code;
        const Json* found = FindAttribute(ModelOf(), attribute->header.typeID, attribute->header.index);
        if (found == nullptr)
            return APIERR_BADINDEX;
        FillAttribute(*found, attribute->header.typeID, attribute);
        return NoError;
    });
}

GSErrCode GetAttributeDef(GS::Int32 typeID, GS::Int32 index, HostAttributeDef* def)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || def == nullptr || typeID != HostAttr_Composite)
            return APIERR_BADPARS;
        if (Fails(Operation::GetAttributeDef, nullptr, &code))
            return code;
        const Json* found = FindAttribute(ModelOf(), typeID, index);
        if (found == nullptr)
            return APIERR_BADINDEX;
        def->skins = MakeCompositeSkins(*found);
        if (def->skins == nullptr)
            return APIERR_NOMEMORY;
        ++counters.attributeDefsHandedOut;
        return NoError;
    });
}

GSErrCode DisposeAttributeDef(HostAttributeDef* def)
{
    if (def == nullptr)
        return APIERR_BADPARS;
    BMKillHandle(reinterpret_cast<GSHandle*>(&def->skins));
    ++counters.attributeDefsReleased;
    return NoError;
}

GSErrCode GetAttributeDefExt(GS::Int32 typeID, GS::Int32 index, HostAttributeDefExt* defExt)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || defExt == nullptr || typeID != HostAttr_Profile)
            return APIERR_BADPARS;
        if (Fails(Operation::GetAttributeDefExt, nullptr, &code))
            return code;
        const Json* found = FindAttribute(ModelOf(), typeID, index);
        if (found == nullptr)
            return APIERR_BADINDEX;
        defExt->profile_vectorImageItems = MakeProfileImage(*found);
        if (defExt->profile_vectorImageItems != nullptr)
            ++counters.liveProfileImages;
        ++counters.attributeDefExtsHandedOut;
        return NoError;
    });
}

GSErrCode DisposeAttributeDefExt(HostAttributeDefExt* defExt)
{
    if (defExt == nullptr)
        return APIERR_BADPARS;
    if (defExt->profile_vectorImageItems != nullptr) {
        delete defExt->profile_vectorImageItems;
        defExt->profile_vectorImageItems = nullptr;
        --counters.liveProfileImages;
    }
    ++counters.attributeDefExtsReleased;
    return NoError;
}

GSErrCode GetPen(API_PenType* pen)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || pen == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetPen, nullptr, &code))
            return code;
        const Json* found = FindPen(ModelOf(), pen->index);
        if (found == nullptr)
            return APIERR_BADINDEX;
        const GS::Int16 index = pen->index;
        std::memset(pen, 0, sizeof *pen);
        pen->index = index;
        auto color = found->find("color");
        if (color != found->end() && color->is_array()) {
            double* rgb[3] = {&pen->rgb.f_red, &pen->rgb.f_green, &pen->rgb.f_blue};
            for (std::size_t i = 0; i < 3 && i < color->size(); ++i)
                *rgb[i] = (*color)[i].is_number() ? (*color)[i].get<double>() : 0.0;
        }
        auto width = found->find("width");
        pen->width = (width != found->end() && width->is_number()) ? width->get<double>() : 0.0;
        return NoError;
    });
}

// ---- Databases and stories.

GSErrCode GetCurrentDatabase(HostDatabaseInfo* info)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || info == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetCurrentDatabase, nullptr, &code))
            return code;
        ToDatabaseInfo(CurrentDatabase(ModelOf()), info);
        return NoError;
    });
}

GSErrCode ChangeDatabase(HostDatabaseInfo* info)
{
    return Guarded([&]() -> GSErrCode {
        if (H() == nullptr || info == nullptr)
            return APIERR_BADPARS;
        DatabaseSwitch entry{};
        ToDatabaseInfo(CurrentDatabase(ModelOf()), &entry.from);
        entry.requested = *info;
        GSErrCode code = NoError;
        DatabaseEntry target;
        if (!Fails(Operation::ChangeDatabase, nullptr, &code)) {
            if (FindDatabase(ModelOf(), info->typeID, APIGuid2GSGuid(info->databaseUnId), &target)) {
                H()->Model()["currentDatabase"] = target.guid.ToString();
                ToDatabaseInfo(target, info);
            } else {
                code = APIERR_BADDATABASE;
            }
        }
        ToDatabaseInfo(CurrentDatabase(ModelOf()), &entry.to);
        entry.result = code;
        switches.push_back(entry);
        H()->CallLog().push_back("ChangeDatabase " + std::to_string(entry.requested.typeID) + " -> " +
                                 (code == NoError ? std::string(entry.to.name) : "failed"));
        return code;
    });
}

GSErrCode GetContainingDatabase(const API_Guid* elemGuid, HostDatabaseInfo* info)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || elemGuid == nullptr || info == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetContainingDatabase, elemGuid, &code))
            return code;
        const Json* found = FindElement(ModelOf(), *elemGuid);
        if (found == nullptr)
            return APIERR_BADID;
        ToDatabaseInfo(ContainingDatabase(ModelOf(), *found), info);
        return NoError;
    });
}

GSErrCode GetStorySettings(HostStoryInfo* info)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || info == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetStorySettings, nullptr, &code))
            return code;
        const std::vector<StoryEntry> stories = Stories(ModelOf());
        std::memset(info, 0, sizeof *info);
        info->data = reinterpret_cast<HostStoryType**>(
            BMAllocateHandle(static_cast<GSSize>(stories.size() * sizeof(HostStoryType))));
        if (info->data == nullptr)
            return APIERR_NOMEMORY;
        for (std::size_t i = 0; i < stories.size(); ++i) {
            HostStoryType& s = (*info->data)[i];
            s.index = stories[i].index;
            s.level = stories[i].level;
            std::strncpy(s.name, stories[i].name.c_str(), sizeof s.name - 1);
        }
        info->firstStory = stories.empty() ? 0 : stories.front().index;
        info->lastStory = stories.empty() ? -1 : stories.back().index;
        info->actStory = info->firstStory;
        return NoError;
    });
}

// ---- Library parts.

GSErrCode GetLibPartParams(GS::Int32 libInd, HostLibPartParams* params)
{
    return Guarded([&]() -> GSErrCode {
        GSErrCode code = NoError;
        if (H() == nullptr || params == nullptr)
            return APIERR_BADPARS;
        if (Fails(Operation::GetLibPartParams, nullptr, &code))
            return code;
        const Json* part = FindLibraryPart(ModelOf(), libInd);
        if (part == nullptr)
            return APIERR_BADINDEX;
        std::memset(params, 0, sizeof *params);
        auto num = [&](const char* key) {
            auto it = part->find(key);
            return (it != part->end() && it->is_number()) ? it->get<double>() : 0.0;
        };
        params->a = num("a");
        params->b = num("b");
        auto list = part->find("params");
        if (list != part->end() && list->is_array()) {
            params->params = MakeAddParams(*list);
            params->count = params->params != nullptr ? static_cast<GS::Int32>(list->size()) : 0;
        }
        ++counters.libPartParamsHandedOut;
        return NoError;
    });
}

GSErrCode DisposeLibPartParams(HostLibPartParams* params)
{
    if (params == nullptr)
        return APIERR_BADPARS;
    BMKillHandle(reinterpret_cast<GSHandle*>(&params->params));
    params->count = 0;
    ++counters.libPartParamsReleased;
    return NoError;
}

template <typename Fn>
void Put(void** table, ApiSlot slot, Fn fn)
{
    table[slot] = reinterpret_cast<void*>(fn);
}

}  // namespace

void InstallElementOperations(void** table)
{
    Put<HostGetElementFn>(table, Slot_GetElement, &GetElement);
    Put<HostGetElementHeaderFn>(table, Slot_GetElementHeader, &GetElementHeader);
    Put<HostGetElementMemoFn>(table, Slot_GetElementMemo, &GetElementMemo);
    Put<HostDisposeElementMemoFn>(table, Slot_DisposeElementMemo, &DisposeElementMemo);
    Put<HostGetElementQuantitiesFn>(table, Slot_GetElementQuantities, &GetElementQuantities);
    Put<HostGetElementInfoStringFn>(table, Slot_GetElementInfoString, &GetElementInfoString);
    Put<HostGetElementPropertyDefinitionsFn>(table, Slot_GetElementPropertyDefinitions,
                                             &GetElementPropertyDefinitions);
    Put<HostGetElementPropertyFn>(table, Slot_GetElementProperty, &GetElementProperty);
    Put<HostGetElementPropertiesFn>(table, Slot_GetElementProperties, &GetElementProperties);
    Put<HostIsValidPropertyValueFn>(table, Slot_IsValidPropertyValue, &IsValidPropertyValue);
    Put<HostAttributeGetFn>(table, Slot_AttributeGet, &AttributeGet);
    Put<HostGetAttributeDefFn>(table, Slot_GetAttributeDef, &GetAttributeDef);
    Put<HostDisposeAttributeDefFn>(table, Slot_DisposeAttributeDef, &DisposeAttributeDef);
    Put<HostGetAttributeDefExtFn>(table, Slot_GetAttributeDefExt, &GetAttributeDefExt);
    Put<HostDisposeAttributeDefExtFn>(table, Slot_DisposeAttributeDefExt, &DisposeAttributeDefExt);
    Put<HostGetPenFn>(table, Slot_GetPen, &GetPen);
    Put<HostGetCurrentDatabaseFn>(table, Slot_GetCurrentDatabase, &GetCurrentDatabase);
    Put<HostChangeDatabaseFn>(table, Slot_ChangeDatabase, &ChangeDatabase);
    Put<HostGetContainingDatabaseFn>(table, Slot_GetContainingDatabase, &GetContainingDatabase);
    Put<HostGetStorySettingsFn>(table, Slot_GetStorySettings, &GetStorySettings);
    Put<HostGetLibPartParamsFn>(table, Slot_GetLibPartParams, &GetLibPartParams);
    Put<HostDisposeLibPartParamsFn>(table, Slot_DisposeLibPartParams, &DisposeLibPartParams);
}

GS::Int32 ElementTypeOf(const GS::Guid& guid)
{
    ElementOpsHost* host = H();
    if (host == nullptr)
        return 0;
    try {
        const Json* found = FindElement(host->Model(), guid);
        return found != nullptr ? ElementType(*found) : 0;
    } catch (...) {
        return 0;
    }
}

void ElementOpsHost::SetActive(ElementOpsHost* host) { activeHost = host; }

const ElementOpsCounters& ElementCounters() { return counters; }

void ResetElementCounters() { counters = ElementOpsCounters(); }

const std::vector<DatabaseSwitch>& DatabaseSwitches() { return switches; }

void ClearDatabaseSwitches() { switches.clear(); }

bool SetCurrentDatabase(const GS::Guid& databaseGuid)
{
    ElementOpsHost* host = H();
    if (host == nullptr || !FindDatabase(host->Model(), 0, databaseGuid, nullptr))
        return false;
    host->Model()["currentDatabase"] = databaseGuid.ToString();
    return true;
}

HostDatabaseInfo GetCurrentDatabaseInfo()
{
    HostDatabaseInfo info{};
    ElementOpsHost* host = H();
    if (host != nullptr)
        ToDatabaseInfo(CurrentDatabase(host->Model()), &info);
    return info;
}

}  // namespace Host
