// SPDX-License-Identifier: MIT
#include "core/export/JsonExport.h"

#include "core/format/Utf8.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

namespace dirscribe {

namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
// 10000-01-01T00:00:00Z as a file time: RFC 3339 has four digits for the year.
constexpr std::uint64_t kFileTimeOfYear10000 = 2'650'467'744'000'000'000;

void WriteEscaped(BufferedWriter& out, std::string_view text) {
    static constexpr std::string_view kHex = "0123456789abcdef";
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out << text.substr(from, i - from);
        from = i + 1;
        if (c == '"' || c == '\\')
            out << '\\' << static_cast<char>(c);
        else
            out << "\\u00" << kHex[c >> 4] << kHex[c & 15];
    }
    out << text.substr(from);
}

void WriteString(BufferedWriter& out, std::string_view text) {
    out << '"';
    if (IsValidUtf8(text))
        WriteEscaped(out, text);
    else
        WriteEscaped(out, LenientUtf8(text));
    out << '"';
}

void WriteBase64(BufferedWriter& out, std::string_view bytes) {
    static constexpr std::string_view kDigits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0U);
        for (std::size_t k = 0; k < 4; ++k)
            out << (k <= count ? kDigits[(group >> (18 - 6 * k)) & 63] : '=');
    }
}

// A name or path from the disk: its display text, and where that cannot say which bytes the
// name holds (it is not UTF-8, so "\xff" and "\xc3\xbf" would read alike), the bytes beside
// it as "rawPath" in base64.
void WritePath(BufferedWriter& out, std::string_view key, std::string_view path) {
    out << '"' << key << "\":";
    WriteString(out, path);
    if (!IsValidUtf8(path)) {
        out << ",\"rawPath\":\"";
        WriteBase64(out, path);
        out << '"';
    }
}

void WriteNumber(BufferedWriter& out, std::uint64_t value) {
    std::array<char, 24> digits{};
    const int length =
        std::snprintf(digits.data(), digits.size(), "%llu", static_cast<unsigned long long>(value));
    out << std::string_view(digits.data(), static_cast<std::size_t>(length));
}

void WriteNumber(BufferedWriter& out, std::int32_t value) {
    out << std::to_string(value);
}

void WriteVolume(BufferedWriter& out, const ListingVolume* volume) {
    out << ",\n\"volume\":";
    if (volume == nullptr || *volume == ListingVolume{}) {
        out << "null";
        return;
    }
    const VolumeFacts& facts = volume->facts;
    out << '{';
    WritePath(out, "mountPoint", facts.mountPoint);
    for (const auto& [key, text] :
         {std::pair<const char*, const std::string*>{"label", &facts.label},
          {"uuid", &facts.uuid},
          {"fileSystem", &facts.fileSystem}}) {
        out << ",\"" << key << "\":";
        WriteString(out, *text);
    }
    for (const auto& [key, value] :
         {std::pair<const char*, std::uint64_t>{"capacity", facts.capacity},
          {"free", facts.free}}) {
        out << ",\"" << key << "\":";
        if (facts.sized)
            WriteNumber(out, value);
        else
            out << "null";
    }
    out << ",\"listed\":";
    if (volume->listed != 0)
        out << '"' << FileTimeIso8601(volume->listed) << '"';
    else
        out << "null";
    out << ",\"note\":";
    WriteString(out, volume->note);
    out << '}';
}

void WriteRow(BufferedWriter& out, const ExportSource& source, int row, std::string& scratch) {
    out << "{\"cells\":[";
    for (int c = 0; c < source.table.ColumnCount(); ++c) {
        if (c > 0)
            out << ',';
        WriteString(out, ExportedCell(source.table, row, c, scratch));
    }
    out << ']';
    if (source.entries != nullptr) {
        if (const std::optional<RowEntryFacts> entry = source.entries->EntryOf(row)) {
            out << ",\"bytes\":";
            WriteNumber(out, entry->bytes);
            out << ",\"modified\":\"" << FileTimeIso8601(entry->modified) << "\",";
            WritePath(out, "path", entry->path);
        }
    }
    out << '}';
}

} // namespace

void WriteJsonString(BufferedWriter& out, std::string_view text) {
    WriteString(out, text);
}

void WriteJsonPath(BufferedWriter& out, std::string_view key, std::string_view path) {
    WritePath(out, key, path);
}

std::string FileTimeIso8601(std::uint64_t fileTime) {
    fileTime = std::min(fileTime, kFileTimeOfYear10000 - 1);
    const auto seconds =
        static_cast<std::int64_t>(fileTime / kTicksPerSecond) - kSecondsFrom1601To1970;
    auto fraction = static_cast<long>(fileTime % kTicksPerSecond);
    // The proleptic Gregorian calendar of std::chrono, the same on both sides of 1970.
    const std::chrono::sys_seconds time{std::chrono::seconds{seconds}};
    const auto day = std::chrono::floor<std::chrono::days>(time);
    const std::chrono::year_month_day date{day};
    const std::chrono::hh_mm_ss clock{time - day};
    std::array<char, 48> text{};
    int length = std::snprintf(
        text.data(), text.size(), "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
        static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
        static_cast<int>(clock.seconds().count()));
    std::string result(text.data(), static_cast<std::size_t>(length));
    if (fraction != 0) {
        length = std::snprintf(text.data(), text.size(), ".%07ld", fraction);
        std::string digits(text.data(), static_cast<std::size_t>(length));
        result += digits.substr(0, digits.find_last_not_of('0') + 1);
    }
    return result + "Z";
}

void WriteJson(const ExportSource& source, ByteSink& sink) {
    BufferedWriter out(sink);
    out << '{';
    WritePath(out, "folder", source.folder);
    out << ",\"summary\":{\"bytes\":";
    WriteNumber(out, source.summary.totalBytes);
    out << ",\"files\":";
    WriteNumber(out, source.summary.fileCount);
    out << ",\"folders\":";
    WriteNumber(out, source.summary.folderCount);
    out << '}';
    WriteVolume(out, source.volume);
    out << ",\n\"columns\":[";
    for (int c = 0; c < source.table.ColumnCount(); ++c) {
        if (c > 0)
            out << ',';
        WriteString(out, source.table.GetColumnTitle(c));
    }
    out << "],\n\"rows\":[";
    std::string scratch;
    for (int row = 0; row < source.table.RowCount(); ++row) {
        out << (row > 0 ? ",\n" : "\n");
        WriteRow(out, source, row, scratch);
    }
    out << "\n]}\n";
    out.Flush();
}

} // namespace dirscribe
