// SPDX-License-Identifier: MIT
// Makes a catalogue of saved listings for the catalogue's benchmark (bench/catalogue), with
// the program's own document writer: backup disks of 2 TB, each holding documents, photos,
// programs, music, archives and films in shares that vary from disk to disk (music lossless
// on one disk in ten), no more bytes than the disk holds, as trees of folders, with sizes
// and dates, comments on some entries and a comment row below a few, and the volume each
// was read from. A disk's contents follow from its number, and albums, programs and films
// recur on several disks (with the same names and sizes), as backups make them.
//   dirscribe_catalogue_make FOLDER COUNT ENTRIES      disk-000.dsc ... in FOLDER
//   dirscribe_catalogue_make FOLDER COUNT ENTRIES K    disk K again, slightly changed
// Plants "Quetzal" in one name of 25,000 and the comment word "heirloom" on one entry of
// 40,000, for searches with a known few matches.
#include "core/docfile/DocumentFile.h"
#include "core/listing/CDirscribeDoc.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/FileTime.h"
#include "core/table/TablePopulation.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

using namespace dirscribe;

constexpr std::array<const char*, 96> kWords{
    "Blue",    "Train",   "Night",   "River",    "Golden",   "Silent",  "Winter",  "Summer",
    "Harbor",  "Echo",    "Velvet",  "Iron",     "Paper",    "Glass",   "Stone",   "Crimson",
    "Morning", "Shadow",  "Garden",  "Electric", "Northern", "Wild",    "Little",  "Broken",
    "Dancing", "Falling", "Ocean",   "Desert",   "Mountain", "City",    "Lights",  "Dreams",
    "Letters", "Station", "Highway", "Thunder",  "Candle",   "Mirror",  "Orchard", "Lantern",
    "Copper",  "Meadow",  "Island",  "Canyon",   "Forest",   "Valley",  "Comet",   "Harvest",
    "Anchor",  "Feather", "Compass", "Horizon",  "Signal",   "Cobalt",  "Ember",   "Juniper",
    "Marble",  "Nomad",   "Opal",    "Prairie",  "Quartz",   "Raven",   "Saffron", "Tundra",
    "Umber",   "Violet",  "Willow",  "Zephyr",   "Amber",    "Basalt",  "Cedar",   "Dune",
    "Fjord",   "Granite", "Hollow",  "Indigo",   "Jasper",   "Kestrel", "Lagoon",  "Monsoon",
    "Nectar",  "Onyx",    "Pebble",  "Quill",    "Reef",     "Sierra",  "Tidal",   "Vale",
    "Wander",  "Yonder",  "Aurora",  "Birch",    "Cascade",  "Delta",   "Estuary", "Flint"};

constexpr std::array<const char*, 8> kComments{
    "bought at the record fair", "ripped from the 1997 remaster",
    "scan of the receipt",       "first pressing",
    "keep: only copy",           "needs a new backup",
    "signed by the author",      "from grandfather's box"};

class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t Below(std::uint64_t n) { return Next() % n; }
    std::uint64_t Between(std::uint64_t low, std::uint64_t high) { return low + Below(high - low); }

private:
    std::uint64_t m_state;
};

std::string Words(Random& random, std::uint64_t count) {
    std::string text;
    for (std::uint64_t i = 0; i < count; ++i)
        text += std::string(i > 0 ? " " : "") + kWords[random.Below(kWords.size())];
    return text;
}

std::string Number(std::uint64_t value, std::size_t digits) {
    std::string text = std::to_string(value);
    return std::string(text.size() < digits ? digits - text.size() : 0, '0') + text;
}

// What each disk holds at most: a drive sold as 2 TB.
constexpr std::uint64_t kCapacity = 2'000'398'934'016;

// The entries of one disk in display order, each folder followed by what it holds.
class DiskTree {
public:
    DiskTree(std::uint64_t disk, bool changed) : m_disk(disk), m_changed(changed) {}

    // The part of the disk being made ends at `entries` entries in all. Each part draws
    // from its own sequence, so that a disk listed again with a few files more or fewer in
    // one part is the same elsewhere.
    void StartPart(std::uint64_t part, std::size_t entries) {
        m_random = Random(m_disk * 7919 + part * 104'729 + 1);
        m_target = entries;
    }
    [[nodiscard]] bool Full() const { return m_entries.size() >= m_target; }

    std::uint32_t Folder(const std::string& name, std::uint32_t parent) {
        ListingEntry entry;
        entry.attributes = kAttributeDirectory;
        entry.level = parent == kNoEntry ? 1 : m_entries[parent].level + 1;
        entry.parent = parent;
        entry.name = Unique(name, parent);
        entry.modified = Time(m_random);
        m_entries.push_back(entry);
        return static_cast<std::uint32_t>(m_entries.size() - 1);
    }

    // A file the disk has no room left for is not made.
    void File(std::string name, std::uint32_t parent, std::uint64_t size, std::uint64_t seconds) {
        if (Full() || size > kCapacity - m_bytes)
            return;
        m_bytes += size;
        const bool planted = m_random.Below(25'000) == 0;
        // Listed again later: a few files have come, a few have gone.
        if (m_changed && m_entries.size() % 20'011 == 5)
            Add("new file " + std::to_string(m_entries.size()) + ".txt", parent, 1234, seconds);
        if (m_changed && m_entries.size() % 30'011 == 7)
            return;
        if (planted) {
            const std::size_t dot = name.rfind('.');
            name.insert(dot == std::string::npos ? name.size() : dot, " Quetzal");
        }
        Add(std::move(name), parent, size, seconds);
    }

    static std::uint64_t Time(Random& random) {
        return FileTimeFromUnix(
            static_cast<std::int64_t>(random.Between(1'041'379'200, 1'735'689'600)));
    }

    Random& Rng() { return m_random; }

private:
    // A folder holds a name once: a name drawn again gets a number.
    std::string Unique(const std::string& name, std::uint32_t parent) {
        std::string unique = name;
        for (int n = 2; !m_used.insert(std::to_string(parent) + "/" + unique).second; ++n) {
            const std::size_t dot = name.rfind('.');
            const std::size_t at = dot == std::string::npos || dot == 0 ? name.size() : dot;
            unique = name.substr(0, at) + " " + std::to_string(n) + name.substr(at);
        }
        return unique;
    }

    void Add(std::string name, std::uint32_t parent, std::uint64_t size, std::uint64_t seconds) {
        ListingEntry entry;
        entry.attributes = kAttributeArchive;
        entry.level = m_entries[parent].level + 1;
        entry.parent = parent;
        entry.name = Unique(name, parent);
        entry.size = size;
        entry.modified = FileTimeFromUnix(static_cast<std::int64_t>(seconds));
        m_entries.push_back(std::move(entry));
    }

public:
    // The totals of the folders, then the entries into doc.
    void MoveInto(CDirscribeDoc& doc) {
        for (std::size_t i = m_entries.size(); i-- > 0;)
            if (m_entries[i].parent != kNoEntry)
                m_entries[m_entries[i].parent].size += m_entries[i].size;
        for (ListingEntry& entry : m_entries) {
            if (entry.level == 1) {
                doc.summary.totalBytes += entry.size;
            }
            (entry.IsFolder() ? doc.summary.folderCount : doc.summary.fileCount) += 1;
            doc.entries.Append(entry);
        }
    }

private:
    std::uint64_t m_disk;
    Random m_random{0};
    std::size_t m_target = 0;
    std::uint64_t m_bytes = 0;
    bool m_changed;
    std::vector<ListingEntry> m_entries;
    std::unordered_set<std::string> m_used;
};

// Albums are drawn from a pool shared by every disk: the same album has the same tracks.
void Music(DiskTree& tree, bool flac) {
    Random& random = tree.Rng();
    const std::uint32_t top = tree.Folder(flac ? "Music (lossless)" : "Music", kNoEntry);
    std::unordered_set<std::uint64_t> artists;
    while (!tree.Full()) {
        // Each artist once, until a disk larger than the pool has had them all.
        if (artists.size() == 4000)
            artists.clear();
        std::uint64_t artistNumber = random.Below(4000);
        while (!artists.insert(artistNumber).second)
            artistNumber = random.Below(4000);
        Random artist(artistNumber + 11);
        const std::uint32_t artistFolder = tree.Folder(Words(artist, 2), top);
        const std::uint64_t albums = 1 + random.Below(5);
        for (std::uint64_t a = 0; a < albums && !tree.Full(); ++a) {
            Random album(artistNumber * 31 + a + 5);
            const std::uint64_t year = album.Between(1960, 2024);
            const std::uint32_t albumFolder = tree.Folder(
                std::to_string(year) + " - " + Words(album, 1 + album.Below(3)), artistFolder);
            const std::uint64_t tracks = album.Between(8, 17);
            const std::uint64_t released = (year - 1970) * 31'557'600 + album.Below(31'557'600);
            for (std::uint64_t t = 1; t <= tracks; ++t)
                tree.File(Number(t, 2) + " - " + Words(album, 1 + album.Below(4)) +
                              (flac ? ".flac" : ".mp3"),
                          albumFolder,
                          flac ? album.Between(15'000'000, 60'000'000)
                               : album.Between(3'000'000, 12'000'000),
                          released + 86400 * 365 * 10);
            tree.File("cover.jpg", albumFolder, album.Between(80'000, 900'000), released);
            if (flac)
                tree.File(Words(album, 1) + ".cue", albumFolder, album.Between(900, 3000),
                          released);
        }
    }
}

void Photos(DiskTree& tree) {
    Random& random = tree.Rng();
    const std::uint32_t top = tree.Folder("Pictures", kNoEntry);
    std::uint64_t counter = random.Below(9000);
    while (!tree.Full()) {
        const std::uint64_t year = random.Between(2004, 2025);
        const std::uint32_t yearFolder = tree.Folder(std::to_string(year), top);
        for (int e = 0; e < 12 && !tree.Full(); ++e) {
            const std::uint64_t month = 1 + random.Below(12);
            const std::uint64_t day = 1 + random.Below(28);
            const std::uint32_t event =
                tree.Folder(std::to_string(year) + "-" + Number(month, 2) + "-" + Number(day, 2) +
                                " " + Words(random, 1 + random.Below(2)),
                            yearFolder);
            const std::uint64_t seconds = (year - 1970) * 31'557'600 + month * 2'629'800;
            const std::uint64_t count = random.Between(20, 120);
            for (std::uint64_t p = 0; p < count; ++p) {
                counter = (counter + 1) % 10000;
                const std::uint64_t kind = random.Below(100);
                const std::string stem = (kind < 88   ? "IMG_"
                                          : kind < 99 ? "DSC_"
                                                      : "MVI_") +
                                         Number(counter, 4);
                tree.File(stem + (kind < 88   ? ".JPG"
                                  : kind < 99 ? ".CR2"
                                              : ".MOV"),
                          event,
                          kind < 88   ? random.Between(2'000'000, 9'000'000)
                          : kind < 99 ? random.Between(20'000'000, 32'000'000)
                                      : random.Between(30'000'000, 300'000'000),
                          seconds + p * 37);
            }
        }
    }
}

void Documents(DiskTree& tree) {
    Random& random = tree.Rng();
    const std::uint32_t top = tree.Folder("Backup", kNoEntry);
    constexpr std::array<const char*, 10> kKinds{".pdf", ".docx", ".txt", ".odt", ".xlsx",
                                                 ".jpg", ".pptx", ".csv", ".eml", ".md"};
    while (!tree.Full()) {
        const std::uint32_t project = tree.Folder("Project " + Words(random, 2), top);
        for (int f = 0; f < 6 && !tree.Full(); ++f) {
            const std::uint32_t folder = tree.Folder(Words(random, 1), project);
            const std::uint64_t count = random.Between(10, 80);
            for (std::uint64_t d = 0; d < count; ++d) {
                const char* kind = kKinds[random.Below(kKinds.size())];
                tree.File(Words(random, 1 + random.Below(3)) + " " + Number(random.Below(1000), 3) +
                              kind,
                          folder, random.Between(300, 3'000'000),
                          random.Between(1'041'379'200, 1'735'689'600));
            }
        }
    }
}

void Videos(DiskTree& tree) {
    Random& random = tree.Rng();
    const std::uint32_t top = tree.Folder("Videos", kNoEntry);
    std::unordered_set<std::uint64_t> films;
    while (!tree.Full()) {
        if (films.size() == 20'000)
            films.clear();
        std::uint64_t filmNumber = random.Below(20'000);
        while (!films.insert(filmNumber).second)
            filmNumber = random.Below(20'000);
        Random film(filmNumber + 99);
        const std::string title =
            Words(film, 1 + film.Below(3)) + " (" + std::to_string(film.Between(1950, 2024)) + ")";
        const std::uint32_t folder = tree.Folder(title, top);
        tree.File(title + ".mkv", folder, film.Between(700'000'000, 4'500'000'000),
                  film.Between(1'041'379'200, 1'735'689'600));
        for (const char* language : {"en", "fr", "de"})
            tree.File(title + "." + language + ".srt", folder, film.Between(40'000, 120'000),
                      film.Between(1'041'379'200, 1'735'689'600));
        tree.File("poster.jpg", folder, film.Between(100'000, 800'000),
                  film.Between(1'041'379'200, 1'735'689'600));
    }
}

// Programs recur on several disks, each with the same files.
void Programs(DiskTree& tree) {
    Random& random = tree.Rng();
    const std::uint32_t top = tree.Folder("Programs", kNoEntry);
    constexpr std::array<const char*, 8> kKinds{".dll", ".so",  ".exe", ".json",
                                                ".png", ".xml", ".js",  ".py"};
    std::unordered_set<std::uint64_t> programs;
    while (!tree.Full()) {
        if (programs.size() == 3000)
            programs.clear();
        std::uint64_t number = random.Below(3000);
        while (!programs.insert(number).second)
            number = random.Below(3000);
        Random program(number * 17 + 3);
        const std::uint32_t folder =
            tree.Folder(Words(program, 2) + " " + std::to_string(program.Between(1, 12)), top);
        for (const char* part : {"bin", "lib", "share"}) {
            const std::uint32_t sub = tree.Folder(part, folder);
            const std::uint64_t count = program.Between(5, 60);
            for (std::uint64_t f = 0; f < count; ++f)
                tree.File(Words(program, 1) + "_" + Number(program.Below(100), 2) +
                              kKinds[program.Below(kKinds.size())],
                          sub, program.Between(200, 4'000'000),
                          program.Between(1'041'379'200, 1'735'689'600));
        }
    }
}

// Archives by year: most of them compressed folders, one in ten a disc image.
void Archives(DiskTree& tree) {
    Random& random = tree.Rng();
    const std::uint32_t top = tree.Folder("Archives", kNoEntry);
    constexpr std::array<const char*, 3> kKinds{".zip", ".7z", ".tar.gz"};
    while (!tree.Full()) {
        const std::uint64_t year = random.Between(2004, 2025);
        const std::uint32_t folder = tree.Folder(std::to_string(year), top);
        const std::uint64_t count = random.Between(5, 30);
        for (std::uint64_t a = 0; a < count; ++a) {
            const bool image = random.Below(10) == 0;
            tree.File(Words(random, 1 + random.Below(2)) + " " + std::to_string(year) +
                          (image ? ".iso" : kKinds[random.Below(kKinds.size())]),
                      folder,
                      image ? random.Between(700'000'000, 4'500'000'000)
                            : random.Between(1'000'000, 50'000'000),
                      (year - 1970) * 31'557'600 + random.Below(31'557'600));
        }
    }
}

ListingOptions AllColumns() {
    ListingOptions options;
    options.printAs = PageLayout::Standard;
    options.addComments = options.addSize = options.addAttribute = options.addDate = 1;
    options.dateFormat = 6;
    options.lastDepth = -1;
    return options;
}

// One disk's listing, written as the program writes it; `changed` adds and drops a few
// entries and edits a comment, as a disk listed again a month later.
void WriteDisk(const std::string& folder, std::uint64_t disk, std::size_t entries, bool changed) {
    DiskTree tree(disk, changed);
    // The shares of the disk's entries: documents, pictures, programs, music (lossless on
    // one disk in ten, then fewer entries for the bytes), archives, films.
    Random shares(disk * 6151 + 3);
    const bool lossless = disk % 10 == 0;
    const std::array<std::uint64_t, 6> weights{shares.Between(20, 40),
                                               shares.Between(15, 35),
                                               shares.Between(15, 35),
                                               lossless ? shares.Between(8, 15)
                                                        : shares.Between(10, 25),
                                               1,
                                               1};
    std::uint64_t total = 0;
    for (const std::uint64_t weight : weights)
        total += weight;
    std::uint64_t sum = 0;
    for (std::size_t part = 0; part < weights.size(); ++part) {
        sum += weights[part];
        tree.StartPart(part, static_cast<std::size_t>(entries * sum / total));
        switch (part) {
        case 0:
            Documents(tree);
            break;
        case 1:
            Photos(tree);
            break;
        case 2:
            Programs(tree);
            break;
        case 3:
            Music(tree, lossless);
            break;
        case 4:
            Archives(tree);
            break;
        default:
            Videos(tree);
            break;
        }
    }
    CDirscribeDoc doc;
    doc.shape = {-1, ListingContent::FilesAndFolders};
    tree.MoveInto(doc);
    ListingTable table;
    std::optional<RowStore> none;
    NullProgress progress;
    const std::string listed = "/media/disk" + Number(disk, 3);
    PopulateTable(table, doc, listed, AllColumns(), none, progress);
    // Comments belong to entries: drawn by what an entry is, so a listing changed elsewhere
    // keeps them where they were.
    const auto draw = [&](int row) {
        const std::string_view name = table.Cell(row, 0);
        return Random(std::hash<std::string_view>()(name) ^ disk ^
                      std::hash<std::string_view>()(table.Cell(row, 4)))
            .Next();
    };
    for (int row = 0; row < table.RowCount(); ++row) {
        const std::uint64_t drawn = draw(row);
        if (drawn % 100 == 0)
            table.SetCell(row, 1, kComments[drawn / 100 % kComments.size()]);
        if (drawn % 40'000 == 1)
            table.SetCell(row, 1, "heirloom, keep");
    }
    for (int row = table.RowCount() - 1; row > 0; --row)
        if (draw(row) % 1000 == 2)
            table.InsertRow(row + 1, {"comments:", "stored in the blue box, shelf 3", "", "", ""},
                            RowKind::Continuation);
    if (changed)
        table.SetCell(1, 1, "listed again");
    ListingVolume volume;
    volume.facts = {listed,
                    "Disk " + Number(disk, 3),
                    Number(disk * 2'654'435'761ULL % 100'000'000, 8) + "-0000-4000-8000-" +
                        Number(disk, 12),
                    disk % 2 == 0 ? "ext4" : "exfat",
                    true,
                    kCapacity,
                    kCapacity - std::min(doc.summary.totalBytes, kCapacity)};
    volume.listed = FileTimeFromUnix(1'700'000'000 + static_cast<std::int64_t>(disk) * 86400);
    volume.note = "shelf " + std::to_string(disk % 12 + 1);
    const std::string file = folder + "/disk-" + Number(disk, 3) + ".dsc";
    WriteFileAtomically(file, [&](ByteSink& sink) {
        WriteDocumentFile(sink, doc.summary, listed, AllColumns(), table, doc.shape, volume);
    });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: %s FOLDER COUNT ENTRIES [CHANGED]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const auto count = std::strtoull(argv[2], nullptr, 10);
    const auto entries = static_cast<std::size_t>(std::strtoull(argv[3], nullptr, 10));
    if (argc == 5) {
        WriteDisk(folder, std::strtoull(argv[4], nullptr, 10), entries, true);
        return 0;
    }
    for (std::uint64_t disk = 0; disk < count; ++disk)
        WriteDisk(folder, disk, entries, false);
    return 0;
}
