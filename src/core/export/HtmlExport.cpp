// SPDX-License-Identifier: MIT
#include "core/export/HtmlExport.h"

#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"
#include "core/format/Utf8.h"
#include "core/table/CommentFlow.h"
#include "core/table/NumericKeyReader.h"
#include "core/table/RowName.h"
#include "core/table/TableColumn.h"

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace dirscribe {

namespace {

// Rows per block that the browser lays out, or skips, as one.
constexpr int kBlockRows = 256;

constexpr std::string_view kStyle = R"css(
:root{--ink:#1d2330;--muted:#5d6679;--line:#e3e6ee;--band:#f6f7fb;--accent:#2f6fdf;
--folder:#e2a93b;--page:#fff;--row:1.9rem;color-scheme:light dark}
@media (prefers-color-scheme:dark){:root{--ink:#e6e8ee;--muted:#9aa3b5;--line:#2c3240;
--band:#1b1f29;--accent:#7aa7ff;--page:#12151c}}
*{box-sizing:border-box}
body{margin:0;background:var(--page);color:var(--ink);
font:15px/1.45 system-ui,-apple-system,"Segoe UI","Liberation Sans",sans-serif}
header{padding:1.6rem 2rem 1rem;border-bottom:1px solid var(--line)}
.kicker{margin:0;color:var(--muted);font-size:.8rem;letter-spacing:.08em;text-transform:uppercase}
h1{margin:.2rem 0 .3rem;font-size:1.5rem;font-weight:650;word-break:break-all}
.created{margin:0;color:var(--muted);font-size:.9rem}
.summary{display:flex;flex-wrap:wrap;gap:.6rem;margin:1rem 0 0;padding:0;list-style:none}
.summary li{background:var(--band);border:1px solid var(--line);border-radius:.5rem;
padding:.45rem .9rem;color:var(--muted);font-size:.85rem}
.summary b{display:block;color:var(--ink);font-size:1.15rem;font-weight:600}
.tools{position:sticky;top:0;z-index:2;display:flex;gap:1rem;align-items:center;
padding:.7rem 2rem;background:var(--page);border-bottom:1px solid var(--line)}
#filter{flex:0 1 26rem;font:inherit;padding:.45rem .8rem;border:1px solid var(--line);
border-radius:.45rem;background:var(--band);color:var(--ink)}
#filter:focus{outline:2px solid var(--accent);outline-offset:-1px}
#shown{color:var(--muted);font-size:.9rem}
.listing{padding:0 2rem 2rem;min-width:42rem}
.chunk>div,.head{display:grid;grid-template-columns:var(--columns);column-gap:1rem;
align-items:center;height:var(--row);border-bottom:1px solid var(--line)}
.chunk>div>span{overflow:hidden;white-space:nowrap;text-overflow:ellipsis}
.chunk{content-visibility:auto;contain-intrinsic-size:auto 0 calc(var(--n)*var(--row))}
.head{position:sticky;top:3.4rem;z-index:1;background:var(--page);height:2.2rem;
border-bottom:2px solid var(--line)}
.head button{all:unset;cursor:pointer;font-weight:600;font-size:.85rem;color:var(--muted)}
.head button:hover,.head button:focus-visible{color:var(--accent)}
.head [aria-sort=ascending] button::after{content:" \25B2";font-size:.7em}
.head [aria-sort=descending] button::after{content:" \25BC";font-size:.7em}
.chunk>div>:first-child{padding-left:calc(var(--l,0)*1.35rem)}
.d>:first-child{font-weight:600}
.d>:first-child::before,.f>:first-child::before{content:"";display:inline-block;
vertical-align:-.1em;margin-right:.45rem;width:.95em;height:.75em;border-radius:2px;
background:var(--folder)}
.f>:first-child::before{width:.7em;height:.85em;background:none;border:1.5px solid var(--muted);
border-radius:1px 4px 1px 1px;opacity:.6}
.c,.x,.n{color:var(--muted);font-style:italic;border-bottom-style:dashed}
.chunk>:is(.c,.x,.n)>:first-child{padding-left:calc(var(--l,0)*1.35rem + 1.2rem);
font-style:normal;font-size:.85rem}
.g{opacity:.55;text-decoration:line-through}
.context{opacity:.5}
[hidden]{display:none!important}
@media print{.tools{display:none}.chunk{content-visibility:visible}.head{position:static}
body{font-size:11px}}
)css";

constexpr std::string_view kScript = R"js(
(function () {
  "use strict";
  var listing = document.getElementById("listing");
  var input = document.getElementById("filter");
  var shown = document.getElementById("shown");
  var heads = listing.querySelectorAll(".head > span");
  var CONTINUATION = "cxn"; // first letter of the class of comment, details and inserted rows
  var chunks = listing.querySelectorAll(".chunk");
  var block = chunks.length ? chunks[0].children.length : 0;
  var rows, chunkOf, groups, root, sortColumn = -1, sortDirection = 1;

  // Entries with the comment and details rows below them; in a tree, each under its folder.
  // Made a block at a time while the page is idle, so the first key typed finds them ready.
  // A block's text holds one row a line, the cells apart by tabs.
  var open, group, rowIndex, built = 0;
  function buildBlock(c) {
    if (!rows) {
      rows = listing.querySelectorAll(".chunk > div");
      chunkOf = new Int32Array(rows.length);
      groups = [];
      root = { children: [], folder: true };
      open = [root];
      group = null;
      rowIndex = 0;
    }
    var texts = chunks[c].textContent.toLowerCase().split("\n");
    for (var t = 1; t < texts.length - 1; t++, rowIndex++) {
      var row = rows[rowIndex], kind = row.className.charAt(0);
      chunkOf[rowIndex] = c;
      if (group && CONTINUATION.indexOf(kind) >= 0) {
        group.rows.push(rowIndex);
        group.text += "\n" + texts[t];
        continue;
      }
      var level = +(row.getAttribute("data-l") || 0);
      var parent = open[Math.min(Math.max(level - 1, 0), open.length - 1)];
      group = { rows: [rowIndex], parent: parent, children: [], order: groups.length,
                folder: kind === "d", text: texts[t], key: null,
                match: true, context: false, shown: true, dimmed: false };
      if (!parent.children.length) parent.foldersFirst = group.folder;
      parent.children.push(group);
      groups.push(group);
      if (group.folder && level > 0) { open.length = level + 1; open[level] = group; }
    }
  }
  function build() {
    while (built < chunks.length) buildBlock(built++);
  }
  function buildWhileIdle(deadline) {
    while (built < chunks.length && deadline.timeRemaining() > 2) buildBlock(built++);
    if (built < chunks.length) requestIdleCallback(buildWhileIdle);
  }

  // Puts the rows into the blocks in this order.
  function layOut(order) {
    for (var c = 0, at = 0; c < chunks.length; c++) {
      for (var count = 0; at < order.length && count < block; count++, at++) {
        var row = rows[order[at]];
        chunkOf[order[at]] = c;
        if (row.parentNode !== chunks[c] || chunks[c].children[count] !== row)
          chunks[c].insertBefore(row, chunks[c].children[count] || null);
      }
    }
    sizeBlocks();
  }

  // A block with no row to show takes no room; the others, room for their rows until drawn.
  function sizeBlocks() {
    var visible = new Int32Array(chunks.length);
    for (var g = 0; g < groups.length; g++)
      if (groups[g].shown)
        for (var r = 0; r < groups[g].rows.length; r++) visible[chunkOf[groups[g].rows[r]]]++;
    for (var c = 0; c < chunks.length; c++) {
      if (chunks[c].hidden !== (visible[c] === 0)) chunks[c].hidden = visible[c] === 0;
      chunks[c].style.setProperty("--n", visible[c]);
    }
  }

  function currentOrder() {
    var order = [];
    (function walk(node) {
      for (var i = 0; i < node.children.length; i++) {
        var group = node.children[i];
        for (var r = 0; r < group.rows.length; r++) order.push(group.rows[r]);
        walk(group);
      }
    })(root);
    return order;
  }

  function filter() {
    build();
    var words = input.value.trim().toLowerCase(), matched = 0, g, p, r;
    for (g = 0; g < groups.length; g++) {
      groups[g].match = words === "" || groups[g].text.indexOf(words) >= 0;
      groups[g].context = false;
    }
    for (g = 0; g < groups.length; g++) {
      if (!groups[g].match) continue;
      matched++;
      for (p = groups[g].parent; p !== root && !p.match && !p.context; p = p.parent)
        p.context = true;
    }
    for (g = 0; g < groups.length; g++) {
      var group = groups[g], show = group.match || group.context;
      if (group.shown !== show) {
        group.shown = show;
        for (r = 0; r < group.rows.length; r++) rows[group.rows[r]].hidden = !show;
      }
      if (group.dimmed !== group.context) {
        group.dimmed = group.context;
        for (r = 0; r < group.rows.length; r++)
          rows[group.rows[r]].classList.toggle("context", group.context);
      }
    }
    shown.textContent = words === "" ? groups.length + " entries"
                                     : matched + " of " + groups.length + " entries";
    sizeBlocks();
  }

  function key(group, column, kind) {
    var row = rows[group.rows[0]];
    if (kind === "size") return +(row.dataset.s || 0);
    if (kind === "date") return +(row.dataset.t || 0);
    return (row.children[column] || row).textContent.toLowerCase();
  }

  function sort(column) {
    build();
    sortDirection = column === sortColumn ? -sortDirection : 1;
    sortColumn = column;
    var kind = heads[column].dataset.kind;
    for (var g = 0; g < groups.length; g++) groups[g].key = key(groups[g], column, kind);
    (function sortChildren(node) {
      node.children.sort(function (a, b) {
        var rankA = a.folder === node.foldersFirst ? 0 : 1;
        var rankB = b.folder === node.foldersFirst ? 0 : 1;
        if (rankA !== rankB) return rankA - rankB;
        if (a.key !== b.key) return (a.key < b.key ? -1 : 1) * sortDirection;
        return a.order - b.order;
      });
      node.children.forEach(sortChildren);
    })(root);
    for (var h = 0; h < heads.length; h++)
      heads[h].setAttribute("aria-sort", h === column
        ? (sortDirection > 0 ? "ascending" : "descending") : "none");
    layOut(currentOrder());
  }

  // A text cut short shows whole when the pointer rests on it.
  listing.addEventListener("mouseover", function (event) {
    var cell = event.target;
    if (cell.parentNode.parentNode.classList.contains("chunk") &&
        cell.scrollWidth > cell.clientWidth)
      cell.title = cell.textContent;
  });

  var pending = 0;
  input.addEventListener("input", function () {
    cancelAnimationFrame(pending);
    pending = requestAnimationFrame(filter);
  });
  for (var h = 0; h < heads.length; h++)
    heads[h].querySelector("button").addEventListener("click", sort.bind(null, h));
  if (window.requestIdleCallback) requestIdleCallback(buildWhileIdle);
  if (location.hash.indexOf("#q=") === 0) {
    input.value = decodeURIComponent(location.hash.slice(3));
    filter();
  }
})();
)js";

void WriteEscaped(BufferedWriter& out, std::string_view text) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view entity;
        switch (text[i]) {
        case '&':
            entity = "&amp;";
            break;
        case '<':
            entity = "&lt;";
            break;
        case '>':
            entity = "&gt;";
            break;
        case '"':
            entity = "&quot;";
            break;
        case '\n': // shown as a blank all the same; the script reads one row a line
        case '\r':
            entity = " ";
            break;
        default:
            continue;
        }
        out << text.substr(from, i - from) << entity;
        from = i + 1;
    }
    out << text.substr(from);
}

void WriteText(BufferedWriter& out, std::string_view text) {
    if (IsValidUtf8(text))
        WriteEscaped(out, text);
    else
        WriteEscaped(out, LenientUtf8(text));
}

std::string KeyText(const NumericKey& key) {
    std::array<char, 32> text{};
    const double value = static_cast<double>(key.high) * 1e18 + static_cast<double>(key.low);
    const int length = std::snprintf(text.data(), text.size(), "%.17g", value);
    return std::string(text.data(), static_cast<std::size_t>(length));
}

// How each column is laid out, sorted and keyed.
struct ColumnStyle {
    std::string_view width;
    std::string_view cell; // declarations for its cells
    std::string_view head; // and for its head
    std::string_view sortKind;
};

ColumnStyle StyleOf(std::string_view title) {
    if (title == kFileNameTitle)
        return {"minmax(14rem,1fr)", "", "", "text"};
    if (title == kSizeTitle)
        return {"7.5rem", "text-align:right;font-variant-numeric:tabular-nums", "text-align:right",
                "size"};
    if (title == kAttrTitle)
        return {"3.5rem",
                "text-align:center;font-family:ui-monospace,\"Liberation Mono\",monospace;"
                "font-size:.85rem",
                "text-align:center", "text"};
    if (title == kLastModifiedTitle)
        return {"11.5rem", "color:var(--muted);font-variant-numeric:tabular-nums;font-size:.9rem",
                "", "date"};
    return {"minmax(12rem,1fr)", "", "", "text"};
}

class HtmlPage {
public:
    HtmlPage(const ExportSource& source, ByteSink& sink) : m_source(source), m_out(sink) {
        const ListingTable& table = source.table;
        for (int c = 0; c < table.ColumnCount(); ++c) {
            m_styles.push_back(StyleOf(table.GetColumnTitle(c)));
            const std::string_view title = table.GetColumnTitle(c);
            if (title == kSizeTitle || title == kLastModifiedTitle)
                m_keys[static_cast<std::size_t>(c)] =
                    std::make_unique<NumericKeyReader>(title, source.dateFormat);
        }
    }

    void Write() {
        WriteHead();
        WriteHeader();
        WriteTable();
        m_out << "<script>" << kScript << "</script>\n</body>\n</html>\n";
        m_out.Flush();
    }

private:
    void WriteHead() {
        m_out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                 "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                 "<meta name=\"generator\" content=\"Dirscribe\">\n<title>Listing of ";
        WriteText(m_out, m_source.folder);
        m_out << "</title>\n<style>" << kStyle;
        WriteColumnStyles();
        m_out << "</style>\n</head>\n<body>\n";
    }

    // The rules of this page's columns and tree levels, so that rows need no styles of their
    // own: a level L row is indented by L - 1 steps.
    void WriteColumnStyles() {
        for (std::size_t c = 0; c < m_styles.size(); ++c) {
            const std::string n = std::to_string(c + 1);
            if (!m_styles[c].cell.empty())
                m_out << ".chunk>div>:nth-child(" << n << "){" << m_styles[c].cell << "}\n";
            if (!m_styles[c].head.empty())
                m_out << ".head>:nth-child(" << n << "){" << m_styles[c].head << "}\n";
        }
        int deepest = 0;
        for (int row = 0; row < m_source.table.RowCount(); ++row)
            deepest = std::max(
                deepest, ReadRowName(m_source.table.Cell(row, 0), m_source.table.Gone(row)).level);
        for (int level = 2; level <= deepest; ++level)
            m_out << ".chunk>[data-l=\"" << std::to_string(level)
                  << "\"]{--l:" << std::to_string(level - 1) << "}\n";
    }

    void WriteHeader() {
        const ListingSummary& summary = m_source.summary;
        std::string size = FormatSize(summary.totalBytes, kSummarySizeWidth, m_source.sizeInBytes);
        size.erase(0, size.find_first_not_of(' '));
        m_out << "<header>\n<p class=\"kicker\">Dirscribe listing</p>\n<h1>";
        WriteText(m_out, m_source.folder);
        m_out << "</h1>\n<p class=\"created\">Created on " << FormatCreatedOn(m_source.createdOn)
              << "</p>\n<ul class=\"summary\"><li><b>";
        WriteText(m_out, size);
        m_out << "</b>in total</li><li><b>" << std::to_string(summary.folderCount)
              << "</b>subfolders</li><li><b>" << std::to_string(summary.fileCount)
              << "</b>files</li></ul>\n</header>\n";
    }

    void WriteTable() {
        const ListingTable& table = m_source.table;
        m_out << "<main>\n<div class=\"tools\"><input id=\"filter\" type=\"search\" "
                 "placeholder=\"Filter by name or comment\" aria-label=\"Filter rows\" "
                 "autocomplete=\"off\" autofocus><span id=\"shown\">"
              << std::to_string(EntryCount())
              << " entries</span></div>\n"
                 "<div id=\"listing\" class=\"listing\" style=\"--columns:";
        for (const ColumnStyle& style : m_styles)
            m_out << ' ' << style.width;
        m_out << "\">\n<div class=\"head\">";
        for (int c = 0; c < table.ColumnCount(); ++c) {
            m_out << "<span data-kind=\"" << m_styles[static_cast<std::size_t>(c)].sortKind
                  << "\" aria-sort=\"none\"><button type=\"button\">";
            WriteText(m_out, table.GetColumnTitle(c));
            m_out << "</button></span>";
        }
        m_out << "</div>\n";
        for (int row = 0; row < table.RowCount(); ++row) {
            if (row % kBlockRows == 0) {
                if (row > 0)
                    m_out << "</div>\n";
                m_out << "<div class=\"chunk\" style=\"--n:"
                      << std::to_string(std::min(kBlockRows, table.RowCount() - row)) << "\">\n";
            }
            WriteRow(row);
        }
        m_out << (table.RowCount() > 0 ? "</div>\n" : "") << "</div>\n</main>\n";
    }

    void WriteRow(int row) {
        const ListingTable& table = m_source.table;
        const std::string_view cell = table.Cell(row, 0);
        const RowKind kind = table.Kind(row);
        const bool continuation = kind != RowKind::Entry;
        const bool gone = table.Gone(row);
        const RowName name = ReadRowName(cell, gone);
        if (!continuation)
            m_level = name.level;
        // f file, d folder, g gone; c comment, x details and n inserted rows, which continue
        // the entry above.
        m_out << "<div class=\"";
        if (continuation)
            m_out << (kind == RowKind::Free ? 'n' : kind == RowKind::Continuation ? 'c' : 'x');
        else
            m_out << (name.folder ? 'd' : 'f') << (gone ? " g" : "");
        m_out << '"';
        if (m_level > 0)
            m_out << " data-l=\"" << std::to_string(m_level) << '"';
        if (!continuation)
            WriteKeys(row);
        m_out << '>';
        for (int c = 0; c < table.ColumnCount(); ++c) {
            m_out << (c > 0 ? "\t<span>" : "<span>");
            WriteText(m_out, c == 0 ? NameText(cell, kind, name) : ExportedCell(table, row, c));
            m_out << "</span>";
        }
        m_out << "</div>\n";
    }

    [[nodiscard]] int EntryCount() const {
        int count = 0;
        for (int row = 0; row < m_source.table.RowCount(); ++row)
            count += m_source.table.Kind(row) == RowKind::Entry ? 1 : 0;
        return count;
    }

    // The sort keys of an entry row's size and date.
    void WriteKeys(int row) {
        for (int c = 0; c < m_source.table.ColumnCount(); ++c) {
            const auto& reader = m_keys[static_cast<std::size_t>(c)];
            if (!reader)
                continue;
            const bool size = m_source.table.GetColumnTitle(c) == kSizeTitle;
            m_out << (size ? " data-s=\"" : " data-t=\"")
                  << KeyText(reader->Key(m_source.table.Cell(row, c))) << '"';
        }
    }

    // A name without its decoration; a comment row's mark and a details label's stars left
    // out, as the page shows what they are by their style.
    static std::string_view NameText(std::string_view cell, RowKind kind, const RowName& name) {
        if (kind == RowKind::Entry)
            return name.name;
        if (kind == RowKind::Continuation)
            return {};
        return cell.substr(std::min(cell.find_first_not_of(" *"), cell.size()));
    }

    const ExportSource& m_source;
    BufferedWriter m_out;
    std::vector<ColumnStyle> m_styles;
    std::array<std::unique_ptr<NumericKeyReader>, kMaxColumns> m_keys;
    int m_level = 0;
};

} // namespace

void WriteHtml(const ExportSource& source, ByteSink& sink) {
    HtmlPage(source, sink).Write();
}

} // namespace dirscribe
