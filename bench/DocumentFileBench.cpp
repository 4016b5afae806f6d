// SPDX-License-Identifier: MIT
// Saving and reopening a document of a million rows.
#include "CountingSink.h"
#include "core/docfile/DocumentFile.h"
#include "core/table/TablePopulation.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace dirscribe;

constexpr int kRows = 1'000'000;

ListingOptions BenchOptions() {
    ListingOptions options;
    options.printAs = PageLayout::Standard;
    options.addComments = 1;
    options.addSize = 1;
    options.addAttribute = 1;
    options.addDate = 1;
    return options;
}

// Rows as a listing of a large music archive shows them: name, empty comment, size text,
// attribute letters, date text.
const ListingTable& BenchTable() {
    static const ListingTable table = [] {
        ListingTable t;
        t.SetColumns({ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Comments),
                      ListingColumn(ColumnKind::Size), ListingColumn(ColumnKind::Attributes),
                      ListingColumn(ColumnKind::Date)});
        t.ReserveRows(kRows);
        char name[64];
        char size[32];
        for (int r = 0; r < kRows; ++r) {
            std::snprintf(name, sizeof name, "%03d - Artist Name - Track Title %d.mp3", r % 1000,
                          r);
            std::snprintf(size, sizeof size, "%12d.%d Mb", 1 + r % 9, r % 10);
            t.InsertRow(t.RowCount(), {name, "", size, "AR", " 12/18/2002 14:05:09"},
                        RowKind::Entry);
        }
        return t;
    }();
    return table;
}

const std::string& BenchBytes() {
    static const std::string bytes =
        WriteDocumentFile({123456789012, kRows, 1000}, "/srv/music", BenchOptions(), BenchTable());
    return bytes;
}

void WriteMillionRows(benchmark::State& state) {
    const ListingTable& table = BenchTable();
    const ListingOptions options = BenchOptions();
    for (auto _ : state) {
        CountingSink sink; // as the document streams to its file
        WriteDocumentFile(sink, {123456789012, kRows, 1000}, "/srv/music", options, table);
        benchmark::DoNotOptimize(sink.Bytes());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(BenchBytes().size()));
}
BENCHMARK(WriteMillionRows)->Unit(benchmark::kMillisecond);

void ReadMillionRows(benchmark::State& state) {
    const std::string& bytes = BenchBytes();
    for (auto _ : state) {
        DocumentContents contents = ReadDocumentFile(bytes);
        benchmark::DoNotOptimize(contents.rows.Size());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(ReadMillionRows)->Unit(benchmark::kMillisecond);

// From a file (in the page cache) to checked contents, as opening a document does.
void LoadMillionRows(benchmark::State& state) {
    const char* base = std::getenv("TMPDIR");
    std::string path = std::string(base && *base ? base : "/tmp") + "/dirscribe-bench-XXXXXX";
    const int fd = ::mkstemp(path.data());
    if (fd < 0) {
        state.SkipWithError("no temporary file");
        return;
    }
    ::close(fd);
    std::ofstream(path, std::ios::binary) << BenchBytes();
    for (auto _ : state) {
        DocumentContents contents = LoadDocumentFile(path);
        benchmark::DoNotOptimize(contents.rows.Size());
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(BenchBytes().size()));
}
BENCHMARK(LoadMillionRows)->Unit(benchmark::kMillisecond);

} // namespace
