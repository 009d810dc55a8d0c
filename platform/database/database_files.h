#pragma once

#include "platform/database/mdb_database.h"
#include "platform/database/sqlite_database.h"

namespace kelvo {

/// The database service of the desktops: a file whose name ends in ".MDB" or ".ACCDB" (in any
/// case) is an Access file, read through MDB Tools; every other file is an SQLite database.
class DatabaseFiles final : public DatabaseService {
  public:
    Status Execute(const DatabaseRequest& request) override;
    Expected<QueryResult> Query(const DatabaseRequest& request) override;

    /// True for a file read as an Access file.
    static bool IsAccessFile(const std::filesystem::path& file);

  private:
    DatabaseService& For(const std::filesystem::path& file);

    SqliteDatabase sqlite_;
    MdbDatabase access_;
};

}  // namespace kelvo
