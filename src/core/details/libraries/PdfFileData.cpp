// SPDX-License-Identifier: MIT
// File Data of PDF documents through poppler: title, author, pages, page size, producer.
#include "core/details/libraries/PdfFileData.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
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
    if (!document->is_locked()) {
        data.Add("**Title:", Utf8(document->get_title()));
        data.Add("**Author:", Utf8(document->get_author()));
    }
    const int pages = document->pages();
    if (pages > 0) {
        data.Add("**Pages:", std::to_string(pages));
        if (const std::unique_ptr<poppler::page> first(document->create_page(0)); first) {
            const poppler::rectf box = first->page_rect(poppler::media_box);
            data.Add("**Page size:", PageSize(box.width(), box.height()));
        }
    }
    if (!document->is_locked())
        data.Add("**Producer:", Utf8(document->get_producer()));
    return data;
}

} // namespace dirscribe
