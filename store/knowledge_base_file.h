#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "store/atomic_file.h"
#include "store/expected.h"
#include "store/line_record.h"

namespace kelvo {

class FileFaultInjector;

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

    /// The same, but fails before reading anything when the file holds more than `maxRecords`
    /// records ("FILE: Die Wissensbasis hat mehr als N Zeilen"), so that a huge file costs no
    /// memory.
    Expected<std::vector<LineRecord>> ReadAll(int maxRecords) const;

    /// Writes record n in place (0 <= n <= count; n = count appends). A failed append cuts
    /// the file back to its old length and a failed write over a record puts the old record
    /// back, so no partial record stays behind. `faults` (tests only) can make the write fail.
    Status WriteRecord(int n, const LineRecord& record, FileFaultInjector* faults = nullptr);

    /// Appends one record.
    Status Append(const LineRecord& record);

    /// Replaces the whole content by `records`, written with one write.
    Status WriteAll(const std::vector<LineRecord>& records);

    /// Replaces the whole content by `records` through a new file renamed over this one (see
    /// ReplaceFileContent), so that a failure or a crash at any point leaves the file with
    /// either its old or its new records. The file keeps its permissions and stays open, on the
    /// new content once `replaced`; on a failure before the rename it still holds the old
    /// records and stays open on them. Fails for a read-only file.
    ReplaceOutcome ReplaceAll(const std::vector<LineRecord>& records,
                              FileFaultInjector* faults = nullptr);

    /// Creates `path` holding `records`, written completely beside it first and renamed into
    /// place. Fails without writing anything when a file of that name exists, and leaves no
    /// file behind on any other failure; `replaced` with a failed status means the file is
    /// complete but flushing its folder failed.
    static ReplaceOutcome CreateWith(const std::filesystem::path& path,
                                     const std::vector<LineRecord>& records,
                                     FileFaultInjector* faults = nullptr);

    /// Replaces the content of the file `path` by `records` (creating a missing file) through
    /// ReplaceFileContent: a failure at any step leaves the old file as it was, or no file,
    /// and nothing beside it. A file that is replaced keeps its permissions.
    static ReplaceOutcome ReplaceWith(const std::filesystem::path& path,
                                      const std::vector<LineRecord>& records,
                                      FileFaultInjector* faults = nullptr);

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
