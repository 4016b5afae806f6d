// SPDX-License-Identifier: MIT
// The memory it takes to open a large document: 20 million empty rows in 100 MB, the worst
// case of bytes on disk against rows in memory. Opening must stay within four times the
// file's size and 64 MiB. And the memory it takes to refuse a file of 1 GiB that is no
// document (a video named x.dsc), which its first bytes tell.
#include "ProcessMemory.h"
#include "core/docfile/DocumentFile.h"
#include "core/ops/ListingSession.h"
#include "core/platform/AtomicFile.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace dirscribe;
using bench::PeakBytes;

constexpr std::int32_t kRows = 20'000'000;

class PrintedNotice final : public Notice {
public:
    void Show(std::string_view, std::string_view text, NoticeIcon) override {
        std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

std::string MakeDocument() {
    std::string bytes = WriteDocumentFile({}, "/srv/big", ListingOptions{}, ListingTable{});
    bytes.resize(bytes.rfind("DSCX") - 4); // the row count closes the header, the block follows
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>(kRows >> shift & 0xFF);
    bytes.append(std::size_t{5} * kRows, '\0');
    return bytes;
}

// How much the peak memory grows while a 1 GiB file whose first bytes are a video's is
// refused; negative when it was opened.
double RefusalGrowth(PrintedNotice& notice) {
    const std::string file = "/tmp/dirscribe-refuse-bench.dsc";
    const char video[] = "RIFF\xff\xff\xff\x3f"
                         "AVI LIST\x04\x01\0\0"
                         "hdrlavih";
    std::ofstream(file, std::ios::binary).write(video, sizeof video - 1);
    if (::truncate(file.c_str(), std::int64_t{1} << 30) != 0)
        return -1;
    std::ofstream("/proc/self/clear_refs") << "5";
    const double before = PeakBytes();
    NullProgress progress;
    ListingSession session;
    const bool opened = session.OpenDocument(file, notice, progress);
    const double grown = PeakBytes() - before;
    std::remove(file.c_str());
    return opened ? -1 : grown;
}

} // namespace

int main() {
    constexpr double kMiB = 1024.0 * 1024.0;
    PrintedNotice refusals;
    std::printf("\n%-44s %10.2f MiB\n", "refusing a 1 GiB file that is no document",
                RefusalGrowth(refusals) / kMiB);

    const std::string file = "/tmp/dirscribe-open-bench.dsc";
    double size = 0;
    {
        const std::string bytes = MakeDocument();
        size = static_cast<double>(bytes.size());
        WriteFileAtomically(file, bytes);
    }
    std::ofstream("/proc/self/clear_refs") << "5"; // forget the peak of making the file
    const double before = PeakBytes();
    PrintedNotice notice;
    NullProgress progress;
    ListingSession session;
    const auto start = std::chrono::steady_clock::now();
    const bool opened = session.OpenDocument(file, notice, progress);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const double peak = PeakBytes();
    std::remove(file.c_str());
    if (!opened)
        return 1;

    std::printf("\nOpening a document of %d empty rows (%.1f MiB)\n",
                session.Listing().table.RowCount(), size / kMiB);
    std::printf("%-44s %10.1f MiB\n", "peak resident memory of the process", peak / kMiB);
    std::printf("%-44s %10.1f MiB\n", "of which opening took", (peak - before) / kMiB);
    std::printf("%-44s %10.1f MiB\n", "bound: 4 x size + 64 MiB", (4 * size) / kMiB + 64);
    std::printf("%-44s %10.2f s\n", "time to open", took.count());
    return 0;
}
