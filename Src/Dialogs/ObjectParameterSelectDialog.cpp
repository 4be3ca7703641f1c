#include "Dialogs/ObjectParameterSelectDialog.hpp"

#include <algorithm>
#include <cstring>
#include <string>

#include "HostApi/HostHandles.hpp"

namespace {
namespace Items = ObjectParameterSelectDialogItems;
namespace Texts = ObjectParameterSelectDialogStrings;

enum Column : GS::Int16 { CaptionColumn = 1, NameColumn, ValueColumn };

std::string FieldText(const char* field, std::size_t size)
{
    return std::string(field, strnlen(field, size));
}

GS::Int32 LibraryPart(const API_Element& element)
{
    switch (element.header.typeID) {
        case API_WindowID: return element.window.libInd;
        case API_ObjectID: return element.object.libInd;
        default: return 0;
    }
}

// The description of the library part's parameter of that name; empty when the list cannot be
// read or holds no such parameter.
GS::UniString Caption(GS::Int32 libraryPart, const std::string& name)
{
    const HeldLibPartParams own(libraryPart);
    if (!own)
        return GS::UniString();
    const GSSize count = std::min(static_cast<GSSize>(own->count), HandleRecords(own->params));
    for (GSSize i = 0; i < count; ++i) {
        const HostAddParam& p = (*own->params)[i];
        if (FieldText(p.name, sizeof p.name) == name)
            return GS::UniString(FieldText(p.description, sizeof p.description));
    }
    return GS::UniString();
}
}  // namespace

ObjectParameterSelectDialog::ObjectParameterSelectDialog(const API_Element& element)
    : ArgumentPickerDialog(ResourceId, {Items::SelectButton, Items::CancelButton, Items::ChoicesList}, element,
                           {{151, true, Texts::CaptionHeader},
                            {100, false, Texts::NameHeader},
                            {50, false, Texts::ValueHeader}},
                           NameColumn)
{
    Setup();
}

void ObjectParameterSelectDialog::PanelOpened(const DG::PanelOpenEvent& ev)
{
    ArgumentPickerDialog::PanelOpened(ev);
    GuardedFill();
}

void ObjectParameterSelectDialog::FillList()
{
    ClearRows();
    if (!element.header.hasMemo)
        return;
    const HeldMemo memo(element.header.guid, APIMemoMask_AddPars);
    if (!memo)
        return;
    const GS::Int32 libraryPart = LibraryPart(element);
    const GSSize count = HandleRecords(memo->params);
    for (GSSize i = 0; i < count; ++i) {
        const HostAddParam& param = (*memo->params)[i];
        if (param.typeID != APIParT_Length && param.typeID != APIParT_RealNum)
            continue;
        const std::string name = FieldText(param.name, sizeof param.name);
        AddRow({Caption(libraryPart, name), GS::UniString(name), GS::UniString::Printf("%.2f", param.value)});
    }
    SelectFirstRow();
}
