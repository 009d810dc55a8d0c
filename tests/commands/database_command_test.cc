#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/database/database_files.h"
#include "tests/case_name.h"
#include "tests/commands/service_command_run.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

constexpr const char* kFailedMessage = "Fehler beim ausf\xC3\xBChren der SQL-Anwei\xC3\x9Fung";
constexpr const char* kFieldCount = "[+DB_ANZDBF      ]";
constexpr const char* kRecordCount = "[+DB_ANZDAS      ]";
// "J ++DB Ä ++SQL" as typed (UTF-8).
constexpr const char* kRunStatement = "J ++DB \xC3\x84 ++SQL";

// A customer table of three rows; texts are UTF-8 in SQLite.
void CreateCustomers(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    const char* script =
        "CREATE TABLE Kunden (Nummer INTEGER, Name TEXT, Ort TEXT, Umsatz REAL, Notiz TEXT);"
        "INSERT INTO Kunden VALUES (1, 'Meier', 'Hamburg', 12.5, 'Stammkunde');"
        "INSERT INTO Kunden VALUES (2, 'M\xC3\xBCller', 'K\xC3\xB6ln', 3.0, NULL);"
        "INSERT INTO Kunden VALUES (3, 'Schulz', 'M\xC3\xBCnchen', -0.125, '1.7.2017');";
    EXPECT_EQ(sqlite3_exec(db, script, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// The lines that set "++SQL" to `statement`; a leading blank is appended to an empty text
// through "[+LEERZEICHEN    ]".
std::vector<std::string> StatementLines(const std::string& statement) {
    if (!statement.starts_with(' ')) {
        return AssignLongText("++SQL", statement);
    }
    std::vector<std::string> lines = AssignLongText("++SQL", statement.substr(1));
    lines.front().replace(lines.front().find(" . "), 3, " - ");
    lines.insert(lines.begin(), "J [+LEERZEICHEN] . (1)");
    return lines;
}

struct DatabaseCase {
    std::string name;
    std::vector<std::string> statements;                      ///< one "Ä" line each, in order
    std::vector<std::pair<std::string, std::string>> values;  ///< name, trimmed value (1252)
    int messages = 0;  ///< how many times the failure message is shown

    friend void PrintTo(const DatabaseCase& row, std::ostream* out) { *out << row.name; }
};

class DatabaseCommandTest : public testing::TestWithParam<DatabaseCase> {};

TEST_P(DatabaseCommandTest, RunsTheStatement) {
    const DatabaseCase& row = GetParam();
    TempDir dir;
    const std::filesystem::path file = dir / "kunden.db";
    CreateCustomers(file);
    std::vector<std::string> lines = AssignLongText("++DB", file.string());
    for (const std::string& statement : row.statements) {
        for (std::string& line : StatementLines(statement)) {
            lines.push_back(std::move(line));
        }
        lines.push_back(kRunStatement);
    }
    DatabaseFiles database;
    ServiceCommandRun run(lines, {&database, {}, true});
    for (const auto& [name, value] : row.values) {
        EXPECT_EQ(run.Value(name), value) << name;
    }
    int failures = 0;
    for (const std::string& text : run.MessageTexts()) {
        failures += text == kFailedMessage ? 1 : 0;
    }
    EXPECT_EQ(failures, row.messages);
    EXPECT_EQ(run.ErrorCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sqlite, DatabaseCommandTest,
    testing::Values(
        DatabaseCase{"SelectOfThreeRows",
                     {"SELECT Name, Ort FROM Kunden ORDER BY Nummer"},
                     {{kFieldCount, "(           2.000)"},
                      {kRecordCount, "(           3.000)"},
                      {"++DB_1_{1}", "Meier"},
                      {"++DB_2_{1}", "Hamburg"},
                      {"++DB_1_{2}", "M\xFCller"},
                      {"++DB_2_{2}", "K\xF6ln"},
                      {"++DB_1_{3}", "Schulz"},
                      {"++DB_2_{3}", "M\xFCnchen"},
                      {"++DB_3_{1}", "<none>"},
                      {"++DB_1_{4}", "<none>"}}},
        DatabaseCase{"LowerCaseSelectIsAQuery",
                     {"select Name from Kunden where Nummer = 2"},
                     {{kFieldCount, "(           1.000)"},
                      {kRecordCount, "(           1.000)"},
                      {"++DB_1_{1}", "M\xFCller"}}},
        DatabaseCase{"UpdateHasNoResult",
                     {"UPDATE Kunden SET Ort = 'Berlin'"},
                     {{kFieldCount, "(           0.000)"},
                      {kRecordCount, "(           0.000)"},
                      {"++DB_1_{1}", "<none>"}}},
        DatabaseCase{"UpdateIsWritten",
                     {"UPDATE Kunden SET Ort = 'Berlin' WHERE Nummer = 3",
                      "SELECT Ort FROM Kunden WHERE Nummer = 3"},
                     {{"++DB_1_{1}", "Berlin"}}},
        DatabaseCase{"EmptyResultSetsTheFieldCount",
                     {"SELECT Name, Ort FROM Kunden WHERE Nummer > 99"},
                     {{kFieldCount, "(           2.000)"},
                      {kRecordCount, "(           0.000)"},
                      {"++DB_1_{1}", "<none>"}}},
        DatabaseCase{"WrongTableShowsTheMessage",
                     {"SELECT Name FROM Lieferanten"},
                     {{kFieldCount, "(           0.000)"}, {kRecordCount, "(           0.000)"}},
                     1},
        DatabaseCase{"FailureResetsTheCountsOfAnEarlierQuery",
                     {"SELECT Name FROM Kunden", "SELEKT Name FROM Kunden"},
                     {{kFieldCount, "(           0.000)"},
                      {kRecordCount, "(           0.000)"},
                      {"++DB_1_{3}", "Schulz"}},
                     1},
        DatabaseCase{"WrongStatementShowsTheMessage",
                     {"DELETE Kunden"},
                     {{kFieldCount, "(           0.000)"}},
                     1},
        DatabaseCase{"NumbersNullsAndDates",
                     {"SELECT Nummer, Umsatz, Notiz, Umsatz * 2 FROM Kunden ORDER BY Nummer"},
                     {{"++DB_1_{1}", "1"},
                      {"++DB_2_{1}", "12.5"},
                      {"++DB_3_{1}", "Stammkunde"},
                      {"++DB_4_{1}", "25"},
                      {"++DB_2_{2}", "3"},
                      {"++DB_3_{2}", ""},
                      {"++DB_2_{3}", "-0.125"},
                      {"++DB_3_{3}", "1.7.2017"}}},
        DatabaseCase{
            "EarlierLargerResultStays",
            {"SELECT Name FROM Kunden ORDER BY Nummer", "SELECT Ort FROM Kunden WHERE Nummer = 1"},
            {{kRecordCount, "(           1.000)"},
             {"++DB_1_{1}", "Hamburg"},
             {"++DB_1_{2}", "M\xFCller"},
             {"++DB_1_{3}", "Schulz"}}},
        DatabaseCase{"LeadingBlankRunsWithoutResult",
                     {" SELECT Name FROM Kunden"},
                     {{kFieldCount, "(           0.000)"},
                      {kRecordCount, "(           0.000)"},
                      {"++DB_1_{1}", "<none>"}}},
        DatabaseCase{"SecondStatementIsRefused",
                     {"UPDATE Kunden SET Ort = 'X'; DELETE FROM Kunden",
                      "SELECT Ort FROM Kunden WHERE Nummer = 1"},
                     {{kRecordCount, "(           1.000)"}, {"++DB_1_{1}", "Hamburg"}},
                     1},
        DatabaseCase{"TextWithQuotesAndUmlauts",
                     {"SELECT Name FROM Kunden WHERE Ort = 'K\xC3\xB6ln'"},
                     {{kRecordCount, "(           1.000)"}, {"++DB_1_{1}", "M\xFCller"}}}),
    CaseName());

// A service that records the requests and answers every query with one row.
class RecordingDatabase final : public DatabaseService {
  public:
    Status Execute(const DatabaseRequest& request) override {
        requests.push_back(request);
        return {};
    }
    Expected<QueryResult> Query(const DatabaseRequest& request) override {
        requests.push_back(request);
        return QueryResult{1, {{"x"}}};
    }
    std::vector<DatabaseRequest> requests;
};

struct ConnectionCase {
    std::string name;
    std::string path;        ///< as the knowledge base writes it (UTF-8)
    std::string connection;  ///< Windows-1252
    std::string file;        ///< the path handed to the service
    friend void PrintTo(const ConnectionCase& row, std::ostream* out) { *out << row.name; }
};

class DatabaseConnectionTest : public testing::TestWithParam<ConnectionCase> {};

TEST_P(DatabaseConnectionTest, FormsTheConnectionText) {
    const ConnectionCase& row = GetParam();
    RecordingDatabase database;
    std::vector<std::string> lines = AssignLongText("++SQL", "SELECT Name FROM Kunden");
    lines.push_back("J ++DB . " + row.path);
    lines.push_back(kRunStatement);
    ServiceCommandRun run(lines, {&database, {}, true});
    ASSERT_EQ(database.requests.size(), 1u);
    EXPECT_EQ(database.requests[0].connection, row.connection);
    EXPECT_EQ(database.requests[0].file.string(), row.file);
    EXPECT_EQ(TrimRight(database.requests[0].sql), "SELECT Name FROM Kunden");
    EXPECT_EQ(run.Value("++DB_1_{1}"), "x");
}

INSTANTIATE_TEST_SUITE_P(
    Providers, DatabaseConnectionTest,
    testing::Values(
        ConnectionCase{"MdbChoosesJet", "c:\\daten\\kunden.mdb",
                       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\DATEN\\KUNDEN.MDB;"
                       "Persist Security Info=False",
                       "c:/daten/kunden.mdb"},
        ConnectionCase{"AccdbChoosesAce", "daten/kunden.accdb",
                       "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=DATEN/KUNDEN.ACCDB;"
                       "Persist Security Info=False",
                       "daten/kunden.accdb"},
        ConnectionCase{"SqliteFileChoosesAce", "kunden.db",
                       "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=KUNDEN.DB;"
                       "Persist Security Info=False",
                       "kunden.db"},
        ConnectionCase{"UmlautInThePath", "m\xC3\xBCller.db",
                       "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=M\xDCLLER.DB;"
                       "Persist Security Info=False",
                       "m\xC3\xBCller.db"}),
    CaseName());

struct MissingCase {
    std::string name;
    std::vector<std::string> lines;
    friend void PrintTo(const MissingCase& row, std::ostream* out) { *out << row.name; }
};

class DatabaseMissingVariableTest : public testing::TestWithParam<MissingCase> {};

TEST_P(DatabaseMissingVariableTest, IsError17AndRunsNothing) {
    RecordingDatabase database;
    ServiceCommandRun run(GetParam().lines, {&database, {}, true});
    EXPECT_EQ(run.ErrorCode(), 17);
    EXPECT_TRUE(database.requests.empty());
    EXPECT_EQ(run.Value(kFieldCount), "<none>");
}

INSTANTIATE_TEST_SUITE_P(Required, DatabaseMissingVariableTest,
                         testing::Values(MissingCase{"NoFile", {"J ++SQL . SELECT", kRunStatement}},
                                         MissingCase{"NoStatement",
                                                     {"J ++DB . k.db", kRunStatement}},
                                         MissingCase{"Neither", {kRunStatement}}),
                         CaseName());

TEST(DatabaseCommand, UpperCasedPathIsFound) {
    TempDir dir;
    const std::filesystem::path file = dir / "kunden.db";
    CreateCustomers(file);
    std::vector<std::string> lines = AssignLongText("++DB", ToUpper(file.string()));
    for (std::string& line : AssignLongText("++SQL", "SELECT Name FROM Kunden")) {
        lines.push_back(std::move(line));
    }
    lines.push_back(kRunStatement);
    DatabaseFiles database;
    ServiceCommandRun run(lines, {&database, {}, true});
    EXPECT_EQ(run.Value(kRecordCount), "(           3.000)");
    EXPECT_TRUE(run.MessageTexts().empty());
}

TEST(DatabaseCommand, MissingFileFailsAndIsNotCreated) {
    TempDir dir;
    const std::filesystem::path file = dir / "fehlt.db";
    std::vector<std::string> lines = AssignLongText("++DB", file.string());
    for (std::string& line : AssignLongText("++SQL", "CREATE TABLE Neu(A)")) {
        lines.push_back(std::move(line));
    }
    lines.push_back(kRunStatement);
    DatabaseFiles database;
    ServiceCommandRun run(lines, {&database, {}, true});
    EXPECT_EQ(run.MessageTexts(), std::vector<std::string>{kFailedMessage});
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(run.ErrorCode(), 0);
}

TEST(DatabaseCommand, WithoutServiceShowsTheMessageAndGoesOn) {
    ServiceCommandRun run({"J ++DB . k.db", "J ++SQL . SELECT", kRunStatement, "J +T . weiter"},
                          {nullptr, {}, true});
    EXPECT_EQ(run.MessageTexts(), std::vector<std::string>{kFailedMessage});
    EXPECT_EQ(run.Value(kFieldCount), "(           0.000)");
    EXPECT_EQ(run.Value("+T"), "weiter");
}

// Access files: MDB Tools reads them; nothing may change them.
struct AccessCase {
    std::string name;
    std::string file;  ///< created in the folder with `content` unless empty
    std::string content;
    std::string statement;
    friend void PrintTo(const AccessCase& row, std::ostream* out) { *out << row.name; }
};

class AccessFileTest : public testing::TestWithParam<AccessCase> {};

TEST_P(AccessFileTest, FailsCleanlyAndLeavesTheFile) {
    const AccessCase& row = GetParam();
    TempDir dir;
    const std::filesystem::path file = dir / row.file;
    if (!row.content.empty()) {
        std::ofstream(file, std::ios::binary) << row.content;
    }
    std::vector<std::string> lines = AssignLongText("++DB", file.string());
    for (std::string& line : AssignLongText("++SQL", row.statement)) {
        lines.push_back(std::move(line));
    }
    lines.push_back(kRunStatement);
    lines.push_back("J +T . weiter");
    DatabaseFiles database;
    ServiceCommandRun run(lines, {&database, {}, true});
    EXPECT_EQ(run.MessageTexts(), std::vector<std::string>{kFailedMessage});
    EXPECT_EQ(run.Value(kFieldCount), "(           0.000)");
    EXPECT_EQ(run.Value(kRecordCount), "(           0.000)");
    EXPECT_EQ(run.Value("+T"), "weiter");
    if (!row.content.empty()) {
        std::ifstream in(file, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), row.content);
    } else {
        EXPECT_FALSE(std::filesystem::exists(file));
    }
}

INSTANTIATE_TEST_SUITE_P(
    MdbTools, AccessFileTest,
    testing::Values(AccessCase{"QueryOnAFileThatIsNoAccessFile", "kunden.mdb",
                               std::string(4096, 'x'), "SELECT Name FROM Kunden"},
                    AccessCase{"QueryOnAMissingFile", "fehlt.mdb", "", "SELECT Name FROM Kunden"},
                    AccessCase{"UpdateIsRefused", "kunden.mdb", std::string(4096, 'x'),
                               "UPDATE Kunden SET Ort = 'Berlin'"},
                    AccessCase{"AccdbUpdateIsRefused", "kunden.ACCDB", std::string(4096, 'x'),
                               "DELETE FROM Kunden"}),
    CaseName());

}  // namespace
}  // namespace kelvo
