#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "store/expected.h"
#include "store/line_record.h"

namespace kelvo {

// A knowledge-base file (".WBP" editable, ".WBB" run-only) is a plain sequence of 84-byte
// LineRecords with no header: record n (from 0) occupies bytes 84 * n to 84 * n + 83, and the
// size is a multiple of 84. See line_record.h for the record layout.
class KnowledgeBaseFile {
  public:
    enum class Mode { ReadOnly, ReadWrite };

    /// Creates `path` as an empty record file (truncating an existing one), open read-write.
    static Expected<KnowledgeBaseFile> Create(const std::filesystem::path& path);

    /// Opens an existing record file. Fails when it is missing or unreadable, or when its size
    /// is not a multiple of 84. A read-only file is never written.
    static Expected<KnowledgeBaseFile> Open(const std::filesystem::path& path, Mode mode);

    KnowledgeBaseFile(KnowledgeBaseFile&& other) noexcept;
    KnowledgeBaseFile& operator=(KnowledgeBaseFile&& other) noexcept;
    KnowledgeBaseFile(const KnowledgeBaseFile&) = delete;
    KnowledgeBaseFile& operator=(const KnowledgeBaseFile&) = delete;
    ~KnowledgeBaseFile();

    const std::filesystem::path& path() const { return path_; }
    Mode mode() const { return mode_; }

    /// Number of records; fails when the file cannot be examined or its size is not a multiple
    /// of 84 (someone else changed it).
    Expected<int> RecordCount() const;

    /// Reads record n; fails beyond the end or for a length byte above 83.
    Expected<LineRecord> ReadRecord(int n) const;

    /// Reads every record with one read of the whole file; fails at the first corrupt record,
    /// naming it.
    Expected<std::vector<LineRecord>> ReadAll() const;

    /// Writes record n (0 <= n <= count; n = count appends).
    Status WriteRecord(int n, const LineRecord& record);

    /// Appends one record.
    Status Append(const LineRecord& record);

    /// Replaces the whole content by `records`, written with one write.
    Status WriteAll(const std::vector<LineRecord>& records);

    /// Cuts the file to its first `count` records.
    Status Truncate(int count);

    /// Closes the file; later calls fail. Called by the destructor.
    void Close();

  private:
    KnowledgeBaseFile(std::filesystem::path path, Mode mode, int fd);

    Error IoError(const std::string& what) const;
    Error RecordError(int n, const std::string& what) const;

    std::filesystem::path path_;
    Mode mode_ = Mode::ReadOnly;
    int fd_ = -1;
};

}  // namespace kelvo
