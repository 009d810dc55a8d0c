#include "store/run_only_derivation.h"

#include <gtest/gtest.h>

#include "store/knowledge_base_file.h"
#include "store/random_source.h"
#include "store/text_field.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

class RunOnlyDerivationTest : public testing::Test {
  protected:
    KnowledgeBaseFile MakeSource(std::initializer_list<std::string> texts) {
        auto file = KnowledgeBaseFile::Create(dir_ / "BERATER.WBP");
        EXPECT_TRUE(file.ok());
        std::vector<LineRecord> records;
        for (const std::string& text : texts) {
            records.emplace_back(text);
        }
        EXPECT_TRUE(file->WriteAll(records).ok());
        return std::move(*file);
    }

    std::vector<std::string> TargetTexts() {
        auto file =
            KnowledgeBaseFile::Open(dir_ / "BERATER.WBB", KnowledgeBaseFile::Mode::ReadOnly);
        std::vector<std::string> texts;
        if (!file.ok()) {
            ADD_FAILURE() << file.error().message;
            return texts;
        }
        auto records = file->ReadAll();
        EXPECT_TRUE(records.ok());
        if (records.ok()) {
            for (const LineRecord& record : records.value()) {
                texts.emplace_back(record.text());
            }
        }
        return texts;
    }

    TempDir dir_;
    SeededRandomSource random_{7};
};

TEST_F(RunOnlyDerivationTest, DropsCommentsButTheLastAndAppendsADigit) {
    const std::string comment = PadRight("K", 82);
    const std::string rule = PadRight("R ZIEL", 82);
    KnowledgeBaseFile source = MakeSource({comment, rule, comment});
    auto outcome = DeriveRunOnlyFile(source, random_, nullptr);
    ASSERT_TRUE(outcome.ok()) << outcome.error().message;
    EXPECT_EQ(*outcome, DerivationOutcome::Compiled);

    const std::vector<std::string> texts = TargetTexts();
    ASSERT_EQ(texts.size(), 2u);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(texts[i].size(), 83u);
        EXPECT_TRUE(texts[i].back() >= '0' && texts[i].back() <= '9');
    }
    EXPECT_EQ(texts[0].substr(0, 82), rule);
    EXPECT_EQ(texts[1].substr(0, 82), comment);
}

TEST_F(RunOnlyDerivationTest, TheSameSeedGivesTheSameDigits) {
    KnowledgeBaseFile source = MakeSource({"F A", "F B", "F C", "F D", "K"});
    ASSERT_TRUE(DeriveRunOnlyFile(source, random_, nullptr).ok());
    const std::vector<std::string> first = TargetTexts();
    SeededRandomSource again(7);
    ASSERT_TRUE(DeriveRunOnlyFile(source, again, nullptr).ok());
    EXPECT_EQ(TargetTexts(), first);
}

TEST_F(RunOnlyDerivationTest, ARecordOf83CharactersLosesItsDigit) {
    const std::string full(83, 'F');
    KnowledgeBaseFile source = MakeSource({full, "K"});
    ASSERT_TRUE(DeriveRunOnlyFile(source, random_, nullptr).ok());
    EXPECT_EQ(TargetTexts()[0], full);
}

TEST_F(RunOnlyDerivationTest, AnEmptySourceGivesAnEmptyTarget) {
    KnowledgeBaseFile source = MakeSource({});
    auto outcome = DeriveRunOnlyFile(source, random_, nullptr);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(*outcome, DerivationOutcome::Compiled);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "BERATER.WBB"));
    EXPECT_TRUE(TargetTexts().empty());
}

TEST_F(RunOnlyDerivationTest, AnAbortLeavesNoTarget) {
    KnowledgeBaseFile source = MakeSource({"F A", "F B", "F C", "K"});
    ASSERT_TRUE(DeriveRunOnlyFile(source, random_, nullptr).ok());  // an earlier target
    std::vector<int> seen;
    auto outcome = DeriveRunOnlyFile(source, random_, [&](int position, int count) {
        seen.push_back(position);
        EXPECT_EQ(count, 4);
        return position == 1;
    });
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(*outcome, DerivationOutcome::Aborted);
    EXPECT_EQ(seen, (std::vector<int>{0, 1}));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "BERATER.WBB"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "BERATER.WBB.partial"));
}

TEST_F(RunOnlyDerivationTest, AnUnwritableFolderFailsAndLeavesTheSourceAlone) {
    KnowledgeBaseFile source = MakeSource({"F A", "K"});
    std::filesystem::create_directory(dir_ / "BERATER.WBB");  // a folder in the target's place
    auto outcome = DeriveRunOnlyFile(source, random_, nullptr);
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(*source.RecordCount(), 2);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "BERATER.WBB.partial"));
}

TEST(RunOnlyPath, ReplacesTheLastFourCharacters) {
    EXPECT_EQ(RunOnlyPath("/kb/BERATER.WBP"), "/kb/BERATER.WBB");
    EXPECT_EQ(RunOnlyPath("/kb/berater.wbp"), "/kb/berater.WBB");
}

}  // namespace
}  // namespace kelvo
