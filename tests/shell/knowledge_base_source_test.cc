#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include "shell/knowledge_base_source.h"
#include "store/knowledge_base_file.h"
#include "tests/case_name.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

struct KindCase {
    std::string name;
    std::string file;
    std::optional<KnowledgeBaseKind> kind;

    friend void PrintTo(const KindCase& row, std::ostream* out) { *out << row.name; }
};

class KindOfName : public testing::TestWithParam<KindCase> {};

TEST_P(KindOfName, IsToldByTheExtensionInAnyCase) {
    EXPECT_EQ(KindOf(GetParam().file), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    KnowledgeBaseSource, KindOfName,
    testing::Values(KindCase{"EditableLower", "a.wbp", KnowledgeBaseKind::Editable},
                    KindCase{"EditableMixed", "/x/y/Berater.WbP", KnowledgeBaseKind::Editable},
                    KindCase{"RunOnlyUpper", "A.WBB", KnowledgeBaseKind::RunOnly},
                    KindCase{"TextUpper", "a.TXT", KnowledgeBaseKind::Text},
                    KindCase{"TextLower", "ordner.wbp/a.txt", KnowledgeBaseKind::Text},
                    KindCase{"OtherExtension", "a.wbx", std::nullopt},
                    KindCase{"NoExtension", "berater", std::nullopt},
                    KindCase{"OnlyADot", "wbp.", std::nullopt},
                    KindCase{"HiddenFileWithoutExtension", ".wbp", std::nullopt}),
    CaseName{});

TEST(KnowledgeBaseSource, ReadsEachForm) {
    TempDir dir;
    const std::string text = "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\nK\n";
    {
        std::ofstream out(dir / "kb.txt", std::ios::binary);
        out << text;
    }
    auto fromText = LoadKnowledgeBase((dir / "kb.txt").string());
    ASSERT_TRUE(fromText.ok()) << fromText.error().message;
    EXPECT_EQ(fromText->kind, KnowledgeBaseKind::Text);
    ASSERT_EQ(fromText->records.size(), 5u);

    for (const char* name : {"kb.WBP", "kb.wbb"}) {
        auto created = KnowledgeBaseFile::Create(dir / name);
        ASSERT_TRUE(created.ok()) << created.error().message;
        ASSERT_TRUE(created->WriteAll(fromText->records).ok());
    }
    auto editable = LoadKnowledgeBase((dir / "kb.WBP").string());
    ASSERT_TRUE(editable.ok()) << editable.error().message;
    EXPECT_EQ(editable->kind, KnowledgeBaseKind::Editable);
    EXPECT_EQ(editable->records.size(), 5u);
    EXPECT_EQ(editable->records[1].text(), fromText->records[1].text());
    auto runOnly = LoadKnowledgeBase((dir / "kb.wbb").string());
    ASSERT_TRUE(runOnly.ok()) << runOnly.error().message;
    EXPECT_EQ(runOnly->kind, KnowledgeBaseKind::RunOnly);
}

TEST(KnowledgeBaseSource, RefusesUnknownNamesMissingFilesAndFaultyText) {
    TempDir dir;
    auto unknown = LoadKnowledgeBase((dir / "kb.doc").string());
    ASSERT_FALSE(unknown.ok());
    EXPECT_NE(unknown.error().message.find("unbekannte Endung"), std::string::npos);
    EXPECT_FALSE(LoadKnowledgeBase((dir / "fehlt.WBP").string()).ok());
    {
        std::ofstream out(dir / "kaputt.txt", std::ios::binary);
        out << "Z ZIEL\nQ nichts\nK\n";
    }
    auto faulty = LoadKnowledgeBase((dir / "kaputt.txt").string());
    ASSERT_FALSE(faulty.ok());
    EXPECT_NE(faulty.error().message.find("kaputt.txt:2:"), std::string::npos)
        << faulty.error().message;
    EXPECT_NE(faulty.error().message.find("1 fehlerhafte Zeile(n)"), std::string::npos);
}

}  // namespace
}  // namespace kelvo
