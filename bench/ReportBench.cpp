// SPDX-License-Identifier: MIT
// Cost of the per-row texts and of writing a large text report.
#include "CountingSink.h"
#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"
#include "core/report/TextReport.h"
#include "core/table/TableColumn.h"
#include "core/table/TablePopulation.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>

namespace {

using namespace dirscribe;

void BM_FormatSize(benchmark::State& state) {
    const bool inBytes = state.range(0) != 0;
    std::uint64_t value = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatSize(value, kTableSizeWidth, inBytes));
        value = value * 7 + 13; // walks through every unit
    }
}
BENCHMARK(BM_FormatSize)->Arg(0)->Arg(1);

void BM_FormatDate(benchmark::State& state) {
    const auto format = static_cast<std::int32_t>(state.range(0));
    std::uint64_t ticks = 126'846'939'090'000'000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatDate(ticks, format));
        ticks += 36'000'000'000; // one hour
    }
}
BENCHMARK(BM_FormatDate)->Arg(0)->Arg(2);

void BM_WriteTextReport(benchmark::State& state) {
    ListingOptions options;
    options.addComments = 1;
    options.addAttribute = 1;
    options.addDate = 1;
    ListingTable table;
    table.SetColumns({ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Comments),
                      ListingColumn(ColumnKind::Size), ListingColumn(ColumnKind::Attributes),
                      ListingColumn(ColumnKind::Date)});
    const auto rows = static_cast<int>(state.range(0));
    table.ReserveRows(rows);
    for (int i = 0; i < rows; ++i)
        table.InsertRow(table.RowCount(),
                        {"file-" + std::to_string(i) + ".dat", i % 3 == 0 ? "a comment" : "",
                         FormatSize(static_cast<std::uint64_t>(i) * 4099, kTableSizeWidth, false),
                         i % 2 == 0 ? "A" : "", " 18 Dec 2002 14:05:09"},
                        RowKind::Entry);
    const ListingSummary summary{123'456'789, rows, 10};
    for (auto _ : state) {
        CountingSink sink; // as the report streams to its file
        WriteTextReport(sink, summary, "/bench", options, table, 0);
        benchmark::DoNotOptimize(sink.Bytes());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_WriteTextReport)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace
