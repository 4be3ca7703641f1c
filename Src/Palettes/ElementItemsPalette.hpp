#pragma once
// The Element Links Explorer palette: the items linked to the selected element (ElementItemsPanel),
// handing a chosen item over to the main palette. One per process, made on first show.
#include "API/ApiTypes.hpp"
#include "DG/DGPanel.hpp"
#include "Palettes/ElementItemsPanel.hpp"

class ElementItemsPalette : public DG::Palette, public ElementItemsPanel {
public:
    static constexpr GS::Int16 ResourceId = 32402;

    ~ElementItemsPalette() override;

    static void CreateInstance();
    // Releases the palette when there is one; stores nothing.
    static void DestroyInstance();
    // Throws GS::NullReferenceException when there is no palette.
    static ElementItemsPalette& GetInstance();
    static bool HasInstance();

    static const API_Guid& GetPaletteGuid();
    static GS::Int32 GetPaletteRefId();
    static GSErrCode RegisterPaletteControlCallBack();
    static GSErrCode PaletteControlCallBack(GS::Int32 referenceID, API_PaletteMessageID messageID, GS::Int64 param);

    void Show();
    void Hide();

    void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override;
    // Opens the main palette when needed and brings the item into view there.
    void OnGotoItem(GS::Int32 itemId) override;

private:
    ElementItemsPalette();
};
