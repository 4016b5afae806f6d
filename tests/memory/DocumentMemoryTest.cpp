// SPDX-License-Identifier: MIT
// Opening a document takes at most four times its size and 64 MiB, however many rows it has.
#include "core/docfile/DocumentFile.h"
#include "core/ops/ListingSession.h"
#include "support/ChildProcess.h"
#include "support/RecordingNotice.h"
#include "support/TempTree.h"

#include <fstream>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

// The most this process has held in memory, in bytes: since its start, or since the last
// ForgetPeak().
std::uint64_t PeakResident() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:"))
            return std::stoull(line.substr(6)) * 1024;
    return 0;
}

bool ForgetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return clear.flush().good();
}

// Opens the document in a child: "ROWS BYTES-GROWN", or what refused it and the bytes grown.
std::optional<std::string> OpenInChild(const std::string& path) {
    return test::RunInChild([&] {
        if (!ForgetPeak())
            return std::string("no peak");
        const std::uint64_t before = PeakResident();
        ListingSession session;
        test::RecordingNotice notice;
        NullProgress progress;
        const std::string outcome = session.OpenDocument(path, notice, progress)
                                        ? std::to_string(session.Listing().table.RowCount())
                                        : notice.shown.at(0).text;
        return outcome + " " + std::to_string(PeakResident() - before);
    });
}

TEST(DocumentMemory, OpeningADocumentOfMillionsOfRowsStaysWithinFourTimesItsSize) {
    constexpr std::int32_t kRows = 4'000'000;
    ListingOptions options;
    ListingTable empty;
    std::string bytes = WriteDocumentFile({}, "/srv/big", options, empty);
    // The row count closes the header (the extension block follows it, left out here: a
    // document may go without); every row is five empty strings.
    bytes.resize(bytes.rfind("DSCX") - 4);
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>(kRows >> shift & 0xFF);
    bytes.append(std::size_t{5} * kRows, '\0');
    test::TempTree tree;
    const std::string path = tree.Path("big.dsc");
    test::WriteFile(path, bytes);

    const auto grown = OpenInChild(path);
    ASSERT_TRUE(grown.has_value());
    if (*grown == "no peak")
        GTEST_SKIP() << "this system cannot reset a process's peak memory";
    const std::size_t blank = grown->find(' ');
    ASSERT_NE(blank, std::string::npos) << *grown;
    EXPECT_EQ(grown->substr(0, blank), std::to_string(kRows));
    EXPECT_LE(std::stoull(grown->substr(blank + 1)), 4 * bytes.size() + (std::uint64_t{64} << 20))
        << "bytes grown: " << *grown;
}

TEST(DocumentMemory, ALargeFileThatIsNoDocumentIsRefusedAfterItsFirstBytes) {
    test::TempTree tree;
    const std::string path = tree.Path("film.dsc");
    tree.SizedFile("film.dsc", std::uint64_t{1} << 30);
    // The start of a video, then a gigabyte that costs no disk space.
    const char video[] = "RIFF\xff\xff\xff\x3f"
                         "AVI LIST\x04\x01\0\0"
                         "hdrlavih";
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary)
        .write(video, sizeof video - 1);
    const auto refused = OpenInChild(path);
    ASSERT_TRUE(refused.has_value());
    if (*refused == "no peak")
        GTEST_SKIP() << "this system cannot reset a process's peak memory";
    const std::string lead = "\"" + path + "\" is not a Dirscribe document: the setting";
    EXPECT_TRUE(refused->starts_with(lead)) << *refused;
    EXPECT_LE(std::stoull(refused->substr(refused->rfind(' ') + 1)), std::uint64_t{32} << 20)
        << "bytes grown: " << *refused;
}

} // namespace
} // namespace dirscribe
