// SPDX-License-Identifier: MIT
#include "cli/CommandLine.h"

#include "cli/Arguments.h"
#include "cli/StderrNotice.h"
#include "core/Error.h"
#include "core/ops/ListingSession.h"
#include "core/options/Profile.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/Clock.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace dirscribe {

namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;

// A deep tree keeps one open folder per level; allow as many as the system lets us.
void RaiseOpenFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

ListingOptions LoadProfileOptions(const Arguments& args, Notice& notice) {
    const std::string path = args.profile ? *args.profile : DefaultProfilePath();
    try {
        return LoadOptions(IniFile::Load(path));
    } catch (const Error& error) {
        notice.Show(kCaption, error.what(), NoticeIcon::Warning);
        return LoadOptions(IniFile());
    }
}

bool Has(const std::vector<std::string>& list, const char* name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// Settings come from the profile, then the layout as its command applies it, then the rest.
void ApplyArguments(const Arguments& args, ListingOptions& options) {
    if (args.layout) {
        options.printAs = *args.layout;
        ApplyPageLayout(options);
    }
    if (args.depth)
        options.lastDepth = *args.depth;
    if (args.content)
        options.filesAndFolders = *args.content;
    if (args.columns) {
        options.addComments = Has(*args.columns, "comments");
        options.addSize = Has(*args.columns, "size");
        options.addAttribute = Has(*args.columns, "attr");
        options.addDate = Has(*args.columns, "date");
    }
    if (args.dateFormat)
        options.dateFormat = *args.dateFormat;
    if (args.bytes)
        options.addSizeInBytes = 1;
}

bool WriteStandardOutput(const std::string& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

// Writes to a file, or to standard output for "-"; a failure is shown and gives false.
bool WriteOutput(const std::string& target, const std::string& bytes, Notice& notice) {
    if (target == "-") {
        if (WriteStandardOutput(bytes))
            return true;
        notice.Show(kCaption, "Cannot write to standard output.");
        return false;
    }
    try {
        WriteFileAtomically(target, bytes);
        return true;
    } catch (const Error& error) {
        notice.Show(kCaption, error.what());
        return false;
    }
}

int RunList(const Arguments& args) {
    StderrNotice notice;
    ListingSession session(LoadProfileOptions(args, notice));
    ApplyArguments(args, session.Options());
    session.SetPath(args.operand);
    NullProgress progress;
    StopFlag stop;
    if (!session.ReadSelectedFolder(notice, progress, stop))
        return kFailure;
    const std::string report = session.TextReport(Now());
    return WriteOutput(args.txt.value_or("-"), report, notice) ? kSuccess : kFailure;
}

} // namespace

int RunCommandLine(int argc, char** argv) {
    const std::vector<std::string> words(argv + std::min(argc, 1), argv + argc);
    if (!words.empty() && (words[0] == "--help" || words[0] == "-h")) {
        std::fputs(UsageText(), stdout);
        return kSuccess;
    }
    const auto parsed = ParseArguments(words);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        std::fprintf(stderr, "dirscribe: %s\n%s", error->message.c_str(), UsageText());
        return kUsage;
    }
    RaiseOpenFileLimit();
    return RunList(std::get<Arguments>(parsed));
}

} // namespace dirscribe
