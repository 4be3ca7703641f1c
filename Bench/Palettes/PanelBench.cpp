// Filling the main panel: a category of N items, an item of N quantities (each should grow
// linearly with N, the rows listed), and one re-check step.
#include <cstdio>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>
#include <SQLiteCpp/SQLiteCpp.h>

#include "DG/DGUser.hpp"
#include "Database/ProjectDatabase.hpp"
#include "GSRoot/Debug.hpp"
#include "Host/StandInHost.hpp"
#include "HostApi/HostCalls.hpp"
#include "Palettes/CalvoraPanel.hpp"

namespace {

constexpr int Walls = 50;

std::string WallGuid(int i)
{
    char text[40];
    std::snprintf(text, sizeof text, "B0000000-0000-4000-8000-%012d", i + 1);
    return text;
}

Host::Json Project()
{
    Host::Json elements = Host::Json::array();
    for (int i = 0; i < Walls; ++i)
        elements.push_back({{"guid", WallGuid(i)}, {"typeID", "Wall"}, {"id", "W-" + std::to_string(i + 1)},
                            {"quantities", {{"volume", 1.0 + i}, {"area", 2.0}, {"length", 3.0}}}});
    return {{"model", {{"elements", elements}}}};
}

// Categories 1 and 2 hold n items each; items 1 and 2 of category 1 hold n quantities each,
// linked to the walls in turn. Written directly, in one transaction.
void BuildEstimate(int n)
{
    ProjectDatabase& db = ProjectDatabase::instance();
    db.resetToEmpty();
    db.execSql("BEGIN");
    db.execSql("INSERT INTO categories (title, code, sort_order, descript, total) VALUES ('Second', 'B', 2, '', 0)");
    for (int category = 1; category <= 2; ++category)
        for (int i = 1; i <= n; ++i) {
            SQLite::Statement item = db.prepare(
                "INSERT INTO items (category_id, sort_order, code, descript, unit, price, qty, total) "
                "VALUES (?, ?, 'I', 'Item description', 'm3', 12.5, 2, 25)");
            item.bind(1, category);
            item.bind(2, i);
            db.execute(item);
        }
    for (int itemId = 1; itemId <= 2; ++itemId)
        for (int q = 1; q <= n; ++q) {
            SQLite::Statement qty = db.prepare(
                "INSERT INTO qties (item_id, guid, sort_order, descript, formula, value) "
                "VALUES (?, ?, ?, 'Wall #ID', 'Volume*1.05', 1.25)");
            qty.bind(1, itemId);
            qty.bind(2, WallGuid(q % Walls));
            qty.bind(3, q);
            db.execute(qty);
        }
    db.execSql("COMMIT");
}

struct PanelFixture {
    explicit PanelFixture(int n)
    {
        GS::SetDebugCapture([](const std::string&) {});
        host = std::make_unique<Host::StandInHost>();
        CalvoraSetHostTable(host->Table());
        host->SetProject(Project());
        ProjectDatabase::instance().reopen();
        BuildEstimate(n);
        palette = std::make_unique<DG::Palette>(HostGetOwnResModule(), 32401, HostGetOwnResModule());
        panel = std::make_unique<CalvoraPanel>(*palette, 32401);
        palette->Show();
        id = palette->GetId();
    }
    ~PanelFixture()
    {
        panel.reset();
        palette.reset();
        ProjectDatabase::instance().reopen();
        CalvoraClearHostTable();
        GS::SetDebugCapture({});
    }
    void Choose(Int16 entry) { DG::User::ChooseEntry(id, CalvoraPanel::CategoryPopUpId, entry, &error); }
    void SelectItem(Int16 row) { DG::User::SelectRows(id, CalvoraPanel::ItemsListId, {row}, &error); }

    std::unique_ptr<Host::StandInHost> host;
    std::unique_ptr<DG::Palette> palette;
    std::unique_ptr<CalvoraPanel> panel;
    Int16 id = 0;
    std::string error;
};

// The user chooses a category of n items (the two categories in turn), rows painted.
void BM_ChooseCategory(benchmark::State& state)
{
    PanelFixture f(static_cast<int>(state.range(0)));
    Int16 entry = 1;
    for (auto _ : state) {
        entry = entry == 1 ? 2 : 1;
        f.Choose(entry);
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ChooseCategory)->Arg(500)->Arg(1000)->Arg(2500)->Arg(5000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

// The user chooses an item of n quantities (the two items in turn): the quantities are read,
// listed and painted, and the re-check starts.
void BM_ChooseItem(benchmark::State& state)
{
    PanelFixture f(static_cast<int>(state.range(0)));
    Int16 row = 1;
    for (auto _ : state) {
        row = row == 1 ? 2 : 1;
        f.SelectItem(row);
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ChooseItem)->Arg(500)->Arg(1000)->Arg(2500)->Arg(5000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

// One timer tick while an item of n quantities is re-checked: one quantity evaluated, the
// visible rows of the quantities list painted again; it should not depend on n.
void BM_RecheckStep(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    PanelFixture f(n);
    f.SelectItem(1);
    int ticks = 0;
    for (auto _ : state) {
        if (ticks == n) {
            state.PauseTiming();
            f.SelectItem(2);
            f.SelectItem(1);
            ticks = 0;
            state.ResumeTiming();
        }
        DG::User::FireTimerTicks(1);
        ++ticks;
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RecheckStep)->Arg(500)->Arg(1000)->Arg(2500)->Arg(5000)->Complexity(benchmark::o1)->Unit(benchmark::kMicrosecond);

}  // namespace
