#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace kelvo::testing {

/// An 82-column line built from (column, text) fields; every other column is a blank. Lets a
/// test state a normalized line by its layout instead of counting blanks.
inline std::string Columns(std::initializer_list<std::pair<std::size_t, std::string_view>> fields) {
    std::string line(82, ' ');
    for (const auto& [column, text] : fields) {
        line.replace(column - 1, text.size(), text);
    }
    return line;
}

/// A stored number as the layouts hold it: "(" + value right-aligned in 16 + ")".
inline std::string Num(std::string_view value) {
    return "(" + std::string(16 - value.size(), ' ') + std::string(value) + ")";
}

/// A numeric name in its stored form: "[" + name padded to 16 + "]".
inline std::string NumName(std::string_view name) {
    return "[" + std::string(name) + std::string(16 - name.size(), ' ') + "]";
}

/// Test names of a table: each row's stable `name`.
struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& row) const {
        return row.param.name;
    }
};

}  // namespace kelvo::testing
