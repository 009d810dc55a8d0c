#include "store/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "store/file_fault_injector.h"
#include "store/knowledge_base_file.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

unsigned Permissions(const std::filesystem::path& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class AtomicFileTest : public testing::Test {
  protected:
    std::filesystem::path target() const { return dir_ / "A.WBP"; }
    TempDir dir_;
};

TEST_F(AtomicFileTest, ReplacesTheContentAndKeepsThePermissions) {
    WriteBytes(target(), "old content");
    ASSERT_EQ(::chmod(target().c_str(), 0640), 0);
    const ReplaceOutcome outcome = ReplaceFileContent(target(), Bytes("new"));
    EXPECT_TRUE(outcome.replaced);
    EXPECT_TRUE(outcome.status.ok()) << outcome.status.error().message;
    EXPECT_EQ(ReadBytes(target()), "new");
    EXPECT_EQ(Permissions(target()), 0640u);
    EXPECT_EQ(FolderEntries(dir_.path()), std::vector<std::string>{"A.WBP"});
}

// Replaces `target` as an ordinary user: as root (who may write every file) in a child that
// has given up root for "nobody", otherwise in this process. Returns how it ended.
struct ReplaceAsUser {
    bool replaced = false;
    bool refusedAsWriteProtected = false;
};
ReplaceAsUser ReplaceAsAnOrdinaryUser(const std::filesystem::path& target) {
    const auto replace = [&target] {
        const ReplaceOutcome outcome = ReplaceFileContent(target, Bytes("new"));
        return ReplaceAsUser{outcome.replaced,
                             !outcome.status.ok() &&
                                 outcome.status.error().message.find("schreibgesch\xC3\xBCtzt") !=
                                     std::string::npos};
    };
    if (::geteuid() != 0) {
        return replace();
    }
    constexpr uid_t kNobody = 65534;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            std::_Exit(3);
        }
        const ReplaceAsUser result = replace();
        std::_Exit((result.replaced ? 1 : 0) | (result.refusedAsWriteProtected ? 0 : 2));
    }
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    const int code = WEXITSTATUS(status);
    EXPECT_NE(code, 3) << "the child could not become an ordinary user";
    return ReplaceAsUser{(code & 1) != 0, (code & 2) == 0};
}

// A file the process may not write is refused, although renaming over it would succeed (the
// folder is open to everybody).
TEST_F(AtomicFileTest, AFileWeMayNotWriteIsNotReplaced) {
    WriteBytes(target(), "old content");
    ASSERT_EQ(::chmod(target().c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir_.path().c_str(), 0777), 0);
    const ReplaceAsUser outcome = ReplaceAsAnOrdinaryUser(target());
    EXPECT_FALSE(outcome.replaced);
    EXPECT_TRUE(outcome.refusedAsWriteProtected);
    EXPECT_EQ(ReadBytes(target()), "old content");
    EXPECT_EQ(FolderEntries(dir_.path()), std::vector<std::string>{"A.WBP"});
}

TEST_F(AtomicFileTest, CreatesAMissingFile) {
    const ReplaceOutcome outcome = ReplaceFileContent(target(), Bytes("new"));
    EXPECT_TRUE(outcome.replaced);
    EXPECT_EQ(ReadBytes(target()), "new");
}

TEST_F(AtomicFileTest, ReplacesAStalePartialFileOfAnEarlierCrash) {
    WriteBytes(target(), "old");
    WriteBytes(PartialFilePath(target()), "half of something");
    EXPECT_TRUE(ReplaceFileContent(target(), Bytes("new")).replaced);
    EXPECT_EQ(ReadBytes(target()), "new");
    EXPECT_EQ(FolderEntries(dir_.path()), std::vector<std::string>{"A.WBP"});
}

TEST_F(AtomicFileTest, ReplacesTheFileBehindASymbolicLink) {
    std::filesystem::create_directory(dir_ / "real");
    WriteBytes(dir_ / "real" / "B.WBP", "old");
    std::filesystem::create_symlink(dir_ / "real" / "B.WBP", target());
    EXPECT_TRUE(ReplaceFileContent(target(), Bytes("new")).replaced);
    EXPECT_TRUE(std::filesystem::is_symlink(target()));
    EXPECT_EQ(ReadBytes(dir_ / "real" / "B.WBP"), "new");
    EXPECT_EQ(FolderEntries(dir_ / "real"), std::vector<std::string>{"B.WBP"});
}

TEST_F(AtomicFileTest, CreateNewNeverReplacesAFile) {
    WriteBytes(target(), "old");
    const ReplaceOutcome outcome =
        ReplaceFileContent(target(), Bytes("new"), ReplaceMode::CreateNew);
    EXPECT_FALSE(outcome.replaced);
    EXPECT_FALSE(outcome.status.ok());
    EXPECT_EQ(ReadBytes(target()), "old");
    EXPECT_EQ(FolderEntries(dir_.path()), std::vector<std::string>{"A.WBP"});
}

TEST_F(AtomicFileTest, FailsInAMissingFolderWithoutLeavingAnything) {
    const ReplaceOutcome outcome = ReplaceFileContent(dir_ / "none" / "A.WBP", Bytes("new"));
    EXPECT_FALSE(outcome.replaced);
    EXPECT_FALSE(outcome.status.ok());
    EXPECT_TRUE(FolderEntries(dir_.path()).empty());
}

struct StepCase {
    FileWriteStep step;
    bool replaced;  // the target holds the new content after the failure
};

class AtomicFileStepTest : public AtomicFileTest, public testing::WithParamInterface<StepCase> {};

TEST_P(AtomicFileStepTest, FailureLeavesTheOldOrTheNewContentAndNoPartialFile) {
    const std::string oldContent(84 * 3, 'o');
    const std::string newContent(84 * 5, 'n');
    for (ReplaceMode mode : {ReplaceMode::Overwrite, ReplaceMode::CreateNew}) {
        std::filesystem::remove(target());
        if (mode == ReplaceMode::Overwrite) {
            WriteBytes(target(), oldContent);
        }
        FileFaultInjector faults;
        faults.FailAt(GetParam().step, 1);
        int fd = 0;
        const ReplaceOutcome outcome =
            ReplaceFileContent(target(), Bytes(newContent), mode, &faults, &fd);
        EXPECT_EQ(faults.Failures(), 1);
        EXPECT_FALSE(outcome.status.ok());
        EXPECT_EQ(outcome.replaced, GetParam().replaced);
        const bool exists = std::filesystem::exists(target());
        if (GetParam().replaced) {
            EXPECT_EQ(ReadBytes(target()), newContent);
            EXPECT_GE(fd, 0);
        } else {
            EXPECT_EQ(fd, -1);
            if (mode == ReplaceMode::Overwrite) {
                EXPECT_EQ(ReadBytes(target()), oldContent);
            } else {
                EXPECT_FALSE(exists);
            }
        }
        if (fd >= 0) {
            ::close(fd);
        }
        EXPECT_FALSE(std::filesystem::exists(PartialFilePath(target())));
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, AtomicFileStepTest,
                         testing::Values(StepCase{FileWriteStep::Create, false},
                                         StepCase{FileWriteStep::Write, false},
                                         StepCase{FileWriteStep::Sync, false},
                                         StepCase{FileWriteStep::Rename, false},
                                         StepCase{FileWriteStep::SyncFolder, true}),
                         [](const testing::TestParamInfo<StepCase>& row) {
                             return std::string(FileWriteStepName(row.param.step));
                         });

TEST(FileFaultInjector, FailsTheNthStepOverAllKindsOrTheNthOccurrenceOfOne) {
    FileFaultInjector overAll;
    overAll.FailAtStep(3);
    EXPECT_FALSE(overAll.ShouldFail(FileWriteStep::Create));
    EXPECT_FALSE(overAll.ShouldFail(FileWriteStep::Write));
    EXPECT_TRUE(overAll.ShouldFail(FileWriteStep::Write));
    EXPECT_FALSE(overAll.ShouldFail(FileWriteStep::Sync));
    EXPECT_EQ(overAll.StepsSeen(), 4);
    EXPECT_EQ(overAll.Occurrences(FileWriteStep::Write), 2);

    FileFaultInjector ofOne;
    ofOne.FailAt(FileWriteStep::Rename, 2);
    EXPECT_FALSE(ofOne.ShouldFail(FileWriteStep::Rename));
    EXPECT_FALSE(ofOne.ShouldFail(FileWriteStep::Create));
    EXPECT_TRUE(ofOne.ShouldFail(FileWriteStep::Rename));
    EXPECT_EQ(ofOne.Failures(), 1);
}

// ---- The knowledge-base file on top of it --------------------------------------------------

std::vector<LineRecord> Records(std::initializer_list<const char*> texts) {
    std::vector<LineRecord> records;
    for (const char* text : texts) {
        records.emplace_back(text);
    }
    return records;
}

TEST_F(AtomicFileTest, ReplaceAllKeepsTheFileOpenOnTheNewContent) {
    auto file = KnowledgeBaseFile::Create(target());
    ASSERT_TRUE(file.ok());
    ASSERT_TRUE(file->WriteAll(Records({"K 1", "K 2"})).ok());
    ASSERT_EQ(::chmod(target().c_str(), 0600), 0);

    const ReplaceOutcome outcome = file->ReplaceAll(Records({"K a", "K b", "K c"}));
    ASSERT_TRUE(outcome.replaced);
    ASSERT_TRUE(outcome.status.ok());
    EXPECT_EQ(*file->RecordCount(), 3);
    ASSERT_TRUE(file->WriteRecord(1, LineRecord("K B")).ok());
    ASSERT_TRUE(file->Append(LineRecord("K d")).ok());

    auto again = KnowledgeBaseFile::Open(target(), KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(*again->ReadAll(), Records({"K a", "K B", "K c", "K d"}));
    EXPECT_EQ(Permissions(target()), 0600u);
}

TEST_F(AtomicFileTest, FailedReplaceAllKeepsTheFileOpenOnTheOldContent) {
    auto file = KnowledgeBaseFile::Create(target());
    ASSERT_TRUE(file.ok());
    ASSERT_TRUE(file->WriteAll(Records({"K 1", "K 2"})).ok());
    FileFaultInjector faults;
    faults.FailAt(FileWriteStep::Rename, 1);
    const ReplaceOutcome outcome = file->ReplaceAll(Records({"K a"}), &faults);
    EXPECT_FALSE(outcome.replaced);
    EXPECT_FALSE(outcome.status.ok());
    ASSERT_TRUE(file->WriteRecord(0, LineRecord("K one")).ok());
    EXPECT_EQ(*file->ReadAll(), Records({"K one", "K 2"}));
    EXPECT_FALSE(std::filesystem::exists(PartialFilePath(target())));
}

TEST_F(AtomicFileTest, ReadOnlyFileIsNotReplaced) {
    WriteBytes(target(), std::string(84, '\0'));
    auto file = KnowledgeBaseFile::Open(target(), KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_TRUE(file.ok());
    EXPECT_FALSE(file->ReplaceAll(Records({"K a"})).replaced);
    EXPECT_EQ(ReadBytes(target()), std::string(84, '\0'));
}

TEST_F(AtomicFileTest, FailedAppendLeavesNoPartialRecord) {
    auto file = KnowledgeBaseFile::Create(target());
    ASSERT_TRUE(file.ok());
    ASSERT_TRUE(file->WriteAll(Records({"K 1", "K 2"})).ok());
    FileFaultInjector faults;
    faults.FailAt(FileWriteStep::Write, 1);
    EXPECT_FALSE(file->WriteRecord(2, LineRecord("K 3"), &faults).ok());
    EXPECT_EQ(std::filesystem::file_size(target()), 168u);
    auto again = KnowledgeBaseFile::Open(target(), KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_TRUE(again.ok()) << again.error().message;
    EXPECT_EQ(*again->ReadAll(), Records({"K 1", "K 2"}));
}

// A failed write over a record (half of it written, as on a full disk) puts the old record
// back: half of each would be a line the author never wrote.
TEST_F(AtomicFileTest, FailedWriteOverARecordPutsTheOldRecordBack) {
    auto file = KnowledgeBaseFile::Create(target());
    ASSERT_TRUE(file.ok());
    ASSERT_TRUE(file->WriteAll(Records({"K erste Zeile", "K zweite Zeile"})).ok());
    FileFaultInjector faults;
    faults.FailAt(FileWriteStep::Write, 1);
    EXPECT_FALSE(
        file->WriteRecord(0, LineRecord("R GETRAENK . Tee mit Zitrone und Honig"), &faults).ok());
    ASSERT_EQ(faults.Failures(), 1);
    auto again = KnowledgeBaseFile::Open(target(), KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_TRUE(again.ok()) << again.error().message;
    EXPECT_EQ(*again->ReadAll(), Records({"K erste Zeile", "K zweite Zeile"}));
}

TEST_F(AtomicFileTest, CreateWithWritesAllRecordsOrNothing) {
    const std::filesystem::path made = dir_ / "NEU.WBP";
    for (std::size_t step = 0; step < kFileWriteStepCount - 1; ++step) {
        FileFaultInjector faults;
        faults.FailAt(static_cast<FileWriteStep>(step), 1);
        EXPECT_FALSE(KnowledgeBaseFile::CreateWith(made, Records({"K a", "K b"}), &faults).replaced)
            << step;
        EXPECT_TRUE(FolderEntries(dir_.path()).empty()) << step;
    }
    EXPECT_TRUE(KnowledgeBaseFile::CreateWith(made, Records({"K a", "K b"})).replaced);
    auto created = KnowledgeBaseFile::Open(made, KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_TRUE(created.ok());
    EXPECT_EQ(*created->ReadAll(), Records({"K a", "K b"}));
    EXPECT_FALSE(KnowledgeBaseFile::CreateWith(made, Records({"K c"})).replaced);
    EXPECT_EQ(*created->ReadAll(), Records({"K a", "K b"}));
}

}  // namespace
}  // namespace kelvo
