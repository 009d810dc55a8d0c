// Which comment lines silence which warnings.

#include "lint/lint_silencing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvo {
namespace {

struct SilencingCase {
    const char* line;
    std::vector<int> numbers;
};

class SilencingTest : public ::testing::TestWithParam<SilencingCase> {};

TEST_P(SilencingTest, Numbers) {
    EXPECT_EQ(SilencedNumbers(GetParam().line), GetParam().numbers) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Comments, SilencingTest,
    ::testing::Values(SilencingCase{"K lint: aus 3", {3}}, SilencingCase{"K lint: aus 3 5", {3, 5}},
                      SilencingCase{"K lint: aus 1, 10", {1, 10}},
                      SilencingCase{"K lint: aus 1,10", {1, 10}},
                      SilencingCase{"K   LINT:   AUS 7   ", {7}},
                      SilencingCase{"K lint:aus 2", {2}}, SilencingCase{"K lint: aus", {}},
                      SilencingCase{"K lint aus 3", {}}, SilencingCase{"K lint: aus 3x", {}},
                      SilencingCase{"K lint: ausser 3", {}},
                      SilencingCase{"K Bemerkung: lint: aus 3", {}},
                      SilencingCase{"T lint: aus 3", {}}, SilencingCase{"", {}}));

}  // namespace
}  // namespace kelvo
