// SPDX-License-Identifier: MIT
// Fuzzes the catalogue's chunk decoder, as a damaged index would feed it: any bytes are read
// or refused with CatalogueError, and the groups read, encoded again, read back the same.
#include "core/catalogue/CatalogueError.h"
#include "core/catalogue/ChunkCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

using namespace dirscribe;

bool Same(const SearchGroup& a, const SearchGroup& b) {
    const auto details = [](const SearchGroup& g) {
        std::vector<std::pair<int, std::string>> out;
        for (const auto& d : g.details)
            out.emplace_back(d.row, d.comment);
        return out;
    };
    return a.row == b.row && a.rows == b.rows && a.entry == b.entry && a.gone == b.gone &&
           a.folder == b.folder && a.known == b.known && a.bytes == b.bytes &&
           a.modified == b.modified && a.name == b.name && a.size == b.size && a.date == b.date &&
           a.comment == b.comment && details(a) == details(b) && (!a.known || a.path == b.path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<SearchGroup> groups;
    try {
        ChunkDecoder decoder(bytes, 7);
        for (SearchGroup group; decoder.Next(group);)
            groups.push_back(group);
        (void)ChunkText(bytes);
        // Passing over the paths, or the texts, reads the same groups without them.
        for (const ChunkParts parts : {ChunkParts{.paths = false}, ChunkParts{.texts = false}}) {
            ChunkDecoder partial(bytes, 7, parts);
            std::size_t at = 0;
            for (SearchGroup group; partial.Next(group); ++at) {
                SearchGroup expected = groups.at(at);
                if (!parts.paths)
                    expected.path.clear();
                if (!parts.texts) {
                    expected.size.clear();
                    expected.date.clear();
                    expected.comment.clear();
                    expected.details.clear();
                }
                if (group.path != expected.path || !Same(group, expected))
                    std::abort();
            }
            if (at != groups.size())
                std::abort();
        }
    } catch (const CatalogueError&) {
        return 0; // a refusal is a fine answer to a damaged record
    }
    std::vector<SearchGroup> again;
    ChunkEncoder encoder([&](const EncodedChunk& chunk) {
        ChunkDecoder decoder(chunk.units, chunk.firstRow);
        for (SearchGroup group; decoder.Next(group);)
            again.push_back(group);
    });
    for (const SearchGroup& group : groups)
        encoder.Add(group);
    encoder.Finish();
    if (again.size() != groups.size())
        std::abort();
    for (std::size_t i = 0; i < groups.size(); ++i)
        if (!Same(groups[i], again[i]))
            std::abort();
    return 0;
}
