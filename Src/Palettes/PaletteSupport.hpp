#pragma once
// What the add-on's two palettes share: one palette per process behind a counted pointer, the
// reference id the host knows it by, the menu entry whose check mark mirrors its visibility and the
// answers to the host's palette messages.
#include <memory>
#include <string>

#include "API/ApiTypes.hpp"
#include "DG/DGPanel.hpp"
#include "GSRoot/Exceptions.hpp"
#include "GSRoot/Guid.hpp"
#include "HostApi/Guard.hpp"
#include "HostApi/HostCalls.hpp"

// The host knows a palette by a reference id: the sum, modulo 2^32, of the GUID's 16-byte form
// (first group 32-bit, the next two 16-bit, the rest as written; little-endian) read as four
// little-endian 32-bit words.
GS::Int32 PaletteRefIdFromGuid(const API_Guid& guid);

// Sets or clears the check mark (flag value 2) of a menu entry that mirrors a palette's visibility.
void SetPaletteMenuCheck(GS::Int16 menuResID, GS::Int32 itemIndex, bool checked);

// The shared side of a palette class P, which names itself (Name), its GUID (GuidText) and the
// menu that shows it (MenuResId), and has its own Show and Hide. P may hide Open and DestroyInstance
// to add its own work; the messages and the menu command call P's.
template <typename P>
class PaletteSupport {
public:
    // Makes a new palette in place of any earlier one and asks the host to keep the add-on loaded.
    static void CreateInstance()
    {
        Instance() = std::shared_ptr<P>(new P());
        // Made once the first palette stands, and so after every static of the module that a palette
        // uses (the panels' registry among them): it goes before those and releases a palette that
        // the host never had destroyed while they are still there.
        static Releaser releaser;
        HostKeepInMemory(true);
    }
    // Releases the palette when there is one.
    static void DestroyInstance() { Instance().reset(); }
    // Throws GS::NullReferenceException when there is no palette.
    static P& GetInstance()
    {
        if (!Instance())
            throw GS::NullReferenceException();
        return *Instance();
    }
    static bool HasInstance() { return Instance() != nullptr; }

    static const API_Guid& GetPaletteGuid()
    {
        static const API_Guid guid = GSGuid2APIGuid(GS::Guid(P::GuidText));
        return guid;
    }
    static GS::Int32 GetPaletteRefId()
    {
        static const GS::Int32 refId = PaletteRefIdFromGuid(GetPaletteGuid());
        return refId;
    }
    static GSErrCode RegisterPaletteControlCallBack()
    {
        return HostRegisterPalette(GetPaletteRefId(), PaletteControlCallBack, kEnableFlags, GetPaletteGuid());
    }
    static GSErrCode PaletteControlCallBack(GS::Int32 referenceID, API_PaletteMessageID messageID, GS::Int64 param);

    // The menu command: hides a visible palette, else opens it (made first when there is none).
    static void ToggleFromMenu()
    {
        if (HasInstance() && GetInstance().IsVisible()) {
            GetInstance().Hide();
            return;
        }
        if (!HasInstance())
            P::CreateInstance();
        GetInstance().Open();
    }

    // Shows the palette as the user asks for it.
    void Open() { Self().Show(); }

protected:
    // Show and Hide of the palette window, with its menu entry's check mark.
    void ShowWithCheckMark()
    {
        Self().DG::ModelessBase::Show(kShowPosition);
        SetPaletteMenuCheck(P::MenuResId, kMenuEntry, true);
    }
    void HideWithCheckMark()
    {
        Self().DG::ModelessBase::Hide();
        SetPaletteMenuCheck(P::MenuResId, kMenuEntry, false);
    }
    // The close box only hides the palette.
    void HideOnClose(bool* accepted)
    {
        Guarded((std::string(P::Name) + "::PanelCloseRequested").c_str(), [this] { Self().Hide(); });
        if (accepted != nullptr)
            *accepted = true;
    }

private:
    static constexpr GS::Int32 kMenuEntry = 1;
    static constexpr GSFlags kEnableFlags = 0x3F7;
    static constexpr GS::Int16 kShowPosition = -32768;

    struct Releaser {
        ~Releaser() { Instance().reset(); }
    };

    // A counted pointer: a callback holding its own reference keeps the palette alive while it runs.
    static std::shared_ptr<P>& Instance()
    {
        static std::shared_ptr<P> instance;
        return instance;
    }
    P& Self() { return static_cast<P&>(*this); }
};

template <typename P>
GSErrCode PaletteSupport<P>::PaletteControlCallBack(GS::Int32, API_PaletteMessageID messageID, GS::Int64 param)
{
    Guarded((std::string(P::Name) + "::PaletteControlCallBack").c_str(), [&] {
        std::shared_ptr<P> palette = Instance();
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
                    palette->Open();
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
                    P::CreateInstance();
                    palette = Instance();
                }
                palette->Open();
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
