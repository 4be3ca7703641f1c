#include "Palettes/ElementItemsPalette.hpp"

#include <exception>

#include "Database/ItemsTable.hpp"
#include "HostApi/HostCalls.hpp"
#include "Palettes/CalvoraPalette.hpp"

namespace {
// The list may name an item deleted since it was filled.
bool ItemExists(GS::Int32 itemId)
{
    try {
        return ItemsTable().findById(itemId).getInt("id") != 0;
    } catch (const std::exception&) {
        return false;
    }
}
}  // namespace

ElementItemsPalette::ElementItemsPalette()
    : DG::Palette(HostGetOwnResModule(), ResourceId, HostGetOwnResModule()), ElementItemsPanel(*this, ResourceId)
{
    BeginEventProcessing();
}

ElementItemsPalette::~ElementItemsPalette()
{
    EndEventProcessing();
}

void ElementItemsPalette::Show()
{
    ShowWithCheckMark();
}

void ElementItemsPalette::Hide()
{
    HideWithCheckMark();
}

void ElementItemsPalette::Open()
{
    Show();
    RefreshFromSelection();
}

void ElementItemsPalette::PanelCloseRequested(const DG::PanelCloseRequestEvent&, bool* accepted)
{
    HideOnClose(accepted);
}

void ElementItemsPalette::OnGotoItem(GS::Int32 itemId)
{
    if (!CalvoraPalette::HasInstance())
        CalvoraPalette::CreateInstance();
    CalvoraPalette& main = CalvoraPalette::GetInstance();
    if (!main.IsVisible())
        main.Show();
    // An item deleted since the list was filled leaves the main panel as it is.
    if (ItemExists(itemId))
        main.ShowItem(itemId);
}
