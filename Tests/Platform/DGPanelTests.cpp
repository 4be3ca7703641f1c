#include <cctype>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "IO/FileTypeManager.hpp"
#include "PlatformTestSupport.hpp"

namespace {

using namespace PlatformTest;

// The test palette with a handle on each item and a recorder attached to it all.
struct PaletteFixture : ::testing::Test {
    DG::Palette pal{Module(), 100, Module()};
    DG::Button go{pal, 1};
    DG::IconButton add{pal, 10};
    DG::TextEdit edit{pal, 2};
    DG::RealEdit real{pal, 3};
    DG::MultiLineEdit notes{pal, 11};
    DG::CheckBox tick{pal, 4};
    DG::PopUp pop{pal, 5};
    DG::PopUpMenuButton menu{pal, 9};
    DG::SingleSelListBox list{pal, 6};
    DG::MultiSelListBox multi{pal, 7};
    Recorder rec;
    const Int16 id = pal.GetId();

    void SetUp() override
    {
        ASSERT_NE(id, 0);
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
    EXPECT_EQ(rec.log, "");
    EXPECT_EQ(edit.GetText().ToUtf8(), "abcdefgh");
    EXPECT_EQ(real.GetValue(), 50);
    EXPECT_EQ(multi.GetSelectedCount(), 4);

    auto state = [this] {
        std::string rows;
        for (Int16 r = 1; r <= list.GetItemCount(); ++r)
            rows += list.GetTabItemText(r, 1).ToUtf8() + (list.IsItemEnabled(r) ? "" : "-") + "=" +
                    std::to_string(list.GetItemValue(r)) + " ";
        using std::to_string;
        return "|text=" + edit.GetText().ToUtf8() + "|value=" + to_string(real.GetValue()) + "|notes=" +
               notes.GetText().ToUtf8() + "|pop=" + to_string(pop.GetItemValue(pop.GetSelectedItem())) +
               "|size=" + to_string(pal.GetClientWidth()) + "x" + to_string(pal.GetClientHeight()) + "|rows=" +
               rows + "sel " + to_string(list.GetSelectedItem()) + " focus " + to_string(pal.GetFocusedItem()) + "|";
    };
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const auto de_DE = [] { std::setlocale(LC_ALL, "de_DE.UTF-8"); };
    const auto restore = [&] { std::setlocale(LC_ALL, saved.c_str()); };
    using namespace DG::User;
    using S = std::string*;
    // The action, its events ("refused" last: the library refused it), a part of the state afterwards,
    // and the add-on's code run first.
    struct Step { std::function<bool(S)> act; const char *events, *state; std::function<void()> code = nullptr; };
    const Step steps[] = {
        {[&](S e) { return ClickButton(id, 1, e); }, "click 1", ""},
        // A palette's close box only asks its owner, who did nothing here; idle goes to shown panels that ask.
        {[&](S e) { return CloseBox(id, e); }, "close? cancel", ""},
        {[&](S) { FireIdle(2); return true; }, "", ""},
        {[&](S) { FireIdle(2); return true; }, "idle; idle", "", [&] { pal.EnableIdleEvent(); }},
        {[&](S e) { return ClickButton(id, 2, e); }, "refused", ""},  // a text edit
        {[&](S e) { return TypeText(id, 2, "abcdefgh", e); }, "text 2", "text=abcde"},  // beyond the limit
        {[&](S e) { return TypeText(id, 3, "12.5", e); }, "text 3", "value=10.000000"},  // above the range
        {[&](S e) { return TypeText(id, 3, " -3 ", e); }, "text 3", "value=0.000000"},   // below it
        {[&](S e) { return TypeText(id, 3, "2.25", e); }, "text 3", "value=2.250000"},
        {[&](S e) { return TypeText(id, 3, "2x", e); }, "refused", "value=2.250000"},
        // Under a comma locale it takes the comma, and still the point (the state then shows commas).
        {[&](S e) { return TypeText(id, 3, "2,5", e); }, "text 3", "value=2,500000", de_DE},
        {[&](S e) { return TypeText(id, 3, "7.25", e); }, "text 3", "value=7,250000"},
        {[&](S e) { return TypeText(id, 3, "11,5", e); }, "text 3", "value=10,000000"},
        {[&](S e) { return TypeText(id, 11, "a\r\nb\rc", e); }, "text 11", "notes=a\nb\nc", restore},
        {[&](S e) { return SetCheck(id, 4, false, e); }, "check 4", ""},
        {[&](S e) { return SetCheck(id, 4, false, e); }, "", ""},  // unchanged
        {[&](S e) { return ChooseEntryByText(id, 5, "C", e); }, "popup 5 from 2", "pop=30"},
        {[&](S e) { return ChooseEntry(id, 9, 2, e); }, "refused", ""},  // a separator
        {[&](S e) { return SelectRows(id, 6, {3}, e); }, "select 6", "rows=r1=101 r2=102 r3=103 r4=104 sel 3 focus 6"},
        {[&](S e) { return SelectRows(id, 6, {1, 2}, e); }, "refused", ""},  // two rows in a single list
        {[&](S e) { return DoubleClickRow(id, 6, 4, e); }, "select 6; double 6 row 4",
         "rows=r1=101 r2=102 r3=103 r4=104 sel 4 focus 6"},
        {[&](S e) { return SelectRows(id, 6, {2}, e); }, "refused", "rows=r1=101 r2-=102 r3=103 r4=104 sel 4 focus 6",
         [&] { list.SetItemStatus(2, false); }},
        {[&](S e) { return DragRow(id, 7, 1, 3, e); }, "mouse 7 row 1 tab 1; refused", ""},  // not marked draggable
        {[&](S e) { return DragRow(id, 6, 2, 4, e); }, "refused", "", [&] { rec.dragRows = 6; }},  // a disabled row
        {[&](S e) { return DragRow(id, 6, 1, 3, e); }, "mouse 6 row 1 tab 1; dragged 6 1->3",
         "rows=r2-=102 r3=103 r1=101 r4=104 sel 4 focus 6"},
        {[&](S e) { return ResizePanel(id, 10, -20, e); }, "resized 10,-20", "size=320x190"},
        {[&](S e) { return ResizeHeaderItem(id, 6, 1, 15, e); }, "refused", ""},  // not sizeable
        {[&](S e) { return ClickButton(id, 1, e); }, "refused", "", [&] { go.Hide(); }},
        {[&](S e) { return ClickButton(id, 10, e); }, "refused", "", [&] { add.Disable(); }},
        {[&](S e) { return TypeText(id, 2, "x", e); }, "refused", "text=abcde", [&] { pal.DisableItems(); }},  // host
        {[&](S e) { return TypeText(id, 2, "x", e); }, "text 2", "text=x", [&] { pal.EnableItems(); }},
        {[&](S e) { return TypeText(id, 2, "y", e); }, "refused", "text=x", [&] { pal.Hide(); }},
        {[&](S) { FireIdle(1); return true; }, "", ""},
    };
    for (const auto& s : steps) {
        rec.log.clear();
        if (s.code)
            s.code();
        std::string err;
        const bool ok = s.act(&err);
        EXPECT_EQ(ok, err.empty()) << s.events << ": " << err;
        if (!ok)
            rec.Add("refused");
        EXPECT_EQ(rec.log, s.events) << s.state << ": " << err;
        EXPECT_NE(state().find("|" + std::string(s.state) + (*s.state ? "|" : "")), std::string::npos)
            << s.state << " in " << state();
    }
}

// ---- modal dialogs, alerts and file dialogs -----------------------------------------------------

// A modal dialog, an alert or a file dialog takes the user's actions until it closes; the library refuses
// what cannot be done and gives up on one with no action left. A dialog asks its owner, who may refuse to
// close; alerts and file dialogs are logged with their answer.
TEST_F(PaletteFixture, ModalsTakeTheUsersActionsUntilTheyClose)
{
    DG::ModalDialog missing(Module(), 999, Module()), malformed(Module(), 300, Module());
    EXPECT_TRUE(missing.GetId() == 0 && malformed.GetId() == 0);
    {
        ScriptedPump pump;
        pump.actions.push_back([] { ADD_FAILURE() << "a dialog without resource took an action"; });
        EXPECT_EQ(missing.Invoke(), DG::Cancel);
    }
    const TempDir dir;
    std::ofstream(dir / "in.sql") << "x";
    FTM::FileTypeManager types("DGDialogTypes");
    const FTM::TypeID sql = types.AddType(FTM::FileType("SQL Dump", "sql"), types.GetRootGroup());
    const std::string alert = "alert warning \"T\": \"Large\" / \"Small\" [\"Yes\", \"No\"] -> ";
    const std::string open = "file dialog open \"Pick\" [SQL Dump (*.sql)] -> ";
    const std::string save = "file dialog save \"Pick\" [SQL Dump (*.sql)] -> ";
    // The user's actions with the library's refusals: a dialog's "ok", "cancel" or "closebox", or "palette",
    // a click in the palette behind it; an alert's button number or text; a file dialog's path or "cancel".
    // Then close requests the owner refuses, what the code got, what the owner heard or the log line, and
    // how many the library gave up on.
    struct Case { const char* kind; std::vector<std::pair<std::string, std::string>> actions; int refuse;
                  std::string result, heard; int abandoned; };
    const Case cases[] = {
        {"dialog", {{"ok", ""}}, 0, "accepted", "opened; click 1; close? ok; closed", 0},
        {"dialog", {{"ok", ""}, {"closebox", ""}}, 1, "cancelled",
         "opened; click 1; close? ok; close? cancel; closed", 0},
        {"dialog", {{"closebox", ""}, {"ok", ""}}, 1, "accepted",
         "opened; close? cancel; click 1; close? ok; closed", 0},
        {"dialog", {{"cancel", ""}}, 0, "cancelled", "opened; click 2; close? cancel; closed", 0},
        {"dialog", {{"palette", "a modal dialog is open: \"Ask\""}}, 0, "cancelled", "opened; closed", 1},
        {"dialog", {{"ok", ""}}, 5, "cancelled", "opened; click 1; close? ok; closed", 1},  // refused to the end
        {"alert", {{"2", ""}}, 0, "2", alert + "2", 0},
        {"alert", {{"Yes", ""}}, 0, "1", alert + "1", 0},
        {"alert", {{"3", "the alert has no button 3"}}, 0, "1", alert + "1", 1},
        {"alert", {}, 0, "1", alert + "1", 1},
        {"open", {{dir / "no.sql", "no file at " + dir / "no.sql"}, {dir / "in.sql", ""}}, 0, dir / "in.sql",
         open + "\"" + dir / "in.sql" + "\"", 0},
        {"save", {{dir / "none/out.sql", "no folder at " + dir / "none"}, {dir.path, dir.path + " is a folder"},
                  {dir / "out.sql", ""}}, 0, dir / "out.sql", save + "\"" + dir / "out.sql" + "\"", 0},
        {"open", {{"cancel", ""}}, 0, "cancelled", open + "cancelled", 0},
        {"open", {}, 0, "cancelled", open + "cancelled", 1},
    };
    using namespace DG::User;
    for (const auto& c : cases) {
        const std::string kind = c.kind;
        DG::ModalDialog dlg(Module(), 200, Module());
        DG::Button ok(dlg, 1), cancel(dlg, 2);
        Recorder r;
        r.refuseCloses = c.refuse;
        dlg.Attach(r);
        r.AttachToAllItems(dlg);
        r.onClick = [&](Int16 item) { dlg.PostCloseRequest(item == 1 ? DG::Accept : DG::Cancel); };
        ScriptedPump pump;
        for (const auto& [action, refusal] : c.actions)
            pump.actions.push_back([&, a = action, refusal = refusal] {
                std::string e;
                const Int16 d = dlg.GetId();
                const bool done =
                    a == "palette"     ? ClickButton(id, 1, &e)
                    : kind == "dialog" ? (a == "closebox" ? CloseBox(d, &e) : ClickButton(d, a == "ok" ? 1 : 2, &e))
                    : kind == "alert"  ? (std::isdigit(a[0]) ? AnswerAlert(Int16(std::atoi(a.c_str())), &e)
                                                             : AnswerAlertByText(a, &e))
                    : a == "cancel"    ? CancelFileDialog(&e)
                                       : ChooseFile(a, &e);
                EXPECT_EQ(done, refusal.empty()) << a;
                EXPECT_EQ(e, refusal);
            });
        ResetLogs();
        std::string result;
        if (kind == "dialog") {
            result = dlg.Invoke() == DG::Accept ? "accepted" : "cancelled";
        } else if (kind == "alert") {
            result = std::to_string(DGAlert(DG::DG_WARNING, "T", "Large", "Small", "Yes", "No"));
        } else {
            DG::FileDialog files(kind == "save" ? DG::FileDialog::Save : DG::FileDialog::OpenFile);
            files.SetTitle("Pick");
            files.AddFilter(sql);
            const bool chosen = files.Invoke();
            result = (chosen ? "" : "cancelled") + files.GetSelectedFile().ToDisplayText().ToUtf8();
        }
        EXPECT_EQ(result, c.result) << c.heard;
        EXPECT_EQ(AlertLog().size() + FileDialogLog().size(), kind == "dialog" ? 0u : 1u);
        EXPECT_EQ(kind == "dialog"      ? r.log
                  : AlertLog().empty() ? FileDialogLog().at(0).ToString()
                                        : AlertLog()[0].ToString(),
                  c.heard);
        EXPECT_EQ(AbandonedModals(), c.abandoned) << c.heard;
        EXPECT_TRUE(TopModal() == 0 && !AlertOpen() && !FileDialogOpen() && !dlg.IsOpen());
    }
    EXPECT_EQ(rec.log, "");  // the palette heard nothing while the modals ran
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
        NewDisplay::ListBoxUpdateEventContext ctx(ev);
        rec.log += " " + ctx.GetBackColor().ToString() + "/" + ctx.GetForeColor().ToString();
        ctx.FillRect(0, 0, ev.GetWidth(), ev.GetHeight(), ctx.GetBackColor());
        ctx.DrawPlainText(list.GetTabItemText(ev.GetListItem(), 1), 2, 2, ev.GetWidth() - 4, ev.GetHeight() - 4, 0);
    };
    pal.Hide();
    rec.log.clear();
    // Rows in black on white, the default.
    auto plain = [](std::initializer_list<int> rows) {
        std::string s;
        for (int r : rows)
            s += (s.empty() ? "" : "; ") + ("paint 6 row " + std::to_string(r)) + " tab 1 #FFFFFFFF/#000000FF";
        return s;
    };
    struct Step { const char* name; std::function<void()> change; std::string painted; } steps[] = {
        {"hidden palette", [] {}, ""},
        {"shown", [this] { pal.Show(); }, plain({1, 2, 3})},
        {"nothing changed", [] {}, ""},
        {"text of a visible row", [this] { list.SetTabItemText(2, 1, "x"); }, plain({2})},
        {"text of a hidden row", [this] { list.SetTabItemText(80, 1, "y"); }, ""},
        {"selected row is dark", [this] { list.SelectItem(3); }, "paint 6 row 3 tab 1 #3366CCFF/#FFFFFFFF"},
        {"disabled row is grey", [this] { list.SetItemStatus(1, false); }, "paint 6 row 1 tab 1 #FFFFFFFF/#808080FF"},
        {"scrolled", [this] { list.SetScrollPosition(80); }, plain({80, 81, 82})},
        {"list redrawn", [this] { list.Redraw(); }, plain({80, 81, 82})},
        {"hidden list", [this] { list.Hide(); list.Redraw(); }, ""},
    };
    for (const auto& s : steps) {
        s.change();
        DG::User::Paint();
        EXPECT_EQ(rec.log, s.painted) << s.name;
        rec.log.clear();
    }
    list.Show();
    std::string view = DG::User::Describe(id);
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

// ---- timers ------------------------------------------------------------------------------------

std::string timerCalls;
int windowA, windowB;
void TimerA(void*, UInt32, std::uintptr_t id, UInt32) { timerCalls += "A" + std::to_string(id) + " "; }
void TimerB(void* w, UInt32, std::uintptr_t id, UInt32)
{
    timerCalls += "B" + std::to_string(id) + " ";
    if (id == 2)
        KillTimer(w, 3);  // a timer killed during a tick is not called afterwards
}

TEST(DGTimers, TickInStartOrderUntilKilled)
{
    EXPECT_EQ(SetTimer(nullptr, 1, 10, TimerA), 0u);
    EXPECT_EQ(SetTimer(&windowA, 1, 10, TimerA), 1u);
    SetTimer(&windowA, 3, 10, TimerA);
    SetTimer(&windowB, 1, 10, TimerA);
    // A change, then ticks: the calls, and the timers still running.
    struct Step { std::function<void()> change; int ticks; const char* calls; int running; } steps[] = {
        {[] {}, 2, "A1 A3 A1 A1 A3 A1 ", 3},
        {[] { SetTimer(&windowA, 1, 10, TimerB); }, 1, "A3 A1 B1 ", 3},  // replaced: now last
        {[] { EXPECT_TRUE(KillTimer(&windowB, 1) && !KillTimer(&windowB, 1)); }, 1, "A3 B1 ", 2},
        {[] { KillTimer(&windowA, 3); SetTimer(&windowA, 2, 10, TimerB); SetTimer(&windowA, 3, 10, TimerA); }, 1,
         "B1 B2 ", 2},
        {[] { KillTimer(&windowA, 1); KillTimer(&windowA, 2); }, 3, "", 0},
    };
    for (const auto& s : steps) {
        s.change();
        timerCalls.clear();
        DG::User::FireTimerTicks(s.ticks);
        EXPECT_EQ(timerCalls, s.calls);
        EXPECT_EQ(DG::User::RunningTimerCount(), s.running);
    }
}

// Observers and handles may go away at any time, even while an event is being delivered.
TEST(DGLifetimes, DetachDestroyAndOrphanedHandlesAreSafe)
{
    auto pal = std::make_unique<DG::Palette>(Module(), 100, Module());
    const Int16 id = pal->GetId();
    Recorder first, second;
    auto third = std::make_unique<Recorder>();
    DG::Button go(*pal, 1);
    for (Recorder* r : {&first, &second, third.get()})
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
    EXPECT_EQ(first.log, "opened; click 1");  // opened once only
    EXPECT_EQ(second.log, "");

    // An item without a handle of its owner still names itself in its events.
    Recorder all;
    all.AttachToAllItems(*pal);
    EXPECT_TRUE(DG::User::SetCheck(id, 4, true, &err)) << err;
    EXPECT_EQ(all.log, "check 4");

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
