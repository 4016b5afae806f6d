// SPDX-License-Identifier: MIT
// The text index's tokenizer: the trigrams of each line of a chunk's text, each once.
#pragma once

struct sqlite3;

namespace dirscribe {

// The name the text index is made with (tokenize = '...').
inline constexpr const char* kLineTrigrams = "dirscribe_line_trigrams";

// Registers the tokenizer with FTS5 on this connection: every three characters of a text in
// a row (as FTS5's own trigram tokenizer gives them, bytes compared as they are), but not
// across a line end, and each trigram once per text. The index keeps no positions, so a
// trigram told again adds only time, and one across a line end (the end of a name) would
// only add terms no search asks for. A query's text is cut the same way. False when FTS5
// is not there.
bool RegisterLineTrigrams(sqlite3* database);

} // namespace dirscribe
