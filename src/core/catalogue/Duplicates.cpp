// SPDX-License-Identifier: MIT
#include "core/catalogue/Duplicates.h"

#include "core/catalogue/Catalogue.h"
#include "core/format/Utf8.h"
#include "core/listing/ListingNameOrder.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace dirscribe {

namespace {

// Whether a group is a file the comparison can take.
bool IsCopyable(const SearchGroup& group) {
    return group.entry && group.known && !group.folder && !group.gone && group.bytes > 0;
}

std::uint32_t Mixed(std::uint64_t hash, std::uint64_t value) {
    hash = (hash ^ value) * 0xBF58476D1CE4E5B9ULL;
    return static_cast<std::uint32_t>((hash ^ (hash >> 31)) >> 16);
}

// What copies share, as one text: compared whole, and hashed to 32 bits for the first look.
std::string KeyOf(const SearchGroup& group, CopyKey key) {
    std::string text(reinterpret_cast<const char*>(&group.bytes), sizeof group.bytes);
    if (key == CopyKey::NameSizeAndDate)
        text.append(reinterpret_cast<const char*>(&group.modified), sizeof group.modified);
    if (key != CopyKey::Size)
        text += Utf8CaseFold(group.name);
    return text;
}

std::uint32_t HashOf(std::string_view key) {
    std::uint64_t hash = 0x9E3779B97F4A7C15ULL;
    std::size_t at = 0;
    for (; at + 8 <= key.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, key.data() + at, 8);
        hash = Mixed(hash, word) * 0x9E3779B97F4A7C15ULL + word;
    }
    std::uint64_t tail = key.size();
    for (; at < key.size(); ++at)
        tail = (tail << 8) | static_cast<unsigned char>(key[at]);
    return Mixed(hash, tail);
}

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

struct Member {
    std::string key;
    FileCopy copy;
    std::uint64_t bytes = 0;
};

std::string PathOf(const IndexedDocument& document, const SearchGroup& group) {
    std::string path = document.folder;
    for (const std::string& name : group.path) {
        if (!path.ends_with('/'))
            path += '/';
        path += name;
    }
    return path;
}

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
        hashes.push_back(HashOf(KeyOf(group, key)));
    });
    LookThroughCatalogue(paths, look, hashing, problems, remarks, progress, stop);
    std::sort(hashes.begin(), hashes.end());
    std::vector<std::uint32_t> twice;
    for (std::size_t i = 1; i < hashes.size(); ++i)
        if (hashes[i] == hashes[i - 1] && (twice.empty() || twice.back() != hashes[i]))
            twice.push_back(hashes[i]);
    hashes = {};
    if (twice.empty() || (stop != nullptr && stop->Requested()))
        return 0;
    // Then the files whose hash was seen twice, compared by their whole keys.
    std::vector<Member> members;
    look.paths = true;
    QuietNotice quiet;
    CopyVisitor collecting([&](const std::string& path, const IndexedDocument& document,
                               const SearchGroup& group) {
        std::string text = KeyOf(group, key);
        if (!std::binary_search(twice.begin(), twice.end(), HashOf(text)))
            return;
        members.push_back({std::move(text),
                           {path, group.row, group.name, PathOf(document, group), group.modified},
                           group.bytes});
    });
    LookThroughCatalogue(paths, look, collecting, quiet, quiet, progress, stop);
    std::stable_sort(members.begin(), members.end(),
                     [](const Member& a, const Member& b) { return a.key < b.key; });
    std::vector<CopyGroup> groups;
    for (std::size_t first = 0; first < members.size();) {
        std::size_t last = first + 1;
        while (last < members.size() && members[last].key == members[first].key)
            ++last;
        if (last - first > 1) {
            CopyGroup& group = groups.emplace_back();
            group.bytes = members[first].bytes;
            for (std::size_t i = first; i < last; ++i)
                group.copies.push_back(std::move(members[i].copy));
        }
        first = last;
    }
    members = {};
    std::sort(groups.begin(), groups.end(), [](const CopyGroup& a, const CopyGroup& b) {
        if (a.BytesStoredAgain() != b.BytesStoredAgain())
            return a.BytesStoredAgain() > b.BytesStoredAgain();
        if (a.copies.front().name != b.copies.front().name)
            return ListingNameLess(a.copies.front().name, b.copies.front().name);
        return a.bytes > b.bytes;
    });
    for (const CopyGroup& group : groups)
        onGroup(group);
    return groups.size();
}

} // namespace dirscribe
