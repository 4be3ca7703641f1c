#pragma once
// The main palette: the estimate's categories, items and quantities (CalvoraPanel) in a modeless
// window of the host. One per process, made on first show and kept until the add-on is unloaded.
#include "DG/DGPanel.hpp"
#include "Palettes/CalvoraPanel.hpp"
#include "Palettes/PaletteSupport.hpp"
#include "ResourceNames.hpp"

class CalvoraPalette : public DG::Palette, public CalvoraPanel, public PaletteSupport<CalvoraPalette> {
public:
    static constexpr GS::Int16 ResourceId = CalvoraPaletteItems::ResourceId;
    static constexpr GS::Int16 MenuResId = ShowPaletteMenuStrings::ListId;
    static constexpr const char* Name = "CalvoraPalette";
    static constexpr const char* GuidText = "B64AED35-3C1E-4333-8599-3A5AF013FD47";

    ~CalvoraPalette() override;

    // Stores the database, then releases the palette when there is one.
    static void DestroyInstance();

    // Shows the window and checks its menu entry.
    void Show();
    // Hides the window, clears the check mark and stores the database.
    void Hide();

    void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override;

private:
    friend class PaletteSupport<CalvoraPalette>;
    CalvoraPalette();
};
