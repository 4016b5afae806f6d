// SPDX-License-Identifier: MIT
// File Data of PDF documents through poppler: title, author, pages, page size, producer.
#include "details/PdfFileData.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>
#include <string_view>

namespace dirscribe {

namespace {

constexpr std::size_t kHeaderReach = 1024;

struct Paper {
    const char* name;
    double width; // points, portrait
    double height;
};

constexpr std::array<Paper, 5> kPapers = {{
    {"letter", 612, 792},
    {"legal", 612, 1008},
    {"A3", 841.89, 1190.55},
    {"A4", 595.276, 841.89},
    {"A5", 419.528, 595.276},
}};

void Silent(const std::string&, void*) {}

std::string Utf8(const poppler::ustring& text) {
    const poppler::byte_array bytes = text.to_utf8();
    return std::string(bytes.begin(), bytes.end());
}

bool HasPdfHeader(const ByteSource& file) {
    std::string head(kHeaderReach, '\0');
    head.resize(file.ReadAt(0, head.data(), head.size()));
    return head.find("%PDF-") != std::string::npos;
}

// "612 x 792 pts (letter)", either way up.
std::string PageSize(double width, double height) {
    std::array<char, 96> text{};
    std::snprintf(text.data(), text.size(), "%g x %g pts", width, height);
    std::string size = text.data();
    for (const Paper& paper : kPapers) {
        const auto near = [](double a, double b) {
            return std::fabs(a - b) < 1;
        };
        if ((near(width, paper.width) && near(height, paper.height)) ||
            (near(width, paper.height) && near(height, paper.width)))
            return size + " (" + paper.name + ")";
    }
    return size;
}

// How much of a locked document is searched for its page tree.
constexpr std::size_t kPlainScanBytes = 32 << 20;
// How far an object's text may reach around a name found in it.
constexpr std::size_t kObjectReach = std::size_t{64} * 1024;

bool IsDelimiter(char c) {
    return std::string_view(" \t\r\n\f\0/<>[]()%", 14).find(c) != std::string_view::npos;
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() &&
           std::string_view(" \t\r\n\f\0", 6).find(text[at]) != std::string_view::npos)
        ++at;
    return at;
}

// The text of the object around at: from its "obj" to its "endobj".
std::string_view ObjectAround(std::string_view text, std::size_t at) {
    const std::size_t begin = text.rfind("obj", at);
    const std::size_t end = text.find("endobj", at);
    if (begin == std::string_view::npos || end == std::string_view::npos ||
        at - begin > kObjectReach || end - at > kObjectReach)
        return {};
    return text.substr(begin, end - begin);
}

// The number written at at, such as "612" or "-0.5"; end is set past it.
std::optional<double> NumberAt(std::string_view text, std::size_t at, std::size_t& end) {
    end = std::min(text.find_first_not_of("+-.0123456789", at), text.size());
    if (end == at || end - at > 32)
        return std::nullopt;
    return std::strtod(std::string(text.substr(at, end - at)).c_str(), nullptr);
}

// The number after key in a dictionary's text, such as the 12 of "/Count 12".
std::optional<double> NumberAfter(std::string_view object, std::string_view key) {
    const std::size_t found = object.find(key);
    std::size_t end = 0;
    if (found == std::string_view::npos)
        return std::nullopt;
    return NumberAt(object, SkipBlanks(object, found + key.size()), end);
}

// A MediaBox "[x1 y1 x2 y2]" as width and height; nothing where it is not written out in
// numbers.
std::optional<std::pair<double, double>> MediaBox(std::string_view object) {
    constexpr std::string_view kKey = "/MediaBox";
    const std::size_t found = object.find(kKey);
    if (found == std::string_view::npos)
        return std::nullopt;
    std::size_t at = SkipBlanks(object, found + kKey.size());
    if (at >= object.size() || object[at] != '[')
        return std::nullopt;
    std::array<double, 4> box{};
    for (double& value : box) {
        const auto number = NumberAt(object, SkipBlanks(object, at + 1), at);
        if (!number)
            return std::nullopt;
        value = *number;
    }
    return std::pair{std::fabs(box[2] - box[0]), std::fabs(box[3] - box[1])};
}

// What a document locked by a user password tells without it. Only its strings and streams
// are encrypted, so where its page tree stands in plain objects (not in compressed object
// streams) the page count (the largest /Count of a /Pages node: the root's) and a page's
// size can be read.
void AddPlainPageTree(FileData& data, const ByteSource& file) {
    std::string text(
        static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), kPlainScanBytes)), '\0');
    text.resize(file.ReadAt(0, text.data(), text.size()));
    double pages = 0;
    std::optional<std::pair<double, double>> size;
    for (std::size_t at = text.find("/Type"); at != std::string::npos;
         at = text.find("/Type", at + 1)) {
        const std::size_t name = SkipBlanks(text, at + 5);
        const std::string_view rest = std::string_view(text).substr(name);
        const bool node = rest.starts_with("/Pages") && rest.size() > 6 && IsDelimiter(rest[6]);
        const bool page = rest.starts_with("/Page") && rest.size() > 5 && IsDelimiter(rest[5]);
        if (!node && !page)
            continue;
        const std::string_view object = ObjectAround(text, at);
        if (const auto count = NumberAfter(object, "/Count"); node && count && *count > pages) {
            pages = *count;
            if (const auto box = MediaBox(object))
                size = box;
        }
        if (page && !size)
            size = MediaBox(object);
    }
    if (pages >= 1 && pages < 1e9)
        data.Add("**Pages:", std::to_string(static_cast<long long>(pages)));
    if (size)
        data.Add("**Page size:", PageSize(size->first, size->second));
}

} // namespace

FileData ReadPdfFileData(const ByteSource& file, const std::string& path) {
    if (!HasPdfHeader(file))
        return {};
    poppler::set_debug_error_function(Silent, nullptr);
    const std::unique_ptr<poppler::document> document(poppler::document::load_from_file(path));
    if (!document)
        return {};
    FileData data;
    data.summary = "PDF:";
    // A locked document has no catalogue: poppler must not be asked for its pages.
    if (document->is_locked()) {
        data.Add("**Security:", "Protected by a password");
        AddPlainPageTree(data, file);
        return data;
    }
    data.Add("**Title:", Utf8(document->get_title()));
    data.Add("**Author:", Utf8(document->get_author()));
    const int pages = document->pages();
    if (pages > 0) {
        data.Add("**Pages:", std::to_string(pages));
        if (const std::unique_ptr<poppler::page> first(document->create_page(0)); first) {
            const poppler::rectf box = first->page_rect(poppler::media_box);
            data.Add("**Page size:", PageSize(box.width(), box.height()));
        }
    }
    data.Add("**Producer:", Utf8(document->get_producer()));
    return data;
}

} // namespace dirscribe
