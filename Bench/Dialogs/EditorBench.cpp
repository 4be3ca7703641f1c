// Adding an item whose first quantities link N selected walls, and deleting N selected quantities,
// through the main panel and its editors; and the parts they are made of: evaluating the formula
// for N elements, saving N quantities of one item and removing them, each as one batch.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "../BenchSupport.hpp"
#include "DG/DGUser.hpp"
#include "Database/QtiesTable.hpp"
#include "ElementFuncs/QtyEvaluation.hpp"
#include "ResourceNames.hpp"

namespace {

using BenchSupport::WallGuid;

constexpr int MaxWalls = 1000;

// The host, a fresh estimate and the main panel in a palette; the user's next actions in a queue.
struct Bench : BenchSupport::HostedAddOn {
    Bench() : HostedAddOn(BenchSupport::WallsProject(MaxWalls))
    {
        previous = DG::User::SetPump([this] {
            if (actions.empty())
                return false;
            auto action = actions.front();
            actions.pop_front();
            return action();
        });
        Reset();
    }
    ~Bench()
    {
        main.Close();
        DG::User::SetPump(previous);
    }

    void Reset()
    {
        main.Close();
        ProjectDatabase::instance().resetToEmpty();
        ProjectDatabase::instance().ensureOpen();
        main.Open();
        DG::User::ResetLogs();
    }

    // A fresh estimate with one item, for the quantities of the parts' benchmarks.
    void ResetWithItem()
    {
        Reset();
        ProjectDatabase::instance().execSql(
            "INSERT INTO items (category_id, sort_order, code, descript, unit, price, qty, total) "
            "VALUES (1, 1, '', 'Walls', '', 0, 0, 0)");
    }

    void SelectWalls(int n)
    {
        std::vector<GS::Guid> guids;
        for (int i = 0; i < n; ++i)
            guids.emplace_back(WallGuid(i).c_str());
        host.Select(guids);
    }

    void Then(std::function<bool(std::string*)> action)
    {
        actions.push_back([action] {
            std::string error;
            return action(&error);
        });
    }

    // "Add New Item" with the first-quantity formula Volume, for the walls selected.
    void AddItem()
    {
        namespace Items = EditItemDialogItems;
        Then([](std::string* e) { return DG::User::TypeText(DG::User::TopModal(), Items::DescriptionEdit, "Walls", e); });
        Then([](std::string* e) { return DG::User::TypeText(DG::User::TopModal(), Items::FormulaEdit, "Volume", e); });
        Then([](std::string* e) { return DG::User::ClickButton(DG::User::TopModal(), Items::OkButton, e); });
        std::string error;
        DG::User::ClickButton(main.Id(), CalvoraPaletteItems::AddItemButton, &error);
    }

    void DeleteAllQties(int n)
    {
        std::vector<Int16> rows;
        for (int r = 1; r <= n; ++r)
            rows.push_back(static_cast<Int16>(r));
        std::string error;
        DG::User::SelectRows(main.Id(), CalvoraPaletteItems::QtiesList, rows, &error);
        Then([](std::string* e) { return DG::User::AnswerAlert(2, e); });
        DG::User::ClickButton(main.Id(), CalvoraPaletteItems::DeleteQtyButton, &error);
    }

    BenchSupport::MainPanel main;
    std::deque<std::function<bool()>> actions;
    DG::User::Pump previous;
};

void BM_AddItemWithFirstQuantities(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Bench bench;
    bench.SelectWalls(n);
    for (auto _ : state) {
        state.PauseTiming();
        bench.Reset();
        state.ResumeTiming();
        bench.AddItem();
    }
    if (bench.main.panel->GetQtyMap().GetSize() != static_cast<GS::USize>(n))
        state.SkipWithError("the item did not get its quantities");
}
BENCHMARK(BM_AddItemWithFirstQuantities)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_DeleteSelectedQuantities(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Bench bench;
    bench.SelectWalls(n);
    for (auto _ : state) {
        state.PauseTiming();
        bench.Reset();
        bench.AddItem();
        state.ResumeTiming();
        bench.DeleteAllQties(n);
    }
    if (!bench.main.panel->GetQtyMap().IsEmpty())
        state.SkipWithError("quantities are left");
}
BENCHMARK(BM_DeleteSelectedQuantities)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The parts. A quantity template linked to wall i.
Qty WallQty(int itemId, int i)
{
    Qty qty;
    qty.setInt("item_id", itemId);
    qty.setString("formula", "Volume");
    qty.setString("guid", WallGuid(i).c_str());
    return qty;
}

// Saves n quantities of item 1, one a wall, valued or not, as one batch.
GS::Array<Qty> SaveWallQties(QtiesTable& qties, int n, bool valued)
{
    GS::Array<Qty> saved;
    for (int i = 0; i < n; ++i) {
        saved.Push(WallQty(1, i));
        if (valued)
            saved.GetLast().setDouble("value", 1.0 + i);
    }
    qties.saveAll(saved);
    return saved;
}

void BM_EvaluateForEachElement(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Bench bench;
    for (auto _ : state) {
        double sum = 0.0;
        for (int i = 0; i < n; ++i) {
            Qty qty = WallQty(1, i);
            sum += QtyFormulaValue(qty, true);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_EvaluateForEachElement)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_SaveQuantitiesOfOneItem(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Bench bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.ResetWithItem();
        state.ResumeTiming();
        QtiesTable qties;
        SaveWallQties(qties, n, true);
    }
}
BENCHMARK(BM_SaveQuantitiesOfOneItem)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_RemoveQuantitiesLastFirst(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Bench bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.ResetWithItem();
        QtiesTable qties;
        GS::Array<Qty> saved = SaveWallQties(qties, n, false);
        state.ResumeTiming();
        qties.removeAll(saved);
    }
}
BENCHMARK(BM_RemoveQuantitiesLastFirst)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
