#include "Dialogs/ObjectParameterSelectDialog.hpp"

#include <algorithm>
#include <cstring>
#include <string>

#include "GSRoot/Memory.hpp"
#include "HostApi/HostElementCalls.hpp"

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

GS::Int32 ParamCount(HostAddParam** params)
{
    if (params == nullptr)
        return 0;
    return static_cast<GS::Int32>(BMGetHandleSize(reinterpret_cast<GSHandle>(params)) /
                                  static_cast<GSSize>(sizeof(HostAddParam)));
}

// The description of the library part's parameter of that name; empty when the list cannot be
// read or holds no such parameter.
GS::UniString Caption(GS::Int32 libraryPart, const std::string& name)
{
    HostLibPartParams own{};
    if (HostGetLibPartParams(libraryPart, &own) != NoError)
        return GS::UniString();
    GS::UniString caption;
    const GS::Int32 count = std::min(own.count, ParamCount(own.params));
    for (GS::Int32 i = 0; i < count; ++i) {
        const HostAddParam& p = (*own.params)[i];
        if (FieldText(p.name, sizeof p.name) == name) {
            caption = GS::UniString(FieldText(p.description, sizeof p.description));
            break;
        }
    }
    HostDisposeLibPartParams(&own);
    return caption;
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
    API_ElementMemo memo{};
    if (HostGetElementMemo(element.header.guid, &memo, APIMemoMask_AddPars) != NoError)
        return;
    try {
        const GS::Int32 libraryPart = LibraryPart(element);
        const GS::Int32 count = ParamCount(memo.params);
        for (GS::Int32 i = 0; i < count; ++i) {
            const HostAddParam& param = (*memo.params)[i];
            if (param.typeID != APIParT_Length && param.typeID != APIParT_RealNum)
                continue;
            const std::string name = FieldText(param.name, sizeof param.name);
            AddRow({Caption(libraryPart, name), GS::UniString(name), GS::UniString::Printf("%.2f", param.value)});
        }
    } catch (...) {
        HostDisposeElementMemo(&memo);
        throw;
    }
    HostDisposeElementMemo(&memo);
    SelectFirstRow();
}
