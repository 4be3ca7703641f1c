#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <SQLiteCpp/SQLiteCpp.h>

#include "HostApi/HostCalls.hpp"
#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Database/QtiesTable.hpp"
#include "Host/StandInHost.hpp"

namespace {

constexpr int QtiesPerItem = 10;
constexpr int ItemsPerCategory = 50;

// A fresh estimate of the given number of quantities, written directly in one transaction.
void BuildEstimate(int quantities)
{
    ProjectDatabase& db = ProjectDatabase::instance();
    db.resetToEmpty();
    db.execSql("BEGIN");
    const int items = quantities / QtiesPerItem;
    for (int item = 0; item < items; ++item) {
        const int category = item / ItemsPerCategory + 1;
        if (item % ItemsPerCategory == 0 && category > 1) {
            SQLite::Statement insert = db.prepare(
                "INSERT INTO categories (title, code, sort_order, descript, total) VALUES ('Category', '', ?, '', 0)");
            insert.bind(1, category);
            db.execute(insert);
        }
        SQLite::Statement insertItem = db.prepare(
            "INSERT INTO items (category_id, sort_order, code, descript, unit, price, qty, total) "
            "VALUES (?, ?, 'I', 'Item description', 'm3', 12.5, 0, 0)");
        insertItem.bind(1, category);
        insertItem.bind(2, item % ItemsPerCategory + 1);
        db.execute(insertItem);
        const int itemId = db.lastInsertRowId();
        for (int q = 0; q < QtiesPerItem; ++q) {
            SQLite::Statement insertQty = db.prepare(
                "INSERT INTO qties (item_id, guid, sort_order, descript, formula, value) "
                "VALUES (?, '6E1B1A0C-6B5D-4B4C-9D53-0A8F7C1F2E3D', ?, 'Quantity', 'Volume*1.05', 1.25)");
            insertQty.bind(1, itemId);
            insertQty.bind(2, q + 1);
            db.execute(insertQty);
        }
    }
    db.execSql("COMMIT");
}

struct BenchHost {
    BenchHost()
    {
        host = std::make_unique<Host::StandInHost>();
        CalvoraSetHostTable(host->Table());
    }
    std::unique_ptr<Host::StandInHost> host;
};

void SaveOneQuantity(benchmark::State& state)
{
    BenchHost bench;
    BuildEstimate(static_cast<int>(state.range(0)));
    // A quantity in the middle of the estimate, saved with a new value each time.
    const int itemId = static_cast<int>(state.range(0)) / QtiesPerItem / 2;
    Qty qty = QtiesTable().findWhere("item_id", itemId).begin()->value;
    double value = 1.0;
    for (auto _ : state) {
        value += 0.5;
        qty.setDouble("value", value);
        benchmark::DoNotOptimize(QtiesTable().save(qty));
    }
    state.counters["quantities"] = static_cast<double>(state.range(0));
}
BENCHMARK(SaveOneQuantity)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// What one step of Sync All does to the database: a quantity saved with a new value and its
// item and category rolled up, one quantity of each item in turn, so the steps walk the whole
// estimate. The estimate grows by its items and categories; quantities per item and items per
// category stay fixed, so a step should cost about the same at every size.
void SyncStepSave(benchmark::State& state)
{
    BenchHost bench;
    BuildEstimate(static_cast<int>(state.range(0)));
    std::vector<Qty> steps;
    for (const auto& entry : QtiesTable().findWhere("sort_order", 1))
        steps.push_back(entry.value);
    std::size_t next = 0;
    double value = 1.0;
    for (auto _ : state) {
        Qty& qty = steps[next++ % steps.size()];
        value += 0.5;
        qty.setDouble("value", value);
        benchmark::DoNotOptimize(QtiesTable().save(qty));
    }
    state.counters["quantities"] = static_cast<double>(state.range(0));
}
BENCHMARK(SyncStepSave)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void AddAndRemoveOneQuantity(benchmark::State& state)
{
    BenchHost bench;
    BuildEstimate(static_cast<int>(state.range(0)));
    const int itemId = static_cast<int>(state.range(0)) / QtiesPerItem / 2;
    for (auto _ : state) {
        Qty qty;
        qty.setInt("item_id", itemId);
        qty.setDouble("value", 2.0);
        QtiesTable().save(qty);
        QtiesTable().remove(qty);
    }
}
BENCHMARK(AddAndRemoveOneQuantity)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void StoreEstimate(benchmark::State& state)
{
    BenchHost bench;
    BuildEstimate(static_cast<int>(state.range(0)));
    ProjectDatabase& db = ProjectDatabase::instance();
    for (auto _ : state) {
        state.PauseTiming();
        SQLite::Statement touch = db.prepare("UPDATE categories SET title = title WHERE id = 1");
        db.execute(touch);
        state.ResumeTiming();
        db.saveToProject();
    }
    state.counters["bytes"] = static_cast<double>(bench.host->ModuleData("CalvoraDB")->size());
}
BENCHMARK(StoreEstimate)->Arg(100000)->Unit(benchmark::kMillisecond);

void LoadEstimate(benchmark::State& state)
{
    BenchHost bench;
    BuildEstimate(static_cast<int>(state.range(0)));
    ProjectDatabase& db = ProjectDatabase::instance();
    db.saveToProject();
    for (auto _ : state) {
        db.reopen();
        benchmark::DoNotOptimize(db.isOpen());
    }
    SQLite::Statement count = db.prepare("SELECT COUNT(*) FROM qties");
    count.executeStep();
    state.counters["quantities"] = static_cast<double>(count.getColumn(0).getInt());
}
BENCHMARK(LoadEstimate)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
