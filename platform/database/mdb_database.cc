#include "platform/database/mdb_database.h"

#include <mdbsql.h>
#include <mdbtools.h>

#include <memory>
#include <string>

#include "store/windows1252.h"

namespace kelvo {
namespace {

struct ExitSql {
    void operator()(MdbSQL* sql) const { mdb_sql_exit(sql); }
};
using SqlHandle = std::unique_ptr<MdbSQL, ExitSql>;

constexpr const char* kDateFormat = "%d.%m.%Y %H:%M:%S";

}  // namespace

Status MdbDatabase::Execute(const DatabaseRequest& request) {
    return Error{request.file.string() + ": Access files are opened read-only"};
}

Expected<QueryResult> MdbDatabase::Query(const DatabaseRequest& request) {
    SqlHandle sql(mdb_sql_init());
    if (sql == nullptr) {
        return Error{request.file.string() + ": MDB Tools did not start"};
    }
    std::string fileName = request.file.string();
    if (mdb_sql_open(sql.get(), fileName.data()) == nullptr || sql->mdb == nullptr) {
        return Error{fileName + ": the file does not open as an Access database"};
    }
    mdb_set_date_fmt(sql->mdb, kDateFormat);
    const std::string query = Windows1252ToUtf8(request.sql);
    mdb_sql_run_query(sql.get(), query.c_str());
    if (mdb_sql_has_error(sql.get()) || sql->cur_table == nullptr) {
        const std::string message =
            mdb_sql_has_error(sql.get()) ? mdb_sql_last_error(sql.get()) : "no result table";
        mdb_sql_reset(sql.get());
        return Error{fileName + ": " + message};
    }
    QueryResult result;
    result.fieldCount = static_cast<int>(sql->num_columns);
    std::uintmax_t kept = 0;
    while (mdb_sql_fetch_row(sql.get(), sql->cur_table) != 0) {
        if (kept >= request.keepRecords) {
            ++result.omittedRows;  // counted, not copied
            continue;
        }
        std::vector<std::string>& row = result.rows.emplace_back();
        for (unsigned int column = 0; column < sql->num_columns; ++column) {
            const auto* value =
                static_cast<const char*>(g_ptr_array_index(sql->bound_values, column));
            row.push_back(value != nullptr ? Utf8ToWindows1252(value) : std::string());
        }
        kept += RecordsOfRow(row);
    }
    mdb_sql_reset(sql.get());
    return result;
}

}  // namespace kelvo
