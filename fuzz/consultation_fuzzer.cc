// A record file loaded, checked as `kelvo-cli check` does, and consulted on the scripted
// desktop with answers from the input, for a bounded number of engine steps. The input is the
// record file, then after the last "\x01ANTWORTEN\x01" the answers script (JSON Lines); a
// first script line "#user" runs the knowledge base as the user module's ".WBB". An input
// that is no record file (most mutations of one are not) is consulted as records made from
// its lines — normalized where the line grammar takes them, as written otherwise — so that
// the engine sees mutated programs too.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/consult_session.h"
#include "authoring/program_line_check.h"
#include "fuzz/bounded_consultation.h"
#include "fuzz/fuzz_file.h"
#include "fuzz/fuzz_input.h"
#include "shell/knowledge_base_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    auto [recordBytes, script] = SplitAtLast(input,
                                             "\x01"
                                             "ANTWORTEN\x01");
    BoundedRunOptions options;
    if (script.starts_with("#user")) {
        options.programmingModule = false;
        script.remove_prefix(5);
    }
    const std::string file = FuzzFileName(options.programmingModule ? ".WBP" : ".WBB");
    if (!WriteFuzzFile(file, recordBytes)) {
        return 0;
    }
    (void)cli::CheckKnowledgeBase(file);
    const auto loaded = LoadKnowledgeBase(file);
    std::vector<LineRecord> records;
    if (loaded) {
        records = loaded->records;
    } else {
        for (const std::string_view line : SplitLines(recordBytes)) {
            const LineCheck checked = CheckProgramLine(line);
            records.emplace_back(checked.ok ? std::string_view(checked.line) : line);
        }
    }
    (void)RunBoundedConsultation(records, AnswersOf(script), options);
    return 0;
}
