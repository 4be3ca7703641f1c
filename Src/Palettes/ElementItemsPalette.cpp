#include "Palettes/ElementItemsPalette.hpp"

#include <exception>
#include <memory>

#include "Database/ItemsTable.hpp"
#include "GSRoot/Debug.hpp"
#include "GSRoot/Exceptions.hpp"
#include "HostApi/HostCalls.hpp"
#include "Palettes/CalvoraPalette.hpp"

namespace {
constexpr GS::Int16 kMenu = 32501;
constexpr GS::Int32 kMenuEntry = 1;
constexpr GSFlags kEnableFlags = 0x3F7;
constexpr GS::Int16 kShowPosition = -32768;

std::shared_ptr<ElementItemsPalette>& Instance()
{
    static std::shared_ptr<ElementItemsPalette> instance;
    return instance;
}

template <typename F>
void Guarded(const char* where, F&& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        DBPrintf("Unhandled exception in ElementItemsPalette::%s: %s\n", where, e.what());
    } catch (...) {
        DBPrintf("Unhandled exception in ElementItemsPalette::%s\n", where);
    }
}

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

void ElementItemsPalette::CreateInstance()
{
    Instance() = std::shared_ptr<ElementItemsPalette>(new ElementItemsPalette());
    HostKeepInMemory(true);
}

void ElementItemsPalette::DestroyInstance()
{
    Instance().reset();
}

ElementItemsPalette& ElementItemsPalette::GetInstance()
{
    if (!Instance())
        throw GS::NullReferenceException();
    return *Instance();
}

bool ElementItemsPalette::HasInstance()
{
    return Instance() != nullptr;
}

const API_Guid& ElementItemsPalette::GetPaletteGuid()
{
    static const API_Guid guid = GSGuid2APIGuid(GS::Guid("A1C3F7E2-8D4B-4F61-9A2E-6B8C05D2E4F3"));
    return guid;
}

GS::Int32 ElementItemsPalette::GetPaletteRefId()
{
    static const GS::Int32 refId = PaletteRefIdFromGuid(GetPaletteGuid());
    return refId;
}

GSErrCode ElementItemsPalette::RegisterPaletteControlCallBack()
{
    return HostRegisterPalette(GetPaletteRefId(), PaletteControlCallBack, kEnableFlags, GetPaletteGuid());
}

void ElementItemsPalette::Show()
{
    DG::ModelessBase::Show(kShowPosition);
    SetPaletteMenuCheck(kMenu, kMenuEntry, true);
}

void ElementItemsPalette::Hide()
{
    DG::ModelessBase::Hide();
    SetPaletteMenuCheck(kMenu, kMenuEntry, false);
}

void ElementItemsPalette::PanelCloseRequested(const DG::PanelCloseRequestEvent&, bool* accepted)
{
    Guarded("PanelCloseRequested", [this] { Hide(); });
    if (accepted != nullptr)
        *accepted = true;
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

GSErrCode ElementItemsPalette::PaletteControlCallBack(GS::Int32, API_PaletteMessageID messageID, GS::Int64 param)
{
    Guarded("PaletteControlCallBack", [&] {
        std::shared_ptr<ElementItemsPalette> palette = Instance();
        switch (messageID) {
            case APIPalMsg_ClosePalette:
                if (palette)
                    palette->Hide();
                break;
            case APIPalMsg_HidePalette_Begin:
                if (palette && palette->IsVisible())
                    palette->Hide();
                break;
            case APIPalMsg_HidePalette_End:
                // The selection or the project may have changed while it was hidden.
                if (palette && !palette->IsVisible()) {
                    palette->Show();
                    palette->RefreshFromSelection();
                }
                break;
            case APIPalMsg_DisableItems_Begin:
                if (palette && palette->IsVisible())
                    palette->DisableItems();
                break;
            case APIPalMsg_DisableItems_End:
                if (palette && palette->IsVisible())
                    palette->EnableItems();
                break;
            case APIPalMsg_OpenPalette:
                if (!palette) {
                    CreateInstance();
                    palette = Instance();
                }
                palette->Show();
                palette->RefreshFromSelection();
                break;
            case APIPalMsg_IsPaletteVisible:
                if (param != 0)
                    *reinterpret_cast<bool*>(param) = palette && palette->IsVisible();
                break;
            default:
                break;
        }
    });
    return NoError;
}
