// SPDX-License-Identifier: MIT
#include "core/catalogue/CatalogueSearch.h"

#include "core/catalogue/Catalogue.h"
#include "core/format/Utf8.h"

#include <algorithm>

namespace dirscribe {

namespace {

// Enough terms to rule out nearly every chunk that holds no match; more only cost time.
constexpr std::size_t kMostTerms = 12;

void AddTrigrams(std::string_view run, std::vector<std::string>& terms) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < run.size(); at += Utf8CharacterAt(run, at).length)
        starts.push_back(at);
    starts.push_back(run.size());
    for (std::size_t i = 0; i + 3 < starts.size() && terms.size() < kMostTerms; ++i) {
        std::string term(run.substr(starts[i], starts[i + 3] - starts[i]));
        // The text index holds no trigram across a line end, and a chunk's text no NUL (it
        // stands as a line end there): such a term would rule out the chunks that match.
        if (term.find_first_of(std::string_view("\n\0", 2)) == std::string::npos &&
            std::find(terms.begin(), terms.end(), term) == terms.end())
            terms.push_back(std::move(term));
    }
}

class SearchVisitor final : public CatalogueVisitor {
public:
    SearchVisitor(const SearchQuery& query, const SearchFilter& filter,
                  const DocumentHitHandler& onHit)
        : m_query(query), m_filter(filter), m_onHit(onHit) {}

    bool Begin(const std::string& path, const IndexedDocument& document) override {
        m_path = &path;
        return m_filter.AcceptsVolume(document.volume);
    }

    void Group(const SearchGroup& group) override {
        m_matches += ReportMatches(m_query, m_filter, group,
                                   [this](const SearchHit& hit) { m_onHit(*m_path, hit); });
    }

    [[nodiscard]] std::size_t Matches() const { return m_matches; }

private:
    const SearchQuery& m_query;
    const SearchFilter& m_filter;
    const DocumentHitHandler& m_onHit;
    const std::string* m_path = nullptr;
    std::size_t m_matches = 0;
};

} // namespace

ChunkQuery ChunkQueryFor(const SearchQuery& query, const SearchFilter& filter) {
    ChunkQuery chunks;
    for (const std::string& run : query.FoldedRuns())
        AddTrigrams(run, chunks.texts);
    if (filter.size) {
        const std::uint64_t bytes = filter.size->bytes;
        if (filter.size->relation != SizeBound::Relation::Less)
            chunks.mostBytesAtLeast = bytes;
        if (filter.size->relation != SizeBound::Relation::More)
            chunks.leastBytesAtMost = bytes;
    }
    if (filter.newer)
        chunks.latestAtLeast = *filter.newer;
    if (filter.older)
        chunks.earliestAtMost = *filter.older;
    return chunks;
}

std::size_t SearchCatalogue(const SearchQuery& query, const SearchFilter& filter,
                            const std::vector<std::string>& paths, bool useIndex, Notice& problems,
                            Notice& remarks, Progress& progress, const DocumentHitHandler& onHit,
                            const StopFlag* stop) {
    if (!useIndex)
        return SearchDocuments(query, paths, problems, progress, onHit, stop, filter);
    SearchVisitor visitor(query, filter, onHit);
    CatalogueLook look;
    look.chunks = ChunkQueryFor(query, filter);
    look.sieve = [&query, &filter](const IndexedDocument& document, const SearchGroup& group) {
        return filter.AcceptsVolume(document.volume) && AnyMatches(query, filter, group);
    };
    LookThroughCatalogue(paths, look, visitor, problems, remarks, progress, stop);
    return visitor.Matches();
}

} // namespace dirscribe
