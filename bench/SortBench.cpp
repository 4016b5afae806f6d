// SPDX-License-Identifier: MIT
// Sorting a million-row listing by Size and by Last Modified, as a header click does.
#include "core/table/ListingTable.h"
#include "core/table/TableSort.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <string>

namespace {

using namespace dirscribe;

constexpr int kRows = 1'000'000;
constexpr int kFolders = 20'000;

// A size as the table shows it: right-aligned, bytes below 1024, else scaled by 1024^k
// with one truncated decimal and the unit of the power of 1000 it reaches.
std::string SizeText(std::uint64_t value) {
    char text[64];
    if (value < 1024) {
        std::snprintf(text, sizeof text, "%17s", (std::to_string(value) + "  b").c_str());
        return text;
    }
    static const char* const kUnits[] = {" Kb", " Mb", " Gb", " Tb"};
    int n = 0;
    for (std::uint64_t v = value; v >= 1000 && n < 4; v /= 1000)
        ++n;
    std::uint64_t divisor = 1;
    for (int k = 0; k < n; ++k)
        divisor *= 1024;
    char scaled[48];
    std::snprintf(scaled, sizeof scaled, "%llu.%llu%s",
                  static_cast<unsigned long long>(value / divisor),
                  static_cast<unsigned long long>(value % divisor * 10 / divisor), kUnits[n - 1]);
    std::snprintf(text, sizeof text, "%17s", scaled);
    return text;
}

const ListingTable& MillionRows() {
    static const ListingTable table = [] {
        ListingTable t;
        t.SetColumns({{ColumnKind::FileName, "FileName", 160, 230, ColumnAlignment::Left},
                      {ColumnKind::Size, "Size", 120, 180, ColumnAlignment::Left},
                      {ColumnKind::Attributes, "Attr.", 50, 70, ColumnAlignment::Center},
                      {ColumnKind::Date, "Last Modified", 130, 170, ColumnAlignment::Left}});
        t.ReserveRows(kRows);
        std::mt19937_64 random(1040220309);
        std::uniform_int_distribution<int> bits(4, 40);
        std::uniform_int_distribution<int> year(1995, 2024), month(1, 12), day(1, 28), hour(0, 23),
            minute(0, 59);
        for (int r = 0; r < kRows; ++r) {
            const std::uint64_t size = random() >> (64 - bits(random));
            char date[40];
            std::snprintf(date, sizeof date, " %02d/%02d/%04d %02d:%02d:%02d", month(random),
                          day(random), year(random), hour(random), minute(random), minute(random));
            const std::string name = "file" + std::to_string(random() % 1'000'000) + ".dat";
            t.InsertRow(t.RowCount(),
                        {r < kFolders ? "[" + name + "]" : name, SizeText(size),
                         r < kFolders ? "" : "A", date, ""},
                        RowKind::Entry);
        }
        return t;
    }();
    return table;
}

void SortByColumn(benchmark::State& state, int column) {
    for (auto _ : state) {
        state.PauseTiming();
        ListingTable table = MillionRows();
        SortState sortState;
        state.ResumeTiming();
        OnColumnClick(table, sortState, column, {false, 1});
        benchmark::DoNotOptimize(table);
        state.PauseTiming();
        table = ListingTable(); // freeing the copy is not part of the sort
        state.ResumeTiming();
    }
}

void BM_SortBySize(benchmark::State& state) {
    SortByColumn(state, 1);
}
void BM_SortByLastModified(benchmark::State& state) {
    SortByColumn(state, 3);
}
void BM_SortByFileName(benchmark::State& state) {
    SortByColumn(state, 0);
}

BENCHMARK(BM_SortBySize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByLastModified)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByFileName)->Unit(benchmark::kMillisecond);

} // namespace
