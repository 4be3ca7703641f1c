// Filling the main panel: a category of N items, an item of N quantities (each should grow
// linearly with N, the rows listed), and one re-check step.
#include <string>

#include <benchmark/benchmark.h>
#include <SQLiteCpp/SQLiteCpp.h>

#include "../BenchSupport.hpp"
#include "DG/DGUser.hpp"
#include "ResourceNames.hpp"

namespace {

constexpr int Walls = 50;

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
            qty.bind(2, BenchSupport::WallGuid(q % Walls));
            qty.bind(3, q);
            db.execute(qty);
        }
    db.execSql("COMMIT");
}

struct PanelFixture : BenchSupport::HostedAddOn {
    explicit PanelFixture(int n) : HostedAddOn(BenchSupport::WallsProject(Walls))
    {
        ProjectDatabase::instance().reopen();
        BuildEstimate(n);
        main.Open();
        id = main.Id();
    }
    void Choose(Int16 entry) { DG::User::ChooseEntry(id, CalvoraPaletteItems::CategoryPopUp, entry, &error); }
    void SelectItem(Int16 row) { DG::User::SelectRows(id, CalvoraPaletteItems::ItemsList, {row}, &error); }

    BenchSupport::MainPanel main;
    Int16 id = 0;
    std::string error;
};

void Sizes(benchmark::internal::Benchmark* b)
{
    for (int n : {500, 1000, 2500, 5000})
        b->Arg(n);
}

// The user chooses one of two of n rows each in turn: categories of n items, or items of n
// quantities (read, listed and painted, and the re-check starts).
void ChooseInTurn(benchmark::State& state, void (PanelFixture::*choose)(Int16))
{
    PanelFixture f(static_cast<int>(state.range(0)));
    Int16 choice = 1;
    for (auto _ : state) {
        choice = choice == 1 ? 2 : 1;
        (f.*choose)(choice);
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ChooseCategory(benchmark::State& state) { ChooseInTurn(state, &PanelFixture::Choose); }
BENCHMARK(BM_ChooseCategory)->Apply(Sizes)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

void BM_ChooseItem(benchmark::State& state) { ChooseInTurn(state, &PanelFixture::SelectItem); }
BENCHMARK(BM_ChooseItem)->Apply(Sizes)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_RecheckStep)->Apply(Sizes)->Complexity(benchmark::o1)->Unit(benchmark::kMicrosecond);

}  // namespace
