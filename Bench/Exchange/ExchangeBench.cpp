// Export and import of a large estimate: 200 categories of 50 items each.
#include <benchmark/benchmark.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Database/ProjectDatabase.hpp"
#include "Exchange/SheetText.hpp"
#include "Exchange/XlsxExport.hpp"
#include "Exchange/XlsxImport.hpp"
#include "Exchange/XlsxWorkbookWriter.hpp"

namespace {

const int CategoryCount = 200;
const int ItemsPerCategory = 50;

// Each run writes into a folder of its own, removed when the run ends.
std::string BenchPath(const char* name)
{
    static const struct Folder {
        std::string path = (std::filesystem::temp_directory_path() / "calvora-bench-XXXXXX").string();
        Folder() { mkdtemp(&path[0]); }
        ~Folder() { std::filesystem::remove_all(path); }
    } folder;
    return folder.path + "/" + name;
}

// Fills the estimate once, straight through SQL, inside one transaction.
void FillEstimate()
{
    static bool filled = false;
    if (filled)
        return;
    filled = true;
    ProjectDatabase& db = ProjectDatabase::instance();
    db.execSql("DELETE FROM qties; DELETE FROM items; DELETE FROM categories; BEGIN;");
    const std::string description = "Works of this category as agreed with the client.\n\n"
                                    "1. Preparation of the site and removal of old layers.\n\n"
                                    "2. Execution in accordance with the drawings, including all small material.";
    for (int c = 1; c <= CategoryCount; ++c) {
        SQLite::Statement category
            = db.prepare("INSERT INTO categories (title, code, sort_order, descript, total) VALUES (?, ?, ?, ?, 0)");
        category.bind(1, "Category number " + std::to_string(c));
        category.bind(2, "C-" + std::to_string(c));
        category.bind(3, c);
        category.bind(4, description);
        db.execute(category);
        const GS::Int32 id = db.lastInsertRowId();
        for (int i = 1; i <= ItemsPerCategory; ++i) {
            SQLite::Statement item = db.prepare("INSERT INTO items (category_id, sort_order, code, descript, unit, "
                                                "price, qty, total) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
            const double price = 10.0 + i * 0.25;
            const double qty = c * 0.5 + i / 3.0;
            item.bind(1, id);
            item.bind(2, i);
            item.bind(3, std::to_string(c) + "." + std::to_string(i));
            item.bind(4, "Item " + std::to_string(i) + " of the category, with a description of average length");
            item.bind(5, "m2");
            item.bind(6, price);
            item.bind(7, qty);
            item.bind(8, price * qty);
            db.execute(item);
        }
    }
    db.execSql("COMMIT;");
}

void BM_ExportXlsx(benchmark::State& state)
{
    FillEstimate();
    const std::string path = BenchPath("calvora-bench-export.xlsx");
    for (auto _ : state) {
        if (!ExportXlsx(IO::Location(GS::UniString(path)), ExportXlsOptions {}))
            state.SkipWithError("export failed");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_ExportXlsx)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ImportXlsx(benchmark::State& state)
{
    FillEstimate();
    const std::string path = BenchPath("calvora-bench-import.xlsx");
    if (!ExportXlsx(IO::Location(GS::UniString(path)), ExportXlsOptions {})) {
        state.SkipWithError("export failed");
        return;
    }
    for (auto _ : state) {
        if (!ImportXlsx(IO::Location(GS::UniString(path))))
            state.SkipWithError("import failed");
    }
}
BENCHMARK(BM_ImportXlsx)->Unit(benchmark::kMillisecond)->Iterations(5);

// The peer of the import: openpyxl's read_only load of the same workbook, every cell's value read,
// timed by the script itself so the interpreter's start does not count.
void BM_OpenpyxlReadOnlyLoad(benchmark::State& state)
{
    FillEstimate();
    const std::string path = BenchPath("calvora-bench-import.xlsx");
    if (!ExportXlsx(IO::Location(GS::UniString(path)), ExportXlsOptions {})) {
        state.SkipWithError("export failed");
        return;
    }
    const std::string command = "/usr/bin/python3 '" OPENPYXL_READ_SCRIPT "' '" + path + "' "
        + std::to_string(state.max_iterations);
    FILE* peer = popen(command.c_str(), "r");
    if (peer == nullptr) {
        state.SkipWithError("the peer did not start");
        return;
    }
    for (auto _ : state) {
        double seconds = 0.0;
        if (std::fscanf(peer, "%lf", &seconds) != 1) {
            state.SkipWithError("the peer gave no time");
            break;
        }
        state.SetIterationTime(seconds);
    }
    pclose(peer);
}
BENCHMARK(BM_OpenpyxlReadOnlyLoad)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

void BM_ReadEstimateWorkbook(benchmark::State& state)
{
    FillEstimate();
    const std::string path = BenchPath("calvora-bench-read.xlsx");
    if (!ExportXlsx(IO::Location(GS::UniString(path)), ExportXlsOptions {})) {
        state.SkipWithError("export failed");
        return;
    }
    const WorkbookLabels labels = ReadWorkbookLabels();
    size_t items = 0;
    for (auto _ : state) {
        const EstimateRecord estimate = ReadEstimateWorkbook(path, labels);
        items = 0;
        for (const CategoryRecord& category : estimate.categories)
            items += category.items.size();
    }
    state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_ReadEstimateWorkbook)->Unit(benchmark::kMillisecond)->Iterations(5);

// A description of many short paragraphs between empty lines, split into rows and joined
// back as the import does; both grow with the text, not with its square.
void BM_SplitAndJoinDescription(benchmark::State& state)
{
    std::string text;
    for (int64_t i = 0; i < state.range(0); ++i)
        text += "Paragraph.\n\nmore. ";
    for (auto _ : state) {
        const std::vector<std::string> chunks = SplitDescriptionParagraphs(text, DescriptionChunkLimit);
        benchmark::DoNotOptimize(JoinDescriptionChunks(chunks, DescriptionChunkLimit));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_SplitAndJoinDescription)->Unit(benchmark::kMillisecond)->Arg(10000)->Arg(100000);

} // namespace

BENCHMARK_MAIN();
