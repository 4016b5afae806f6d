// SPDX-License-Identifier: MIT
// A connection to an SQLite database and its prepared statements, as owned handles.
#pragma once

#include "core/catalogue/CatalogueError.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace dirscribe {

// A prepared statement. Values are only ever bound to its parameters (?1, ?2, ...), never
// written into its text. Every failure throws CatalogueError of the kind its result code
// says.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* database, std::string_view sql);

    SqliteStatement& Bind(int parameter, std::int64_t value);
    SqliteStatement& BindText(int parameter, std::string_view text);
    SqliteStatement& BindBlob(int parameter, std::string_view bytes);
    SqliteStatement& BindNull(int parameter);
    // The next row: true when there is one, false when the statement is done.
    bool Step();
    // Runs a statement that gives no rows.
    void Run();
    // Ready to run again with new values.
    void Reset();

    [[nodiscard]] std::int64_t Int(int column) const;
    [[nodiscard]] bool IsNull(int column) const;
    // Valid until the next Step or Reset.
    [[nodiscard]] std::string_view Text(int column) const;
    [[nodiscard]] std::string_view Blob(int column) const;

private:
    struct Finalize {
        void operator()(sqlite3_stmt* statement) const;
    };
    sqlite3* m_database;
    std::unique_ptr<sqlite3_stmt, Finalize> m_statement;
};

// An open database file, with a busy timeout so that another process writing to it makes
// this one wait rather than fail at once.
class SqliteDatabase {
public:
    // Opens the file for reading and writing, making it when missing.
    SqliteDatabase(const std::string& file, int busyMilliseconds);

    // Runs statements of fixed text that give no rows ("BEGIN", a schema).
    void Execute(const char* sql);
    [[nodiscard]] SqliteStatement Prepare(std::string_view sql);
    // The rows the last statement changed.
    [[nodiscard]] std::int64_t Changes() const;
    [[nodiscard]] std::int64_t LastInsertId() const;
    // The connection, for registering what SQLite calls back (a tokenizer).
    [[nodiscard]] sqlite3* Handle() const { return m_database.get(); }

private:
    struct Close {
        void operator()(sqlite3* database) const;
    };
    std::unique_ptr<sqlite3, Close> m_database;
};

// Throws CatalogueError for result code `code` of database (which may be null): the kind
// from the code, the text from SQLite, after `doing`.
[[noreturn]] void ThrowSqliteError(sqlite3* database, int code, std::string_view doing);

} // namespace dirscribe
