#include "shell/program_location.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/case_name.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

struct CandidateRow {
    std::string name;
    std::string program;
    std::string candidate;
};

class RunOnlyCandidateTest : public testing::TestWithParam<CandidateRow> {};

TEST_P(RunOnlyCandidateTest, ExtensionReplacedOrAdded) {
    EXPECT_EQ(RunOnlyBesideProgram(GetParam().program).string(), GetParam().candidate);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, RunOnlyCandidateTest,
    testing::Values(CandidateRow{"WithoutExtension", "/opt/k/berater", "/opt/k/berater.WBB"},
                    CandidateRow{"WithExtension", "/opt/k/berater.exe", "/opt/k/berater.WBB"},
                    CandidateRow{"Relative", "berater.exe", "berater.WBB"},
                    CandidateRow{"DotInFolder", "/opt/k.1/berater", "/opt/k.1/berater.WBB"}),
    CaseName());

class FindRunOnlyTest : public testing::Test {
  protected:
    void Touch(const std::string& name) { std::ofstream(dir_ / name) << ""; }
    TempDir dir_;
};

TEST_F(FindRunOnlyTest, FoundWithoutRegardToCase) {
    Touch("Berater.wbb");
    const auto found = FindRunOnlyBesideProgram(dir_ / "berater");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, dir_ / "Berater.wbb");
}

TEST_F(FindRunOnlyTest, TheNameAsWrittenComesFirst) {
    Touch("berater.wbb");
    Touch("berater.WBB");
    const auto found = FindRunOnlyBesideProgram(dir_ / "berater.exe");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, dir_ / "berater.WBB");
}

TEST_F(FindRunOnlyTest, NothingBesideTheProgram) {
    Touch("anderer.WBB");
    Touch("berater.WBP");
    std::filesystem::create_directory(dir_ / "BERATER.WBB");  // a folder is no knowledge base
    EXPECT_FALSE(FindRunOnlyBesideProgram(dir_ / "berater").has_value());
}

TEST(ProgramFolderTest, TheProgramsFolder) {
    EXPECT_EQ(ProgramFolder("/opt/k/berater").string(), "/opt/k");
}

}  // namespace
}  // namespace kelvo
