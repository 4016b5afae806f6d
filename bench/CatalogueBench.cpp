// SPDX-License-Identifier: MIT
// Exports of a million-row listing to files, and a search through a hundred saved listings.
#include "core/docfile/DocumentFile.h"
#include "core/export/CsvExport.h"
#include "core/export/HtmlExport.h"
#include "core/export/JsonExport.h"
#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"
#include "core/ops/ListingMerge.h"
#include "core/platform/AtomicFile.h"
#include "core/search/ListingSearch.h"
#include "core/table/NameCell.h"
#include "core/table/TablePopulation.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace dirscribe;

ListingOptions AllColumns() {
    ListingOptions options;
    options.addComments = options.addSize = options.addAttribute = options.addDate = 1;
    options.dateFormat = 6;
    return options;
}

// A tree listing as a disk gives it: folders of 40 files, every tenth file with a comment
// and every fiftieth with a comment row below it.
ListingTable TreeTable(int rows) {
    ListingTable table;
    table.SetColumns(ListingColumns(AllColumns()));
    table.ReserveRows(rows);
    for (int i = 0; table.RowCount() < rows; ++i) {
        if (i % 41 == 0) {
            table.InsertRow(table.RowCount(),
                            {TreeFolderName("Album " + std::to_string(i / 41), 1), "",
                             FormatSize(350'000'000, kTableSizeWidth, false), "",
                             FormatDate(126'846'939'090'000'000, 6)},
                            RowKind::Entry);
            continue;
        }
        table.InsertRow(table.RowCount(),
                        {TreeFileName("Track " + std::to_string(i) + ".flac", 2),
                         i % 10 == 0 ? "ripped from the 1997 remaster" : "",
                         FormatSize(static_cast<std::uint64_t>(i) * 40'961, kTableSizeWidth, false),
                         "A", FormatDate(126'846'939'090'000'000 + i * 10'000'000ULL, 6)},
                        RowKind::Entry);
        if (i % 50 == 0)
            table.InsertRow(table.RowCount(), {"comments:", "mono mix, 24-bit/96 kHz", "", "", ""},
                            RowKind::Continuation);
    }
    return table;
}

std::string Scratch(const char* name) {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp != nullptr ? tmp : "/tmp") + "/dirscribe-bench-" +
           std::to_string(::getpid()) + "-" + name;
}

// Writes the export of a table of state.range(0) rows to a file, replaced atomically.
template <typename Write>
void ExportToFile(benchmark::State& state, const char* name, Write write) {
    const ListingTable table = TreeTable(static_cast<int>(state.range(0)));
    const ExportSource source{table, "/srv/music", {987'654'321'000, 900'000, 24'000}, false, 6,
                              0,     nullptr};
    const std::string path = Scratch(name);
    for (auto _ : state)
        WriteFileAtomically(path, [&](ByteSink& sink) { write(source, sink); });
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ExportCsv(benchmark::State& state) {
    ExportToFile(state, "export.csv",
                 [](const ExportSource& source, ByteSink& sink) { WriteCsv(source, sink); });
}
BENCHMARK(BM_ExportCsv)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportJson(benchmark::State& state) {
    ExportToFile(state, "export.json", WriteJson);
}
BENCHMARK(BM_ExportJson)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportHtml(benchmark::State& state) {
    ExportToFile(state, "export.html", WriteHtml);
}
BENCHMARK(BM_ExportHtml)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);

// state.range(0) documents of 10,000 rows each, searched for a pattern and for a text.
void BM_SearchDocuments(benchmark::State& state) {
    const std::string folder = Scratch("documents");
    std::filesystem::create_directories(folder);
    const ListingTable table = TreeTable(10'000);
    for (int i = 0; i < state.range(0); ++i)
        WriteFileAtomically(folder + "/disk-" + std::to_string(i) + ".dsc",
                            WriteDocumentFile({}, "/media/disk", AllColumns(), table,
                                              {2, ListingContent::FilesAndFolders}));
    struct Quiet final : Notice {
        void Show(std::string_view, std::string_view, NoticeIcon) override {}
    } notice;
    NullProgress progress;
    const SearchQuery query(state.range(1) != 0 ? "track 1?9*.flac" : "remaster");
    std::size_t matches = 0;
    for (auto _ : state)
        matches = SearchDocuments(
            query, {folder}, notice, progress,
            [](const std::string&, const SearchHit& hit) { benchmark::DoNotOptimize(hit.row); });
    state.counters["matches"] = static_cast<double>(matches);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SearchDocuments)->Args({100, 1})->Args({100, 0})->Unit(benchmark::kMillisecond);

// A read of state.range(0) entries (folders of 40 files) filled into a table while the
// listing it replaces carries a comment on every tenth entry, as a refresh does.
void BM_RefreshCarryingComments(benchmark::State& state) {
    const auto rows = static_cast<std::uint32_t>(state.range(0));
    const auto read = [rows] {
        CDirscribeDoc doc;
        doc.shape = {1, ListingContent::FilesAndFolders};
        std::uint32_t folder = 0;
        for (std::uint32_t i = 0; i < rows; ++i) {
            const bool isFolder = i % 41 == 0;
            folder = isFolder ? i : folder;
            doc.entries.Append({isFolder ? kAttributeDirectory : kAttributeArchive,
                                isFolder ? 1 : 2, isFolder ? kNoEntry : folder, false,
                                (isFolder ? "Album " : "Track ") + std::to_string(i), i * 1000ULL,
                                126'846'939'090'000'000});
        }
        return doc;
    };
    NullProgress progress;
    ListingTable old;
    CDirscribeDoc first = read();
    PopulateCarrying(old, first, "/srv/music", AllColumns(), ListingTable{}, {}, progress);
    for (int row = 0; row < old.RowCount(); row += 10)
        old.SetCell(row, 1, "ripped from the 1997 remaster");
    for (auto _ : state) {
        state.PauseTiming();
        CDirscribeDoc doc = read();
        ListingTable table;
        state.ResumeTiming();
        PopulateCarrying(table, doc, "/srv/music", AllColumns(), old,
                         {1, ListingContent::FilesAndFolders}, progress);
        benchmark::DoNotOptimize(table.RowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RefreshCarryingComments)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
