#include "platform/database/sqlite_database.h"

#include <sqlite3.h>

#include <array>
#include <charconv>
#include <memory>
#include <string_view>
#include <utility>

#include "store/windows1252.h"

namespace kelvo {
namespace {

// How long a statement waits for a file another program holds locked.
constexpr int kBusyTimeoutMilliseconds = 2000;

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, CloseDatabase>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

Error SqliteError(const DatabaseRequest& request, sqlite3* db) {
    return Error{request.file.string() + ": " +
                 (db != nullptr ? sqlite3_errmsg(db) : "out of memory")};
}

bool OnlyBlanks(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// An open database and its one prepared statement.
struct PreparedStatement {
    DatabaseHandle db;
    StatementHandle statement;
};

Expected<PreparedStatement> Prepare(const DatabaseRequest& request) {
    sqlite3* opened = nullptr;
    const int openResult =
        sqlite3_open_v2(request.file.c_str(), &opened, SQLITE_OPEN_READWRITE, nullptr);
    DatabaseHandle db(opened);
    if (openResult != SQLITE_OK) {
        return SqliteError(request, db.get());
    }
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMilliseconds);
    const std::string sql = Windows1252ToUtf8(request.sql);
    sqlite3_stmt* prepared = nullptr;
    const char* tail = nullptr;
    const int prepareResult =
        sqlite3_prepare_v2(db.get(), sql.c_str(), static_cast<int>(sql.size()), &prepared, &tail);
    StatementHandle statement(prepared);
    if (prepareResult != SQLITE_OK) {
        return SqliteError(request, db.get());
    }
    if (statement == nullptr) {
        return Error{request.file.string() + ": the statement is empty"};
    }
    // One statement only: a second one behind it is refused, not run.
    const std::size_t used = static_cast<std::size_t>(tail - sql.c_str());
    if (!OnlyBlanks(std::string_view(sql).substr(used))) {
        return Error{request.file.string() + ": more than one statement"};
    }
    return PreparedStatement{std::move(db), std::move(statement)};
}

std::string RealText(double value) {
    std::array<char, 32> buffer{};
    const auto [end, failed] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                             std::chars_format::general, 15);
    return failed == std::errc() ? std::string(buffer.data(), end) : std::string();
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_NULL:
            return "";
        case SQLITE_INTEGER:
            return std::to_string(sqlite3_column_int64(statement, column));
        case SQLITE_FLOAT:
            return RealText(sqlite3_column_double(statement, column));
        case SQLITE_BLOB: {
            const void* bytes = sqlite3_column_blob(statement, column);
            const int size = sqlite3_column_bytes(statement, column);
            return bytes != nullptr ? std::string(static_cast<const char*>(bytes),
                                                  static_cast<std::size_t>(size))
                                    : std::string();
        }
        default: {
            const unsigned char* text = sqlite3_column_text(statement, column);
            const int size = sqlite3_column_bytes(statement, column);
            return text != nullptr
                       ? Utf8ToWindows1252(std::string_view(reinterpret_cast<const char*>(text),
                                                            static_cast<std::size_t>(size)))
                       : std::string();
        }
    }
}

}  // namespace

Status SqliteDatabase::Execute(const DatabaseRequest& request) {
    Expected<PreparedStatement> prepared = Prepare(request);
    if (!prepared) {
        return prepared.error();
    }
    for (;;) {
        const int result = sqlite3_step(prepared->statement.get());
        if (result == SQLITE_DONE) {
            return {};
        }
        if (result != SQLITE_ROW) {
            return SqliteError(request, prepared->db.get());
        }
    }
}

Expected<QueryResult> SqliteDatabase::Query(const DatabaseRequest& request) {
    Expected<PreparedStatement> prepared = Prepare(request);
    if (!prepared) {
        return prepared.error();
    }
    sqlite3_stmt* statement = prepared->statement.get();
    QueryResult result;
    result.fieldCount = sqlite3_column_count(statement);
    std::uintmax_t kept = 0;
    for (;;) {
        const int step = sqlite3_step(statement);
        if (step == SQLITE_DONE) {
            return result;
        }
        if (step != SQLITE_ROW) {
            return SqliteError(request, prepared->db.get());
        }
        if (kept >= request.keepRecords) {
            ++result.omittedRows;  // counted, not read
            continue;
        }
        std::vector<std::string>& row = result.rows.emplace_back();
        row.reserve(static_cast<std::size_t>(result.fieldCount));
        for (int column = 0; column < result.fieldCount; ++column) {
            row.push_back(ColumnText(statement, column));
        }
        kept += RecordsOfRow(row);
    }
}

}  // namespace kelvo
