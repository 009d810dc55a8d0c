#include "platform/database/database_files.h"

#include "store/windows1252.h"

namespace kelvo {

bool DatabaseFiles::IsAccessFile(const std::filesystem::path& file) {
    const std::string name = ToUpper(file.filename().string());
    return name.ends_with("MDB") || name.ends_with("ACCDB");
}

DatabaseService& DatabaseFiles::For(const std::filesystem::path& file) {
    if (IsAccessFile(file)) {
        return access_;
    }
    return sqlite_;
}

Status DatabaseFiles::Execute(const DatabaseRequest& request) {
    return For(request.file).Execute(request);
}

Expected<QueryResult> DatabaseFiles::Query(const DatabaseRequest& request) {
    return For(request.file).Query(request);
}

}  // namespace kelvo
