// SPDX-License-Identifier: MIT
#include "core/catalogue/LineTrigrams.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace dirscribe {

namespace {

// The length of the UTF-8 sequence a byte begins, as SQLite's own tokenizers step (a byte
// that begins none is a character of its own).
int SequenceLength(unsigned char first) {
    if (first < 0xC0)
        return 1;
    if (first < 0xE0)
        return 2;
    return first < 0xF0 ? 3 : 4;
}

// The trigrams of one text already told, each by its bytes as a 64-bit key; a trigram of
// more than seven bytes (characters beyond U+07FF) is told every time, as FTS5's own
// tokenizer would, which costs time, never a term. A slot counts only when it was written
// for the text being told, so a new text costs no clearing of the table.
class TrigramSet {
public:
    void Reset(std::size_t trigrams) {
        std::size_t size = 64;
        while (size < trigrams * 2)
            size <<= 1;
        if (size > m_keys.size()) {
            m_keys.assign(size, 0);
            m_texts.assign(size, 0);
            m_text = 0;
        }
        m_mask = size - 1;
        if (++m_text == 0) {
            std::fill(m_texts.begin(), m_texts.end(), 0);
            m_text = 1;
        }
    }
    // Whether the trigram was told before; it is, from now on.
    bool Told(const char* bytes, std::size_t length) {
        if (length > 7)
            return false;
        // Byte by byte: a copy of a length known only here would be a call per trigram.
        std::uint64_t key = length;
        for (std::size_t i = 0; i < length; ++i)
            key |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i + 8);
        for (std::size_t slot = (key * 0x9E3779B97F4A7C15ULL) >> 40 & m_mask;;
             slot = (slot + 1) & m_mask) {
            if (m_texts[slot] != m_text) {
                m_texts[slot] = m_text;
                m_keys[slot] = key;
                return false;
            }
            if (m_keys[slot] == key)
                return true;
        }
    }

private:
    std::vector<std::uint64_t> m_keys;
    std::vector<std::uint32_t> m_texts; // the text each slot was written for
    std::uint32_t m_text = 0;
    std::size_t m_mask = 0;
};

using TokenCallback = int (*)(void*, int, const char*, int, int, int);

int Create(void*, const char**, int, Fts5Tokenizer** out) {
    *out = reinterpret_cast<Fts5Tokenizer*>(std::make_unique<TrigramSet>().release());
    return SQLITE_OK;
}

void Delete(Fts5Tokenizer* tokenizer) {
    std::unique_ptr<TrigramSet> owned(reinterpret_cast<TrigramSet*>(tokenizer));
}

int Tokenize(Fts5Tokenizer* tokenizer, void* context, int flags, const char* text, int size,
             TokenCallback onToken) {
    TrigramSet& told = *reinterpret_cast<TrigramSet*>(tokenizer);
    const bool once = (flags & FTS5_TOKENIZE_DOCUMENT) != 0;
    if (once)
        told.Reset(static_cast<std::size_t>(size));
    // a, b, c: where the last three characters begin; a line end starts afresh.
    int a = -1;
    int b = -1;
    int c = -1;
    for (int at = 0; at < size;) {
        if (text[at] == '\n') {
            a = b = c = -1;
            ++at;
            continue;
        }
        const int end = std::min(size, at + SequenceLength(static_cast<unsigned char>(text[at])));
        a = b;
        b = c;
        c = at;
        at = end;
        if (a < 0)
            continue;
        const auto length = static_cast<std::size_t>(end - a);
        if (once && told.Told(text + a, length))
            continue;
        if (const int code = onToken(context, 0, text + a, end - a, a, end); code != SQLITE_OK)
            return code;
    }
    return SQLITE_OK;
}

} // namespace

bool RegisterLineTrigrams(sqlite3* database) {
    fts5_api* api = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(database, "SELECT fts5(?1)", -1, &statement, nullptr) != SQLITE_OK)
        return false;
    sqlite3_bind_pointer(statement, 1, static_cast<void*>(&api), "fts5_api_ptr", nullptr);
    sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (api == nullptr || api->iVersion < 2)
        return false;
    fts5_tokenizer tokenizer{Create, Delete, Tokenize};
    return api->xCreateTokenizer(api, kLineTrigrams, nullptr, &tokenizer, nullptr) == SQLITE_OK;
}

} // namespace dirscribe
