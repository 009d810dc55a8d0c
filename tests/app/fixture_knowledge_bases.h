#pragma once

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <vector>

namespace kelvo {

/// Every knowledge base in text form of the suite's fixtures (tests/) and of examples/, sorted
/// by path. Needs KELVO_TEST_DATA, the fixtures folder of the test target.
inline std::vector<std::filesystem::path> FixtureKnowledgeBases() {
    namespace fs = std::filesystem;
    const fs::path sourceRoot = fs::path(KELVO_TEST_DATA).parent_path().parent_path();
    auto filesEndingIn = [](const fs::path& folder, std::string_view extension) {
        std::vector<fs::path> found;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file() && entry.path().extension() == extension) {
                found.push_back(entry.path());
            }
        }
        std::sort(found.begin(), found.end());
        return found;
    };
    std::vector<fs::path> knowledgeBases = filesEndingIn(sourceRoot / "tests", ".txt");
    for (const fs::path& example : filesEndingIn(sourceRoot / "examples", ".txt")) {
        knowledgeBases.push_back(example);
    }
    return knowledgeBases;
}

}  // namespace kelvo
