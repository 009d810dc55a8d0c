#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/database/database_files.h"
#include "tests/case_name.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

void Exec(const std::filesystem::path& file, const char* script) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, script, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

struct ValueCase {
    std::string name;
    std::string expression;  ///< SQL (Windows-1252)
    std::string text;        ///< the value's text (Windows-1252)
    friend void PrintTo(const ValueCase& row, std::ostream* out) { *out << row.name; }
};

class SqliteValueText : public testing::TestWithParam<ValueCase> {};

TEST_P(SqliteValueText, IsWrittenSo) {
    TempDir dir;
    const std::filesystem::path file = dir / "werte.db";
    Exec(file, "CREATE TABLE T (A);");
    DatabaseFiles database;
    Expected<QueryResult> result =
        database.Query({"", file, "SELECT " + GetParam().expression + " FROM (SELECT 1)"});
    ASSERT_TRUE(result.ok()) << result.error().message;
    ASSERT_EQ(result->fieldCount, 1);
    ASSERT_EQ(result->rows.size(), 1u);
    EXPECT_EQ(result->rows[0][0], GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SqliteValueText,
    testing::Values(ValueCase{"Null", "NULL", ""}, ValueCase{"Integer", "42", "42"},
                    ValueCase{"NegativeInteger", "-7", "-7"},
                    ValueCase{"LargeInteger", "9007199254740993", "9007199254740993"},
                    ValueCase{"Real", "12.5", "12.5"}, ValueCase{"WholeReal", "3.0", "3"},
                    ValueCase{"RealWith15Digits", "0.1 + 0.2", "0.3"},
                    ValueCase{"SmallReal", "0.000125", "0.000125"},
                    ValueCase{"HugeReal", "1e20", "1e+20"},
                    ValueCase{"Text",
                              "'Stra\xDF"
                              "e'",
                              "Stra\xDF"
                              "e"},
                    ValueCase{"DateText", "date('2017-07-01')", "2017-07-01"},
                    ValueCase{"Blob", "x'414243'", "ABC"},
                    ValueCase{"TextOutsideWindows1252", "char(8364, 20013)", "\x80?"}),
    CaseName());

TEST(SqliteDatabase, ExecuteChangesTheFile) {
    TempDir dir;
    const std::filesystem::path file = dir / "k.db";
    Exec(file, "CREATE TABLE T (A);");
    DatabaseFiles database;
    EXPECT_TRUE(database.Execute({"", file, "INSERT INTO T VALUES ('\xE4')"}).ok());
    Expected<QueryResult> result = database.Query({"", file, "SELECT A, length(A) FROM T"});
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->rows, (std::vector<std::vector<std::string>>{{"\xE4", "1"}}));
}

struct FailureCase {
    std::string name;
    std::string file;     ///< in the folder; "kunden.db" has the table T
    std::string content;  ///< written to `file` unless empty (and it is not kunden.db)
    std::string sql;
    bool query;
    friend void PrintTo(const FailureCase& row, std::ostream* out) { *out << row.name; }
};

class DatabaseFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(DatabaseFailure, IsReported) {
    const FailureCase& row = GetParam();
    TempDir dir;
    Exec(dir / "kunden.db", "CREATE TABLE T (A); INSERT INTO T VALUES (1);");
    if (!row.content.empty()) {
        std::ofstream(dir / row.file, std::ios::binary) << row.content;
    }
    DatabaseFiles database;
    const DatabaseRequest request{"", dir / row.file, row.sql};
    if (row.query) {
        Expected<QueryResult> result = database.Query(request);
        EXPECT_FALSE(result.ok());
    } else {
        EXPECT_FALSE(database.Execute(request).ok());
    }
    // Nothing was changed or created.
    Expected<QueryResult> check = database.Query({"", dir / "kunden.db", "SELECT count(*) FROM T"});
    ASSERT_TRUE(check.ok());
    EXPECT_EQ(check->rows[0][0], "1");
    EXPECT_EQ(std::filesystem::exists(dir / row.file),
              row.file == "kunden.db" || !row.content.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, DatabaseFailure,
    testing::Values(
        FailureCase{"MissingFileIsNotCreated", "neu.db", "", "CREATE TABLE U (B)", false},
        FailureCase{"FileThatIsNoDatabase", "text.db", "kein SQLite", "SELECT * FROM T", true},
        FailureCase{"WrongTable", "kunden.db", "", "SELECT A FROM Fehlt", true},
        FailureCase{"SyntaxError", "kunden.db", "", "DELETE T", false},
        FailureCase{"EmptyStatement", "kunden.db", "", "   ", false},
        FailureCase{"SecondStatement", "kunden.db", "", "SELECT 1; DELETE FROM T", true},
        FailureCase{"SecondStatementOfAnUpdate", "kunden.db", "",
                    "UPDATE T SET A = 2; DELETE FROM T", false},
        FailureCase{"AccessFileIsNeverWritten", "kunden.mdb", std::string(2048, '\0'),
                    "DELETE FROM T", false},
        FailureCase{"AccessFileThatDoesNotOpen", "kunden.mdb", std::string(2048, 'x'),
                    "SELECT * FROM T", true},
        FailureCase{"MissingAccessFile", "fehlt.accdb", "", "SELECT * FROM T", true}),
    CaseName());

struct RouteCase {
    std::string name;
    std::string file;
    bool access;
    friend void PrintTo(const RouteCase& row, std::ostream* out) { *out << row.name; }
};

class DatabaseRoute : public testing::TestWithParam<RouteCase> {};

TEST_P(DatabaseRoute, ChoosesTheEngine) {
    EXPECT_EQ(DatabaseFiles::IsAccessFile(GetParam().file), GetParam().access);
}

INSTANTIATE_TEST_SUITE_P(Files, DatabaseRoute,
                         testing::Values(RouteCase{"Mdb", "/d/kunden.mdb", true},
                                         RouteCase{"UpperMdb", "/d/KUNDEN.MDB", true},
                                         RouteCase{"Accdb", "/d/k.Accdb", true},
                                         RouteCase{"Sqlite", "/d/k.db", false},
                                         RouteCase{"Sqlite3", "/d/k.sqlite3", false},
                                         RouteCase{"MdbFolder", "/d.mdb/k.db", false}),
                         CaseName());

}  // namespace
}  // namespace kelvo
