// The database command "Ä": one SQL statement on a database file.
#include <algorithm>
#include <cstdint>
#include <string>

#include "commands/command_handlers.h"
#include "commands/variable_command.h"
#include "platform/database_service.h"
#include "platform/path_lookup.h"
#include "store/knowledge_base_image.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr std::string_view kFieldCountName = "[+DB_ANZDBF      ]";
constexpr std::string_view kRecordCountName = "[+DB_ANZDAS      ]";
constexpr std::string_view kStatementFailedMessage =
    "Fehler beim ausf\xFChren der SQL-Anwei\xDFung";
// A plain message box carries the application's title.
constexpr std::string_view kApplicationTitle = "Expertensystem KELVO";

// The connection text of the provider the (upper-case) path chooses: Jet for a name ending
// in "MDB", ACE for every other.
std::string ConnectionText(const std::string& path) {
    const std::string provider =
        path.ends_with("MDB") ? "Microsoft.Jet.OLEDB.4.0" : "Microsoft.ACE.OLEDB.12.0";
    return "Provider=" + provider + ";Data Source=" + path + ";Persist Security Info=False";
}

// "++DB_" + field + "_{" + row + "}", both counted from 1.
std::string ResultName(std::size_t field, std::size_t row) {
    return "++DB_" + std::to_string(field) + "_{" + std::to_string(row) + "}";
}

// Runs the statement; false when it failed (the counts are then as they were stored before).
bool RunStatement(VariableLine& line, DatabaseService& database, const DatabaseRequest& request) {
    // Only the very first character decides: a statement with leading blanks is no query.
    if (request.sql.empty() || ToUpperByte(request.sql[0]) != 'S') {
        return database.Execute(request).ok();
    }
    Expected<QueryResult> result = database.Query(request);
    if (!result) {
        return false;
    }
    // Rows the fact base has no room for were counted by the service but not kept; storing the
    // kept ones fills the image, which ends the consultation.
    const std::uintmax_t rowCount = result->rows.size() + result->omittedRows;
    if (!line.Store(kFieldCountName, FormatStoredNumber(static_cast<double>(result->fieldCount))) ||
        !line.Store(kRecordCountName, FormatStoredNumber(static_cast<double>(rowCount)))) {
        return true;  // a full image ends the block; the engine reports it
    }
    for (std::size_t r = 0; r < result->rows.size(); ++r) {
        const std::vector<std::string>& row = result->rows[r];
        for (std::size_t f = 0; f < row.size(); ++f) {
            if (!line.Store(ResultName(f + 1, r + 1), row[f])) {
                return true;
            }
        }
    }
    return true;
}

}  // namespace

// "Ä" the name variable is the database file, the operand variable the SQL statement. A
// query's result goes into "++DB_f_{r}" with its counts in "[+DB_ANZDBF      ]" and
// "[+DB_ANZDAS      ]"; every failure shows one message and the block goes on.
void RunSqlStatement(VariableLine& line) {
    const std::optional<std::string> file = line.NameValue();
    const std::optional<std::string> statement = line.OperandValue();
    if (!file || !statement) {
        line.Fail();
        return;
    }
    if (!line.Store(kFieldCountName, FormatStoredNumber(0.0)) ||
        !line.Store(kRecordCountName, FormatStoredNumber(0.0))) {
        return;
    }
    const std::string written = TrimRight(*file);
    DatabaseRequest request;
    request.connection = ConnectionText(ToUpper(written));
    // The name as written is found first; ResolvePath finds an upper-cased one without case.
    request.file = ResolvePath(written);
    request.sql = *statement;
    const KnowledgeBaseImage& image = line.consultation().image();
    request.keepRecords =
        static_cast<std::uintmax_t>(std::max(0, image.ImageCapacity() - image.LastRecord() - 1));
    DatabaseService* database = line.consultation().services().database;
    if (database == nullptr || !RunStatement(line, *database, request)) {
        line.consultation().ShowMessage(kStatementFailedMessage, kApplicationTitle,
                                        MessageIcon::None, MessageButtons::Ok);
    }
}

}  // namespace kelvo
