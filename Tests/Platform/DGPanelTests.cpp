#include <clocale>

#include "DGTestSupport.hpp"

namespace {

using namespace DGTest;
using DG::User::Describe;

// The test palette with a handle on each item and a recorder attached to it all.
struct PaletteFixture : ::testing::Test {
    DG::Palette pal{Module(), 100, Module()};
    DG::Button go{pal, 1};
    DG::TextEdit edit{pal, 2};
    DG::RealEdit real{pal, 3};
    DG::CheckBox tick{pal, 4};
    DG::PopUp pop{pal, 5};
    DG::SingleSelListBox list{pal, 6};
    DG::MultiSelListBox multi{pal, 7};
    DG::Splitter split{pal, 8};
    DG::PopUpMenuButton menu{pal, 9};
    DG::IconButton add{pal, 10};
    DG::MultiLineEdit notes{pal, 11};
    Recorder rec;
    Int16 id = 0;

    void SetUp() override
    {
        ASSERT_NE(pal.GetId(), 0);
        id = pal.GetId();
        pal.Attach(rec);
        rec.AttachToAllItems(pal);
        for (const char* t : {"A", "B", "C"}) {
            pop.AppendItem();
            pop.SetItemText(pop.GetItemCount(), t);
            pop.SetItemValue(pop.GetItemCount(), 10 * pop.GetItemCount());
        }
        for (Int16 r = 1; r <= 4; ++r) {
            list.AppendItem();
            list.SetTabItemText(r, 1, GS::UniString::Printf("r%d", r));
            list.SetItemValue(r, 100 + r);
            multi.AppendItem();
        }
        menu.AppendItem("One");
        menu.AppendSeparator();
        menu.AppendItem("Three");
        list.EnableMouseMoveEvent();
        multi.EnableMouseMoveEvent();
        split.EnableDrag();
        pal.RegisterHotKey(DG::Key::Delete);
        pal.Show();
        rec.log.clear();
        DG::User::ResetLogs();
    }
};

TEST_F(PaletteFixture, CodeChangesFireNothingAndUserActionsFireTheirEvents)
{
    // Code: values kept as given (beyond limit and range), no event at all.
    edit.SetText("abcdefgh");
    real.SetValue(50);
    tick.Check();
    pop.SelectItem(2);
    list.SelectItem(2);
    multi.SelectItem(DG::ListBox::AllItems);
    go.SetText("Run");
    pal.SetClientSize(310, 210);
    DG::User::Paint();
    EXPECT_EQ(rec.Joined(), "");
    EXPECT_EQ(edit.GetText().ToUtf8(), "abcdefgh");
    EXPECT_EQ(real.GetValue(), 50);
    EXPECT_EQ(multi.GetSelectedCount(), 4);

    auto text = [this]() { return edit.GetText().ToUtf8(); };
    auto value = [this]() { return std::to_string(real.GetValue()); };
    auto rows = [this]() {
        std::string s;
        for (Int16 r = 1; r <= list.GetItemCount(); ++r)
            s += list.GetTabItemText(r, 1).ToUtf8() + (list.IsItemEnabled(r) ? "" : "-") + "=" +
                 std::to_string(list.GetItemValue(r)) + " ";
        return s + "sel " + std::to_string(list.GetSelectedItem()) + " focus " + std::to_string(pal.GetFocusedItem());
    };
    auto none = []() { return std::string(); };
    std::string err;
    using S = std::string*;
    struct Step {
        const char* name;
        std::function<bool(S)> act;
        bool ok;
        const char* events;
        std::function<std::string()> probe;
        std::string expected;
    } steps[] = {
        {"click", [&](S e) { return DG::User::ClickButton(id, 1, e); }, true, "click 1", none, ""},
        {"click a text edit", [&](S e) { return DG::User::ClickButton(id, 2, e); }, false, "", none, ""},
        {"type beyond limit", [&](S e) { return DG::User::TypeText(id, 2, "abcdefgh", e); }, true, "text 2", text,
         "abcde"},
        {"type above range", [&](S e) { return DG::User::TypeText(id, 3, "12.5", e); }, true, "text 3", value,
         "10.000000"},
        {"type below range", [&](S e) { return DG::User::TypeText(id, 3, " -3 ", e); }, true, "text 3", value,
         "0.000000"},
        {"type in range", [&](S e) { return DG::User::TypeText(id, 3, "2.25", e); }, true, "text 3", value, "2.250000"},
        {"type no number", [&](S e) { return DG::User::TypeText(id, 3, "2x", e); }, false, "", value, "2.250000"},
        {"multi-line ends", [&](S e) { return DG::User::TypeText(id, 11, "a\r\nb\rc", e); }, true, "text 11",
         [this]() { return notes.GetText().ToUtf8(); }, "a\nb\nc"},
        {"tick", [&](S e) { return DG::User::SetCheck(id, 4, false, e); }, true, "check 4", none, ""},
        {"tick unchanged", [&](S e) { return DG::User::SetCheck(id, 4, false, e); }, true, "", none, ""},
        {"pop-up", [&](S e) { return DG::User::ChooseEntryByText(id, 5, "C", e); }, true, "popup 5 from 2",
         [this]() { return std::to_string(pop.GetItemValue(pop.GetSelectedItem())); }, "30"},
        {"menu separator", [&](S e) { return DG::User::ChooseEntry(id, 9, 2, e); }, false, "", none, ""},
        {"menu", [&](S e) { return DG::User::ChooseEntry(id, 9, 3, e); }, true, "menu 9",
         [this]() { return std::to_string(menu.GetValue()); }, "3"},
        {"select", [&](S e) { return DG::User::SelectRows(id, 6, {3}, e); }, true, "select 6", rows,
         "r1=101 r2=102 r3=103 r4=104 sel 3 focus 6"},
        {"two rows in a single list",
         [&](S e) {
             return DG::User::SelectRows(id, 6, {1, 2}, e);
         },
         false, "", none, ""},
        {"double-click", [&](S e) { return DG::User::DoubleClickRow(id, 6, 4, e); }, true, "select 6; double 6 row 4",
         rows, "r1=101 r2=102 r3=103 r4=104 sel 4 focus 6"},
        {"disabled row",
         [&](S e) {
             list.SetItemStatus(2, false);
             return DG::User::SelectRows(id, 6, {2}, e);
         },
         false, "", rows, "r1=101 r2-=102 r3=103 r4=104 sel 4 focus 6"},
        {"drag unmarked", [&](S e) { return DG::User::DragRow(id, 7, 1, 3, e); }, false, "mouse 7 row 1 tab 1", none,
         ""},
        {"drag disabled row",
         [&](S e) {
             rec.dragRows = 6;
             return DG::User::DragRow(id, 6, 2, 4, e);
         },
         false, "", none, ""},
        {"drag marked", [&](S e) { return DG::User::DragRow(id, 6, 1, 3, e); }, true,
         "mouse 6 row 1 tab 1; dragged 6 1->3", rows, "r2-=102 r3=103 r1=101 r4=104 sel 4 focus 6"},
        {"splitter", [&](S e) { return DG::User::DragSplitter(id, 8, 150, e); }, true, "splitter 8 to 150", none, ""},
        {"resize", [&](S e) { return DG::User::ResizePanel(id, 10, -20, e); }, true, "resized 10,-20",
         [this]() { return std::to_string(pal.GetClientWidth()) + "x" + std::to_string(pal.GetClientHeight()); },
         "320x190"},
        {"header fixed", [&](S e) { return DG::User::ResizeHeaderItem(id, 6, 1, 15, e); }, false, "", none, ""},
        {"header sizeable",
         [&](S e) {
             list.SetHeaderItemSizeableFlag(1, true);
             return DG::User::ResizeHeaderItem(id, 6, 1, 15, e);
         },
         true, "header 6 item 1 by 15", [this]() { return std::to_string(list.GetHeaderItemSize(1)); }, "135"},
        {"hot key", [&](S e) { return DG::User::PressKey(id, DG::Key::Delete, DG::Key::NoModifier, e); }, true,
         "hotkey 1", none, ""},
        {"other key", [&](S e) { return DG::User::PressKey(id, DG::Key::Escape, DG::Key::NoModifier, e); }, true, "",
         none, ""},
        {"hidden item",
         [&](S e) {
             go.Hide();
             return DG::User::ClickButton(id, 1, e);
         },
         false, "", none, ""},
        {"disabled item",
         [&](S e) {
             add.Disable();
             return DG::User::ClickButton(id, 10, e);
         },
         false, "", none, ""},
        {"host-disabled",
         [&](S e) {
             pal.DisableItems();
             return DG::User::TypeText(id, 2, "x", e);
         },
         false, "", text, "abcde"},
        {"host-enabled",
         [&](S e) {
             pal.EnableItems();
             return DG::User::TypeText(id, 2, "x", e);
         },
         true, "text 2", text, "x"},
        {"hidden palette",
         [&](S e) {
             pal.Hide();
             return DG::User::TypeText(id, 2, "y", e);
         },
         false, "", text, "x"},
    };
    for (auto& s : steps) {
        rec.log.clear();
        err.clear();
        EXPECT_EQ(s.act(&err), s.ok) << s.name << ": " << err;
        EXPECT_EQ(s.ok, err.empty()) << s.name << ": " << err;
        EXPECT_EQ(rec.Joined(), s.events) << s.name;
        EXPECT_EQ(s.probe(), s.expected) << s.name;
    }
}

TEST_F(PaletteFixture, RealEditsTakeTheLocalesDecimalComma)
{
    std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    std::string err;
    const std::pair<const char*, double> cases[] = {{"2,5", 2.5}, {"7.25", 7.25}, {"11,5", 10}};
    for (const auto& [typed, value] : cases) {
        EXPECT_TRUE(DG::User::TypeText(id, 3, typed, &err)) << typed << err;
        EXPECT_DOUBLE_EQ(real.GetValue(), value) << typed;
    }
    std::setlocale(LC_ALL, saved.c_str());
}

TEST_F(PaletteFixture, CloseBoxOfAPaletteAsksItsOwnerAndIdleGoesToOpenPanels)
{
    std::string err;
    EXPECT_TRUE(DG::User::CloseBox(id, &err));
    EXPECT_EQ(rec.Joined(), "close? cancel");
    EXPECT_TRUE(pal.IsVisible());  // the owner decides; this one did nothing

    rec.log.clear();
    DG::User::FireIdle(2);
    EXPECT_EQ(rec.Joined(), "");
    pal.EnableIdleEvent();
    DG::User::FireIdle(2);
    EXPECT_EQ(rec.Joined(), "idle; idle");
    rec.log.clear();
    pal.Hide();
    DG::User::FireIdle(1);
    EXPECT_EQ(rec.Joined(), "");
}

// ---- modal dialogs and alerts ------------------------------------------------------------------

TEST_F(PaletteFixture, ModalDialogsRunTheUsersActionsUntilACloseIsAccepted)
{
    DG::ModalDialog missing(Module(), 999, Module()), malformed(Module(), 300, Module());
    ScriptedPump pump;
    pump.actions.push_back([] { ADD_FAILURE() << "a dialog without resource took an action"; });
    EXPECT_EQ(missing.GetId(), 0);
    EXPECT_EQ(malformed.GetId(), 0);
    EXPECT_EQ(missing.Invoke(), DG::Cancel);
    EXPECT_EQ(pump.actions.size(), 1u);
    pump.actions.clear();

    struct Case {
        const char* name;
        int refuse;
        std::vector<std::string> script;  // "ok", "cancel" (buttons), "box", "palette"
        DG::ModalResponse response;
        const char* events;
        int abandoned;
    } cases[] = {
        {"ok", 0, {"ok"}, DG::Accept, "opened; click 1; close? ok; closed", 0},
        {"refused then box", 1, {"ok", "box"}, DG::Cancel, "opened; click 1; close? ok; close? cancel; closed", 0},
        {"refused box, then ok", 1, {"box", "ok"}, DG::Accept, "opened; close? cancel; click 1; close? ok; closed", 0},
        {"cancel button", 0, {"cancel"}, DG::Cancel, "opened; click 2; close? cancel; closed", 0},
        {"no more actions", 0, {"palette"}, DG::Cancel, "opened; closed", 1},
        {"refused to the end", 5, {"ok"}, DG::Cancel, "opened; click 1; close? ok; closed", 1},
    };
    for (const auto& c : cases) {
        DG::ModalDialog dlg(Module(), 200, Module());
        DG::Button ok(dlg, 1), cancel(dlg, 2);
        Recorder r;
        r.refuseCloses = c.refuse;
        dlg.Attach(r);
        r.AttachToAllItems(dlg);
        r.onClick = [&](Int16 item) { dlg.PostCloseRequest(item == 1 ? DG::Accept : DG::Cancel); };
        const Int16 d = dlg.GetId();
        std::string paletteError;
        for (const auto& a : c.script)
            pump.actions.push_back([&, a, d] {
                std::string e;
                if (a == "ok" || a == "cancel") {
                    EXPECT_TRUE(DG::User::ClickButton(d, a == "ok" ? 1 : 2, &e)) << e;
                }
                if (a == "box") {
                    EXPECT_TRUE(DG::User::CloseBox(d, &e)) << e;
                }
                if (a == "palette") {
                    EXPECT_EQ(DG::User::TopModal(), d);
                    EXPECT_FALSE(DG::User::ClickButton(id, 1, &paletteError));
                }
            });
        DG::User::ResetLogs();
        EXPECT_EQ(dlg.Invoke(), c.response) << c.name;
        EXPECT_EQ(r.Joined(), c.events) << c.name;
        EXPECT_EQ(DG::User::AbandonedModals(), c.abandoned) << c.name;
        EXPECT_FALSE(dlg.IsOpen());
        EXPECT_EQ(DG::User::TopModal(), 0);
        if (c.script.back() == "palette") {
            EXPECT_EQ(paletteError, "a modal dialog is open: \"Ask\"") << c.name;
        }
    }
    EXPECT_EQ(rec.Joined(), "");  // the palette heard nothing while the dialogs ran
}

TEST(DGAlerts, AnswersComeFromTheUserAndAreLogged)
{
    struct Case {
        std::function<void()> answer;  // empty: no more actions
        Int16 expected;
        const char* line;
        int abandoned;
    } cases[] = {
        {[] { EXPECT_TRUE(DG::User::AnswerAlert(2, nullptr)); }, 2,
         "alert warning \"T\": \"Large\" / \"Small\" [\"Yes\", \"No\"] -> 2", 0},
        {[] { EXPECT_TRUE(DG::User::AnswerAlertByText("Yes", nullptr)); }, 1,
         "alert warning \"T\": \"Large\" / \"Small\" [\"Yes\", \"No\"] -> 1", 0},
        {[] {
             std::string e;
             EXPECT_FALSE(DG::User::AnswerAlert(3, &e));
             EXPECT_EQ(e, "the alert has no button 3");
         },
         1, "alert warning \"T\": \"Large\" / \"Small\" [\"Yes\", \"No\"] -> 1", 1},
        {nullptr, 1, "alert warning \"T\": \"Large\" / \"Small\" [\"Yes\", \"No\"] -> 1", 1},
    };
    for (const auto& c : cases) {
        ScriptedPump pump;
        if (c.answer)
            pump.actions.push_back([&] {
                EXPECT_TRUE(DG::User::AlertOpen());
                EXPECT_EQ(DG::User::DescribeOpenAlert(),
                          "alert warning \"T\": \"Large\" / \"Small\" [\"Yes\", \"No\"]\n");
                c.answer();
            });
        DG::User::ResetLogs();
        EXPECT_EQ(DGAlert(DG::DG_WARNING, "T", "Large", "Small", "Yes", "No"), c.expected);
        ASSERT_EQ(DG::User::AlertLog().size(), 1u);
        EXPECT_EQ(DG::User::AlertLog()[0].ToString(), c.line);
        EXPECT_EQ(DG::User::AbandonedModals(), c.abandoned);
        EXPECT_FALSE(DG::User::AlertOpen());
    }
    GSSysBeep();
    GSSysBeep();
    EXPECT_EQ(DG::User::BeepCount(), 2);
}

// ---- owner drawing -----------------------------------------------------------------------------

TEST_F(PaletteFixture, PaintingReachesOnlyVisibleDirtyOwnerDrawnCells)
{
    // 74 px high: a 20 px header and rows of 18 px -> rows scroll..scroll+2 are painted.
    list.DeleteItem(DG::ListBox::AllItems);
    for (Int16 r = 1; r <= 3000; ++r)
        list.AppendItem();
    list.SetTabFieldCount(2);
    list.SetTabFieldProperties(1, 0, 30, DG::DG_IS_LEFT);
    list.SetTabFieldProperties(2, 60, 40, DG::DG_IS_LEFT);  // reversed: never painted
    list.SetTabFieldOwnerDrawFlag(1, true);
    list.SetTabFieldOwnerDrawFlag(2, true);
    rec.onPaint = [this](const DG::ListBoxTabFieldUpdateEvent& ev) {
        Graphix::ListBoxUpdateEventContext ctx(ev);
        rec.log.back() += " " + ctx.GetBackColor().ToString() + "/" + ctx.GetForeColor().ToString();
        ctx.FillRect(0, 0, ev.GetWidth(), ev.GetHeight(), ctx.GetBackColor());
        ctx.DrawPlainText(list.GetTabItemText(ev.GetListItem(), 1), 2, 2, ev.GetWidth() - 4, ev.GetHeight() - 4, 0);
    };
    pal.Hide();
    rec.log.clear();
    struct Step {
        const char* name;
        std::function<void()> change;
        const char* painted;
    } steps[] = {
        {"hidden palette", [] {}, ""},
        {"shown", [this] { pal.Show(); },
         "paint 6 row 1 tab 1 #FFFFFFFF/#000000FF; paint 6 row 2 tab 1 #FFFFFFFF/#000000FF; "
         "paint 6 row 3 tab 1 #FFFFFFFF/#000000FF"},
        {"nothing changed", [] {}, ""},
        {"text of a visible row", [this] { list.SetTabItemText(2, 1, "x"); },
         "paint 6 row 2 tab 1 #FFFFFFFF/#000000FF"},
        {"text of a hidden row", [this] { list.SetTabItemText(80, 1, "y"); }, ""},
        {"selected row is dark", [this] { list.SelectItem(3); }, "paint 6 row 3 tab 1 #3366CCFF/#FFFFFFFF"},
        {"disabled row is grey", [this] { list.SetItemStatus(1, false); }, "paint 6 row 1 tab 1 #FFFFFFFF/#808080FF"},
        {"scrolled", [this] { list.SetScrollPosition(80); },
         "paint 6 row 80 tab 1 #FFFFFFFF/#000000FF; paint 6 row 81 tab 1 #FFFFFFFF/#000000FF; "
         "paint 6 row 82 tab 1 #FFFFFFFF/#000000FF"},
        {"list redrawn", [this] { list.Redraw(); },
         "paint 6 row 80 tab 1 #FFFFFFFF/#000000FF; paint 6 row 81 tab 1 #FFFFFFFF/#000000FF; "
         "paint 6 row 82 tab 1 #FFFFFFFF/#000000FF"},
        {"hidden list",
         [this] {
             list.Hide();
             list.Redraw();
         },
         ""},
    };
    for (const auto& s : steps) {
        s.change();
        DG::User::Paint();
        EXPECT_EQ(rec.Joined(), s.painted) << s.name;
        rec.log.clear();
    }
    list.Show();
    std::string view = Describe(id);
    EXPECT_NE(view.find("    tab 2 60-40 left owner-drawn\n"), std::string::npos) << view;
    EXPECT_NE(view.find("    row 80 value 0 | \"y\" | \"\"\n"
                        "      cell 1 (0,20,30,18) back #FFFFFFFF fore #000000FF\n"
                        "        fill 0,0-30,18 #FFFFFFFF\n"
                        "        text 2,2 26x14 \"y\" Arial 12 plain align 0 #000000FF\n"
                        "    row 81 value 0 | \"\" | \"\"\n"),
              std::string::npos)
        << view;
    // Rows out of view show no stale drawing.
    EXPECT_NE(view.find("    row 2 value 0 | \"x\" | \"\"\n    row 3 value 0 selected"), std::string::npos);
}

TEST(DGDescribe, ShowsItemsStateAndText)
{
    DG::ModalDialog dlg(DGTest::Module(), 200, DGTest::Module());
    DG::TextEdit edit(dlg, 3);
    DG::Button cancel(dlg, 2);
    edit.SetText("hello");
    edit.SetSelection(DG::CharRange(1, 3));
    cancel.Disable();
    cancel.SetTooltip("Leave");
    EXPECT_EQ(Describe(dlg.GetId()),
              "modal \"Ask\" 200x100 hidden\n"
              "  1 button (10,70,80,20) \"OK\"\n"
              "  2 button (100,70,80,20) disabled \"Cancel\" tooltip \"Leave\"\n"
              "  3 textedit (10,10,180,20) \"hello\" selection 1-3\n");
    DG::Palette pal(DGTest::Module(), 100, DGTest::Module());
    std::string view = Describe(pal.GetId());
    EXPECT_EQ(view.substr(0, view.find('\n')), "palette \"Pal\" 300x200 hidden grow");
    EXPECT_NE(view.find("  10 iconbutton (250,10,28,28) tooltip \"Add\" icon 32550 \"Add\"\n"), std::string::npos);
    EXPECT_NE(view.find("  3 realedit (100,40,80,20) value 0 range [0, 10]\n"), std::string::npos);
    std::string svg = DG::User::DescribeSvg(pal.GetId());
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("<title>Pal</title>"), std::string::npos);
    EXPECT_EQ(DG::User::FindPanel("Pal"), pal.GetId());
    EXPECT_EQ(DG::User::FindItem(pal.GetId(), "Add"), 10);
}

// ---- timers ------------------------------------------------------------------------------------

std::vector<std::string> timerCalls;
int windowA, windowB;
void TimerA(void*, UInt32, std::uintptr_t id, UInt32) { timerCalls.push_back("A" + std::to_string(id)); }
void TimerB(void* w, UInt32, std::uintptr_t id, UInt32)
{
    timerCalls.push_back("B" + std::to_string(id));
    if (id == 2)
        KillTimer(w, 3);  // a timer killed during a tick is not called afterwards
}

TEST(DGTimers, TickInStartOrderUntilKilled)
{
    std::string calls;
    auto tick = [&](int n) {
        timerCalls.clear();
        DG::User::FireTimerTicks(n);
        std::string s;
        for (const auto& c : timerCalls)
            s += c + " ";
        return s;
    };
    EXPECT_EQ(SetTimer(nullptr, 1, 10, TimerA), 0u);
    EXPECT_EQ(SetTimer(&windowA, 1, 10, TimerA), 1u);
    SetTimer(&windowA, 3, 10, TimerA);
    SetTimer(&windowB, 1, 10, TimerA);
    struct Step {
        std::function<void()> change;
        int ticks;
        const char* calls;
        int running;
    } steps[] = {
        {[] {}, 2, "A1 A3 A1 A1 A3 A1 ", 3},
        {[] { SetTimer(&windowA, 1, 10, TimerB); }, 1, "A3 A1 B1 ", 3},  // replaced: now last
        {[] {
             EXPECT_TRUE(KillTimer(&windowB, 1));
             EXPECT_FALSE(KillTimer(&windowB, 1));
         },
         1, "A3 B1 ", 2},
        {[] {
             KillTimer(&windowA, 3);
             SetTimer(&windowA, 2, 10, TimerB);
             SetTimer(&windowA, 3, 10, TimerA);
         },
         1, "B1 B2 ", 2},
        {[] {
             KillTimer(&windowA, 1);
             KillTimer(&windowA, 2);
         },
         3, "", 0},
    };
    for (const auto& s : steps) {
        s.change();
        EXPECT_EQ(tick(s.ticks), s.calls);
        EXPECT_EQ(DG::User::RunningTimerCount(), s.running);
    }
}

}  // namespace

namespace {

// Observers and handles may go away at any time, even while an event is being delivered.
TEST(DGLifetimes, DetachDestroyAndOrphanedHandlesAreSafe)
{
    auto pal = std::make_unique<DG::Palette>(DGTest::Module(), 100, DGTest::Module());
    const Int16 id = pal->GetId();
    DGTest::Recorder first, second;
    auto third = std::make_unique<DGTest::Recorder>();
    DG::Button go(*pal, 1);
    for (DGTest::Recorder* r : {&first, &second, third.get()})
        go.Attach(*r);
    pal->Attach(first);
    first.onClick = [&](Int16) {
        go.Detach(second);  // detached during the dispatch: not called
        third.reset();      // destroyed during the dispatch: not called
    };
    pal->Show();
    pal->Show();
    std::string err;
    EXPECT_TRUE(DG::User::ClickButton(id, 1, &err)) << err;
    EXPECT_EQ(first.Joined(), "opened; click 1");  // opened once only
    EXPECT_EQ(second.Joined(), "");

    // An item without a handle of its owner still names itself in its events.
    DGTest::Recorder all;
    all.AttachToAllItems(*pal);
    EXPECT_TRUE(DG::User::SetCheck(id, 4, true, &err)) << err;
    EXPECT_EQ(all.Joined(), "check 4");

    auto orphan = std::make_unique<DG::CheckBox>(*pal, 4);
    DG::CheckBox none(*pal, 99);
    EXPECT_TRUE(orphan->IsValid());
    EXPECT_FALSE(none.IsValid());
    none.Check();
    EXPECT_FALSE(none.IsChecked());
    pal.reset();
    EXPECT_FALSE(orphan->IsValid());
    orphan->Check();  // inert
    EXPECT_FALSE(orphan->IsChecked());
    EXPECT_FALSE(DG::User::ClickButton(id, 1, &err));
    EXPECT_EQ(err, "no open panel " + std::to_string(id));
}

}  // namespace
