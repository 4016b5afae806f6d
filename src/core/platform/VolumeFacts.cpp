// SPDX-License-Identifier: MIT
#include "core/platform/VolumeFacts.h"

#include "core/platform/MountTable.h"

#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

namespace dirscribe {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The path a link or a device name finally leads to; empty when it leads nowhere.
std::string Resolved(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                           &std::free);
    return real ? std::string(real.get()) : std::string();
}

struct CloseFolder {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

std::string MountInfo() {
    std::ifstream file("/proc/self/mountinfo");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

std::string UdevUnescape(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            HexDigit(name[i + 2]) >= 0 && HexDigit(name[i + 3]) >= 0) {
            out.push_back(static_cast<char>(HexDigit(name[i + 2]) * 16 + HexDigit(name[i + 3])));
            i += 3;
            continue;
        }
        out.push_back(name[i]);
    }
    return out;
}

std::string DiskLinkName(const std::string& linkFolder, const std::string& source,
                         std::uint32_t major, std::uint32_t minor) {
    const std::unique_ptr<DIR, CloseFolder> folder(::opendir(linkFolder.c_str()));
    if (!folder)
        return {};
    const std::string device = source.starts_with('/') ? Resolved(source) : std::string();
    while (const dirent* entry = ::readdir(folder.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        std::string link = linkFolder;
        link += '/';
        link += name;
        struct stat target {};
        const bool sameNumber = ::stat(link.c_str(), &target) == 0 && S_ISBLK(target.st_mode) &&
                                ::major(target.st_rdev) == major &&
                                ::minor(target.st_rdev) == minor;
        if (sameNumber || (!device.empty() && Resolved(link) == device))
            return UdevUnescape(name);
    }
    return {};
}

VolumeFacts ReadVolumeFacts(const std::string& folder) {
    VolumeFacts facts;
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0)
        return facts;
    const auto major = static_cast<std::uint32_t>(::major(info.st_dev));
    const auto minor = static_cast<std::uint32_t>(::minor(info.st_dev));
    if (const auto mount = MountHolding(MountInfo(), major, minor, folder)) {
        facts.mountPoint = mount->mountPoint;
        facts.fileSystem = mount->type;
        facts.label = DiskLinkName("/dev/disk/by-label", mount->source, major, minor);
        facts.uuid = DiskLinkName("/dev/disk/by-uuid", mount->source, major, minor);
    }
    struct statvfs volume {};
    if (::statvfs(folder.c_str(), &volume) == 0) {
        facts.sized = true;
        facts.capacity = static_cast<std::uint64_t>(volume.f_blocks) * volume.f_frsize;
        facts.free = static_cast<std::uint64_t>(volume.f_bavail) * volume.f_frsize;
    }
    return facts;
}

} // namespace dirscribe
