// SPDX-License-Identifier: MIT
#include "cli/CommandLine.h"

#include "cli/Arguments.h"
#include "cli/PdfOutput.h"
#include "console/StderrNotice.h"
#include "console/TerminalText.h"
#include "core/Error.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/CatalogueSearch.h"
#include "core/catalogue/Duplicates.h"
#include "core/catalogue/ListingDiff.h"
#include "core/details/FileDataProgram.h"
#include "core/format/AsciiCase.h"
#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"
#include "core/format/Utf8.h"
#include "core/ops/ListingExport.h"
#include "core/ops/ListingSession.h"
#include "core/ops/ListingUpdate.h"
#include "core/options/Profile.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/Clock.h"
#include "core/platform/FileReader.h"
#include "core/platform/FileTime.h"
#include "core/platform/OpenFileLimit.h"
#include "core/platform/PathStatus.h"
#include "core/platform/UserLanguage.h"
#include "core/search/ListingSearch.h"
#include "core/table/FileDetails.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <new>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace dirscribe {

namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;
// search: as grep, a path that could not be read, or output that could not be written.
constexpr int kTrouble = 2;

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

constexpr std::string_view kStdoutFailed = "Cannot write to standard output.";

bool WriteStandardOutput(const std::string& bytes, Notice& notice) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
        std::fflush(stdout) == 0)
        return true;
    notice.Show(kCaption, kStdoutFailed);
    return false;
}

// Standard output as a sink, for outputs written as they are made. On a terminal, the
// cells of a document cannot reach it as escapes (see TerminalFilter).
class StdoutSink final : public ByteSink {
public:
    void Write(std::string_view bytes) override {
        if (m_terminal)
            Put(m_filter.Pass(bytes));
        else
            Put(bytes);
    }
    void Finish() {
        if (m_terminal)
            Put(m_filter.Finish());
    }

private:
    static void Put(std::string_view bytes) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
            std::fflush(stdout) != 0)
            throw Error(std::string(kStdoutFailed));
    }

    bool m_terminal = ::isatty(STDOUT_FILENO) != 0;
    TerminalFilter m_filter;
};

// An output written to standard output as it is made.
template <typename Write> bool WriteToStandardOutput(Notice& notice, Write write) {
    try {
        StdoutSink sink;
        write(sink);
        sink.Finish();
        return true;
    } catch (const Error& error) {
        notice.Show(kCaption, error.what());
        return false;
    }
}

// What the user names may be a pipe or a device (/dev/stdout, >(...)): written into.
constexpr SpecialFiles kNamed = SpecialFiles::WriteThrough;

// An output to the file named (toFile), or to standard output for "-" (write, as it is made).
template <typename ToFile, typename Write>
bool WriteOutput(const std::string& fileName, Notice& notice, ToFile toFile, Write write) {
    if (fileName != "-")
        return toFile(fileName);
    return WriteToStandardOutput(notice, write);
}

bool WriteExportOutput(const ListingSession& session, ExportFormat format,
                       const std::string& fileName, Notice& notice, std::time_t now) {
    return WriteOutput(
        fileName, notice,
        [&](const std::string& file) {
            return ExportListing(session, format, file, notice, now, kNamed);
        },
        [&](ByteSink& sink) { WriteExport(session, format, now, sink); });
}

// A column by its title (exactly, else ignoring ASCII case) or by its index; -1 if none.
int ResolveColumn(const ListingTable& table, const std::string& column) {
    for (int c = 0; c < table.ColumnCount(); ++c)
        if (table.GetColumnTitle(c) == column)
            return c;
    for (int c = 0; c < table.ColumnCount(); ++c)
        if (EqualIgnoringAsciiCase(table.GetColumnTitle(c), column))
            return c;
    int index = -1;
    const auto [end, ec] = std::from_chars(column.data(), column.data() + column.size(), index);
    if (ec == std::errc() && end == column.data() + column.size() && index >= 0 &&
        index < table.ColumnCount())
        return index;
    return -1;
}

// The outputs the options ask for; the text report on standard output when none is named.
// The text report comes last, so on standard output it follows whatever else goes there.
bool WriteOutputs(const Arguments& args, ListingSession& session, Notice& notice) {
    const std::time_t now = Now();
    bool ok = true;
    if (args.dsc)
        ok = session.Save(*args.dsc, SaveFormat::DocumentFile, notice, now, kNamed) && ok;
    if (args.pdf)
        ok = WritePdfOutput(session, *args.pdf, notice) && ok;
    if (args.csv)
        ok = WriteExportOutput(session, ExportFormat::Csv, *args.csv, notice, now) && ok;
    if (args.json)
        ok = WriteExportOutput(session, ExportFormat::Json, *args.json, notice, now) && ok;
    if (args.html)
        ok = WriteExportOutput(session, ExportFormat::Html, *args.html, notice, now) && ok;
    const bool named = args.txt || args.dsc || args.pdf || args.csv || args.json || args.html;
    if (args.txt || !named)
        ok = WriteOutput(
                 args.txt.value_or("-"), notice,
                 [&](const std::string& file) {
                     return session.Save(file, SaveFormat::TextReport, notice, now, kNamed);
                 },
                 [&](ByteSink& sink) { session.WriteTextReport(sink, now); }) &&
             ok;
    return ok;
}

int Run(const Arguments& args) {
    StderrNotice notice;
    ListingSession session(LoadProfile(args.profile.value_or(""), notice).options);
    ApplyArguments(args, session.Options());
    NullProgress progress;
    if (args.command == Command::Convert) {
        if (!session.OpenDocument(args.operand, notice, progress))
            return kFailure;
    } else {
        StopFlag stop;
        if (!session.ReadFolder(args.operand, notice, progress, stop))
            return kFailure;
        if (args.note)
            session.SetVolume(session.Listing().doc.volume.facts.label, *args.note);
    }
    if (args.sort) {
        const int column = ResolveColumn(session.Listing().table, args.sort->column);
        if (column < 0) {
            PrintErrorLine("dirscribe: the listing has no column " + args.sort->column);
            std::fputs(UsageText().c_str(), stderr);
            return kUsage;
        }
        session.ClickColumn(column);
        if (args.sort->descending)
            session.ClickColumn(column);
    }
    return WriteOutputs(args, session, notice) ? kSuccess : kFailure;
}

// The file's details as a fetch would write them: the Comments cell, then one line per
// inserted row, its two cells separated by a tab.
int RunDetails(const Arguments& args) {
    const std::string& path = args.operand;
    if (path.empty()) {
        PrintErrorLine("dirscribe: details needs the name of a file");
        std::fputs(UsageText().c_str(), stderr);
        return kUsage;
    }
    try {
        (void)OpenReadableFile(path, UINT64_MAX);
    } catch (const Error& error) {
        PrintErrorLine(error.what());
        return kFailure;
    }
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const FileDataProgram others(FileDataProgram::Installed());
    const FileDetails details = ReadFileDetails(path, name, UserDefaultLanguageId(), &others);
    std::string text = details.comment + "\n";
    for (const auto& [first, second] : details.rows)
        text.append(first).append("\t").append(second).append("\n");
    if (!details.note.empty())
        std::fprintf(stderr, "dirscribe: %s\n", DisplayText(details.note).c_str());
    StderrNotice notice;
    return WriteStandardOutput(text, notice) ? kSuccess : kFailure;
}

// Passes the messages on and counts them: each one a search gives names a path it could not
// read.
class CountingNotice final : public Notice {
public:
    explicit CountingNotice(Notice& next) : m_next(next) {}
    void Show(std::string_view caption, std::string_view text, NoticeIcon icon) override {
        ++m_count;
        m_next.Show(caption, text, icon);
    }
    [[nodiscard]] int Count() const { return m_count; }

private:
    Notice& m_next;
    int m_count = 0;
};

// Lines written to standard output as they come; whether all of them got there.
class OutputLines {
public:
    void Write(const std::string& line) {
        m_written = std::fwrite(line.data(), 1, line.size(), stdout) == line.size() && m_written;
    }
    // Flushes; false (and says so) when anything failed to get out.
    bool Done(Notice& messages) const {
        if (std::fflush(stdout) == 0 && m_written)
            return true;
        messages.Show(kCaption, kStdoutFailed, NoticeIcon::Stop);
        return false;
    }

private:
    bool m_written = true;
};

// Appends a line of fields separated by tabs, each as display text, so no name breaks the
// line or reaches a terminal as an escape; plain ASCII, the most of it, as it is.
void AppendFieldLine(std::string& line, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first)
            line += '\t';
        first = false;
        if (std::all_of(field.begin(), field.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
            line += field;
        else
            line += OneLineText(field);
    }
    line += '\n';
}

std::string FieldLine(std::initializer_list<std::string_view> fields) {
    std::string line;
    AppendFieldLine(line, fields);
    return line;
}

// The status of a command that looks through saved listings, as grep's: 2 when a path
// could not be read (even with an answer), else 0 with an answer and 1 without.
int LookStatus(const CountingNotice& problems, bool answered) {
    if (problems.Count() > 0)
        return kTrouble;
    return answered ? kSuccess : kFailure;
}

// One line per match: document, row from 1, name, size, date and comment, tab-separated,
// every field as display text so no name breaks the line or reaches a terminal as an escape.
// Exit status as grep's: a path that could not be read gives 2 even after a match. Why the
// index was not used is said once, and changes neither the lines nor the status.
int RunSearch(const Arguments& args) {
    StderrNotice messages;
    CountingNotice notice(messages);
    NullProgress progress;
    OutputLines output;
    const std::size_t matches =
        SearchCatalogue(SearchQuery(args.operand), args.filter, args.paths, !args.noIndex, notice,
                        messages, progress, [&](const std::string& document, const SearchHit& hit) {
                            output.Write(FieldLine({document, std::to_string(hit.row + 1), hit.name,
                                                    hit.size, hit.date, hit.comment}));
                        });
    if (!output.Done(messages))
        return kTrouble;
    return LookStatus(notice, matches > 0);
}

std::vector<std::string> AllOperands(const Arguments& args) {
    std::vector<std::string> paths{args.operand};
    paths.insert(paths.end(), args.paths.begin(), args.paths.end());
    return paths;
}

std::string SizeText(const VolumeFacts& facts, std::uint64_t bytes) {
    if (!facts.sized)
        return {};
    const std::string text = FormatSize(bytes, 0, false);
    return text.substr(
        text.find_first_not_of(' ') == std::string::npos ? 0 : text.find_first_not_of(' '));
}

// A line per document when its look has ended.
class VolumeLines final : public CatalogueVisitor {
public:
    explicit VolumeLines(OutputLines& output) : m_output(output) {}
    bool Begin(const std::string&, const IndexedDocument&) override { return false; }
    void Group(const SearchGroup&) override {}
    void End(const std::string& path, const IndexedDocument& document) override {
        const ListingVolume& volume = document.volume;
        const VolumeFacts& facts = volume.facts;
        m_output.Write(FieldLine({facts.label, facts.uuid, facts.fileSystem,
                                  SizeText(facts, facts.capacity), SizeText(facts, facts.free),
                                  volume.listed == 0 ? "" : FormatIsoLocal(volume.listed),
                                  std::to_string(document.entries), volume.note, path}));
        ++m_lines;
    }
    [[nodiscard]] std::size_t Lines() const { return m_lines; }

private:
    OutputLines& m_output;
    std::size_t m_lines = 0;
};

int RunVolumes(const Arguments& args) {
    StderrNotice messages;
    CountingNotice notice(messages);
    NullProgress progress;
    OutputLines output;
    VolumeLines lines(output);
    CatalogueLook look;
    look.useIndex = !args.noIndex;
    LookThroughCatalogue(AllOperands(args), look, lines, notice, messages, progress);
    if (!output.Done(messages))
        return kTrouble;
    return LookStatus(notice, lines.Lines() > 0);
}

CopyKey CopyKeyOf(DuplicateKey key) {
    switch (key) {
    case DuplicateKey::NameSizeAndDate:
        return CopyKey::NameSizeAndDate;
    case DuplicateKey::Size:
        return CopyKey::Size;
    case DuplicateKey::NameAndSize:
        break;
    }
    return CopyKey::NameAndSize;
}

// A line per group (how many copies, of how many bytes each, the bytes stored again, the
// name), then a line per copy: a tab, the document, its row, the path.
int RunDuplicates(const Arguments& args) {
    StderrNotice messages;
    CountingNotice notice(messages);
    NullProgress progress;
    OutputLines output;
    std::string line; // kept between copies: millions of lines
    const std::size_t groups = FindDuplicates(
        AllOperands(args), CopyKeyOf(args.by), !args.noIndex, notice, messages, progress,
        [&](const CopyGroup& group) {
            output.Write(FieldLine({std::to_string(group.copies.size()) + " copies",
                                    std::to_string(group.bytes) + " bytes each",
                                    std::to_string(group.BytesStoredAgain()) + " bytes again",
                                    group.copies.front().name}));
            for (const FileCopy& copy : group.copies) {
                line.assign(1, '\t');
                AppendFieldLine(line, {copy.document, std::to_string(copy.row + 1), copy.path});
                output.Write(line);
            }
        });
    if (!output.Done(messages))
        return kTrouble;
    return LookStatus(notice, groups > 0);
}

// As diff: 0 the same, 1 different, 2 trouble.
int RunDiff(const Arguments& args) {
    StderrNotice notice;
    try {
        DiffListing before;
        DiffListing after;
        if (args.disk) {
            NullProgress progress;
            StopFlag stop;
            before = ReadDiffListing(args.operand);
            after = ReadDiffFolder(before.folder, before.shape, notice, progress, stop);
        } else {
            std::tie(before, after) = ReadDiffListings(args.operand, args.paths.front());
        }
        DiffTotals totals;
        const std::vector<Change> changes = CompareListings(before, after, totals);
        StdoutSink sink;
        if (args.jsonOutput)
            WriteDiffJson(before, after, changes, totals, sink);
        else
            WriteDiffText(changes, totals, sink);
        return totals.Any() ? kFailure : kSuccess;
    } catch (const Error& error) {
        notice.Show(kCaption, error.what(), NoticeIcon::Stop);
        return kTrouble;
    }
}

// Reads the document's folder again and saves the listing with its comments carried over.
int RunUpdate(const Arguments& args) {
    StderrNotice notice;
    NullProgress progress;
    StopFlag stop;
    const std::string& target = args.dsc.value_or(args.operand);
    const std::optional<UpdateCounts> counts =
        UpdateDocument(args.operand, target, LoadProfile(args.profile.value_or(""), notice).options,
                       notice, progress, stop, Now(), SpecialFiles::WriteThrough, args.note);
    if (!counts)
        return kFailure;
    PrintErrorLine("dirscribe: updated " + target + ": " + std::to_string(counts->kept) +
                   " kept, " + std::to_string(counts->added) + " new, " +
                   std::to_string(counts->gone) + " gone");
    return kSuccess;
}

} // namespace

int RunCommandLine(int argc, char** argv) {
    RaiseOpenFileLimit();
    const std::vector<std::string> words(argv + std::min(argc, 1), argv + argc);
    const auto parsed = ParseArguments(words);
    if (const auto* info = std::get_if<InfoText>(&parsed)) {
        StderrNotice notice;
        return WriteStandardOutput(info->text, notice) ? kSuccess : kFailure;
    }
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        PrintErrorLine("dirscribe: " + error->message);
        std::fputs(UsageText().c_str(), stderr);
        return kUsage;
    }
    const auto& args = std::get<Arguments>(parsed);
    // A profile named on the command line must be there: settings read from nowhere would
    // be a mistake the user does not see.
    if (args.profile && PathStatusError(*args.profile) == ENOENT) {
        PrintErrorLine("dirscribe: there is no profile \"" + *args.profile + "\"");
        return kUsage;
    }
    try {
        switch (args.command) {
        case Command::List:
        case Command::Convert:
            return Run(args);
        case Command::Details:
            return RunDetails(args);
        case Command::Search:
            return RunSearch(args);
        case Command::Update:
            return RunUpdate(args);
        case Command::Volumes:
            return RunVolumes(args);
        case Command::Duplicates:
            return RunDuplicates(args);
        case Command::Diff:
            return RunDiff(args);
        }
        return kUsage;
    } catch (const std::bad_alloc&) {
        StderrNotice().Show(kCaption, kNotEnoughMemory, NoticeIcon::Stop);
        return kFailure;
    }
}

} // namespace dirscribe
