#include "store/knowledge_base_image.h"

#include <gtest/gtest.h>

#include "store/knowledge_base_file.h"
#include "store/text_field.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

std::vector<LineRecord> Records(std::initializer_list<const char*> texts) {
    std::vector<LineRecord> records;
    for (const char* text : texts) {
        records.emplace_back(text);
    }
    return records;
}

TEST(KnowledgeBaseImage, AnEmptyProgramLoadsWithoutRecordsAndRules) {
    KnowledgeBaseImage image(true);
    auto rules = image.LoadImage(std::vector<LineRecord>{});
    ASSERT_TRUE(rules.ok());
    EXPECT_EQ(*rules, 0);
    EXPECT_EQ(image.LastRecord(), -1);
    EXPECT_EQ(image.RuleCount(), 0);
}

TEST(KnowledgeBaseImage, IndexesTheRuleLinesInFileOrder) {
    KnowledgeBaseImage image(true);
    auto rules = image.LoadImage(Records({"R A", "U B", "K", "R C", "U D", "K"}));
    ASSERT_TRUE(rules.ok());
    EXPECT_EQ(*rules, 2);
    EXPECT_EQ(image.LastRecord(), 5);
    ASSERT_EQ(image.RuleIndex().size(), 13u);  // entry 0, two rules, ten spare entries
    EXPECT_EQ(image.RuleIndex()[1], 0);
    EXPECT_EQ(image.RuleIndex()[2], 3);
    EXPECT_EQ(image.ImageCapacity(), 2 * 6 + 1 + KnowledgeBaseImage::kFactRecordReserve);
}

TEST(KnowledgeBaseImage, LoadsFromTheFileWithoutWritingIt) {
    TempDir dir;
    {
        auto file = KnowledgeBaseFile::Create(dir / "A.WBP");
        ASSERT_TRUE(file.ok());
        ASSERT_TRUE(file->WriteAll(Records({"R X", "U Y", "K"})).ok());
    }
    const auto before = std::filesystem::last_write_time(dir / "A.WBP");
    auto file = KnowledgeBaseFile::Open(dir / "A.WBP", KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_TRUE(file.ok());
    KnowledgeBaseImage image(false);
    auto rules = image.LoadImage(*file);
    ASSERT_TRUE(rules.ok()) << rules.error().message;
    EXPECT_EQ(*rules, 1);
    EXPECT_EQ(image.Text(1), "U Y");
    EXPECT_EQ(std::filesystem::last_write_time(dir / "A.WBP"), before);
}

TEST(KnowledgeBaseImage, AFailedLoadLeavesTheImageEmpty) {
    TempDir dir;
    {
        auto file = KnowledgeBaseFile::Create(dir / "A.WBP");
        ASSERT_TRUE(file.ok());
        LineRecord corrupt = LineRecord::FromBytes(std::vector<std::uint8_t>(84, 0xFF).data());
        ASSERT_TRUE(file->WriteAll({LineRecord("K"), corrupt}).ok());
    }
    auto file = KnowledgeBaseFile::Open(dir / "A.WBP", KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_TRUE(file.ok());
    KnowledgeBaseImage image(true);
    ASSERT_TRUE(image.LoadImage(Records({"K", "K"})).ok());
    auto rules = image.LoadImage(*file);
    ASSERT_FALSE(rules.ok());
    EXPECT_EQ(rules.error().message,
              (dir / "A.WBP").string() + ":2: Satzlänge 255 ist größer als 83");
    EXPECT_EQ(image.LastRecord(), -1);
}

TEST(KnowledgeBaseImage, StoringAppendsOrReplaces) {
    KnowledgeBaseImage image(false);
    ASSERT_TRUE(image.LoadImage(Records({"K", "K"})).ok());
    EXPECT_TRUE(image.StoreRecord("new", 2));
    EXPECT_EQ(image.LastRecord(), 2);
    EXPECT_TRUE(image.StoreRecord("replaced", 0));
    EXPECT_EQ(image.LastRecord(), 2);
    EXPECT_EQ(image.Text(0), "replaced");
    EXPECT_EQ(image.Text(2), "new");
}

TEST(KnowledgeBaseImage, StoringCutsTheTextTo83Characters) {
    KnowledgeBaseImage image(false);
    ASSERT_TRUE(image.LoadImage(Records({})).ok());
    ASSERT_TRUE(image.StoreRecord(std::string(100, 'y'), 0));
    EXPECT_EQ(image.Text(0), std::string(83, 'y'));
}

TEST(KnowledgeBaseImage, RefusesAPositionBehindTheFirstFreeOne) {
    KnowledgeBaseImage image(false);
    ASSERT_TRUE(image.LoadImage(Records({"K"})).ok());
    EXPECT_FALSE(image.StoreRecord("x", 5));
    EXPECT_FALSE(image.StoreRecord("x", -1));
    EXPECT_EQ(image.LastRecord(), 0);
    EXPECT_FALSE(image.Full());
}

TEST(KnowledgeBaseImage, AFullImageRefusesTheStoreInOrder) {
    KnowledgeBaseImage image(false, 3);
    ASSERT_TRUE(image.LoadImage(Records({"K", "K"})).ok());
    ASSERT_EQ(image.ImageCapacity(), 8);
    for (int p = 2; p < 8; ++p) {
        ASSERT_TRUE(image.StoreRecord("fact", p));
    }
    EXPECT_FALSE(image.Full());
    EXPECT_FALSE(image.StoreRecord("one too many", 8));
    EXPECT_TRUE(image.Full());
    EXPECT_EQ(image.LastRecord(), 7);
    EXPECT_TRUE(image.StoreRecord("replace", 7));  // replacing still works
}

TEST(KnowledgeBaseImage, SetLastRecordDropsRecordsThatLaterAppendsOverwrite) {
    KnowledgeBaseImage image(false);
    ASSERT_TRUE(image.LoadImage(Records({"a", "b", "c", "d"})).ok());
    image.SetLastRecord(2);
    EXPECT_EQ(image.LastRecord(), 1);
    EXPECT_EQ(image.Text(2), "c");  // still in memory
    ASSERT_TRUE(image.StoreRecord("e", 2));
    EXPECT_EQ(image.LastRecord(), 2);
    EXPECT_EQ(image.Text(2), "e");
}

TEST(KnowledgeBaseImage, RecentStoresKeepTheLast20OnceTheTaskCopiesExist) {
    KnowledgeBaseImage image(true);
    ASSERT_TRUE(image.LoadImage(Records({"K"})).ok());
    ASSERT_TRUE(image.StoreRecord("task copy", 1));  // FactBoundary still 0
    EXPECT_EQ(image.RecentStore(1).text(), PadRight("Leer", 82));
    image.SetFactBoundary(1);
    for (int i = 1; i <= 25; ++i) {
        ASSERT_TRUE(image.StoreRecord("fact " + std::to_string(i), image.LastRecord() + 1));
    }
    EXPECT_EQ(image.RecentStore(1).text(), "fact 25");
    EXPECT_EQ(image.RecentStore(20).text(), "fact 6");
    image.ResetRecentStores();
    EXPECT_EQ(image.RecentStore(1).text(), PadRight("Leer", 82));
}

TEST(KnowledgeBaseImage, TheUserModuleKeepsNoRecentStores) {
    KnowledgeBaseImage image(false);
    ASSERT_TRUE(image.LoadImage(Records({"K"})).ok());
    image.SetFactBoundary(0 + 1);
    ASSERT_TRUE(image.StoreRecord("fact", 1));
    EXPECT_EQ(image.RecentStore(1).text(), PadRight("Leer", 82));
}

TEST(KnowledgeBaseImage, ReleaseKeepsTheFactBoundary) {
    KnowledgeBaseImage image(true);
    ASSERT_TRUE(image.LoadImage(Records({"K", "K"})).ok());
    image.SetFactBoundary(1);
    image.ReleaseImage();
    EXPECT_EQ(image.LastRecord(), -1);
    EXPECT_EQ(image.RuleCount(), 0);
    EXPECT_EQ(image.FactBoundary(), 1);
}

}  // namespace
}  // namespace kelvo
