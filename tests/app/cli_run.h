#pragma once

// Runs the built kelvo-cli in a fresh folder for the end-to-end tests of consult and check.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kelvo {

inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// A fixture of the consult and check tests.
inline std::string ConsultFixture(const std::string& name) {
    return std::string(KELVO_TEST_DATA) + "/fixtures/consult/" + name;
}

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

/// Parses a transcript (JSON Lines); a line that is not JSON fails the test.
inline std::vector<nlohmann::json> ParseTranscript(const std::string& text) {
    std::vector<nlohmann::json> events;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "transcript does not end with a line end";
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        nlohmann::json event = nlohmann::json::parse(line, nullptr, false);
        if (event.is_discarded()) {
            ADD_FAILURE() << "not JSON: " << line;
        } else {
            events.push_back(std::move(event));
        }
        start = end + 1;
    }
    return events;
}

class CliFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvo-consult-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    /// Runs kelvo-cli with `arguments` (a shell word list) in the test folder.
    CliResult Cli(const std::string& arguments) const {
        const std::string command = "cd '" + dir_.string() + "' && '" KELVO_CLI "' " + arguments +
                                    " > stdout.txt 2> stderr.txt";
        const int raw = std::system(command.c_str());
        CliResult run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadWholeFile(dir_ / "stdout.txt");
        run.err = ReadWholeFile(dir_ / "stderr.txt");
        return run;
    }

    /// `consult` of a fixture with further arguments; the transcript goes to standard output.
    CliResult Consult(const std::string& fixture, const std::string& arguments = "") const {
        return Cli("consult '" + ConsultFixture(fixture) + "' " + arguments);
    }

    /// The answers fixture as an --answers argument.
    static std::string Answers(const std::string& fixture) {
        return "--answers '" + ConsultFixture(fixture) + "'";
    }

    /// The events of one kind, in order.
    static std::vector<nlohmann::json> Events(const std::vector<nlohmann::json>& events,
                                              const std::string& kind) {
        std::vector<nlohmann::json> found;
        for (const nlohmann::json& event : events) {
            if (event.at("event") == kind) {
                found.push_back(event);
            }
        }
        return found;
    }

    /// The "event" names in order.
    static std::vector<std::string> Kinds(const std::vector<nlohmann::json>& events) {
        std::vector<std::string> kinds;
        for (const nlohmann::json& event : events) {
            kinds.push_back(event.at("event"));
        }
        return kinds;
    }

    std::filesystem::path dir_;
};

}  // namespace kelvo
