// SPDX-License-Identifier: MIT
// The memory a search of a large document takes: two million rows of names, sizes, dates and
// comments (about 150 MB), searched row by row as `search` does, against the way documents
// were searched before, opened whole into a table.
#include "ProcessMemory.h"
#include "core/docfile/DocumentFile.h"
#include "core/platform/AtomicFile.h"
#include "core/search/ListingSearch.h"
#include "core/table/TablePopulation.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace dirscribe;
using bench::PeakBytes;

constexpr int kRows = 2'000'000;

class PrintedNotice final : public Notice {
public:
    void Show(std::string_view, std::string_view text, NoticeIcon) override {
        std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

ListingOptions AllColumns() {
    ListingOptions options;
    options.printAs = PageLayout::Standard;
    options.addComments = options.addSize = options.addAttribute = options.addDate = 1;
    return options;
}

void MakeDocument(const std::string& file) {
    ListingTable table;
    table.SetColumns(ListingColumns(AllColumns()));
    table.ReserveRows(kRows);
    char name[64];
    char comment[64];
    for (int r = 0; r < kRows; ++r) {
        std::snprintf(name, sizeof name, "%03d - Artist Name - Track Title %d.mp3", r % 1000, r);
        std::snprintf(comment, sizeof comment, r % 50 == 0 ? "bought in %d" : "", r);
        table.AppendCells({name, comment, "        3.1 Mb", "A", " 12/18/2002 14:05:09"},
                          RowKind::Entry);
    }
    WriteFileAtomically(
        file, [&](ByteSink& sink) { WriteDocumentFile(sink, {}, "/music", AllColumns(), table); });
}

// Runs work in a child process of its own, so what one run freed cannot hide another's peak.
bool InChild(const std::function<bool()>& work) {
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        const bool done = work();
        std::fflush(stdout);
        std::_Exit(done ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// Prints the peak memory a search adds to what the process held, and its time.
bool Measure(const char* label, const std::function<std::size_t()>& search) {
    return InChild([&] {
        std::ofstream("/proc/self/clear_refs") << "5";
        const double before = PeakBytes();
        const auto start = std::chrono::steady_clock::now();
        const std::size_t matches = search();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::printf("%-44s %8.1f MiB %8.2f s\n", label, (PeakBytes() - before) / 1048576.0,
                    took.count());
        return matches == 1;
    });
}

} // namespace

int main() {
    const std::string file = "/tmp/dirscribe-search-bench.dsc";
    if (!InChild([&] { return MakeDocument(file), true; }))
        return 1;
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    std::printf("\nSearching a document of %d rows (%.1f MiB): peak memory added, time\n", kRows,
                static_cast<double>(in.tellg()) / 1048576.0);
    const SearchQuery query("bought in 1999950");
    const bool measured =
        // Opened whole, as search read documents before it went row by row.
        Measure("opened whole into a table (before)",
                [&] {
                    DocumentContents contents = LoadDocumentFile(file);
                    ListingOptions options;
                    contents.settings.ApplyTo(options);
                    ListingTable table;
                    table.SetColumns(ListingColumns(options));
                    table.AdoptRows(std::move(contents.rows));
                    return SearchTable(query, table, [](const SearchHit&) {});
                }) &&
        Measure("row by row, as search reads it now", [&] {
            PrintedNotice notice;
            NullProgress progress;
            return SearchDocuments(query, {file}, notice, progress,
                                   [](const std::string&, const SearchHit&) {});
        });
    std::remove(file.c_str());
    return measured ? 0 : 1;
}
