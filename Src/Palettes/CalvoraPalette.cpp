#include "Palettes/CalvoraPalette.hpp"

#include <exception>
#include <memory>

#include "Database/ProjectDatabase.hpp"
#include "GSRoot/Debug.hpp"
#include "GSRoot/Exceptions.hpp"
#include "HostApi/HostCalls.hpp"

namespace {
constexpr GS::Int16 kMenu = 32500;
constexpr GS::Int32 kMenuEntry = 1;
constexpr GSFlags kEnableFlags = 0x3F7;
constexpr GS::Int16 kShowPosition = -32768;

// A counted pointer: a callback holding its own reference keeps the palette alive while it runs.
std::shared_ptr<CalvoraPalette>& Instance()
{
    static std::shared_ptr<CalvoraPalette> instance;
    return instance;
}

// Made once the first palette stands, and so after every static of the module that a palette uses
// (the panels' registry among them): it goes before those and releases a palette that the host
// never had destroyed while they are still there.
struct PaletteReleaser {
    ~PaletteReleaser() { Instance().reset(); }
};

GS::UInt32 LittleEndianWord(const GS::UInt8* b)
{
    return GS::UInt32(b[0]) | (GS::UInt32(b[1]) << 8) | (GS::UInt32(b[2]) << 16) | (GS::UInt32(b[3]) << 24);
}
}  // namespace

GS::Int32 PaletteRefIdFromGuid(const API_Guid& guid)
{
    GS::UInt8 bytes[16];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<GS::UInt8>(guid.time_low >> (8 * i));
    bytes[4] = static_cast<GS::UInt8>(guid.time_mid);
    bytes[5] = static_cast<GS::UInt8>(guid.time_mid >> 8);
    bytes[6] = static_cast<GS::UInt8>(guid.time_hi_and_version);
    bytes[7] = static_cast<GS::UInt8>(guid.time_hi_and_version >> 8);
    bytes[8] = guid.clock_seq[0];
    bytes[9] = guid.clock_seq[1];
    for (int i = 0; i < 6; ++i)
        bytes[10 + i] = guid.node[i];
    GS::UInt32 sum = 0;
    for (int word = 0; word < 4; ++word)
        sum += LittleEndianWord(bytes + 4 * word);
    return static_cast<GS::Int32>(sum);
}

void SetPaletteMenuCheck(GS::Int16 menuResID, GS::Int32 itemIndex, bool checked)
{
    const API_MenuItemRef ref{menuResID, itemIndex};
    // After a failed read the flags are written back from 0.
    GSFlags flags = 0;
    HostGetMenuItemFlags(&ref, &flags);
    if (checked)
        flags |= API_MenuItemChecked;
    else
        flags &= ~API_MenuItemChecked;
    HostSetMenuItemFlags(&ref, &flags);
}

CalvoraPalette::CalvoraPalette()
    : DG::Palette(HostGetOwnResModule(), ResourceId, HostGetOwnResModule()), CalvoraPanel(*this, ResourceId)
{
    BeginEventProcessing();
}

CalvoraPalette::~CalvoraPalette()
{
    EndEventProcessing();
}

void CalvoraPalette::CreateInstance()
{
    Instance() = std::shared_ptr<CalvoraPalette>(new CalvoraPalette());
    static PaletteReleaser releaser;
    HostKeepInMemory(true);
}

void CalvoraPalette::DestroyInstance()
{
    ProjectDatabase::instance().saveToProject();
    Instance().reset();
}

CalvoraPalette& CalvoraPalette::GetInstance()
{
    if (!Instance())
        throw GS::NullReferenceException();
    return *Instance();
}

bool CalvoraPalette::HasInstance()
{
    return Instance() != nullptr;
}

const API_Guid& CalvoraPalette::GetPaletteGuid()
{
    static const API_Guid guid = GSGuid2APIGuid(GS::Guid("B64AED35-3C1E-4333-8599-3A5AF013FD47"));
    return guid;
}

GS::Int32 CalvoraPalette::GetPaletteRefId()
{
    static const GS::Int32 refId = PaletteRefIdFromGuid(GetPaletteGuid());
    return refId;
}

GSErrCode CalvoraPalette::RegisterPaletteControlCallBack()
{
    return HostRegisterPalette(GetPaletteRefId(), PaletteControlCallBack, kEnableFlags, GetPaletteGuid());
}

void CalvoraPalette::Show()
{
    DG::ModelessBase::Show(kShowPosition);
    SetPaletteMenuCheck(kMenu, kMenuEntry, true);
}

void CalvoraPalette::Hide()
{
    DG::ModelessBase::Hide();
    SetPaletteMenuCheck(kMenu, kMenuEntry, false);
    ProjectDatabase::instance().saveToProject();
}

void CalvoraPalette::PanelCloseRequested(const DG::PanelCloseRequestEvent&, bool* accepted)
{
    try {
        Hide();
    } catch (const std::exception& e) {
        DBPrintf("Unhandled exception in CalvoraPalette::PanelCloseRequested: %s\n", e.what());
    } catch (...) {
        DBPrintf("Unhandled exception in CalvoraPalette::PanelCloseRequested\n");
    }
    if (accepted != nullptr)
        *accepted = true;
}

GSErrCode CalvoraPalette::PaletteControlCallBack(GS::Int32, API_PaletteMessageID messageID, GS::Int64 param)
{
    try {
        std::shared_ptr<CalvoraPalette> palette = Instance();
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
                if (palette && !palette->IsVisible())
                    palette->Show();
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
                break;
            case APIPalMsg_IsPaletteVisible:
                if (param != 0)
                    *reinterpret_cast<bool*>(param) = palette && palette->IsVisible();
                break;
            default:
                break;
        }
    } catch (const std::exception& e) {
        DBPrintf("Unhandled exception in CalvoraPalette::PaletteControlCallBack (message %d): %s\n",
                 static_cast<int>(messageID), e.what());
    } catch (...) {
        DBPrintf("Unhandled exception in CalvoraPalette::PaletteControlCallBack (message %d)\n",
                 static_cast<int>(messageID));
    }
    return NoError;
}
