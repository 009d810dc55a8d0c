#include "store/knowledge_base_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

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

std::string RawRecord(unsigned char length, const std::string& text) {
    std::string raw(84, '\0');
    raw[0] = static_cast<char>(length);
    raw.replace(1, text.size(), text);
    return raw;
}

class KnowledgeBaseFileTest : public testing::Test {
  protected:
    TempDir dir_;
};

TEST_F(KnowledgeBaseFileTest, WritesRecordsAt84ByteOffsets) {
    auto file = KnowledgeBaseFile::Create(dir_ / "A.WBP");
    ASSERT_TRUE(file.ok()) << file.error().message;
    ASSERT_TRUE(file->Append(LineRecord("K")).ok());
    ASSERT_TRUE(file->Append(LineRecord("R \xC4")).ok());
    file->Close();

    const std::string bytes = ReadBytes(dir_ / "A.WBP");
    ASSERT_EQ(bytes.size(), 168u);
    EXPECT_EQ(bytes.substr(0, 84), RawRecord(1, "K"));
    EXPECT_EQ(bytes.substr(84, 84), RawRecord(3, "R \xC4"));
}

TEST_F(KnowledgeBaseFileTest, ReadsWritesAndTruncatesRecords) {
    auto file = KnowledgeBaseFile::Create(dir_ / "A.WBP");
    ASSERT_TRUE(file.ok());
    for (const char* text : {"one", "two", "three"}) {
        ASSERT_TRUE(file->Append(LineRecord(text)).ok());
    }
    ASSERT_TRUE(file->WriteRecord(1, LineRecord("TWO")).ok());
    EXPECT_EQ(file->ReadRecord(1)->text(), "TWO");
    EXPECT_EQ(*file->RecordCount(), 3);
    ASSERT_TRUE(file->Truncate(1).ok());
    EXPECT_EQ(*file->RecordCount(), 1);
    EXPECT_FALSE(file->ReadRecord(1).ok());
    EXPECT_FALSE(file->WriteRecord(5, LineRecord("x")).ok());
}

TEST_F(KnowledgeBaseFileTest, CutsATextLongerThan83Characters) {
    const LineRecord record(std::string(90, 'x'));
    EXPECT_EQ(record.length(), 83u);
    EXPECT_EQ(record.bytes()[0], 83);
}

TEST_F(KnowledgeBaseFileTest, ReadAllReadsEveryRecordAndIgnoresBytesAfterTheLength) {
    WriteBytes(dir_ / "B.WBP", RawRecord(2, "K xyz") + RawRecord(0, "garbage"));
    auto file = KnowledgeBaseFile::Open(dir_ / "B.WBP", KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_TRUE(file.ok());
    auto records = file->ReadAll();
    ASSERT_TRUE(records.ok());
    ASSERT_EQ(records->size(), 2u);
    EXPECT_EQ((*records)[0].text(), "K ");
    EXPECT_EQ((*records)[1].text(), "");
}

TEST_F(KnowledgeBaseFileTest, ReadAllWithALimitRefusesALargerFileBeforeReading) {
    auto file = KnowledgeBaseFile::Create(dir_ / "A.WBP");
    ASSERT_TRUE(file.ok());
    for (const char* text : {"K eins", "K zwei", "K drei"}) {
        ASSERT_TRUE(file->Append(LineRecord(text)).ok());
    }
    const auto refused = file->ReadAll(2);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().message,
              (dir_ / "A.WBP").string() + ": Die Wissensbasis hat mehr als 2 Zeilen");
    const auto read = file->ReadAll(3);
    ASSERT_TRUE(read.ok()) << read.error().message;
    EXPECT_EQ(read->size(), 3u);
}

TEST_F(KnowledgeBaseFileTest, RefusesAFileWhoseSizeIsNoMultipleOf84) {
    WriteBytes(dir_ / "C.WBP", std::string(100, 'x'));
    auto file = KnowledgeBaseFile::Open(dir_ / "C.WBP", KnowledgeBaseFile::Mode::ReadWrite);
    ASSERT_FALSE(file.ok());
    EXPECT_EQ(file.error().message,
              (dir_ / "C.WBP").string() +
                  ": Die Dateigröße (100 Bytes) ist kein Vielfaches von 84: keine "
                  "Wissensbasis-Datei");
    EXPECT_EQ(ReadBytes(dir_ / "C.WBP"), std::string(100, 'x'));
}

TEST_F(KnowledgeBaseFileTest, NamesTheRecordWithACorruptLengthByte) {
    WriteBytes(dir_ / "D.WBP", RawRecord(1, "K") + RawRecord(1, "K") + RawRecord(97, "x"));
    auto file = KnowledgeBaseFile::Open(dir_ / "D.WBP", KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_TRUE(file.ok());
    auto all = file->ReadAll();
    ASSERT_FALSE(all.ok());
    EXPECT_EQ(all.error().message,
              (dir_ / "D.WBP").string() + ":3: Satzlänge 97 ist größer als 83");
    EXPECT_FALSE(file->ReadRecord(2).ok());
    EXPECT_TRUE(file->ReadRecord(1).ok());
}

TEST_F(KnowledgeBaseFileTest, ReportsAMissingFileByName) {
    auto file = KnowledgeBaseFile::Open(dir_ / "missing.WBP", KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_FALSE(file.ok());
    EXPECT_EQ(file.error().message.rfind(
                  (dir_ / "missing.WBP").string() + ": Datei kann nicht geöffnet werden", 0),
              0u);
}

TEST_F(KnowledgeBaseFileTest, RefusesAFolder) {
    auto file = KnowledgeBaseFile::Open(dir_.path(), KnowledgeBaseFile::Mode::ReadOnly);
    EXPECT_FALSE(file.ok());
}

TEST_F(KnowledgeBaseFileTest, AReadOnlyFileIsNeverWritten) {
    WriteBytes(dir_ / "E.WBP", RawRecord(1, "K"));
    auto file = KnowledgeBaseFile::Open(dir_ / "E.WBP", KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_TRUE(file.ok());
    EXPECT_FALSE(file->Append(LineRecord("R")).ok());
    EXPECT_FALSE(file->WriteRecord(0, LineRecord("R")).ok());
    EXPECT_FALSE(file->Truncate(0).ok());
    EXPECT_EQ(ReadBytes(dir_ / "E.WBP"), RawRecord(1, "K"));
}

TEST_F(KnowledgeBaseFileTest, WriteAllReplacesTheContent) {
    auto file = KnowledgeBaseFile::Create(dir_ / "F.WBP");
    ASSERT_TRUE(file.ok());
    ASSERT_TRUE(file->Append(LineRecord("old1")).ok());
    ASSERT_TRUE(file->Append(LineRecord("old2")).ok());
    ASSERT_TRUE(file->WriteAll({LineRecord("new")}).ok());
    auto records = file->ReadAll();
    ASSERT_TRUE(records.ok());
    ASSERT_EQ(records->size(), 1u);
    EXPECT_EQ((*records)[0].text(), "new");
}

}  // namespace
}  // namespace kelvo
