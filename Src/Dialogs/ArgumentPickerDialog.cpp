#include "Dialogs/ArgumentPickerDialog.hpp"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "Dialogs/AttributeSwatches.hpp"
#include "HostApi/Guard.hpp"
#include "HostApi/HostElementCalls.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

ArgumentPickerDialog::ArgumentPickerDialog(GS::Int16 resourceId, PickerItems items, const API_Element& element,
                                           std::vector<Column> columns, GS::Int16 resultColumn)
    : OkCancelDialog(resourceId, items.selectButton, items.cancelButton),
      element(element),
      list(*this, items.list),
      columns(std::move(columns)),
      resultColumn(resultColumn),
      resourceWidth(GetClientWidth()),
      resourceHeight(GetClientHeight())
{
}

void ArgumentPickerDialog::Setup(GS::Int16 ownerDrawnColumn)
{
    escapeKey = RegisterHotKey(DG::Key::Escape, DG::Key::NoModifier);
    LayoutColumns();
    GuardedFill();
    list.SetHeaderSynchronState(false);
    if (ownerDrawnColumn != 0)
        list.SetTabFieldOwnerDrawFlag(ownerDrawnColumn, true);
}

GS::UniString ArgumentPickerDialog::GetSelectedName() const
{
    const GS::Int16 row = list.GetSelectedItem();
    if (row < 1)
        return GS::UniString();
    return list.GetTabItemText(row, resultColumn);
}

void ArgumentPickerDialog::LayoutColumns()
{
    const GS::Int16 width = list.GetWidth();
    const GS::Int16 count = static_cast<GS::Int16>(columns.size());
    list.SetTabFieldCount(count);
    GS::Int16 begin = 0;
    for (GS::Int16 i = 0; i < count; ++i) {
        const Column& column = columns[static_cast<std::size_t>(i)];
        GS::Int16 size = column.restOfList ? static_cast<GS::Int16>(width - column.width) : column.width;
        if (size < 0)
            size = 0;
        const GS::Int16 end = static_cast<GS::Int16>(begin + size);
        const GS::Int16 field = static_cast<GS::Int16>(i + 1);
        list.SetTabFieldProperties(field, begin, end, DG::DG_IS_LEFT, true, false, true);
        list.SetHeaderItemSize(field, size);
        list.SetHeaderItemText(field, GetResString(GetResourceId(), column.header));
        begin = end;
    }
}

void ArgumentPickerDialog::ClearRows()
{
    list.DeleteItem(DG::ListBox::AllItems);
}

void ArgumentPickerDialog::AddRow(const std::vector<GS::UniString>& cells)
{
    list.AppendItem();
    const GS::Int16 row = list.GetItemCount();
    for (std::size_t i = 0; i < cells.size(); ++i)
        list.SetTabItemText(row, static_cast<GS::Int16>(i + 1), cells[i]);
}

void ArgumentPickerDialog::SelectFirstRow()
{
    if (list.GetItemCount() > 0)
        list.SelectItem(1);
}

void ArgumentPickerDialog::GuardedFill()
{
    Guarded("ArgumentPickerDialog::FillList", [&] { FillList(); });
}

void ArgumentPickerDialog::PanelOpened(const DG::PanelOpenEvent&)
{
    Guarded("ArgumentPickerDialog::PanelOpened", [&] {
        SetClientSize(resourceWidth, resourceHeight);
        LayoutColumns();
    });
}

void ArgumentPickerDialog::PanelResized(const DG::PanelResizeEvent& ev)
{
    MoveResizeItems(*this, "ArgumentPickerDialog::PanelResized", ev, [&](GS::Int16 dx, GS::Int16 dy) {
        okButton.Move(dx, dy);
        cancelButton.Move(dx, dy);
        list.Resize(dx, dy);
        LayoutColumns();
        list.Redraw();
    });
}

void ArgumentPickerDialog::PanelHotkeyPressed(const DG::PanelHotKeyEvent& ev, bool* processed)
{
    Guarded("ArgumentPickerDialog::PanelHotkeyPressed", [&] {
        if (ev.GetKeyId() != escapeKey || escapeKey == 0)
            return;
        if (processed != nullptr)
            *processed = true;
        PostCloseRequest(DG::Cancel);
    });
}

void ArgumentPickerDialog::ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& ev)
{
    Guarded("ArgumentPickerDialog::ListBoxDoubleClicked", [&] {
        if (ev.GetSource() != &list)
            return;
        const GS::Int16 row = ev.GetListItem();
        if (row >= 1 && row <= list.GetItemCount() && list.GetSelectedItem() != row)
            list.SelectItem(row);
        PostCloseRequest(DG::Accept);
    });
}

// ---- material pickers ----

MaterialPickerDialog::MaterialPickerDialog(GS::Int16 resourceId, PickerItems items, const API_Element& element,
                                           std::vector<Column> columns, GS::Int16 indexColumn)
    : ArgumentPickerDialog(resourceId, items, element, std::move(columns), NameColumn), indexColumn(indexColumn)
{
}

void MaterialPickerDialog::ListBoxTabFieldUpdate(const DG::ListBoxTabFieldUpdateEvent& ev)
{
    Guarded("MaterialPickerDialog::ListBoxTabFieldUpdate", [&] {
        if (ev.GetListItem() < 1 || ev.GetTabFieldIndex() != SwatchColumn)
            return;
        const GS::UniString indexText = list.GetTabItemText(ev.GetListItem(), indexColumn);
        if (indexText.IsEmpty())
            return;
        const GS::Int32 material = static_cast<GS::Int32>(std::atoi(indexText.ToUtf8().c_str()));
        NewDisplay::ListBoxUpdateEventContext context(ev);
        const DG::Rect cell(1, 1, static_cast<GS::Int16>(ev.GetWidth() - 1), static_cast<GS::Int16>(ev.GetHeight() - 1));
        DrawBuildingMaterialSwatch(context, cell, material);
    });
}

bool MaterialPickerDialog::AddMaterialRow(GS::Int32 materialIndex, const GS::UniString& thickness, bool withThickness)
{
    HostAttribute material{};
    material.header.typeID = HostAttr_BuildingMaterial;
    material.header.index = materialIndex;
    if (HostGetAttribute(&material) != NoError)
        return false;
    const GS::UniString name(std::string(material.header.name, strnlen(material.header.name, sizeof material.header.name)));
    for (const GS::UniString& listed : listedNames) {
        if (listed.IsEqual(name, true))
            return false;
    }
    listedNames.push_back(name);
    std::vector<GS::UniString> cells{GS::UniString(), name};
    if (withThickness)
        cells.push_back(thickness);
    cells.push_back(GS::UniString::Printf("%d", static_cast<int>(materialIndex)));
    AddRow(cells);
    return true;
}
