#pragma once

// Small knowledge bases for the lint tests, written as their text form (UTF-8, one line each).

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "authoring/knowledge_base_text.h"
#include "lint/knowledge_base_lint.h"

namespace kelvo {

/// The stored lines of a knowledge base given as its text form; a faulty line fails the test.
inline std::vector<std::string> StoredLines(std::string_view text) {
    const TextImport imported = ImportKnowledgeBaseText(text, "test.txt");
    for (const std::string& fault : imported.faults) {
        ADD_FAILURE() << fault;
    }
    std::vector<std::string> lines;
    for (const LineRecord& record : imported.records) {
        lines.emplace_back(record.text());
    }
    return lines;
}

/// A warning as the tests compare it: line number (from 1) and warning number.
using Found = std::pair<int, int>;

/// The warnings of a knowledge base as (line, number) pairs, in their order.
inline std::vector<Found> Lint(std::string_view text, const std::string& folder = {}) {
    std::vector<Found> found;
    for (const LintWarning& warning : LintProgram(StoredLines(text), folder)) {
        found.emplace_back(warning.position + 1, LintNumber(warning.code));
    }
    return found;
}

}  // namespace kelvo
