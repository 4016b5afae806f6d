// SPDX-License-Identifier: MIT
#include "core/catalogue/Duplicates.h"

#include "core/catalogue/Catalogue.h"
#include "core/format/AsciiCase.h"
#include "core/format/Utf8.h"
#include "core/listing/ListingNameOrder.h"

#include <algorithm>
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

// Whether a group is a file the comparison can take.
bool IsCopyable(const SearchGroup& group) {
    return group.entry && group.known && !group.folder && !group.gone && group.bytes > 0;
}

// What copies share, hashed (FNV-1a, 64 bits) as it is read, the name case-folded: the
// size, the time when asked for, the name unless the size alone is. Two keys that differ
// hash alike with a chance of one in 2^64; the first look keeps 32 bits of it.
class KeyHash {
public:
    KeyHash(const SearchGroup& group, CopyKey key) {
        Add(&group.bytes, sizeof group.bytes);
        if (key == CopyKey::NameSizeAndDate)
            Add(&group.modified, sizeof group.modified);
        if (key == CopyKey::Size)
            return;
        const std::string_view name = group.name;
        if (std::all_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            for (const char c : name)
                AddByte(static_cast<unsigned char>(AsciiLower(c)));
        } else {
            const std::string folded = Utf8CaseFold(name);
            Add(folded.data(), folded.size());
        }
    }
    [[nodiscard]] std::uint64_t Whole() const { return m_hash; }
    [[nodiscard]] std::uint32_t Short() const {
        return static_cast<std::uint32_t>(m_hash ^ (m_hash >> 32));
    }

private:
    void AddByte(unsigned char byte) { m_hash = (m_hash ^ byte) * 0x100000001B3ULL; }
    void Add(const void* bytes, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i)
            AddByte(static_cast<const unsigned char*>(bytes)[i]);
    }

    std::uint64_t m_hash = 0xCBF29CE484222325ULL;
};

// Hands each copyable group to `take`, with the document it is in.
class CopyVisitor final : public CatalogueVisitor {
public:
    using Take =
        std::function<void(const std::string&, const IndexedDocument&, const SearchGroup&)>;
    explicit CopyVisitor(Take take) : m_take(std::move(take)) {}

    bool Begin(const std::string& path, const IndexedDocument& document) override {
        m_path = &path;
        m_document = &document;
        return true;
    }
    void Group(const SearchGroup& group) override {
        if (IsCopyable(group))
            m_take(*m_path, *m_document, group);
    }

private:
    Take m_take;
    const std::string* m_path = nullptr;
    const IndexedDocument* m_document = nullptr;
};

// The second look's messages: the first has given them already.
class QuietNotice final : public Notice {
public:
    void Show(std::string_view, std::string_view, NoticeIcon) override {}
};

// A copy the second look found, held small: its document by number, its path in a buffer
// that all copies share, what it shares with its copies as the 64-bit hash of it.
struct Member {
    std::uint64_t key = 0;
    std::uint32_t document = 0;
    std::int32_t row = 0;
    std::uint64_t bytes = 0;
    std::uint64_t modified = 0;
    std::size_t pathAt = 0;
    std::uint32_t pathLength = 0;
};

// The copies held, grouped and put in the order they are handed over in.
class Copies {
public:
    void Add(const std::string& document, const IndexedDocument& facts, const SearchGroup& group,
             std::uint64_t key) {
        if (m_documents.empty() || m_documents.back() != document) {
            m_documents.push_back(document);
            m_folders.push_back(facts.folder);
        }
        const std::size_t at = m_paths.size();
        for (const std::string& name : group.path)
            (m_paths.size() == at ? m_paths : m_paths.append(1, '/')).append(name);
        m_members.push_back({key, static_cast<std::uint32_t>(m_documents.size() - 1), group.row,
                             group.bytes, group.modified, at,
                             static_cast<std::uint32_t>(m_paths.size() - at)});
    }

    std::size_t HandOver(const std::function<void(const CopyGroup&)>& onGroup) {
        RadixSort(m_members, 64, [](const Member& member) { return member.key; });
        struct Run {
            std::size_t first;
            std::size_t count;
        };
        std::vector<Run> runs;
        for (std::size_t first = 0; first < m_members.size();) {
            std::size_t last = first + 1;
            while (last < m_members.size() && m_members[last].key == m_members[first].key)
                ++last;
            if (last - first > 1)
                runs.push_back({first, last - first});
            first = last;
        }
        const auto again = [&](const Run& run) {
            return m_members[run.first].bytes * (run.count - 1);
        };
        std::sort(runs.begin(), runs.end(), [&](const Run& a, const Run& b) {
            if (again(a) != again(b))
                return again(a) > again(b);
            const std::string_view x = NameOf(m_members[a.first]);
            const std::string_view y = NameOf(m_members[b.first]);
            if (x != y)
                return ListingNameLess(x, y);
            const Member& p = m_members[a.first];
            const Member& q = m_members[b.first];
            return p.document != q.document ? p.document < q.document : p.row < q.row;
        });
        CopyGroup group;
        for (const Run& run : runs) {
            group.bytes = m_members[run.first].bytes;
            group.copies.clear();
            for (std::size_t i = run.first; i < run.first + run.count; ++i)
                group.copies.push_back(CopyOf(m_members[i]));
            onGroup(group);
        }
        return runs.size();
    }

private:
    [[nodiscard]] std::string_view PathOf(const Member& member) const {
        return std::string_view(m_paths).substr(member.pathAt, member.pathLength);
    }
    [[nodiscard]] std::string_view NameOf(const Member& member) const {
        const std::string_view path = PathOf(member);
        return path.substr(path.rfind('/') + 1);
    }
    [[nodiscard]] FileCopy CopyOf(const Member& member) const {
        std::string path = m_folders[member.document];
        if (!path.ends_with('/'))
            path += '/';
        path += PathOf(member);
        return {m_documents[member.document], member.row, std::string(NameOf(member)),
                std::move(path), member.modified};
    }

    std::vector<std::string> m_documents;
    std::vector<std::string> m_folders;
    std::string m_paths;
    std::vector<Member> m_members;
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
    // First the hashes of every file's key: those seen twice may be copies.
    std::vector<std::uint32_t> hashes;
    CopyVisitor hashing([&](const std::string&, const IndexedDocument&, const SearchGroup& group) {
        hashes.push_back(KeyHash(group, key).Short());
    });
    LookThroughCatalogue(paths, look, hashing, problems, remarks, progress, stop);
    RadixSort(hashes, 32, [](std::uint32_t hash) { return hash; });
    std::size_t repeated = 0;
    for (std::size_t i = 1; i < hashes.size(); ++i)
        repeated += hashes[i] == hashes[i - 1] && (i < 2 || hashes[i - 1] != hashes[i - 2]) ? 1 : 0;
    // The hashes seen twice, as bits of a table with about sixteen bits for each: one look-up
    // a file that the cache holds, where a sorted list would cost a search. A hash that
    // shares its bit with another only brings a file along that the whole hash then leaves
    // alone.
    std::uint32_t bits = 1U << 16;
    while (bits < (1U << 31) && bits < repeated * 16)
        bits <<= 1;
    std::vector<std::uint64_t> twice(bits / 64);
    const auto bit = [bits](std::uint32_t hash) {
        return hash & (bits - 1);
    };
    bool any = false;
    for (std::size_t i = 1; i < hashes.size(); ++i)
        if (hashes[i] == hashes[i - 1]) {
            twice[bit(hashes[i]) / 64] |= std::uint64_t{1} << (bit(hashes[i]) % 64);
            any = true;
        }
    hashes = {};
    if (!any || (stop != nullptr && stop->Requested()))
        return 0;
    // Then the files whose hash was seen twice, told apart by their whole keys.
    Copies copies;
    look.paths = true;
    QuietNotice quiet;
    CopyVisitor collecting(
        [&](const std::string& path, const IndexedDocument& document, const SearchGroup& group) {
            const KeyHash hash(group, key);
            const std::uint32_t at = bit(hash.Short());
            if ((twice[at / 64] >> (at % 64) & 1) != 0)
                copies.Add(path, document, group, hash.Whole());
        });
    LookThroughCatalogue(paths, look, collecting, quiet, quiet, progress, stop);
    twice = {};
    return copies.HandOver(onGroup);
}

} // namespace dirscribe
