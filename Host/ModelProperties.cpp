// The property readers: which definitions apply to an element, and its value of one as a variant
// of the definition's type.
#include "Host/ModelJson.hpp"

namespace Host {

namespace ModelJson {

GS::Int32 ValueType(const Json& definition)
{
    return ByName(Member(definition, "valueType"), ValueTypeNames(), API_PropertyUndefinedValueType);
}

// Converts a stored value to a variant of the definition's type: false when it does not fit.
bool ToVariant(const Json& value, GS::Int32 valueType, API_Variant* variant)
{
    variant->type = static_cast<API_VariantType>(valueType);
    switch (valueType) {
        case API_PropertyRealValueType:
            if (!value.is_number())
                return false;
            variant->doubleValue = value.get<double>();
            return true;
        case API_PropertyIntegerValueType:
            if (!value.is_number_integer())
                return false;
            variant->intValue = ToInt32(value);
            return true;
        case API_PropertyStringValueType:
            if (!value.is_string())
                return false;
            variant->uniStringValue = GS::UniString(value.get<std::string>());
            return true;
        case API_PropertyBooleanValueType:
            if (!value.is_boolean())
                return false;
            variant->boolValue = value.get<bool>();
            return true;
        case API_PropertyGuidValueType:
            if (!value.is_string() || !IsGuidText(value.get<std::string>()))
                return false;
            variant->guidValue = GSGuid2APIGuid(GS::Guid(value.get<std::string>().c_str()));
            return true;
        default: return false;
    }
}

}  // namespace ModelJson

using namespace ModelJson;

std::vector<const Json*> PropertyDefinitionsFor(const Json& model, const Json& element)
{
    std::vector<const Json*> list;
    const GS::Int32 typeID = ElementType(element);
    for (const Json& definition : Array(model, "propertyDefinitions")) {
        const Json* types = Member(definition, "types");
        bool applies = types == nullptr || !types->is_array();
        if (!applies) {
            for (const Json& t : *types)
                applies = applies || ParseElementType(t) == typeID;
        }
        if (applies)
            list.push_back(&definition);
    }
    return list;
}

const Json* FindPropertyDefinition(const Json& model, const GS::Guid& guid)
{
    if (guid.IsNull())
        return nullptr;
    for (const Json& definition : Array(model, "propertyDefinitions")) {
        if (GuidOf(definition, "guid") == guid)
            return &definition;
    }
    return nullptr;
}

void ToPropertyDefinition(const Json& definition, API_PropertyDefinition* record)
{
    *record = API_PropertyDefinition();
    record->guid = GSGuid2APIGuid(GuidOf(definition, "guid"));
    record->groupGuid = GSGuid2APIGuid(GuidOf(definition, "group"));
    record->name = GS::UniString(Str(definition, "name"));
    record->description = GS::UniString(Str(definition, "description"));
    record->valueType = static_cast<API_VariantType>(ValueType(definition));
}

bool PropertyValue(const Json& element, const Json& definition, API_Property* property)
{
    *property = API_Property();
    ToPropertyDefinition(definition, &property->definition);
    const GS::Guid defGuid = GuidOf(definition, "guid");
    const Json* own = nullptr;
    const Json* values = Member(element, "properties");
    if (values != nullptr && values->is_object()) {
        for (auto it = values->begin(); it != values->end(); ++it) {
            if (GS::Guid(it.key().c_str()) == defGuid) {
                own = &it.value();
                break;
            }
        }
    }
    if (own != nullptr)
        return ToVariant(*own, ValueType(definition), &property->value);
    const Json* def = Member(definition, "default");
    if (def == nullptr)
        return false;
    property->isDefault = true;
    return ToVariant(*def, ValueType(definition), &property->value);
}

}  // namespace Host
