#pragma once

#include "platform/database_service.h"

namespace kelvo {

/// Access database files (".MDB", ".ACCDB"), read through MDB Tools and never written. Only
/// queries run, in the SQL that MDB Tools understands; every other statement fails, since it
/// would change the file. Values are the texts MDB Tools gives, converted to Windows-1252: a
/// null is empty, numbers are written with "." as the decimal point, a date and time as
/// "DD.MM.YYYY HH:MM:SS".
class MdbDatabase final : public DatabaseService {
  public:
    Status Execute(const DatabaseRequest& request) override;
    Expected<QueryResult> Query(const DatabaseRequest& request) override;
};

}  // namespace kelvo
