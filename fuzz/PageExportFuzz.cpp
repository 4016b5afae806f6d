// SPDX-License-Identifier: MIT
// Fuzzes the web page export of a document, as `convert --html` makes it: any document the
// reader takes gives a page whose data blocks hold nothing that could end them, with a tree
// level in each row's line no deeper than one below the folders above it, in output that
// grows with the document, not with the numbers it holds.
#include "DocumentSessionFuzz.h"
#include "core/ops/ListingExport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace dirscribe;

// Checks every data block of a page: no "<" or NUL in it, and in the meta blocks (a kind
// letter and a level a row, in row order across the blocks) no level deeper than one below
// the deepest folder above it.
void CheckBlocks(std::string_view page) {
    constexpr std::string_view kOpen = "<script type=\"text/plain\" data-chunk=\"";
    constexpr std::string_view kClose = "</script>";
    int folders = 0;
    for (std::size_t at = page.find(kOpen); at != std::string_view::npos;
         at = page.find(kOpen, at)) {
        const std::size_t start = page.find('>', at) + 1;
        const std::size_t end = page.find(kClose, start);
        if (end == std::string_view::npos)
            std::abort();
        const std::string_view block = page.substr(start, end - start);
        if (block.find_first_of(std::string_view("<\0", 2)) != std::string_view::npos)
            std::abort();
        if (page.substr(at, start - at).find("data-block=\"meta\"") != std::string_view::npos) {
            for (std::size_t line = 0; line < block.size();) {
                const std::size_t next = block.find('\n', line);
                const std::string_view row = block.substr(line, next - line);
                const int level = row.size() > 1 ? std::stoi(std::string(row.substr(1))) : 0;
                if (level > folders + 1)
                    std::abort();
                if ((row[0] == 'd' || row[0] == 'D') && level > 0)
                    folders = level;
                line = next + 1;
            }
        }
        at = end;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<ListingSession> session = fuzz::OpenedDocument(bytes);
    if (!session)
        return 0;
    StringSink sink;
    WriteExport(*session, ExportFormat::Html, 0, sink);
    const std::string page = sink.Take();
    // The page's script and style are about 40 KiB; rows cost a few times their bytes.
    if (page.size() > 200 * 1024 + 16 * size)
        std::abort();
    CheckBlocks(page);
    return 0;
}
