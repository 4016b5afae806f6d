// SPDX-License-Identifier: MIT
#include "core/catalogue/SqliteDatabase.h"

#include <sqlite3.h>

namespace dirscribe {

namespace {

CatalogueError::Kind KindOf(int code) {
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return CatalogueError::Kind::Busy;
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_NOMEM:
        return CatalogueError::Kind::Unwritable;
    default:
        return CatalogueError::Kind::Damaged;
    }
}

} // namespace

void ThrowSqliteError(sqlite3* database, int code, std::string_view doing) {
    const char* text = database != nullptr ? sqlite3_errmsg(database) : sqlite3_errstr(code);
    throw CatalogueError(KindOf(code), std::string(doing) + ": " + text);
}

void SqliteStatement::Finalize::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

SqliteStatement::SqliteStatement(sqlite3* database, std::string_view sql) : m_database(database) {
    sqlite3_stmt* statement = nullptr;
    const int code =
        sqlite3_prepare_v2(database, sql.data(), static_cast<int>(sql.size()), &statement, nullptr);
    m_statement.reset(statement);
    if (code != SQLITE_OK)
        ThrowSqliteError(database, code, "the index could not be read");
}

SqliteStatement& SqliteStatement::Bind(int parameter, std::int64_t value) {
    sqlite3_bind_int64(m_statement.get(), parameter, value);
    return *this;
}

SqliteStatement& SqliteStatement::BindText(int parameter, std::string_view text) {
    sqlite3_bind_text64(m_statement.get(), parameter, text.data(), text.size(), SQLITE_TRANSIENT,
                        SQLITE_UTF8);
    return *this;
}

SqliteStatement& SqliteStatement::BindBlob(int parameter, std::string_view bytes) {
    // An empty blob is a blob, not NULL: SQLite takes a null pointer for NULL.
    static constexpr char kNothing = 0;
    sqlite3_bind_blob64(m_statement.get(), parameter, bytes.empty() ? &kNothing : bytes.data(),
                        bytes.size(), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::BindNull(int parameter) {
    sqlite3_bind_null(m_statement.get(), parameter);
    return *this;
}

bool SqliteStatement::Step() {
    const int code = sqlite3_step(m_statement.get());
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    sqlite3_reset(m_statement.get());
    ThrowSqliteError(m_database, code, "the index could not be used");
}

void SqliteStatement::Run() {
    while (Step()) {
    }
    Reset();
}

void SqliteStatement::Reset() {
    sqlite3_reset(m_statement.get());
    sqlite3_clear_bindings(m_statement.get());
}

std::int64_t SqliteStatement::Int(int column) const {
    return sqlite3_column_int64(m_statement.get(), column);
}

bool SqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(m_statement.get(), column) == SQLITE_NULL;
}

std::string_view SqliteStatement::Text(int column) const {
    const auto* text = sqlite3_column_text(m_statement.get(), column);
    const int size = sqlite3_column_bytes(m_statement.get(), column);
    return text == nullptr ? std::string_view()
                           : std::string_view(reinterpret_cast<const char*>(text),
                                              static_cast<std::size_t>(size));
}

std::string_view SqliteStatement::Blob(int column) const {
    const void* bytes = sqlite3_column_blob(m_statement.get(), column);
    const int size = sqlite3_column_bytes(m_statement.get(), column);
    return bytes == nullptr
               ? std::string_view()
               : std::string_view(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

void SqliteDatabase::Close::operator()(sqlite3* database) const {
    sqlite3_close_v2(database);
}

SqliteDatabase::SqliteDatabase(const std::string& file, int busyMilliseconds) {
    sqlite3* database = nullptr;
    const int code = sqlite3_open_v2(file.c_str(), &database,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    m_database.reset(database);
    if (code != SQLITE_OK)
        ThrowSqliteError(database, code, "the index could not be opened");
    sqlite3_extended_result_codes(database, 1);
    sqlite3_busy_timeout(database, busyMilliseconds);
}

void SqliteDatabase::Execute(const char* sql) {
    const int code = sqlite3_exec(m_database.get(), sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        ThrowSqliteError(m_database.get(), code, "the index could not be written");
}

SqliteStatement SqliteDatabase::Prepare(std::string_view sql) {
    return {m_database.get(), sql};
}

std::int64_t SqliteDatabase::Changes() const {
    return sqlite3_changes64(m_database.get());
}

std::int64_t SqliteDatabase::LastInsertId() const {
    return sqlite3_last_insert_rowid(m_database.get());
}

} // namespace dirscribe
