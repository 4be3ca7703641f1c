#pragma once
// The main palette: the estimate's categories, items and quantities (CalvoraPanel) in a modeless
// window of the host. One per process, made on first show and kept until the add-on is unloaded.
#include "API/ApiTypes.hpp"
#include "DG/DGPanel.hpp"
#include "Palettes/CalvoraPanel.hpp"

// The host knows a palette by a reference id: the sum, modulo 2^32, of the GUID's 16-byte form
// (first group 32-bit, the next two 16-bit, the rest as written; little-endian) read as four
// little-endian 32-bit words.
GS::Int32 PaletteRefIdFromGuid(const API_Guid& guid);

// Sets or clears the check mark (flag value 2) of a menu entry that mirrors a palette's visibility.
void SetPaletteMenuCheck(GS::Int16 menuResID, GS::Int32 itemIndex, bool checked);

class CalvoraPalette : public DG::Palette, public CalvoraPanel {
public:
    static constexpr GS::Int16 ResourceId = 32401;

    ~CalvoraPalette() override;

    // Makes a new palette in place of any earlier one and asks the host to keep the add-on loaded.
    static void CreateInstance();
    // Stores the database, then releases the palette when there is one.
    static void DestroyInstance();
    // Throws GS::NullReferenceException when there is no palette.
    static CalvoraPalette& GetInstance();
    static bool HasInstance();

    static const API_Guid& GetPaletteGuid();
    static GS::Int32 GetPaletteRefId();
    static GSErrCode RegisterPaletteControlCallBack();
    static GSErrCode PaletteControlCallBack(GS::Int32 referenceID, API_PaletteMessageID messageID, GS::Int64 param);

    // Shows the window and checks its menu entry.
    void Show();
    // Hides the window, clears the check mark and stores the database.
    void Hide();

    // The close box only hides the palette.
    void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override;

private:
    CalvoraPalette();
};
