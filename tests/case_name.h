#pragma once

#include <gtest/gtest.h>

#include <string>

namespace kelvo {

/// Names a parameterised case after the `name` member of its row, for tables of cases.
struct CaseName {
    template <class Row>
    std::string operator()(const testing::TestParamInfo<Row>& row) const {
        return row.param.name;
    }
};

}  // namespace kelvo
