// An image that shares the loaded records with their other owners: every change of the image
// is its own, the shared records stay as loaded for the next consultation, and the image
// reads exactly as one that loaded a copy of them.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "store/knowledge_base_image.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

std::vector<LineRecord> Program() {
    std::vector<LineRecord> records;
    for (const char* text : {"R A", "U B", "K", "R C", "U D", "K"}) {
        records.emplace_back(text);
    }
    return records;
}

struct Change {
    const char* what;
    std::function<void(KnowledgeBaseImage&)> apply;
};

const std::vector<Change> kChanges = {
    {"a store behind the program", [](KnowledgeBaseImage& i) { i.StoreRecord("F X", 6); }},
    {"a store into the program", [](KnowledgeBaseImage& i) { i.StoreRecord("V NEU", 2); }},
    {"a store into the first record", [](KnowledgeBaseImage& i) { i.StoreRecord("R Z", 0); }},
    {"appends, then a cut into the program and appends over it",
     [](KnowledgeBaseImage& i) {
         i.StoreRecord("F X", 6);
         i.StoreRecord("F Y", 7);
         i.SetLastRecord(4);
         i.StoreRecord("F Z", 4);
     }},
    {"a cut that exposes the records again",
     [](KnowledgeBaseImage& i) {
         i.SetLastRecord(2);
         i.SetLastRecord(6);
     }},
    {"a splice behind the program",
     [](KnowledgeBaseImage& i) {
         i.StoreRecord("F X", 6);
         i.StoreRecord("F Y", 7);
         i.SpliceRecords(6, 1, {"F 1", "F 2", "F 3"});
     }},
    {"a splice across the program's end",
     [](KnowledgeBaseImage& i) {
         i.StoreRecord("F X", 6);
         i.SpliceRecords(4, 2, {"F 1"});
     }},
    {"a splice of the same size in the program",
     [](KnowledgeBaseImage& i) {
         i.SpliceRecords(1, 2, {"U E", "K"});
     }},
    {"a release", [](KnowledgeBaseImage& i) { i.ReleaseImage(); }},
};

class SharedRecords : public testing::TestWithParam<Change> {};

TEST_P(SharedRecords, ChangeOnlyTheImage) {
    const Change& change = GetParam();
    auto shared = std::make_shared<const std::vector<LineRecord>>(Program());
    KnowledgeBaseImage sharing(true);
    KnowledgeBaseImage copying(true);
    ASSERT_TRUE(sharing.LoadImage(shared).ok());
    ASSERT_TRUE(copying.LoadImage(Program()).ok());
    const std::uint64_t before = sharing.ChangeCount();
    change.apply(sharing);
    change.apply(copying);
    EXPECT_GT(sharing.ChangeCount(), before) << change.what;

    EXPECT_EQ(sharing.LastRecord(), copying.LastRecord()) << change.what;
    for (int p = -1; p <= copying.LastRecord() + 4; ++p) {
        EXPECT_EQ(sharing.Text(p), copying.Text(p)) << change.what << " at " << p;
    }
    EXPECT_EQ(*shared, Program()) << change.what;

    // The next consultation starts from the records as loaded.
    ASSERT_TRUE(sharing.LoadImage(shared).ok());
    ASSERT_EQ(sharing.LastRecord(), 5);
    for (int p = 0; p <= 5; ++p) {
        EXPECT_EQ(sharing.Record(p), Program()[static_cast<std::size_t>(p)]) << change.what;
    }
    EXPECT_EQ(sharing.RuleCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Changes, SharedRecords, testing::ValuesIn(kChanges),
                         [](const testing::TestParamInfo<Change>& param) {
                             return "Change" + std::to_string(param.index);
                         });

TEST(SharedRecordsLoad, ANullPointerLoadsNoRecords) {
    KnowledgeBaseImage image(true);
    ASSERT_TRUE(image.LoadImage(std::shared_ptr<const std::vector<LineRecord>>()).ok());
    EXPECT_EQ(image.LastRecord(), -1);
    EXPECT_EQ(image.RuleCount(), 0);
    EXPECT_TRUE(image.StoreRecord("F X", 0));
    EXPECT_EQ(image.Text(0), "F X");
}

}  // namespace
}  // namespace kelvo
