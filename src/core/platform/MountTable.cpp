// SPDX-License-Identifier: MIT
#include "core/platform/MountTable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace dirscribe {

namespace {

constexpr std::array<std::string_view, 21> kHiddenTypes = {
    "proc",      "sysfs",   "devtmpfs",    "devpts",   "cgroup",     "cgroup2",  "mqueue",
    "debugfs",   "tracefs", "securityfs",  "pstore",   "bpf",        "configfs", "fusectl",
    "hugetlbfs", "autofs",  "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs",     "overlay"};

constexpr std::array<std::string_view, 5> kSystemTrees = {"/proc", "/sys", "/dev", "/run", "/snap"};

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (end > start)
            fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

// Mount points keep blanks, tabs, line feeds and backslashes as \ooo.
std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size()) {
            const auto octal = [](char c) {
                return c >= '0' && c <= '7';
            };
            if (octal(text[i + 1]) && octal(text[i + 2]) && octal(text[i + 3])) {
                const int value =
                    (text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0');
                if (value <= 0xFF) {
                    out.push_back(static_cast<char>(value));
                    i += 3;
                    continue;
                }
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

bool InSystemTree(const std::string& path) {
    return std::any_of(kSystemTrees.begin(), kSystemTrees.end(), [&](std::string_view tree) {
        return path.compare(0, tree.size(), tree) == 0 &&
               (path.size() == tree.size() || path[tree.size()] == '/');
    });
}

// Calls onLine with the fields of each well-formed line: id, parent, device, root, mount
// point, options, optional fields..., "-", type, source, ...; dash points at the "-".
template <typename OnLine> void ForEachMount(std::string_view mountInfo, OnLine onLine) {
    std::size_t start = 0;
    while (start < mountInfo.size()) {
        const std::size_t end = std::min(mountInfo.find('\n', start), mountInfo.size());
        const auto fields = SplitFields(mountInfo.substr(start, end - start));
        start = end + 1;
        if (fields.size() < 8)
            continue;
        const auto dash = std::find(fields.begin() + 6, fields.end(), "-");
        if (dash == fields.end() || dash + 1 == fields.end())
            continue;
        onLine(fields, dash);
    }
}

// "8:17" as its two numbers.
bool ParseDevice(std::string_view text, std::uint32_t& major, std::uint32_t& minor) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return false;
    const char* end = text.data() + text.size();
    const auto first = std::from_chars(text.data(), text.data() + colon, major);
    const auto second = std::from_chars(text.data() + colon + 1, end, minor);
    return first.ec == std::errc() && first.ptr == text.data() + colon &&
           second.ec == std::errc() && second.ptr == end;
}

// Whether the folder at `point` is path or holds it.
bool Holds(std::string_view point, std::string_view path) {
    if (point == "/")
        return path.starts_with('/');
    return path.starts_with(point) && (path.size() == point.size() || path[point.size()] == '/');
}

} // namespace

std::optional<MountEntry> MountHolding(std::string_view mountInfo, std::uint32_t major,
                                       std::uint32_t minor, std::string_view path) {
    std::optional<MountEntry> found;
    ForEachMount(mountInfo, [&](const auto& fields, auto dash) {
        MountEntry entry;
        if (!ParseDevice(fields[2], entry.major, entry.minor) || entry.major != major ||
            entry.minor != minor)
            return;
        entry.mountPoint = Unescape(fields[4]);
        if (!Holds(entry.mountPoint, path) ||
            (found && found->mountPoint.size() >= entry.mountPoint.size()))
            return;
        entry.type = Unescape(*(dash + 1));
        entry.source = dash + 2 == fields.end() ? std::string() : Unescape(*(dash + 2));
        found = std::move(entry);
    });
    return found;
}

std::vector<std::string> VolumesFromMountTable(std::string_view mountInfo) {
    std::vector<std::string> volumes;
    ForEachMount(mountInfo, [&](const auto& fields, auto dash) {
        const std::string_view type = *(dash + 1);
        std::string point = Unescape(fields[4]);
        if (point.empty() || point.front() != '/' || point == "/" || InSystemTree(point))
            return;
        if (std::find(kHiddenTypes.begin(), kHiddenTypes.end(), type) != kHiddenTypes.end())
            return;
        if (std::find(volumes.begin(), volumes.end(), point) == volumes.end())
            volumes.push_back(std::move(point));
    });
    return volumes;
}

std::vector<std::string> SystemVolumes() {
    std::vector<std::string> volumes{"/"};
    std::ifstream file("/proc/self/mountinfo");
    if (!file)
        return volumes;
    std::ostringstream text;
    text << file.rdbuf();
    for (auto& point : VolumesFromMountTable(text.str())) {
        struct stat st {};
        if (::stat(point.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            volumes.push_back(std::move(point));
    }
    return volumes;
}

} // namespace dirscribe
