// SPDX-License-Identifier: MIT
// Cost of printing a 100,000-row listing, some of its comments long: the page drawing alone,
// and the whole PDF.
#include "core/canvas/Canvas.h"
#include "core/format/SizeFormat.h"
#include "core/platform/Notice.h"
#include "core/print/PrintJob.h"
#include "core/table/TableColumn.h"
#include "core/table/TablePopulation.h"
#include "render/PdfExport.h"

#include <QGuiApplication>
#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace dirscribe;

constexpr int kRows = 100'000;
// Every 49th row's comment goes on over three or four printed lines.
constexpr const char* kLongComment = "Scanned invoices of the spring audit, kept seven years for "
                                     "the tax office; the originals are in the grey box on the "
                                     "second shelf of the archive room";

ListingTable StandardTable(int rows) {
    ListingTable table;
    table.SetColumns({ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Comments),
                      ListingColumn(ColumnKind::Size)});
    table.ReserveRows(rows);
    for (int i = 0; i < rows; ++i)
        table.InsertRow(table.RowCount(),
                        {"file-" + std::to_string(i) + ".dat",
                         i % 49 == 0  ? kLongComment
                         : i % 7 == 0 ? "a comment"
                                      : "",
                         FormatSize(static_cast<std::uint64_t>(i) * 4099, kTableSizeWidth, false)},
                        RowKind::Entry);
    return table;
}

ListingOptions StandardOptions() {
    ListingOptions options;
    options.printAs = PageLayout::Standard;
    options.addComments = 1;
    return options;
}

// Takes every call and draws nothing: what is left is the job's own work.
class NullCanvas final : public Canvas {
public:
    [[nodiscard]] bool CanMakeFont(const FontRequest&) const override { return true; }
    void Line(Point, Point, const Pen&) override { ++calls; }
    void Rectangle(Point, Point, const Pen&, Color) override { ++calls; }
    void RoundRectangle(Point, Point, int, int, const Pen&, Color) override { ++calls; }
    void Text(Point, std::string_view text, const FontRequest&, int) override {
        ++calls;
        benchmark::DoNotOptimize(text.data());
    }
    long calls = 0;
};

class StderrNotice final : public Notice {
public:
    void Show(std::string_view, std::string_view text, NoticeIcon) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
};

void BM_DrawStandardPages(benchmark::State& state) {
    const ListingTable table = StandardTable(kRows);
    for (auto _ : state) {
        PrintJob job(table, StandardOptions(), {123'456'789, kRows, 10}, "/bench/folder",
                     FixedPitchWidths());
        NullCanvas canvas;
        for (int page = 1; page <= job.PageCount(); ++page)
            job.DrawPage(canvas, page);
        benchmark::DoNotOptimize(canvas.calls);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_DrawStandardPages)->Unit(benchmark::kMillisecond);

void BM_WriteStandardPdf(benchmark::State& state) {
    // Fonts need the GUI machinery; the offscreen platform needs no display.
    char program[] = "dirscribe_bench";
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    std::array<char*, 4> argv{program, platformOption, offscreen, nullptr};
    int argc = 3;
    std::unique_ptr<QGuiApplication> app;
    if (QGuiApplication::instance() == nullptr)
        app = std::make_unique<QGuiApplication>(argc, argv.data());

    const ListingTable table = StandardTable(kRows);
    const char* folder = std::getenv("TMPDIR");
    const std::string path = std::string(folder != nullptr ? folder : "/tmp") +
                             "/dirscribe-bench-" + std::to_string(::getpid()) + ".pdf";
    StderrNotice notice;
    const PdfTextWidths widths;
    for (auto _ : state) {
        PrintJob job(table, StandardOptions(), {123'456'789, kRows, 10}, "/bench/folder", widths);
        if (!WritePdf(job, path, notice))
            state.SkipWithError("the PDF could not be written");
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file != nullptr) {
        std::fseek(file, 0, SEEK_END);
        state.counters["MB"] = static_cast<double>(std::ftell(file)) / 1e6;
        std::fclose(file);
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_WriteStandardPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
