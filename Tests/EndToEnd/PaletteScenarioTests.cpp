// The two palettes in the stand-in host with the real add-on: registration, the host's palette
// messages, menu toggles and check marks, the close box, and the project's life cycle around them.
#include <sqlite3.h>

#include "ScenarioSupport.hpp"

namespace {
using namespace Scenario;

class Palettes : public Session {};

// The reference id is the sum of the GUID's four little-endian words (16-byte form: first group
// as a 32-bit number, the next two as 16-bit numbers, then the rest as written).
TEST_F(Palettes, AreRegisteredByGuidAndReferenceId)
{
    // B64AED35-3C1E-4333-8599-3A5AF013FD47: B64AED35 + 43333C1E + 5A3A9985 + 47FD13F0 = 9BB5D6C8
    const GS::Int32 mainRef = static_cast<GS::Int32>(0xB64AED35u + 0x43333C1Eu + 0x5A3A9985u + 0x47FD13F0u);
    // A1C3F7E2-8D4B-4F61-9A2E-6B8C05D2E4F3: A1C3F7E2 + 4F618D4B + 8C6B2E9A + F3E4D205 = 717585CC
    const GS::Int32 explorerRef = static_cast<GS::Int32>(0xA1C3F7E2u + 0x4F618D4Bu + 0x8C6B2E9Au + 0xF3E4D205u);
    ASSERT_EQ(mainRef, std::stoi(MainRef));
    ASSERT_EQ(explorerRef, std::stoi(ExplorerRef));
    Play({{"show palettes", "=palette -1682581816 guid B64AED35-3C1E-4333-8599-3A5AF013FD47 flags 0x3F7\n"
                            "palette 1903527372 guid A1C3F7E2-8D4B-4F61-9A2E-6B8C05D2E4F3 flags 0x3F7\n"}});

    // Asked before either palette exists, "visible?" writes false over whatever the host passed.
    for (GS::Int32 ref : {mainRef, explorerRef}) {
        bool visible = true;
        host.Palettes().at(ref).callback(ref, APIPalMsg_IsPaletteVisible, reinterpret_cast<GS::Int64>(&visible));
        EXPECT_FALSE(visible) << ref;
    }
    EXPECT_TRUE(DG::User::Panels().empty());

    host.UnloadAddOn();
    EXPECT_TRUE(host.Palettes().empty()) << "FreeData unregisters both";
}

TEST_F(Palettes, FollowTheHostsMessages)
{
    struct Case {
        const char* ref;
        const char* panel;
        const char* menuEntry;
    };
    for (const Case& c : {Case{MainRef, "Calvora", "1. Show Calvora Palette"},
                          Case{ExplorerRef, "Element Links Explorer", "1. Element Links Explorer"}}) {
        SCOPED_TRACE(c.panel);
        const std::string send = std::string("palette ") + c.ref + " ";
        const std::string title = std::string("\"") + c.panel + "\"";
        const std::string checked = std::string(c.menuEntry) + " [checked]";
        const std::string unchecked = std::string("!") + c.menuEntry + " [";
        // Nothing exists yet, and only "open" makes the palette.
        Play({
            {send + "visible", "=visible false\n"},
            {send + "close\n" + send + "hide-begin\n" + send + "hide-end\n" + send + "disable-begin\n" + send +
                 "disable-end\nshow panels\nshow menus",
             "!" + title + "\n" + unchecked},
            {send + "open\n" + send + "visible\nshow menus", "visible true\n" + checked},
            {send + "open\n" + send + "visible", "visible true"},
        });
        EXPECT_EQ(CountPanels(c.panel), 1) << "made once";
        Play({
            {send + "disable-begin\nshow " + title, "visible grow disabled-by-host"},
            {send + "disable-end\nshow " + title, "!disabled-by-host"},
            {send + "hide-begin\n" + send + "visible\nshow menus", "visible false\n" + unchecked},
            {send + "hide-end\n" + send + "visible\nshow menus", "visible true\n" + checked},
            {send + "close\n" + send + "visible\nshow menus", "visible false\n" + unchecked},
            // Hidden, it is neither disabled by the host nor shown by the end of a hiding period's start.
            {send + "disable-begin\nshow " + title, "!disabled-by-host"},
            {send + "hide-begin\n" + send + "visible", "visible false"},
        });
        EXPECT_EQ(CountPanels(c.panel), 1);
    }
}

TEST_F(Palettes, MenuTogglesAndTheCloseBoxHideAndStore)
{
    Play({
        {"open {sample}\nmenu \"Show Calvora Palette\"\nshow menus\nshow Calvora",
         "1. Show Calvora Palette [checked]\n"
         "    entry 1 \"00 Preliminaries\" value 1 *\n"
         "    row 1 value 1 | \"1\" | \"00.01\"\n"
         "    row 2 value 2 | \"2\" | \"00.02\""},
        {"drag-row Calvora 5 2 1\nshow Calvora", "    row 1 value 2 | \"1\" | \"00.02\""},
    });
    EXPECT_TRUE(host.KeptInMemory());
    EXPECT_EQ(StoredItemCodes(1), (std::vector<std::string>{"00.01", "00.02"})) << "not stored yet";

    Play({{"closebox Calvora\nshow menus\nshow panels", "!Show Calvora Palette [\n\"Calvora\" hidden"}});
    EXPECT_EQ(StoredItemCodes(1), (std::vector<std::string>{"00.02", "00.01"})) << "stored by the close box";

    // Shown again: the same panel with what it held; chosen again, the menu hides it and stores.
    Play({
        {"menu \"Show Calvora Palette\"\nchoose Calvora 2 \"02 Concrete and steel\"\nmenu \"Show Calvora Palette\"",
         ""},
        {"menu \"Show Calvora Palette\"\nshow panels\nshow Calvora",
         "\"Calvora\" visible\n!hidden\n    entry 3 \"02 Concrete and steel\" value 3 *"},
        {"drag-row Calvora 5 3 1\nmenu \"Show Calvora Palette\"\nshow menus", "!Show Calvora Palette ["},
    });
    EXPECT_EQ(CountPanels("Calvora"), 1);
    // The menu's hide stored the Concrete reorder too (02.03 moved to the top).
    EXPECT_EQ(StoredItemCodes(3), (std::vector<std::string>{"02.03", "02.01", "02.02"}));
}

TEST_F(Palettes, FollowTheProjectsLifeCycle)
{
    Play({
        {"open {sample}\nmenu \"Show Calvora Palette\"\ndrag-row Calvora 5 2 1", ""},
    });
    // Close stores the pending change into the project that closes.
    host.SendProjectEvent(APINotify_Close);
    EXPECT_EQ(StoredItemCodes(1), (std::vector<std::string>{"00.02", "00.01"}));

    Play({
        // New: the palette lists the fresh estimate's one category.
        {"new\nshow Calvora", "  2 popup (5,23,390,20) selected 1\n    entry 1 \" Untitled Category\" value 1 *\n"
                              "!entry 2\n  5 singlelist (5,110,500,190) rowHeight 36 scroll 1 rows 0"},
        // Open: the opened project's stored estimate (the file on disk still has the first order).
        {"open {sample}\nshow Calvora", "    entry 4 \"03 Finishes\" value 4\n    row 1 value 1 | \"1\" | \"00.01\""},
        {"drag-row Calvora 5 2 1", ""},
    });
    EXPECT_EQ(StoredItemCodes(1), (std::vector<std::string>{"00.01", "00.02"}));
    // Unloading stores what is pending, destroys both palettes and unregisters them.
    host.UnloadAddOn();
    EXPECT_EQ(StoredItemCodes(1), (std::vector<std::string>{"00.02", "00.01"}));
    EXPECT_TRUE(DG::User::Panels().empty());
    EXPECT_TRUE(host.Palettes().empty());
}

// Whatever fails inside the add-on, the host sees a debug line and, for a command the user chose,
// an error alert; never an exception. Host operations made to throw, and SQLite starved of memory.
// No operation throws.
constexpr ApiSlot Slot_None = static_cast<ApiSlot>(kApiTableSize);

struct Faults : Session {
    // Which host operation throws; the others answer as the host does.
    static ApiSlot& Throwing()
    {
        static ApiSlot slot = Slot_None;
        return slot;
    }
    static void*& Original(ApiSlot slot)
    {
        static void* originals[kApiTableSize] = {};
        return originals[slot];
    }
    static void Check(ApiSlot slot, const char* what)
    {
        if (Throwing() == slot)
            throw std::runtime_error(what);
    }
    static GSErrCode MenuFlags(const API_MenuItemRef* ref, GSFlags* flags)
    {
        Check(Slot_GetMenuItemFlags, "menu flags unavailable");
        return reinterpret_cast<HostGetMenuItemFlagsFn>(Original(Slot_GetMenuItemFlags))(ref, flags);
    }
    static GSErrCode Selection(API_SelectionInfo* info, GS::Array<API_Neig>* neigs, bool editable)
    {
        Check(Slot_GetSelection, "selection unavailable");
        return reinterpret_cast<HostGetSelectionFn>(Original(Slot_GetSelection))(info, neigs, editable);
    }
    static GSErrCode Unregister(GS::Int32 ref)
    {
        Check(Slot_UnregisterPalette, "palettes unavailable");
        return reinterpret_cast<HostUnregisterPaletteFn>(Original(Slot_UnregisterPalette))(ref);
    }
    void BeforeLoad() override
    {
        Throwing() = Slot_None;
        const auto* table = static_cast<const API_FunctionTable*>(host.Table());
        const std::pair<ApiSlot, void*> wrappers[] = {{Slot_GetMenuItemFlags, reinterpret_cast<void*>(&MenuFlags)},
                                                      {Slot_GetSelection, reinterpret_cast<void*>(&Selection)},
                                                      {Slot_UnregisterPalette, reinterpret_cast<void*>(&Unregister)}};
        for (const auto& [slot, fn] : wrappers) {
            Original(slot) = table->entries[slot];
            host.SetEntry(slot, fn);
        }
    }
    void TearDown() override
    {
        Throwing() = Slot_None;
        Session::TearDown();
    }
};

TEST_F(Faults, NoExceptionReachesTheHost)
{
    Play({{"open {sample}\nselect " + std::string(W05) + "\nmenu \"Element Links Explorer\"", ""}});
    const struct {
        ApiSlot slot;
        std::string lines;
        std::string view;  // what the lines show afterwards
        const char* debugLine;
    } cases[] = {
        {Slot_GetMenuItemFlags, "menu \"Show Calvora Palette\"\nanswer 1\nshow alerts\nshow panels",
         "alert error \"Error\": \"The command could not be completed.\" / \"menu flags unavailable\" [\"OK\"] -> 1\n"
         "\"Calvora\" visible",
         "Unhandled exception in DoShowCalvoraPalette: menu flags unavailable"},
        {Slot_GetMenuItemFlags, "closebox Calvora\nshow panels", "\"Calvora\" hidden",
         "CalvoraPalette::PanelCloseRequested: menu flags unavailable"},
        {Slot_GetMenuItemFlags, std::string("palette ") + ExplorerRef + " close\nshow panels",
         "\"Element Links Explorer\" hidden", "ElementItemsPalette::PaletteControlCallBack: menu flags unavailable"},
        {Slot_GetSelection, "menu \"Element Links Explorer\"\nanswer 1\nshow panels", "\"Element Links Explorer\" visible",
         "Unhandled exception in DoShowElementItemsPalette: selection unavailable"},
        {Slot_GetSelection, std::string("palette ") + ExplorerRef + " hide-begin\npalette " + ExplorerRef + " hide-end",
         "", "ElementItemsPalette::PaletteControlCallBack: selection unavailable"},
        {Slot_GetSelection, "select " + std::string(W01), "",
         "SelectionChangeHandler: Element Links Explorer: selection unavailable"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        debug.clear();
        Throwing() = c.slot;
        Play({{c.lines, c.view}});
        Throwing() = Slot_None;
        EXPECT_NE(debug.find(c.debugLine), std::string::npos) << debug;
    }

    debug.clear();
    const sqlite3_int64 previous = sqlite3_hard_heap_limit64(1);
    Play({{"new", ""}});
    sqlite3_hard_heap_limit64(previous);
    EXPECT_NE(debug.find("Unhandled exception in ProjectEventHandler: out of memory"), std::string::npos) << debug;

    // FreeData goes on past a step that throws: both palettes are destroyed.
    debug.clear();
    Throwing() = Slot_UnregisterPalette;
    host.UnloadAddOn();
    EXPECT_NE(debug.find("FreeData: unregistering the main palette: palettes unavailable"), std::string::npos);
    EXPECT_NE(debug.find("FreeData: unregistering the Element Links Explorer: palettes unavailable"), std::string::npos);
    EXPECT_TRUE(DG::User::Panels().empty());
}

}  // namespace
