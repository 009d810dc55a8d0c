// Computation lines as a record file may hold them: each input line is one record behind a
// comment, normalized when the line grammar takes it and as written (cut to 83 characters)
// otherwise; a line "[NAME]=VALUE" is instead a numeric variable of the fact base. Every record
// beginning "M" is run on its own, then the whole computation task below the comment.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/program_line_check.h"
#include "engine/computation.h"
#include "engine/consultation.h"
#include "fuzz/bounded_session.h"
#include "fuzz/fuzz_input.h"
#include "platform/scripted/scripted_platform.h"
#include "store/knowledge_base_image.h"
#include "store/random_source.h"
#include "store/text_field.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<LineRecord> program{LineRecord("K")};
    std::vector<std::pair<std::string, std::string>> facts;
    for (const std::string_view line : SplitLines(input)) {
        const std::size_t equals = line.find(']');
        if (line.starts_with("[") && equals != std::string_view::npos &&
            line.substr(equals + 1).starts_with("=")) {
            facts.emplace_back(
                PadRight(PadRight(line.substr(0, equals), 17) + "]", FactBase::kFieldWidth),
                std::string(line.substr(equals + 2)));
        } else if (const LineCheck checked = CheckProgramLine(line); checked.ok) {
            program.emplace_back(checked.line);
        } else {
            program.emplace_back(line);
        }
    }
    program.emplace_back("K");
    KnowledgeBaseImage image(false, 10000);
    if (!image.LoadImage(std::move(program)).ok()) {
        return 0;
    }
    image.SetProgramEnd(image.LastRecord());
    image.SetFactBoundary(image.LastRecord());

    ScriptedPlatform platform({}, ScriptedOptions{});
    BoundedSession session(platform);
    SeededRandomSource random(1);
    ConsultationServices services{session, session, platform, random, platform};
    ConsultationConfig config;
    config.programmingModule = false;
    Consultation consultation(image, config, services);
    for (const auto& [name, value] : facts) {
        (void)consultation.facts().StoreFact(name, value, "99", "02");
    }
    const int programEnd = image.ProgramEnd();
    for (int p = 1; p < programEnd; ++p) {
        const std::string text(image.Text(p));
        if (text.starts_with("M")) {
            Formel(consultation, p, 50, text);
        }
    }
    consultation.SetSlot(TaskSlot::Computation, 0);
    Formelaufruf(consultation, 99);
    return 0;
}
