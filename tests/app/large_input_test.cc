// Inputs far larger than a knowledge base can use — a record file of 2 GiB, a text form of
// hundreds of megabytes, a 100 MB text file for "2", a database result of 1,000,000 rows — are
// refused or handled with a clear message, without reading them into memory. The files are
// sparse, so they cost no disk and no time. scripts/large-inputs runs the full-size cases
// that take longer.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/database/database_files.h"
#include "shell/knowledge_base_source.h"
#include "store/knowledge_base_image.h"
#include "tests/app/cli_run.h"
#include "tests/commands/desktop_run.h"
#include "tests/commands/service_command_run.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;

/// More than a load may take beside the memory the test already uses.
constexpr long kMemoryMarginKiB = 64 * 1024;

/// Under AddressSanitizer freed memory stays in quarantine and shadow memory grows with every
/// allocation, so the peak says nothing about what a load keeps; the other checks still run.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPeakMemoryMeaningful = false;
#else
constexpr bool kPeakMemoryMeaningful = true;
#endif

/// 2 GiB and a little, in whole records: 25,565,282 records of 84 bytes.
constexpr off_t kTwoGiBRecordFile = 25'565'282LL * 84;

// A file of `size` zero bytes that takes no room on the disk.
void MakeSparseFile(const fs::path& path, off_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::ftruncate(fd, size), 0) << path;
    ::close(fd);
}

long PeakMemoryKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The peak memory grew by less than kMemoryMarginKiB since `before`.
void ExpectLittleMemory(long before) {
    if (kPeakMemoryMeaningful) {
        EXPECT_LT(PeakMemoryKiB() - before, kMemoryMarginKiB);
    }
}

class LargeInput : public CliFolderTest {};

TEST_F(LargeInput, ARecordFileOf2GiBIsRefusedBeforeItIsRead) {
    MakeSparseFile(dir_ / "GROSS.WBP", kTwoGiBRecordFile);
    const long before = PeakMemoryKiB();
    auto loaded = LoadKnowledgeBase((dir_ / "GROSS.WBP").string());
    ASSERT_FALSE(loaded.ok());
    EXPECT_NE(loaded.error().message.find("mehr als 1000000 Zeilen"), std::string::npos)
        << loaded.error().message;
    ExpectLittleMemory(before);
}

// Every command of kelvo-cli that reads a whole record file refuses it with the same message.
TEST_F(LargeInput, EveryCliCommandRefusesA2GiBRecordFile) {
    MakeSparseFile(dir_ / "GROSS.WBP", kTwoGiBRecordFile);
    for (const std::string command : {"consult", "check", "export", "compile"}) {
        const CliResult run = Cli(command + " GROSS.WBP");
        EXPECT_NE(run.status, 0) << command;
        EXPECT_NE(run.err.find("mehr als 1000000 Zeilen"), std::string::npos)
            << command << ": " << run.err;
    }
    EXPECT_FALSE(fs::exists(dir_ / "GROSS.WBB"));
}

TEST_F(LargeInput, AHugeTextFormIsRefusedBeforeItIsRead) {
    MakeSparseFile(dir_ / "gross.txt", 300LL * 1024 * 1024);
    const long before = PeakMemoryKiB();
    auto loaded = LoadKnowledgeBase((dir_ / "gross.txt").string());
    ASSERT_FALSE(loaded.ok());
    EXPECT_NE(loaded.error().message.find("Datei ist zu gro\xC3\x9F"), std::string::npos)
        << loaded.error().message;
    ExpectLittleMemory(before);
    for (const std::string arguments :
         {"consult gross.txt", "check gross.txt", "import gross.txt gross.WBP"}) {
        const CliResult run = Cli(arguments);
        EXPECT_NE(run.status, 0) << arguments;
        EXPECT_NE(run.err.find("Datei ist zu gro\xC3\x9F"), std::string::npos)
            << arguments << ": " << run.err;
    }
    EXPECT_FALSE(fs::exists(dir_ / "gross.WBP"));
}

// "2" cannot store more text than the fact base holds: a larger file is not read, and the
// command says so with its own message.
TEST_F(LargeInput, A100MBTextFileForTwoIsRefusedWithItsMessage) {
    MakeSparseFile(dir_ / "GROSS.TXT", 100LL * 1000 * 1000);
    const CurrentFolder inFolder(dir_);
    const long before = PeakMemoryKiB();
    DesktopRun run({"J ++D . GROSS", "J ++D 2 ++T", "J +WEITER . ja"});
    ExpectLittleMemory(before);
    EXPECT_EQ(run.MessageTexts(),
              std::vector<std::string>{"Textdatei konnte nicht geladen werden !"});
    EXPECT_EQ(run.RawValue("++T"), "<none>");
    EXPECT_EQ(run.Value("+WEITER"), "ja");  // the block goes on
}

// A result of 1,000,000 rows: the count is the result's, the rows are stored until the fact
// base is full (which ends the consultation with its message), and the rows beyond are not
// kept in memory.
TEST_F(LargeInput, ADatabaseResultOfAMillionRowsFillsTheFactBaseAndStops) {
    const fs::path file = dir_ / "zahlen.db";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE Zahlen AS WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL "
                           "SELECT x + 1 FROM n LIMIT 1000000) SELECT x AS Wert FROM n;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const CurrentFolder inFolder(dir_);
    DatabaseFiles database;
    const long before = PeakMemoryKiB();
    // Each row carries 200 characters more: kept whole, the result would take 200 MB.
    std::vector<std::string> lines =
        AssignLongText("++SQL", "SELECT Wert, substr(hex(zeroblob(100)),1,200) FROM Zahlen");
    lines.insert(lines.begin(), "J ++DB . zahlen.db");
    lines.push_back("J ++DB \xC3\x84 ++SQL");
    ServiceCommandRun run(lines, {&database, {}, true});
    // The harness's fact base of 100,000 records holds a few thousand of the rows.
    ExpectLittleMemory(before);
    EXPECT_EQ(run.Value("[+DB_ANZDBF      ]"), "(           2.000)");
    EXPECT_EQ(run.Value("[+DB_ANZDAS      ]"), "(     1000000.000)");
    EXPECT_EQ(run.Value("++DB_1_{1}"), "1");
    EXPECT_TRUE(run.image().Full());
    bool fullMessage = false;
    for (const std::string& text : run.MessageTexts()) {
        fullMessage = fullMessage || text.find("Datenbasis ist voll") != std::string::npos;
    }
    EXPECT_TRUE(fullMessage) << testing::PrintToString(run.MessageTexts());
}

}  // namespace
}  // namespace kelvo
