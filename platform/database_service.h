#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "store/expected.h"

namespace kelvo {

/// One statement for a database file, as the database command forms it. Texts are
/// Windows-1252; the service converts them to whatever its engine speaks.
struct DatabaseRequest {
    /// The connection text of the file's provider; passed on for services that need one.
    std::string connection;
    /// The database file, resolved to a path of this system.
    std::filesystem::path file;
    /// One SQL statement.
    std::string sql;
    /// The most fact records the caller can fill with a query's values (see RecordsOfRow): rows
    /// beyond them are counted but not kept, so a huge result costs no memory.
    std::uintmax_t keepRecords = UINTMAX_MAX;
};

/// The result table of a query: the number of fields and each row's values as texts
/// (Windows-1252; a null is the empty text).
struct QueryResult {
    int fieldCount = 0;
    std::vector<std::vector<std::string>> rows;
    /// Rows of the result after `rows` that were counted but not kept (keepRecords).
    std::uintmax_t omittedRows = 0;
};

/// The fact records a row's values fill: each value one per 30 characters begun, at least one.
inline std::uintmax_t RecordsOfRow(const std::vector<std::string>& row) {
    std::uintmax_t records = 0;
    for (const std::string& value : row) {
        records += value.empty() ? 1 : (value.size() + 29) / 30;
    }
    return records;
}

/// SQL statements on database files. Every call opens the file, runs one statement and closes
/// it again; nothing is kept between calls.
class DatabaseService {
  public:
    virtual ~DatabaseService() = default;
    /// Runs a statement that gives no result (an update, an insert, ...). Fails when the file
    /// cannot be opened or the statement does not run.
    virtual Status Execute(const DatabaseRequest& request) = 0;
    /// Runs a query and reads its whole result. Fails when the file cannot be opened, the
    /// statement does not run or a value cannot be read; nothing of the result is given then.
    virtual Expected<QueryResult> Query(const DatabaseRequest& request) = 0;
};

}  // namespace kelvo
