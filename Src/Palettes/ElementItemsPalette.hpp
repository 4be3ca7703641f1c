#pragma once
// The Element Links Explorer palette: the items linked to the selected element (ElementItemsPanel),
// handing a chosen item over to the main palette. One per process, made on first show.
#include "DG/DGPanel.hpp"
#include "Palettes/ElementItemsPanel.hpp"
#include "Palettes/PaletteSupport.hpp"
#include "ResourceNames.hpp"

class ElementItemsPalette : public DG::Palette,
                            public ElementItemsPanel,
                            public PaletteSupport<ElementItemsPalette> {
public:
    static constexpr GS::Int16 ResourceId = ElementItemsPaletteItems::ResourceId;
    static constexpr GS::Int16 MenuResId = ExplorerMenuStrings::ListId;
    static constexpr const char* Name = "ElementItemsPalette";
    static constexpr const char* GuidText = "A1C3F7E2-8D4B-4F61-9A2E-6B8C05D2E4F3";

    ~ElementItemsPalette() override;

    void Show();
    void Hide();
    // Shows the palette with the rows of the current selection: it may have changed while hidden.
    void Open();

    void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override;
    // Opens the main palette when needed and brings the item into view there.
    void OnGotoItem(GS::Int32 itemId) override;

private:
    friend class PaletteSupport<ElementItemsPalette>;
    ElementItemsPalette();
};
