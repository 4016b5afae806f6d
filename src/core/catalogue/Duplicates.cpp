// SPDX-License-Identifier: MIT
#include "core/catalogue/Duplicates.h"

#include "core/catalogue/Catalogue.h"
#include "core/listing/ListingNameOrder.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace dirscribe {

namespace {

// Sorts by radix, eleven bits of the key a pass, keeping the order of equal keys: the files
// of a catalogue are many millions.
template <typename Item, typename KeyOf>
void RadixSort(std::vector<Item>& items, int keyBits, KeyOf keyOf) {
    constexpr int kDigitBits = 11;
    constexpr std::uint64_t kDigits = std::uint64_t{1} << kDigitBits;
    std::vector<Item> other(items.size());
    std::vector<std::size_t> starts(kDigits + 1);
    for (int shift = 0; shift < keyBits; shift += kDigitBits) {
        std::fill(starts.begin(), starts.end(), 0);
        for (const Item& item : items)
            ++starts[(keyOf(item) >> shift & (kDigits - 1)) + 1];
        for (std::uint64_t digit = 1; digit <= kDigits; ++digit)
            starts[digit] += starts[digit - 1];
        for (Item& item : items)
            other[starts[keyOf(item) >> shift & (kDigits - 1)]++] = std::move(item);
        items.swap(other);
    }
}

// The second look's messages: the first has given them already.
class QuietNotice final : public Notice {
public:
    void Show(std::string_view, std::string_view, NoticeIcon) override {}
};

// The paths of the copies, in blocks that are never moved once filled: millions of paths
// make hundreds of megabytes, which a growing string would copy again and again.
class PathStore {
public:
    struct Place {
        std::uint32_t block = 0;
        std::uint32_t at = 0;
        std::uint32_t length = 0;
        std::uint32_t nameAt = 0; // where in it the last name begins
    };

    Place Add(const std::vector<std::string>& names) {
        if (names.empty())
            return {};
        std::size_t length = names.size() - 1;
        for (const std::string& name : names)
            length += name.size();
        if (m_blocks.empty() || m_blocks.back().capacity() - m_blocks.back().size() < length) {
            m_blocks.emplace_back();
            m_blocks.back().reserve(std::max(kBlockBytes, length));
        }
        std::string& block = m_blocks.back();
        const Place place{static_cast<std::uint32_t>(m_blocks.size() - 1),
                          static_cast<std::uint32_t>(block.size()),
                          static_cast<std::uint32_t>(length), 0};
        for (const std::string& name : names)
            (block.size() == place.at ? block : block.append(1, '/')).append(name);
        return {place.block, place.at, place.length,
                static_cast<std::uint32_t>(length - names.back().size())};
    }

    [[nodiscard]] std::string_view At(const Place& place) const {
        if (place.length == 0)
            return {};
        return std::string_view(m_blocks[place.block]).substr(place.at, place.length);
    }
    void Prefetch(const Place& place) const {
        if (place.length > 0)
            __builtin_prefetch(m_blocks[place.block].data() + place.at);
    }
    [[nodiscard]] std::string_view NameAt(const Place& place) const {
        return At(place).substr(place.nameAt);
    }

private:
    static constexpr std::size_t kBlockBytes = std::size_t{16} << 20;
    std::vector<std::string> m_blocks;
};

// A copy the second look found, held small: its document by number, its path in the store.
struct Member {
    std::uint64_t bytes = 0;
    std::uint64_t modified = 0;
    std::uint32_t document = 0;
    std::int32_t row = 0;
    PathStore::Place path;
};

// The copies held, grouped and put in the order they are handed over in.
class Copies {
public:
    void Reserve(std::size_t count) {
        m_members.reserve(count);
        m_sorted.reserve(count);
    }

    void Add(const std::string& document, const IndexedDocument& facts, const SearchGroup& group,
             std::uint64_t key) {
        if (m_documents.empty() || m_documents.back() != document) {
            m_documents.push_back(document);
            m_folders.push_back(facts.folder);
        }
        m_sorted.push_back({key, static_cast<std::uint32_t>(m_members.size())});
        m_members.push_back({group.bytes, group.modified,
                             static_cast<std::uint32_t>(m_documents.size() - 1), group.row,
                             m_paths.Add(group.path)});
    }

    std::size_t HandOver(const std::function<void(const CopyGroup&)>& onGroup) {
        const std::vector<Run> runs = Runs();
        CopyGroup group;
        for (std::size_t r = 0; r < runs.size(); ++r) {
            // The groups' copies lie all over memory, their paths all over the store: ask for
            // a later group's place in the sorted keys, then (once it is in) for its copies,
            // then for their paths.
            if (r + 3 * kAhead < runs.size())
                for (const Sorted& sorted : Of(runs[r + 3 * kAhead]))
                    __builtin_prefetch(&sorted);
            if (r + 2 * kAhead < runs.size())
                for (const Sorted& sorted : Of(runs[r + 2 * kAhead]))
                    __builtin_prefetch(&m_members[sorted.member]);
            if (r + kAhead < runs.size())
                for (const Sorted& sorted : Of(runs[r + kAhead]))
                    m_paths.Prefetch(m_members[sorted.member].path);
            const std::span<const Sorted> copies = Of(runs[r]);
            group.bytes = m_members[copies.front().member].bytes;
            group.copies.resize(copies.size());
            for (std::size_t i = 0; i < copies.size(); ++i)
                Fill(group.copies[i], m_members[copies[i].member]);
            onGroup(group);
        }
        return runs.size();
    }

private:
    // A member by the 64-bit hash of what it shares with its copies, small to sort.
    struct Sorted {
        std::uint64_t key;
        std::uint32_t member;
    };
    // Members that share a key: some of m_sorted.
    struct Run {
        std::size_t first;
        std::size_t count;
        std::uint64_t again; // bytes stored again
    };
    static constexpr std::size_t kAhead = 4;

    [[nodiscard]] std::span<const Sorted> Of(const Run& run) const {
        return std::span<const Sorted>(m_sorted).subspan(run.first, run.count);
    }

    // The members that share a key, most bytes stored again first. Sorted by the key's
    // short hash (three passes where the whole takes six), then the few that share it by
    // the whole; the sorts keep the order of documents and rows among equals.
    [[nodiscard]] std::vector<Run> Runs() {
        RadixSort(m_sorted, 32,
                  [](const Sorted& sorted) { return CopyKeyHash::Short(sorted.key); });
        const auto keyLess = [](const Sorted& a, const Sorted& b) {
            return a.key < b.key;
        };
        std::vector<Run> runs;
        for (std::size_t first = 0; first < m_sorted.size();) {
            const std::uint32_t hash = CopyKeyHash::Short(m_sorted[first].key);
            std::size_t end = first + 1;
            while (end < m_sorted.size() && CopyKeyHash::Short(m_sorted[end].key) == hash)
                ++end;
            const auto from = m_sorted.begin() + static_cast<std::ptrdiff_t>(first);
            const auto to = m_sorted.begin() + static_cast<std::ptrdiff_t>(end);
            if (!std::is_sorted(from, to, keyLess))
                std::stable_sort(from, to, keyLess);
            for (std::size_t at = first; at < end;) {
                std::size_t last = at + 1;
                while (last < end && m_sorted[last].key == m_sorted[at].key)
                    ++last;
                if (last - at > 1)
                    runs.push_back({at, last - at, 0});
                at = last;
            }
            first = end;
        }
        for (Run& run : runs)
            run.again = m_members[m_sorted[run.first].member].bytes * (run.count - 1);
        std::sort(runs.begin(), runs.end(), [&](const Run& a, const Run& b) {
            if (a.again != b.again)
                return a.again > b.again;
            const Member& p = m_members[m_sorted[a.first].member];
            const Member& q = m_members[m_sorted[b.first].member];
            const std::string_view x = NameOf(p);
            const std::string_view y = NameOf(q);
            if (x != y)
                return ListingNameLess(x, y);
            return p.document != q.document ? p.document < q.document : p.row < q.row;
        });
        return runs;
    }

    [[nodiscard]] std::string_view NameOf(const Member& member) const {
        return m_paths.NameAt(member.path);
    }
    // Into a copy handed over before: its texts keep their room.
    void Fill(FileCopy& copy, const Member& member) const {
        copy.document = m_documents[member.document];
        copy.row = member.row;
        copy.name = NameOf(member);
        copy.path = m_folders[member.document];
        if (!copy.path.ends_with('/'))
            copy.path += '/';
        copy.path += m_paths.At(member.path);
        copy.modified = member.modified;
    }

    std::vector<std::string> m_documents;
    std::vector<std::string> m_folders;
    PathStore m_paths;
    std::vector<Member> m_members; // in the order of documents and rows
    std::vector<Sorted> m_sorted;  // added in that order too
};

// The first look: the short hash of every file's key with its place among the files, and
// where each document's files begin. Fewer than 2^32 files.
class FirstLook final : public CatalogueVisitor {
public:
    struct Span {
        std::string document;
        std::size_t first = 0;
        std::size_t count = 0;
        std::int64_t rows = 0;
    };

    explicit FirstLook(CopyKey key) : m_hasher(key) {}

    bool Begin(const std::string& path, const IndexedDocument& document) override {
        m_spans.push_back({path, m_keys.size(), 0, document.rows});
        return true;
    }
    void Group(const SearchGroup& group) override {
        if (IsCopyable(group))
            Add(CopyKeyHash::Short(m_hasher.Whole(group)));
    }
    void CopyKeys(std::string_view keys) override {
        for (std::size_t at = 0; at + 4 <= keys.size(); at += 4) {
            std::uint32_t key = 0;
            for (int i = 3; i >= 0; --i)
                key = key << 8 | static_cast<unsigned char>(keys[at + static_cast<std::size_t>(i)]);
            Add(key);
        }
    }

    // Which files share their short hash with another, by their places: the second look
    // takes them in the order the first did, so it asks without a look-up anywhere.
    [[nodiscard]] std::vector<bool> Shared() {
        RadixSort(m_keys, 32, [](std::uint64_t key) { return key >> 32; });
        std::vector<bool> shared(m_keys.size());
        for (std::size_t first = 0; first < m_keys.size();) {
            std::size_t end = first + 1;
            while (end < m_keys.size() && m_keys[end] >> 32 == m_keys[first] >> 32)
                ++end;
            for (std::size_t i = first; end - first > 1 && i < end; ++i)
                shared[m_keys[i] & 0xFFFFFFFFU] = true;
            first = end;
        }
        m_keys = {};
        return shared;
    }
    [[nodiscard]] const std::vector<Span>& Spans() const { return m_spans; }

private:
    void Add(std::uint64_t hash) {
        m_keys.push_back(hash << 32 | (m_keys.size() & 0xFFFFFFFFU));
        ++m_spans.back().count;
    }

    CopyKeyHash m_hasher;
    std::vector<std::uint64_t> m_keys;
    std::vector<Span> m_spans;
};

// The second look: the files the first found sharing a short hash, with their paths. A
// document that is not as the first look saw it (written in between) has all its files
// taken: their whole keys sort them out.
class SecondLook final : public CatalogueVisitor {
public:
    SecondLook(CopyKey key, const FirstLook& first, std::vector<bool> shared, Copies& copies)
        : m_hasher(key), m_spans(first.Spans()), m_shared(std::move(shared)), m_copies(copies) {}

    bool Begin(const std::string& path, const IndexedDocument& document) override {
        m_path = &path;
        m_document = &document;
        m_left = 0;
        if (m_span < m_spans.size() && m_spans[m_span].document == path &&
            m_spans[m_span].rows == document.rows) {
            m_at = m_spans[m_span].first;
            m_left = m_spans[m_span++].count;
        }
        return true;
    }
    void Group(const SearchGroup& group) override {
        if (!IsCopyable(group))
            return;
        // Beyond the files the first look saw here, the document has changed: all are taken.
        bool candidate = true;
        if (m_left > 0) {
            --m_left;
            candidate = m_shared[m_at++];
        }
        if (candidate)
            m_copies.Add(*m_path, *m_document, group, m_hasher.Whole(group));
    }

private:
    CopyKeyHash m_hasher;
    const std::vector<FirstLook::Span>& m_spans;
    std::vector<bool> m_shared;
    Copies& m_copies;
    std::size_t m_span = 0;
    std::size_t m_at = 0;
    std::size_t m_left = 0;
    const std::string* m_path = nullptr;
    const IndexedDocument* m_document = nullptr;
};

} // namespace

std::uint64_t CopyGroup::BytesStoredAgain() const {
    return copies.empty() ? 0 : bytes * (copies.size() - 1);
}

std::size_t FindDuplicates(const std::vector<std::string>& paths, CopyKey key, bool useIndex,
                           Notice& problems, Notice& remarks, Progress& progress,
                           const std::function<void(const CopyGroup&)>& onGroup,
                           const StopFlag* stop) {
    CatalogueLook look;
    look.useIndex = useIndex;
    look.chunks.mostBytesAtLeast = 1;
    look.parts.texts = false;                    // names, sizes and times are all a copy is told by
    look.copyKeys = key == CopyKey::NameAndSize; // the index keeps those keys
    // First the hashes of every file's key: those seen twice may be copies.
    FirstLook first(key);
    LookThroughCatalogue(paths, look, first, problems, remarks, progress, stop);
    std::vector<bool> shared = first.Shared();
    const auto sharing = static_cast<std::size_t>(std::count(shared.begin(), shared.end(), true));
    if (sharing == 0 || (stop != nullptr && stop->Requested()))
        return 0;
    // Then the files whose hash was seen twice, told apart by their whole keys.
    Copies copies;
    copies.Reserve(sharing);
    look.parts.paths = true;
    look.copyKeys = false;
    QuietNotice quiet;
    SecondLook second(key, first, std::move(shared), copies);
    LookThroughCatalogue(paths, look, second, quiet, quiet, progress, stop);
    return copies.HandOver(onGroup);
}

} // namespace dirscribe
