// SPDX-License-Identifier: MIT
// What File Data reads from an audio file, a photo, a video or a PDF, as rows.
#include "core/details/FileData.h"

#include "core/format/Utf8.h"

namespace dirscribe {

void FileData::Add(std::string label, std::string_view text) {
    std::string cell = CellText(text);
    std::size_t bytes = label.size() + cell.size();
    for (const auto& [first, second] : rows)
        bytes += first.size() + second.size();
    if (!cell.empty() && rows.size() < kMaxRows && bytes <= kMaxBytes)
        rows.emplace_back(std::move(label), std::move(cell));
}

std::string CellText(std::string_view text) {
    std::string cell = LenientUtf8(text);
    for (char& c : cell)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    if (cell.size() > FileData::kMaxTextBytes) {
        std::size_t end = FileData::kMaxTextBytes;
        while ((static_cast<unsigned char>(cell[end]) & 0xC0) == 0x80)
            --end;
        cell.resize(end);
    }
    // Trimmed after the cut, so that a cell text is its own cell text.
    const std::size_t first = cell.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    cell.erase(cell.find_last_not_of(' ') + 1);
    cell.erase(0, first);
    return cell;
}

std::string EncodeFileData(const FileData& data) {
    std::string bytes;
    for (const std::string* text : {&data.summary, &data.note}) {
        bytes += *text;
        bytes += '\0';
    }
    for (const auto& [label, text] : data.rows) {
        bytes += label;
        bytes += '\0';
        bytes += text;
        bytes += '\0';
    }
    return bytes;
}

FileData DecodeFileData(std::string_view bytes) {
    std::vector<std::string_view> texts;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\0');
        if (end == std::string_view::npos)
            return {};
        texts.push_back(bytes.substr(0, end));
        bytes.remove_prefix(end + 1);
    }
    if (texts.size() < 2 || texts.size() % 2 != 0)
        return {};
    FileData data{CellText(texts[0]), {}, CellText(texts[1])};
    for (std::size_t i = 2; i < texts.size(); i += 2)
        data.Add(CellText(texts[i]), texts[i + 1]);
    return data;
}

} // namespace dirscribe
