// Sync All's steps through the real progress dialog: one idle event re-evaluates one linked
// quantity and saves it with its item's and category's roll-up. The estimate grows by its number
// of items and categories (quantities per item and items per category fixed), so a step should
// cost the same at every size.
#include <string>

#include <benchmark/benchmark.h>

#include "../BenchSupport.hpp"
#include "DG/DGUser.hpp"
#include "Dialogs/SyncAllProgressDialog.hpp"
#include "ResourceNames.hpp"

namespace {

constexpr int QtiesPerItem = 10;
constexpr int ItemsPerCategory = 10;
constexpr const char* WallGuid = "6E1B1A0C-6B5D-4B4C-9D53-0A8F7C1F2E3D";

// One wall every quantity links to, and an estimate of the given number of linked quantities.
Host::Json OneWall()
{
    Host::Json project = Host::Json::object();
    project["model"]["elements"] =
        Host::Json::array({{{"guid", WallGuid}, {"typeID", "Wall"}, {"id", "W-1"}, {"structure", "basic"},
                            {"quantities", {{"volume", 9.0}, {"area", 30.0}, {"length", 10.0}}}}});
    return project;
}

struct SyncHost : BenchSupport::HostedAddOn {
    explicit SyncHost(int quantities) : HostedAddOn(OneWall())
    {
        ProjectDatabase& db = ProjectDatabase::instance();
        db.reopen();
        db.clearAll();
        const int items = quantities / QtiesPerItem;
        const int categories = (items + ItemsPerCategory - 1) / ItemsPerCategory;
        auto series = [](int count) {
            return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                   std::to_string(count) + ") ";
        };
        db.execSql(GS::UniString(
            "BEGIN; DELETE FROM categories;"
            "INSERT INTO categories (id, title, code, sort_order, descript, total) " + series(categories) +
            "SELECT i, 'Category ' || i, 'C' || i, i, '', 0 FROM n;"
            "INSERT INTO items (id, category_id, sort_order, code, descript, unit, price, qty, total) " +
            series(items) + "SELECT i, (i - 1) / " + std::to_string(ItemsPerCategory) + " + 1, (i - 1) % " +
            std::to_string(ItemsPerCategory) + " + 1, 'I' || i, 'Item', 'm3', 12.5, 0, 0 FROM n;"
            "INSERT INTO qties (id, item_id, guid, sort_order, descript, formula, value) " + series(quantities) +
            "SELECT i, (i - 1) / " + std::to_string(QtiesPerItem) + " + 1, '" + WallGuid + "', (i - 1) % " +
            std::to_string(QtiesPerItem) + " + 1, 'Quantity', 'Volume*1.05', 1.25 FROM n; COMMIT;"));
    }
};

// Runs the dialog; the pump hands control to the measurement once, which then cancels the run.
template <typename Measure>
void RunDialog(Measure measure)
{
    bool measured = false;
    DG::User::Pump previous = DG::User::SetPump([&] {
        if (measured)
            return false;
        measured = true;
        measure();
        std::string error;
        DG::User::ClickButton(DG::User::TopModal(), SyncAllProgressDialogItems::CancelButton, &error);
        return true;
    });
    SyncAllProgressDialog dialog;
    dialog.Invoke();
    DG::User::SetPump(previous);
}

// One idle event a step, over an estimate with the parent-id indexes or, as stored before they
// were made, without them (each roll-up then scans whole tables).
void SyncAllSteps(benchmark::State& state, bool indexes)
{
    const int quantities = static_cast<int>(state.range(0));
    SyncHost host(quantities);
    if (!indexes)
        ProjectDatabase::instance().execSql("DROP INDEX items_category_id; DROP INDEX qties_item_id;");
    RunDialog([&] {
        for (auto _ : state)
            DG::User::FireIdle(1);
    });
    state.counters["quantities"] = quantities;
}

// Fewer steps than the smallest estimate has quantities, so every iteration is a step.
void BM_SyncAllStep(benchmark::State& state) { SyncAllSteps(state, true); }
BENCHMARK(BM_SyncAllStep)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(500)->Unit(benchmark::kMicrosecond);

void BM_SyncAllStepWithoutIndexes(benchmark::State& state) { SyncAllSteps(state, false); }
BENCHMARK(BM_SyncAllStepWithoutIndexes)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(100)->Unit(benchmark::kMicrosecond);

// Opening the dialog collects the ids of every linked quantity.
void BM_SyncAllCollect(benchmark::State& state)
{
    const int quantities = static_cast<int>(state.range(0));
    SyncHost host(quantities);
    for (auto _ : state)
        RunDialog([] {});
    state.counters["quantities"] = quantities;
}
BENCHMARK(BM_SyncAllCollect)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
