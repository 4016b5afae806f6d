// SPDX-License-Identifier: MIT
#include "core/listing/FolderWalk.h"

#include "core/listing/EntryList.h"
#include "core/listing/ListingNameOrder.h"
#include "core/platform/Directory.h"
#include "core/platform/OpenFileLimit.h"
#include "core/platform/TaskPool.h"
#include "core/platform/VolumeUsage.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <deque>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace dirscribe {

namespace {

// How the descriptors this process may still open are shared out: a few readers, and for
// each the most folders it keeps open at once (at least two: a folder and its child).
struct DescriptorShare {
    unsigned readers = 1;
    std::size_t perReader = 2;
};

DescriptorShare ShareDescriptors(std::size_t free, unsigned cores) {
    constexpr std::size_t kSpare = 2; // for whatever else the process opens meanwhile
    constexpr std::size_t kPerReaderWanted = 8;
    constexpr std::size_t kMostPerReader = 32; // deeper than most trees: no reopening at all
    const std::size_t usable = free > kSpare ? free - kSpare : 0;
    DescriptorShare share;
    share.readers = static_cast<unsigned>(
        std::clamp<std::size_t>(usable / kPerReaderWanted, 1, std::max(cores, 1U)));
    // A folder handed to another reader stays open until that reader takes it up.
    const std::size_t handedOver = share.readers - 1;
    const std::size_t each = usable > handedOver ? (usable - handedOver) / share.readers : 0;
    share.perReader = std::clamp<std::size_t>(each, 2, kMostPerReader);
    return share;
}

// The single pass over the disk. Each reader walks its part of the tree without recursion,
// keeping only the deepest few folders of its path open and climbing back through ".."
// (checked to be the folder it left), so neither the depth nor the descriptor limit
// changes what is counted. A subfolder is handed to another reader when one is idle; its
// totals reach the folders above it once it is done, so the outcome never depends on the
// threads. Progress counts the entries read (of the entries the volume holds, when the
// listed folder is a whole volume); it is reported from the thread that started the read
// only, which reads subtrees too while it waits.
class Walker {
public:
    using Outcome = FolderWalk::Outcome;

    Walker(Progress& progress, const StopFlag& stop, TaskPool& pool, FolderArena& arena,
           EntryStore& store, ListingContent content, dev_t device, std::size_t perReader,
           std::string path)
        : m_progress(progress), m_stop(stop), m_pool(pool), m_arena(arena), m_store(store),
          m_content(content), m_device(device), m_perReader(perReader), m_path(std::move(path)),
          m_owner(std::this_thread::get_id()) {}

    // Reads the listed folder, open as top, into folder: its entries and, while depthBelow
    // is not 0, the entries of the folders below it (-1: all levels).
    Outcome Walk(Directory top, FolderRead& folder, int depthBelow);
    // Why the walk failed, for Outcome::Failed.
    [[nodiscard]] const std::string& Failure() const { return m_failure; }

private:
    // A late total: what subtrees read by other readers add to a folder and the folders
    // above it, once they are done.
    struct LateTotal {
        ListingSummary late;
        LateTotal* above = nullptr;   // the folder this one is in, within the same reader
        FolderRead* folder = nullptr; // whose summary gets it, when it outlives the walk
    };
    // A subtree handed to another reader, or the listed folder itself.
    struct Subtree {
        std::optional<Directory> dir;
        FolderRead* folder = nullptr;
        FolderRead own;                 // the result, when nothing else keeps one
        bool listed = false;            // its entries are kept
        int depthBelow = 0;             // levels below it whose entries are kept, -1 all
        const Subtree* from = nullptr;  // the subtree it was found in; null for the listed folder
        int handOvers = 0;              // how many subtrees lead to it from the listed folder
        std::string relative;           // its path from the root of `from`
        LateTotal* lateTotal = nullptr; // where its total goes in the reader that found it
    };
    // A subfolder still to be read, and where its result goes when its entries are kept.
    struct Child {
        std::string name;
        FolderRead* folder = nullptr;
    };
    // One folder on a reader's path.
    struct Frame {
        std::optional<Directory> dir; // open while near the deepest folder
        std::string name;             // its name in the folder above
        dev_t device = 0;             // with inode: which folder ".." must lead back to
        ino_t inode = 0;
        FolderRead* folder = nullptr;
        FolderRead own;     // the result of a folder whose totals alone count
        int depthBelow = 0; // levels below it whose entries are kept, -1 all
        LateTotal* lateTotal = nullptr;
        std::vector<Child> children;
        std::size_t next = 0;
    };
    // One reader's path from its subtree's root down to the folder it is reading.
    struct Path {
        const Subtree* subtree = nullptr;
        std::deque<Frame> frames;  // a deque, so results inside frames stay in place
        std::size_t firstOpen = 0; // frames from here on are open
        std::deque<Subtree> handedOver;
        std::deque<LateTotal> lateTotals;
        TaskPool::Group group;
    };

    // Reads a subtree on this thread; never throws.
    void Read(Subtree& subtree);
    void Descend(Path& path);
    // Pushes a frame for a folder just opened and reads its names.
    void Enter(Path& path, Directory dir, std::string name, FolderRead* folder, bool listed,
               int depthBelow);
    void ReadTotals(Frame& frame);
    void ReadListed(Frame& frame);
    // Counts entries read, from any reader; the starting thread shows them.
    void CountEntries(std::int64_t entries);
    // Leaves the deepest folder for the one above it, reopened through ".." when closed.
    void Leave(Path& path);
    // Opens a child of the deepest folder, closing folders higher up to stay within the
    // share. Empty with error set when it cannot be opened; Fail()s when descriptors ran out.
    std::optional<Directory> OpenChild(Path& path, const std::string& name, int& error);
    static bool CloseHighest(Path& path);
    // Hands the child to an idle reader; false when none is idle.
    bool HandOver(Path& path, Directory& dir, const Child& child, bool listed, int depthBelow);
    static LateTotal* LateTotalOf(Path& path, std::size_t frame);
    // Adds in what the other readers found, once they are done.
    static void SettleLateTotals(Path& path);
    [[nodiscard]] std::string FolderPath(const Path& path, std::size_t frame) const;
    void Fail(std::string message);
    void FailForMemory();
    [[nodiscard]] bool Ending() const { return m_ending.load() || m_stop.Requested(); }
    [[nodiscard]] bool Lists(bool folder) const {
        if (folder)
            return m_content == ListingContent::FoldersOnly ||
                   m_content == ListingContent::FilesAndFolders;
        return m_content == ListingContent::FilesOnly ||
               m_content == ListingContent::FilesAndFolders;
    }
    [[nodiscard]] bool OnOwnerThread() const { return std::this_thread::get_id() == m_owner; }
    // Room for the result of each listed folder, valid until the walker goes.
    std::vector<FolderRead*> NewFolders(std::size_t count);
    // Keeps a listed folder's entries in the store, in its order.
    void Keep(FolderRead& folder, const std::vector<ListingEntry>& entries);

    Progress& m_progress;
    const StopFlag& m_stop;
    TaskPool& m_pool;
    FolderArena& m_arena; // guarded by m_mutex
    EntryStore& m_store;  // guarded by m_mutex
    ListingContent m_content;
    dev_t m_device;
    std::size_t m_perReader;
    std::string m_path;
    std::thread::id m_owner;
    std::atomic<bool> m_ending{false};
    std::atomic<std::int64_t> m_entriesRead{0};
    std::int64_t m_shownRead = 0; // as the progress was last told, on the starting thread
    std::mutex m_mutex;           // guards what follows
    bool m_outOfMemory = false;
    std::string m_failure;
};

Walker::Outcome Walker::Walk(Directory top, FolderRead& folder, int depthBelow) {
    Subtree listed;
    listed.dir = std::move(top);
    listed.folder = &folder;
    listed.listed = true;
    listed.depthBelow = depthBelow;
    Read(listed);
    CountEntries(0); // what the other readers did last
    const std::lock_guard lock(m_mutex);
    if (m_outOfMemory)
        return Outcome::OutOfMemory;
    if (!m_failure.empty())
        return Outcome::Failed;
    return m_stop.Requested() ? Outcome::Stopped : Outcome::Read;
}

void Walker::Read(Subtree& subtree) {
    Path path;
    path.subtree = &subtree;
    try {
        Directory dir = std::move(*subtree.dir);
        subtree.dir.reset();
        Enter(path, std::move(dir), {}, subtree.folder, subtree.listed, subtree.depthBelow);
        Descend(path);
    } catch (const std::bad_alloc&) {
        FailForMemory();
    } catch (const std::exception& error) {
        Fail(FolderPath(path, 0) + " (" + error.what() + ")");
    }
    // Every folder is closed before waiting, so a reader that runs other readers' subtrees
    // meanwhile holds no descriptors of its own.
    path.frames.clear();
    m_pool.Wait(path.group);
    if (!Ending())
        SettleLateTotals(path);
}

void Walker::Descend(Path& path) {
    while (!path.frames.empty() && !Ending()) {
        Frame& frame = path.frames.back();
        if (frame.next == frame.children.size()) {
            Leave(path);
            continue;
        }
        const Child& child = frame.children[frame.next++];
        // Only the children of listed folders have results of their own to fill.
        const bool keepEntries = child.folder != nullptr && frame.depthBelow != 0;
        const int depthBelow = frame.depthBelow < 0 ? -1 : frame.depthBelow - 1;
        int error = 0;
        std::optional<Directory> dir = OpenChild(path, child.name, error);
        if (!dir) {
            if (child.folder != nullptr)
                child.folder->openError = error;
            continue;
        }
        if (HandOver(path, *dir, child, keepEntries, depthBelow))
            continue;
        Enter(path, std::move(*dir), child.name, child.folder, keepEntries, depthBelow);
    }
}

void Walker::Enter(Path& path, Directory dir, std::string name, FolderRead* folder, bool listed,
                   int depthBelow) {
    Frame& frame = path.frames.emplace_back();
    frame.name = std::move(name);
    frame.device = dir.Device();
    frame.inode = dir.Inode();
    frame.dir = std::move(dir);
    frame.folder = folder != nullptr ? folder : &frame.own;
    frame.depthBelow = depthBelow;
    frame.folder->readable = true;
    if (listed)
        ReadListed(frame);
    else
        ReadTotals(frame);
    // The folder's own entries: what it adds from below comes when it is left.
    const ListingSummary& read = frame.folder->summary;
    CountEntries(std::int64_t{read.fileCount} + read.folderCount);
}

void Walker::CountEntries(std::int64_t entries) {
    if (entries != 0)
        m_entriesRead.fetch_add(entries, std::memory_order_relaxed);
    if (!OnOwnerThread())
        return;
    const std::int64_t all = m_entriesRead.load(std::memory_order_relaxed);
    if (all > m_shownRead) {
        m_progress.Advance(all - m_shownRead);
        m_shownRead = all;
    }
}

void Walker::ReadTotals(Frame& frame) {
    Directory& dir = *frame.dir;
    ListingSummary& summary = frame.folder->summary;
    std::string name;
    while (dir.NextName(name)) {
        if (Ending())
            return;
        const std::optional<DirectoryEntry> entry = dir.Stat(name, m_device);
        if (!entry)
            continue;
        if (!entry->isFolder) {
            summary.Add({entry->size, 1, 0});
            continue;
        }
        summary.Add({0, 0, 1});
        if (!entry->otherDevice)
            frame.children.push_back({name, nullptr});
    }
    frame.folder->complete = !dir.Failed();
}

void Walker::ReadListed(Frame& frame) {
    Directory& dir = *frame.dir;
    FolderRead& folder = *frame.folder;
    std::vector<std::string> names;
    for (std::string name; dir.NextName(name);)
        names.push_back(std::move(name));
    std::sort(names.begin(), names.end(), ListingNameLess);
    folder.complete = !dir.Failed();
    if (!names.empty() && OnOwnerThread())
        m_progress.SetMessage(names.back());

    std::vector<ListingEntry> files;
    std::vector<ListingEntry> folders;
    std::vector<bool> elsewhere; // per listed folder: on another device
    for (std::string& name : names) {
        if (Ending())
            return;
        const std::optional<DirectoryEntry> info = dir.Stat(name, m_device);
        if (!info)
            continue;
        ListingEntry entry;
        entry.attributes = info->attributes;
        entry.name = std::move(name);
        entry.size = info->size;
        entry.modified = info->modified;
        if (!info->isFolder) {
            folder.summary.Add({entry.size, 1, 0});
            if (Lists(false))
                files.push_back(std::move(entry));
            continue;
        }
        folder.summary.Add({0, 0, 1});
        if (Lists(true)) {
            elsewhere.push_back(info->otherDevice);
            folders.push_back(std::move(entry));
        } else if (!info->otherDevice) {
            frame.children.push_back({entry.name, nullptr});
        }
    }

    const std::vector<FolderRead*> reads = NewFolders(folders.size());
    for (std::size_t k = 0; k < folders.size(); ++k) {
        if (elsewhere[k])
            reads[k]->otherDevice = reads[k]->complete = true;
        else
            frame.children.push_back({folders[k].name, reads[k]});
    }
    // Folders go to the head one by one, so they end up in reverse order; files follow.
    folder.headFolderCount =
        m_content == ListingContent::FilesAndFolders ? static_cast<int>(folders.size()) : 0;
    std::reverse(folders.begin(), folders.end());
    folders.insert(folders.end(), std::make_move_iterator(files.begin()),
                   std::make_move_iterator(files.end()));
    folder.folders.assign(reads.rbegin(), reads.rend());
    Keep(folder, folders);
}

void Walker::Keep(FolderRead& folder, const std::vector<ListingEntry>& entries) {
    const std::lock_guard lock(m_mutex);
    folder.first = m_store.Size();
    for (const ListingEntry& entry : entries)
        m_store.Append(entry);
    folder.count = entries.size();
}

void Walker::Leave(Path& path) {
    const std::size_t deepest = path.frames.size() - 1;
    if (deepest > 0) {
        Frame& above = path.frames[deepest - 1];
        if (!above.dir) {
            errno = 0;
            above.dir = path.frames.back().dir->OpenParent();
            if (!above.dir || above.dir->Device() != above.device ||
                above.dir->Inode() != above.inode) {
                const int error = errno;
                above.dir.reset();
                if (error == ENOMEM)
                    throw std::bad_alloc();
                Fail(FolderPath(path, deepest - 1) + " (" +
                     (error != 0 ? std::strerror(error) : "it was moved during the read") + ")");
                return;
            }
            path.firstOpen = deepest - 1;
        }
        above.folder->summary.Add(path.frames.back().folder->summary);
    }
    path.frames.pop_back();
    CountEntries(0);
}

std::optional<Directory> Walker::OpenChild(Path& path, const std::string& name, int& error) {
    for (;;) {
        if (path.frames.size() - path.firstOpen >= m_perReader)
            CloseHighest(path);
        errno = 0;
        std::optional<Directory> child = path.frames.back().dir->OpenChild(name);
        if (child)
            return child;
        error = errno;
        if (error == ENOMEM)
            throw std::bad_alloc();
        if (error != EMFILE && error != ENFILE)
            return std::nullopt;
        if (!CloseHighest(path)) {
            Fail(FolderPath(path, path.frames.size() - 1) + "/" + name + " (" +
                 std::strerror(error) + ")");
            return std::nullopt;
        }
    }
}

bool Walker::CloseHighest(Path& path) {
    if (path.firstOpen + 1 >= path.frames.size())
        return false; // only the deepest folder is open
    path.frames[path.firstOpen++].dir.reset();
    return true;
}

bool Walker::HandOver(Path& path, Directory& dir, const Child& child, bool listed, int depthBelow) {
    // A reader waiting for its subtrees reads others' meanwhile, on its own stack: down a
    // deep chain of handed-over subtrees that would nest without end.
    constexpr int kMostHandOvers = 64;
    if (path.subtree->handOvers >= kMostHandOvers)
        return false;
    Subtree& subtree = path.handedOver.emplace_back();
    subtree.handOvers = path.subtree->handOvers + 1;
    subtree.folder = child.folder != nullptr ? child.folder : &subtree.own;
    subtree.listed = listed;
    subtree.depthBelow = depthBelow;
    subtree.from = path.subtree;
    for (std::size_t i = 1; i < path.frames.size(); ++i)
        subtree.relative += path.frames[i].name + "/";
    subtree.relative += child.name;
    subtree.lateTotal = LateTotalOf(path, path.frames.size() - 1);
    subtree.dir = std::move(dir);
    if (m_pool.TryPost(path.group, [this, &subtree] { Read(subtree); }))
        return true;
    dir = std::move(*subtree.dir);
    path.handedOver.pop_back();
    return false;
}

Walker::LateTotal* Walker::LateTotalOf(Path& path, std::size_t frame) {
    // Made from the top down, so each one's parent is made before it.
    std::size_t first = frame;
    while (first > 0 && path.frames[first].lateTotal == nullptr)
        --first;
    for (std::size_t i = first; i <= frame; ++i) {
        Frame& f = path.frames[i];
        if (f.lateTotal != nullptr)
            continue;
        LateTotal& total = path.lateTotals.emplace_back();
        total.above = i > 0 ? path.frames[i - 1].lateTotal : nullptr;
        // The listed folder and kept results outlive their frame; a frame's own does not.
        total.folder = i == 0 || f.folder != &f.own ? f.folder : nullptr;
        f.lateTotal = &total;
    }
    return path.frames[frame].lateTotal;
}

void Walker::SettleLateTotals(Path& path) {
    for (const Subtree& subtree : path.handedOver)
        subtree.lateTotal->late.Add(subtree.folder->summary);
    // Deeper folders were given their totals later: going backwards passes each total up
    // before its parent passes its own.
    for (auto total = path.lateTotals.rbegin(); total != path.lateTotals.rend(); ++total) {
        if (total->folder != nullptr)
            total->folder->summary.Add(total->late);
        if (total->above != nullptr)
            total->above->late.Add(total->late);
    }
}

std::string Walker::FolderPath(const Path& path, std::size_t frame) const {
    std::vector<const Subtree*> chain;
    for (const Subtree* s = path.subtree; s != nullptr && s->from != nullptr; s = s->from)
        chain.push_back(s);
    std::string text = m_path;
    for (auto subtree = chain.rbegin(); subtree != chain.rend(); ++subtree)
        text = EntryList::JoinPath(text, (*subtree)->relative);
    for (std::size_t i = 1; i <= frame && i < path.frames.size(); ++i)
        text = EntryList::JoinPath(text, path.frames[i].name);
    return text;
}

void Walker::Fail(std::string message) {
    const std::lock_guard lock(m_mutex);
    if (m_failure.empty() && !m_outOfMemory)
        m_failure = std::move(message);
    m_ending = true;
}

void Walker::FailForMemory() {
    const std::lock_guard lock(m_mutex);
    m_outOfMemory = true;
    m_ending = true;
}

std::vector<FolderRead*> Walker::NewFolders(std::size_t count) {
    std::vector<FolderRead*> folders;
    folders.reserve(count);
    const std::lock_guard lock(m_mutex);
    for (std::size_t i = 0; i < count; ++i)
        folders.push_back(&m_arena.emplace_back());
    return folders;
}

} // namespace

FolderWalk::Outcome FolderWalk::Walk(const std::string& path, ListingContent content,
                                     int depthBelow) {
    // The progress shows however the walk ends, and is gone before any message.
    class Shown {
    public:
        explicit Shown(Progress& progress) : m_progress(progress) { m_progress.Begin(); }
        ~Shown() { m_progress.End(); }
        Shown(const Shown&) = delete;
        Shown& operator=(const Shown&) = delete;

    private:
        Progress& m_progress;
    } shown(m_progress);
    // A few readers keep the kernel busy; more would only make a spinning disk seek.
    constexpr unsigned kMaxReaders = 4;
    const DescriptorShare share =
        ShareDescriptors(FreeDescriptorCount(), TaskPool::CoresUpTo(kMaxReaders));
    std::optional<Directory> top = Directory::Open(path);
    if (!top)
        return Outcome::Unopened;
    // A whole volume says how many entries it holds; of a folder, nothing is known.
    if (const std::optional<std::int64_t> entries = EntriesInUseOfVolume(path))
        m_progress.SetRange(*entries);
    TaskPool pool(share.readers);
    Walker walker(m_progress, m_stop, pool, m_folders, m_entries, content, top->Device(),
                  share.perReader, path);
    const Outcome outcome = walker.Walk(std::move(*top), m_top, depthBelow);
    m_failure = walker.Failure();
    return outcome;
}

} // namespace dirscribe
