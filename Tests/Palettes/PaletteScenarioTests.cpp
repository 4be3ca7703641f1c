// The two palettes in the stand-in host with the real add-on: registration, the host's palette
// messages, menu toggles and check marks, the close box, the project's life cycle around them, and
// no exception reaching the host.
#include <sqlite3.h>

#include "ScenarioSupport.hpp"

namespace {
using namespace Scenario;

const std::string Codes1 = "SELECT code FROM items WHERE category_id = 1 ORDER BY sort_order",
                  Codes3 = "SELECT code FROM items WHERE category_id = 3 ORDER BY sort_order";

class Palettes : public SampleSession {};

// The reference id is the sum of the GUID's four little-endian words (16-byte form: first group
// as a 32-bit number, the next two as 16-bit numbers, then the rest as written).
TEST_F(Palettes, AreRegisteredAndFollowTheHostsMessages)
{
    // B64AED35 + 43333C1E + 5A3A9985 + 47FD13F0 and A1C3F7E2 + 4F618D4B + 8C6B2E9A + F3E4D205
    EXPECT_EQ(static_cast<GS::Int32>(0xB64AED35u + 0x43333C1Eu + 0x5A3A9985u + 0x47FD13F0u), std::stoi(MainRef));
    EXPECT_EQ(static_cast<GS::Int32>(0xA1C3F7E2u + 0x4F618D4Bu + 0x8C6B2E9Au + 0xF3E4D205u), std::stoi(ExplorerRef));
    Play({{"show palettes", "=palette -1682581816 guid B64AED35-3C1E-4333-8599-3A5AF013FD47 flags 0x3F7\n"
                            "=palette 1903527372 guid A1C3F7E2-8D4B-4F61-9A2E-6B8C05D2E4F3 flags 0x3F7"}});
    for (const auto& [ref, panel, entry] : {std::tuple{MainRef, "Calvora", "1. Show Calvora Palette"},
                                            std::tuple{ExplorerRef, "Element Links Explorer", "1. Element Links Explorer"}}) {
        SCOPED_TRACE(panel);
        // Asked before the palette exists, "visible?" writes false over whatever the host passed.
        bool visible = true;
        host.Palettes().at(std::stoi(ref)).callback(std::stoi(ref), APIPalMsg_IsPaletteVisible,
                                                    reinterpret_cast<GS::Int64>(&visible));
        EXPECT_FALSE(visible);
        const std::string send = std::string("palette ") + ref + " ", show = std::string("show \"") + panel + "\"";
        const std::string checked = std::string(entry) + " [checked]", unchecked = std::string("!") + entry + " [";
        const std::string once = std::string("\"") + panel + "\"\n!\"" + panel + "\"";  // at the end of "show panels"
        // Only "open" makes the palette, once.
        Play({
            {send + "close\n" + send + "hide-begin\n" + send + "hide-end\n" + send + "disable-begin\n" + send +
                 "disable-end\nshow panels\nshow menus",
             std::string("!\"") + panel + "\"\n" + unchecked},
            {send + "open\n" + send + "visible\nshow menus", "=visible true\n" + checked},
            {send + "open\n" + send + "visible\nshow panels", "=visible true\n" + once},
            {send + "disable-begin\n" + show, "visible grow disabled-by-host"},
            {send + "disable-end\n" + show, "!disabled-by-host"},
            {send + "hide-begin\n" + send + "visible\nshow menus", "=visible false\n" + unchecked},
            {send + "hide-end\n" + send + "visible\nshow menus", "=visible true\n" + checked},
            {send + "close\n" + send + "visible\nshow menus", "=visible false\n" + unchecked},
            // Hidden, it is neither disabled by the host nor shown by the end of a hiding period's start.
            {send + "disable-begin\n" + show, "!disabled-by-host"},
            {send + "hide-begin\n" + send + "visible\nshow panels", "=visible false\n" + once},
        });
    }
}

TEST_F(Palettes, MenuTogglesAndTheCloseBoxHideAndStore)
{
    Play({
        {"open $DIR/sample.json\nmenu \"Show Calvora Palette\"\nshow menus\nshow Calvora\ndrag-row Calvora ItemsList 2 1\n"
         "show Calvora\n@stored " + Codes1,
         "1. Show Calvora Palette [checked]\nentry 1 \"00 Preliminaries\" value 1 *\nrow 1 value 1 | \"1\" | \"00.01\"\n"
         "row 2 value 2 | \"2\" | \"00.02\"\nrow 1 value 2 | \"1\" | \"00.02\"\n=00.01 ; 00.02"},
        {"closebox Calvora\nshow menus\nshow panels\n@stored " + Codes1,
         "!Show Calvora Palette [\n\"Calvora\" hidden\n=00.02 ; 00.01"},
        // Shown again: the same panel with what it held; chosen again, the menu hides it and stores.
        {"menu \"Show Calvora Palette\"\nchoose Calvora CategoryPopUp \"02 Concrete and steel\"\nmenu \"Show Calvora Palette\"\n"
         "menu \"Show Calvora Palette\"\nshow panels\nshow Calvora",
         "\"Calvora\" visible\n!hidden\nentry 3 \"02 Concrete and steel\" value 3 *"},
        {"drag-row Calvora ItemsList 3 1\nmenu \"Show Calvora Palette\"\nshow menus\n@stored " + Codes3,
         "!Show Calvora Palette [\n=02.03 ; 02.01 ; 02.02"},
        // The host's hiding period and its close message hide it the same way, and store.
        {"menu \"Show Calvora Palette\"\ndrag-row Calvora ItemsList 1 3\npalette " + std::string(MainRef) +
             " hide-begin\nshow menus\nshow panels\n@stored " + Codes3,
         "!Show Calvora Palette [\n\"Calvora\" hidden\n=02.01 ; 02.02 ; 02.03"},
        {"palette " + std::string(MainRef) + " hide-end\nshow panels\nshow Calvora",
         "\"Calvora\" visible\nentry 3 \"02 Concrete and steel\" value 3 *"},
        // Still the one panel.
        {"drag-row Calvora ItemsList 3 1\npalette " + std::string(MainRef) + " close\nshow menus\n@stored " + Codes3 + "\nshow panels",
         "!Show Calvora Palette [\n=02.03 ; 02.01 ; 02.02\n\"Calvora\" hidden\n!\"Calvora\""},
    });
    EXPECT_TRUE(host.KeptInMemory());
}

// Close stores into the project that closes; New, Close and a project without an estimate start with
// one untitled category and store nothing; Open reads the opened project, its categories in their
// sort order; unloading stores what is pending.
TEST_F(Palettes, FollowTheProjectsLifeCycle)
{
    plain = true;
    const std::string untitled = "=2 popup selected 1\n=entry 1 \" Untitled Category\" value 1 *\n!entry 2\n"
                                 "=5 singlelist rowHeight 36 scroll 1 rows 0";
    const std::string toggle = "menu \"Show Calvora Palette\"\n";
    Play({
        {"open $DIR/sample.json\n" + toggle + "drag-row Calvora ItemsList 2 1\n@stored " + Codes1 + "\n@flush " + Codes1,
         "=00.01 ; 00.02\n=00.02 ; 00.01"},
        {"new\nshow Calvora\n@flush", untitled + "\n=nothing stored"},
        // After Close the palette shows, and its actions write into, the estimate that follows it.
        {"open $DIR/sample.json\nchoose Calvora CategoryPopUp \"02 Concrete and steel\"\nclose\nshow Calvora", untitled},
        {"click Calvora \"Add New Item\"\ntype top DescriptionEdit \"After close\"\nclick top OkButton\n" + toggle +
             "@stored SELECT c.title, i.descript FROM items i LEFT JOIN categories c ON c.id = i.category_id\n" + toggle +
             "click Calvora \"Delete Category\"\nanswer Yes\n" + toggle + "@stored SELECT id, title FROM categories\n" + toggle,
         "=Untitled Category|After close\n=2|Untitled Category"},
        // A reorder stays when the project is stored and opened again.
        {"open $DIR/sample.json\nclick Calvora \"Reorder Categories\"\ndrag-row top CategoriesList 4 1\nclick top OkButton\n" + toggle +
             "save $DIR/sorted.json\nopen $DIR/sorted.json\n" + toggle + "show Calvora",
         "entry 1 \"03 Finishes\" value 4 *\nentry 2 \"00 Preliminaries\" value 1\nentry 4 \"02 Concrete and steel\" value 3"},
        {"open $DIR/sample.json\nshow Calvora\ndrag-row Calvora ItemsList 2 1\n@stored " + Codes1,
         "entry 4 \"03 Finishes\" value 4\nrow 1 value 1 | \"1\" | \"00.01\"\n=00.01 ; 00.02"},
    });
    Finish();
    EXPECT_EQ(Query(*host.ModuleData("CalvoraDB"), Codes1), "00.02\n00.01\n");
    EXPECT_TRUE(DG::User::Panels().empty());
}

// When the host fails to hand over the stored estimate, an empty one stands in for it: the user is
// told once, no storing point stores over the project's estimate, and each command reads it again
// (a stand-in with changes stays while that fails) and shows it once it is read.
TEST_F(Palettes, AStoredEstimateTheHostFailsToReadIsNeverStoredOver)
{
    const std::string Codes = "@stored SELECT code FROM categories ORDER BY id";
    const std::string Unread = "alert error \"Error\": \"The estimate stored in this project could not be read. Changes will "
                               "not be stored until it can be read.\" / \"\" [\"OK\"] -> 1";
    auto add = [](const std::string& code, const std::string& title) {
        return "click Calvora \"Add New Category\"\ntype top CodeEdit \"" + code + "\"\ntype top TitleEdit \"" + title +
               "\"\nclick top OkButton\n";
    };
    Play({
        {"fail HostGetModuleData\nopen $DIR/sample.json\nanswer OK\nmenu \"Show Calvora Palette\"\n" + add("99", "Interim") +
             "show Calvora",
         "entry 1 \" Untitled Category\" value 1\nentry 2 \"99 Interim\" value 2 *\n!entry 3"},
        {"closebox Calvora\nmenu \"Show Calvora Palette\"\n" + add("98", "Second") + "show Calvora\nsave\n" + Codes + "\nshow alerts",
         "entry 2 \"99 Interim\"\nentry 3 \"98 Second\" value 3 *\n=00 ; 01 ; 02 ; 03\n" + Unread + "\n!could not be read"},
        {"closebox Calvora\nunfail\nmenu \"Show Calvora Palette\"\nshow Calvora\n" + Codes,
         "entry 4 \"03 Finishes\" value 4\n!Interim\n=00 ; 01 ; 02 ; 03"},
        {"open $DIR/sample.json\nshow Calvora\nshow alerts", "entry 4 \"03 Finishes\" value 4\n" + Unread + "\n!could not be read"},
    });
    const std::string NothingStored = "Nothing is stored: the estimate stored in this project could not be read, and what stands in "
                                      "for it would replace it.\n";
    EXPECT_EQ(LinesWith(debug, "Nothing is stored"), NothingStored + NothingStored);
}

// Whatever fails inside the add-on, the host sees a debug line and, for a command the user chose,
// an error alert; never an exception. Host operations made to throw, and SQLite starved of memory.
struct Faults : Palettes {
    static constexpr ApiSlot None = static_cast<ApiSlot>(kApiTableSize);
    inline static ApiSlot throwing = None;
    inline static void* originals[kApiTableSize] = {};
    // The host's operation, or an exception when it is the one that throws.
    template <ApiSlot slot, typename... Args>
    static GSErrCode Call(Args... args)
    {
        if (throwing == slot)
            throw std::runtime_error("host unavailable");
        return reinterpret_cast<GSErrCode (*)(Args...)>(originals[slot])(args...);
    }
    template <ApiSlot slot, typename... Args>
    void Install(GSErrCode (*)(Args...))  // a null operation of the slot's type
    {
        originals[slot] = static_cast<const API_FunctionTable*>(host.Table())->entries[slot];
        host.SetEntry(slot, reinterpret_cast<void*>(&Call<slot, Args...>));
    }
    void BeforeLoad() override
    {
        throwing = None;
        Install<Slot_GetMenuItemFlags>(HostGetMenuItemFlagsFn{});
        Install<Slot_GetSelection>(HostGetSelectionFn{});
        Install<Slot_UnregisterPalette>(HostUnregisterPaletteFn{});
    }
    void TearDown() override
    {
        throwing = None;
        Palettes::TearDown();
    }
};

TEST_F(Faults, NoExceptionReachesTheHost)
{
    Play({{"open $DIR/sample.json\nselect " + std::string(W05) + "\nmenu \"Element Links Explorer\"", ""}});
    const std::string explorer = std::string("palette ") + ExplorerRef;
    const struct {
        ApiSlot slot;
        std::string lines, view, debugLine;
    } cases[] = {
        {Slot_GetMenuItemFlags, "menu \"Show Calvora Palette\"\nanswer 1\nshow alerts\nshow panels",
         "alert error \"Error\": \"The command could not be completed.\" / \"host unavailable\" [\"OK\"] -> 1\n"
         "\"Calvora\" visible",
         "Unhandled exception in DoShowCalvoraPalette: host unavailable"},
        {Slot_GetMenuItemFlags, "closebox Calvora\nshow panels", "\"Calvora\" hidden",
         "CalvoraPalette::PanelCloseRequested: host unavailable"},
        {Slot_GetMenuItemFlags, explorer + " close\nshow panels", "\"Element Links Explorer\" hidden",
         "ElementItemsPalette::PaletteControlCallBack: host unavailable"},
        {Slot_GetSelection, "menu \"Element Links Explorer\"\nanswer 1\nshow panels", "\"Element Links Explorer\" visible",
         "Unhandled exception in DoShowElementItemsPalette: host unavailable"},
        {Slot_GetSelection, "select " + std::string(W01), "",
         "SelectionChangeHandler: Element Links Explorer: host unavailable"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        debug.clear();
        throwing = c.slot;
        Play({{c.lines, c.view}});
        throwing = None;
        EXPECT_NE(debug.find(c.debugLine), std::string::npos) << debug;
    }

    debug.clear();
    const sqlite3_int64 previous = sqlite3_hard_heap_limit64(1);
    Play({{"new", ""}});
    sqlite3_hard_heap_limit64(previous);
    EXPECT_NE(debug.find("Unhandled exception in ProjectEventHandler: out of memory"), std::string::npos) << debug;

    // FreeData goes on past a step that throws: both palettes are destroyed.
    debug.clear();
    throwing = Slot_UnregisterPalette;
    Finish();
    EXPECT_NE(debug.find("FreeData: unregistering the main palette: host unavailable"), std::string::npos);
    EXPECT_NE(debug.find("FreeData: unregistering the Element Links Explorer: host unavailable"), std::string::npos);
    EXPECT_TRUE(DG::User::Panels().empty());
}

}  // namespace
