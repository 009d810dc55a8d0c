// The help documents: a source for every topic the editor can open, and the PDFs the build
// renders from them beside the desktop programs.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/help/help_source.h"
#include "authoring/program_editor.h"

namespace kelvo::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceFolder = KELVO_HELP_SOURCE_DIR;
const fs::path kProgramFolder = KELVO_PROGRAM_DIR;

// A word with an umlaut that the rules document uses; its PDF must give it back as text.
constexpr std::string_view kUmlautWord = "Verknüpfung";

// Every topic the editor can open: the one of each possible first character of a line, and
// the general help.
std::set<std::string> EditorTopics() {
    std::set<std::string> topics{std::string(kGeneralHelpTopic), std::string(HelpTopicFor(""))};
    for (int byte = 0; byte < 256; ++byte) {
        const std::string line(1, static_cast<char>(byte));
        topics.insert(std::string(HelpTopicFor(line)));
    }
    return topics;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Characters of a UTF-8 text (continuation bytes not counted).
std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

fs::path FindInPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) {
        return {};
    }
    std::stringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const fs::path candidate = fs::path(folder.empty() ? "." : folder) / program;
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return {};
}

TEST(HelpDocuments, EveryTopicTheEditorOpensHasASourceThatBeginsWithItsTitle) {
    for (const std::string& topic : EditorTopics()) {
        SCOPED_TRACE(topic);
        const fs::path source = kSourceFolder / (topic + ".txt");
        ASSERT_TRUE(fs::is_regular_file(source)) << source;
        const std::vector<HelpBlock> blocks = ParseHelpSource(ReadFile(source));
        ASSERT_FALSE(blocks.empty());
        EXPECT_EQ(blocks.front().kind, HelpBlockKind::Title);
        EXPECT_FALSE(blocks.front().text.empty());
    }
}

TEST(HelpDocuments, EverySourceBelongsToATopic) {
    const std::set<std::string> topics = EditorTopics();
    for (const fs::directory_entry& entry : fs::directory_iterator(kSourceFolder)) {
        if (entry.path().extension() == ".txt") {
            EXPECT_TRUE(topics.contains(entry.path().stem().string())) << entry.path();
        }
    }
}

// Program lines and messages must not be wrapped or cut on the page.
TEST(HelpDocuments, MonospacedLinesFitThePage) {
    for (const std::string& topic : EditorTopics()) {
        const std::vector<HelpBlock> blocks =
            ParseHelpSource(ReadFile(kSourceFolder / (topic + ".txt")));
        for (const HelpBlock& block : blocks) {
            if (block.kind != HelpBlockKind::Monospaced) {
                continue;
            }
            std::stringstream lines(block.text);
            std::string line;
            while (std::getline(lines, line)) {
                EXPECT_LE(CharacterCount(line), 84u) << topic << ": " << line;
            }
        }
    }
}

TEST(HelpDocuments, EveryTopicHasAGeneratedPdfBesideThePrograms) {
    for (const std::string& topic : EditorTopics()) {
        SCOPED_TRACE(topic);
        const fs::path pdf = kProgramFolder / (topic + ".pdf");
        ASSERT_TRUE(fs::is_regular_file(pdf)) << pdf;
        const std::string content = ReadFile(pdf);
        EXPECT_TRUE(content.starts_with("%PDF-")) << pdf;
        EXPECT_NE(content.rfind("%%EOF"), std::string::npos) << pdf;
        EXPECT_FALSE(fs::exists(fs::path(pdf) += ".partial"));
    }
}

TEST(HelpDocuments, RulesPdfHoldsItsTitleAndUmlautsAsText) {
    const fs::path pdftotext = FindInPath("pdftotext");
    ASSERT_FALSE(pdftotext.empty()) << "pdftotext fehlt: scripts/setup installiert poppler-utils";
    const std::string source = ReadFile(kSourceFolder / "Regeln.txt");
    ASSERT_NE(source.find(kUmlautWord), std::string::npos);
    const std::vector<HelpBlock> blocks = ParseHelpSource(source);
    ASSERT_FALSE(blocks.empty());
    const std::string& title = blocks.front().text;

    const fs::path text =
        fs::temp_directory_path() / ("kelvo_help_regeln_" + std::to_string(::getpid()) + ".txt");
    const std::string command = "'" + pdftotext.string() + "' -enc UTF-8 '" +
                                (kProgramFolder / "Regeln.pdf").string() + "' '" + text.string() +
                                "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string extracted = ReadFile(text);
    fs::remove(text);
    EXPECT_NE(extracted.find(title), std::string::npos) << extracted.substr(0, 400);
    EXPECT_NE(extracted.find(kUmlautWord), std::string::npos);
}

}  // namespace
}  // namespace kelvo::testing
