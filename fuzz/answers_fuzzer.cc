// The answers reader: an answers script (JSON Lines) read as `kelvo-cli consult --answers`
// reads it and taken by the pages, questions, file dialogs and the inspector of a fixture
// knowledge base. A first line "#NAME" chooses the fixture tests/app/fixtures/consult/NAME.txt
// (or examples/NAME.txt); without it the form page is answered.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/consult_session.h"
#include "authoring/knowledge_base_text.h"
#include "fuzz/bounded_consultation.h"
#include "fuzz/fuzz_check.h"

namespace kelvo {
namespace {

// The fixtures by name, imported once.
std::map<std::string, std::vector<LineRecord>, std::less<>> LoadFixtures() {
    std::map<std::string, std::vector<LineRecord>, std::less<>> fixtures;
    for (const std::filesystem::path& folder :
         {std::filesystem::path(KELVO_SOURCE_DIR) / "tests/app/fixtures/consult",
          std::filesystem::path(KELVO_SOURCE_DIR) / "examples"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (entry.path().extension() != ".txt") {
                continue;
            }
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string text{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
            TextImport imported = ImportKnowledgeBaseText(text, entry.path().string());
            if (imported.ok()) {
                fixtures.emplace(entry.path().stem().string(), std::move(imported.records));
            }
        }
    }
    FuzzExpect(fixtures.count("form_page") != 0, "the fixtures are missing", KELVO_SOURCE_DIR);
    return fixtures;
}

}  // namespace
}  // namespace kelvo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    static const auto fixtures = LoadFixtures();
    std::string_view script(reinterpret_cast<const char*>(data), size);
    std::string_view name = "form_page";
    if (script.starts_with("#")) {
        const std::size_t end = script.find('\n');
        name = script.substr(1, end == std::string_view::npos ? end : end - 1);
        script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
    }
    (void)cli::JsonDepthWithin(script, cli::kMaxJsonDepth);
    auto answers = cli::ParseAnswers(script, "fuzz.jsonl");
    if (!answers) {
        return 0;
    }
    const auto fixture = fixtures.find(name);
    if (fixture == fixtures.end()) {
        return 0;
    }
    BoundedRunOptions options;
    options.breakpointLine = 3;
    (void)RunBoundedConsultation(fixture->second, std::move(*answers), options);
    return 0;
}
