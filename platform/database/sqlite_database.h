#pragma once

#include "platform/database_service.h"

namespace kelvo {

/// SQLite database files, the embedded default of the database command. The file must exist
/// and is never created. Statements and texts are UTF-8 inside SQLite and Windows-1252
/// outside. Values become texts as follows: a null is empty, an integer is written in decimal
/// ("42", "-7"), a real with up to 15 significant digits and "." as the decimal point, without
/// trailing zeros ("12.5", "3", "1e+20" from 10^15 on), a text (also a date kept as text)
/// unchanged, a blob as its bytes.
class SqliteDatabase final : public DatabaseService {
  public:
    Status Execute(const DatabaseRequest& request) override;
    Expected<QueryResult> Query(const DatabaseRequest& request) override;
};

}  // namespace kelvo
