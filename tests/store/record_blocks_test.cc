#include "store/record_blocks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvo {
namespace {

std::string Text(std::size_t i) {
    return "R" + std::to_string(i);
}

std::vector<std::string> Texts(const RecordBlocks& blocks) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        texts.emplace_back(blocks[i].text());
    }
    return texts;
}

// Records on both sides of the block boundaries, moved and prepended as a vector moves them.
TEST(RecordBlocks, MovesAndPrependsAcrossBlocksAsAVectorDoes) {
    RecordBlocks blocks;
    std::vector<std::string> model;
    blocks.Grow(2500);
    for (std::size_t i = 0; i < 2500; ++i) {
        blocks[i] = LineRecord(Text(i));
        model.push_back(Text(i));
    }
    ASSERT_EQ(Texts(blocks), model);

    // Up by 700 from 1000 to the end: the records cross one or two boundaries.
    blocks.Grow(3200);
    model.resize(3200);
    for (std::size_t i = 2500; i-- > 1000;) {
        model[i + 700] = model[i];
    }
    blocks.MoveUp(1000, 2500, 700);
    EXPECT_EQ(Texts(blocks), model);

    // Down by 1030 from 1100 to the end.
    for (std::size_t i = 1100; i < 3200; ++i) {
        model[i - 1030] = model[i];
    }
    blocks.MoveDown(1100, 3200, 1030);
    EXPECT_EQ(Texts(blocks), model);

    std::vector<LineRecord> front;
    std::vector<std::string> frontTexts;
    for (std::size_t i = 0; i < 1500; ++i) {
        front.emplace_back("P" + std::to_string(i));
        frontTexts.push_back("P" + std::to_string(i));
    }
    blocks.Prepend(front);
    model.insert(model.begin(), frontTexts.begin(), frontTexts.end());
    EXPECT_EQ(Texts(blocks), model);
}

TEST(RecordBlocks, GrowsWithEmptyRecordsAndNeverShrinks) {
    RecordBlocks blocks;
    blocks.Grow(1025);
    ASSERT_EQ(blocks.size(), 1025U);
    blocks[1024] = LineRecord("last");
    EXPECT_EQ(blocks[1023].length(), 0U);
    blocks.Grow(10);
    EXPECT_EQ(blocks.size(), 1025U);
    EXPECT_EQ(blocks[1024].text(), "last");
    blocks.Release();
    EXPECT_EQ(blocks.size(), 0U);
    blocks.Grow(1025);
    EXPECT_EQ(blocks[1024].length(), 0U);  // released records come back empty
}

}  // namespace
}  // namespace kelvo
