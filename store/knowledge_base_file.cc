#include "store/knowledge_base_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <type_traits>
#include <utility>

#include "store/file_fault_injector.h"

namespace kelvo {
namespace {

constexpr auto kRecordSize = static_cast<off_t>(LineRecord::kSize);

// Reads exactly `size` bytes at `offset`, retrying short reads and interruptions.
bool ReadFully(int fd, void* buffer, std::size_t size, off_t offset) {
    auto* out = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::pread(fd, out, size, offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;  // the file got shorter under us
            }
            return false;
        }
        out += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

bool WriteFully(int fd, const void* buffer, std::size_t size, off_t offset) {
    const auto* in = static_cast<const char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, in, size, offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        in += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

std::string SizeMessage(off_t size) {
    return "Die Dateigröße (" + std::to_string(size) +
           " Bytes) ist kein Vielfaches von 84: keine Wissensbasis-Datei";
}

}  // namespace

KnowledgeBaseFile::KnowledgeBaseFile(std::filesystem::path path, Mode mode, int fd)
    : path_(std::move(path)), mode_(mode), fd_(fd) {}

KnowledgeBaseFile::KnowledgeBaseFile(KnowledgeBaseFile&& other) noexcept
    : path_(std::move(other.path_)), mode_(other.mode_), fd_(std::exchange(other.fd_, -1)) {}

KnowledgeBaseFile& KnowledgeBaseFile::operator=(KnowledgeBaseFile&& other) noexcept {
    if (this != &other) {
        Close();
        path_ = std::move(other.path_);
        mode_ = other.mode_;
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

KnowledgeBaseFile::~KnowledgeBaseFile() {
    Close();
}

void KnowledgeBaseFile::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

Error KnowledgeBaseFile::IoError(const std::string& what) const {
    return Error{path_.string() + ": " + what + " (" + std::strerror(errno) + ")"};
}

Error KnowledgeBaseFile::RecordError(int n, const std::string& what) const {
    // Records are shown to the user as line numbers, counted from 1.
    return Error{path_.string() + ":" + std::to_string(n + 1) + ": " + what};
}

Expected<KnowledgeBaseFile> KnowledgeBaseFile::Create(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return Error{path.string() + ": Datei kann nicht angelegt werden (" + std::strerror(errno) +
                     ")"};
    }
    return KnowledgeBaseFile(path, Mode::ReadWrite, fd);
}

Expected<KnowledgeBaseFile> KnowledgeBaseFile::Open(const std::filesystem::path& path, Mode mode) {
    const int flags = (mode == Mode::ReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
        return Error{path.string() + ": Datei kann nicht geöffnet werden (" + std::strerror(errno) +
                     ")"};
    }
    KnowledgeBaseFile file(path, mode, fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return file.IoError("Datei kann nicht gelesen werden");
    }
    if (!S_ISREG(st.st_mode)) {
        return Error{path.string() + ": keine gewöhnliche Datei"};
    }
    if (st.st_size % kRecordSize != 0) {
        return Error{path.string() + ": " + SizeMessage(st.st_size)};
    }
    return file;
}

Expected<int> KnowledgeBaseFile::RecordCount() const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
        return IoError("Datei kann nicht gelesen werden");
    }
    if (st.st_size % kRecordSize != 0) {
        return Error{path_.string() + ": " + SizeMessage(st.st_size)};
    }
    const off_t count = st.st_size / kRecordSize;
    if (count > INT32_MAX) {
        return Error{path_.string() + ": Datei ist zu groß"};
    }
    return static_cast<int>(count);
}

Expected<LineRecord> KnowledgeBaseFile::ReadRecord(int n) const {
    auto count = RecordCount();
    if (!count) {
        return count.error();
    }
    if (n < 0 || n >= *count) {
        return RecordError(n, "Satz liegt hinter dem Dateiende");
    }
    std::uint8_t raw[LineRecord::kSize];
    if (!ReadFully(fd_, raw, sizeof raw, n * kRecordSize)) {
        return IoError("Lesefehler in Satz " + std::to_string(n + 1));
    }
    LineRecord record = LineRecord::FromBytes(raw);
    if (!record.HasValidLength()) {
        return RecordError(n, "Satzlänge " + std::to_string(raw[0]) + " ist größer als 83");
    }
    return record;
}

Expected<std::vector<LineRecord>> KnowledgeBaseFile::ReadAll() const {
    static_assert(
        sizeof(LineRecord) == LineRecord::kSize && std::is_trivially_copyable_v<LineRecord>,
        "records are read straight into memory");
    auto count = RecordCount();
    if (!count) {
        return count.error();
    }
    std::vector<LineRecord> records(static_cast<std::size_t>(*count));
    if (!records.empty() &&
        !ReadFully(fd_, records.data(), records.size() * LineRecord::kSize, 0)) {
        return IoError("Lesefehler");
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!records[i].HasValidLength()) {  // corrupt record
            return RecordError(
                static_cast<int>(i),
                "Satzlänge " + std::to_string(records[i].bytes()[0]) + " ist größer als 83");
        }
    }
    return records;
}

Expected<std::vector<LineRecord>> KnowledgeBaseFile::ReadAll(int maxRecords) const {
    auto count = RecordCount();
    if (!count) {
        return count.error();
    }
    if (*count > maxRecords) {
        return Error{path_.string() + ": Die Wissensbasis hat mehr als " +
                     std::to_string(maxRecords) + " Zeilen"};
    }
    return ReadAll();
}

Status KnowledgeBaseFile::WriteRecord(int n, const LineRecord& record, FileFaultInjector* faults) {
    if (mode_ == Mode::ReadOnly) {
        return Error{path_.string() + ": Datei ist nur zum Lesen geöffnet"};
    }
    auto count = RecordCount();
    if (!count) {
        return count.error();
    }
    if (n < 0 || n > *count) {
        return RecordError(n, "Satz liegt hinter dem Dateiende");
    }
    // A record written over is kept, so that a failed write can put it back: half a record
    // of each would be a corrupt line.
    std::uint8_t previous[LineRecord::kSize];
    if (n < *count && !ReadFully(fd_, previous, sizeof previous, n * kRecordSize)) {
        return IoError("Lesefehler in Satz " + std::to_string(n + 1));
    }
    // An injected failure writes half of the record, as a disk that fills up does.
    const bool injected = faults != nullptr && faults->ShouldFail(FileWriteStep::Write);
    const std::size_t size = injected ? LineRecord::kSize / 2 : LineRecord::kSize;
    if (!WriteFully(fd_, record.bytes().data(), size, n * kRecordSize) || injected) {
        if (injected) {
            errno = ENOSPC;
        }
        Error error = IoError("Schreibfehler in Satz " + std::to_string(n + 1));
        const int saved = errno;
        if (n == *count) {
            // A partial record at the end would make the whole file unreadable.
            if (::ftruncate(fd_, *count * kRecordSize) != 0) {
                error.message += "; die Datei konnte nicht auf ihre alte Länge gekürzt werden";
            }
        } else if (!WriteFully(fd_, previous, sizeof previous, n * kRecordSize)) {
            error.message += "; der alte Satz konnte nicht wiederhergestellt werden";
        }
        errno = saved;
        return error;
    }
    return {};
}

Status KnowledgeBaseFile::Append(const LineRecord& record) {
    auto count = RecordCount();
    if (!count) {
        return count.error();
    }
    return WriteRecord(*count, record);
}

Status KnowledgeBaseFile::WriteAll(const std::vector<LineRecord>& records) {
    if (mode_ == Mode::ReadOnly) {
        return Error{path_.string() + ": Datei ist nur zum Lesen geöffnet"};
    }
    std::vector<std::uint8_t> raw;
    raw.reserve(records.size() * LineRecord::kSize);
    for (const LineRecord& record : records) {
        raw.insert(raw.end(), record.bytes().begin(), record.bytes().end());
    }
    if (::ftruncate(fd_, 0) != 0 || (!raw.empty() && !WriteFully(fd_, raw.data(), raw.size(), 0))) {
        return IoError("Schreibfehler");
    }
    return {};
}

namespace {

std::vector<std::uint8_t> RecordBytes(const std::vector<LineRecord>& records) {
    std::vector<std::uint8_t> raw;
    raw.reserve(records.size() * LineRecord::kSize);
    for (const LineRecord& record : records) {
        raw.insert(raw.end(), record.bytes().begin(), record.bytes().end());
    }
    return raw;
}

}  // namespace

ReplaceOutcome KnowledgeBaseFile::ReplaceAll(const std::vector<LineRecord>& records,
                                             FileFaultInjector* faults) {
    if (mode_ == Mode::ReadOnly || fd_ < 0) {
        return {false, Error{path_.string() + (fd_ < 0 ? ": Datei ist nicht geöffnet"
                                                       : ": Datei ist nur zum Lesen geöffnet")}};
    }
    int newFd = -1;
    ReplaceOutcome outcome =
        ReplaceFileContent(path_, RecordBytes(records), ReplaceMode::Overwrite, faults, &newFd);
    if (outcome.replaced) {
        // The path now names the new file; go on with it (it is open read-write already).
        ::close(fd_);
        fd_ = newFd;
    }
    return outcome;
}

ReplaceOutcome KnowledgeBaseFile::CreateWith(const std::filesystem::path& path,
                                             const std::vector<LineRecord>& records,
                                             FileFaultInjector* faults) {
    return ReplaceFileContent(path, RecordBytes(records), ReplaceMode::CreateNew, faults);
}

ReplaceOutcome KnowledgeBaseFile::ReplaceWith(const std::filesystem::path& path,
                                              const std::vector<LineRecord>& records,
                                              FileFaultInjector* faults) {
    return ReplaceFileContent(path, RecordBytes(records), ReplaceMode::Overwrite, faults);
}

Status KnowledgeBaseFile::Truncate(int count) {
    if (mode_ == Mode::ReadOnly) {
        return Error{path_.string() + ": Datei ist nur zum Lesen geöffnet"};
    }
    if (count < 0 || ::ftruncate(fd_, count * kRecordSize) != 0) {
        return IoError("Datei kann nicht gekürzt werden");
    }
    return {};
}

}  // namespace kelvo
