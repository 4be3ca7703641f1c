#include "Dialogs/PropertySelectDialog.hpp"

#include "HostApi/HostElementCalls.hpp"

namespace {
namespace Items = PropertySelectDialogItems;
namespace Texts = PropertySelectDialogStrings;

enum Column : GS::Int16 { NameColumn = 1, DescriptionColumn, ValueColumn };
}  // namespace

PropertySelectDialog::PropertySelectDialog(const API_Element& element)
    : ArgumentPickerDialog(ResourceId, {Items::SelectButton, Items::CancelButton, Items::ChoicesList}, element,
                           {{100, false, Texts::NameHeader},
                            {151, true, Texts::DescriptionHeader},
                            {50, false, Texts::ValueHeader}},
                           NameColumn)
{
    Setup();
}

void PropertySelectDialog::FillList()
{
    ClearRows();
    GS::Array<API_PropertyDefinition> definitions;
    if (HostGetElementPropertyDefinitions(element.header.guid, API_PropertyDefinitionFilter_All, &definitions) !=
        NoError)
        return;
    GS::Array<API_Guid> guids;
    for (const API_PropertyDefinition& definition : definitions)
        guids.Push(definition.guid);
    GS::Array<API_Property> properties;
    if (HostGetElementProperties(element.header.guid, guids, &properties) != NoError)
        return;

    // Only numeric definitions can feed a formula: probe with a real, then with an integer.
    API_Variant realProbe;
    realProbe.type = API_PropertyRealValueType;
    API_Variant intProbe;
    intProbe.type = API_PropertyIntegerValueType;
    for (const API_PropertyDefinition& definition : definitions) {
        if (!HostIsValidPropertyValue(realProbe, definition) && !HostIsValidPropertyValue(intProbe, definition))
            continue;
        const API_Property* value = nullptr;
        for (const API_Property& property : properties) {
            if (property.definition.guid == definition.guid) {
                value = &property;
                break;
            }
        }
        if (value == nullptr)
            continue;
        const GS::UniString text = value->value.type == API_PropertyRealValueType
                                       ? GS::UniString::Printf("%.2f", value->value.doubleValue)
                                       : GS::UniString::Printf("%d", static_cast<int>(value->value.intValue));
        AddRow({definition.name, definition.description, text});
    }
    SelectFirstRow();
}
