// Data exchange with a fuzzed other knowledge base. The input begins with six bytes: the file
// kind and module, the record number "[+WBNR]", the number of exchange lines (1 to 4) and a
// command code for each of four lines; the rest is the other file, which the exchange lines
// read (and write to). "++WB_LESEN" holds a search text and a variable name in turn.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/knowledge_base_text.h"
#include "engine/consultation.h"
#include "fuzz/bounded_session.h"
#include "fuzz/fuzz_file.h"
#include "platform/scripted/scripted_platform.h"
#include "store/knowledge_base_image.h"
#include "store/random_source.h"
#include "store/stored_number.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

constexpr std::array<std::string_view, 13> kCodes = {
    "(2000)", "(2010)", "(2020)", "(2030)", "(2040)", "(2050)", "(1000)",
    "(1010)", "(1015)", "(1020)", "(1025)", "(1030)", "(1050)"};

constexpr std::size_t kHeader = 7;

}  // namespace
}  // namespace kelvo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    if (size < kHeader) {
        return 0;
    }
    const bool runOnly = (data[0] & 1) != 0;
    const bool programmingModule = (data[0] & 2) == 0;
    const int recordNumber = data[1];
    const int lines = data[2] % 4 + 1;
    const std::string other(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
    const std::string stem = FuzzFileName("");
    if (!WriteFuzzFile(stem + ".WBP", other) || !WriteFuzzFile(stem + ".WBB", other)) {
        return 0;
    }

    // A program whose goal needs B; concluding B runs B's block: "= (V)" stores the names and
    // numbers the exchange lines use, then "= («)" or "= (»)" runs them.
    const bool read = (data[3] % kCodes.size()) < 6;
    std::string program =
        "Z ZIEL\nR ZIEL . ja\nU B (99) . b\nR B . b\nU A (99) . x\nF A (99) . x\n"
        "B B . b\n= (V)\nJ +X . y\n= (" +
        std::string(read ? "\xC2\xAB" : "\xC2\xBB") + ")\n";
    for (int i = 0; i < lines; ++i) {
        const std::string_view code = kCodes[data[3 + i] % kCodes.size()];
        program += "W ++DATEI " + std::string(code) + (runOnly ? " (2)\n" : " (1)\n");
    }
    program += "K\n";
    TextImport imported = ImportKnowledgeBaseText(program, "exchange.txt");
    if (!imported.ok()) {
        return 0;
    }

    KnowledgeBaseImage image(programmingModule, 100000);
    if (!image.LoadImage(std::move(imported.records)).ok()) {
        return 0;
    }
    ScriptedPlatform platform({}, ScriptedOptions{});
    BoundedSession session(platform);
    SeededRandomSource random(1);
    ConsultationServices services{session, session, platform, random, platform};
    ConsultationConfig config;
    config.programmingModule = programmingModule;
    Consultation consultation(image, config, services);
    const std::string searchText = other.substr(0, std::min<std::size_t>(other.size(), 12));
    consultation.SetTaskRunner(TaskSlot::VariableCommands, [&](Consultation& c, int) {
        FactBase& facts = c.facts();
        (void)facts.StoreFact(PadRight("++DATEI", FactBase::kFieldWidth), stem + ".WBP", "99",
                              "02");
        (void)facts.StoreFact(PadRight("[+WBNR           ]", FactBase::kFieldWidth),
                              FormatStoredNumber(recordNumber), "99", "02");
        (void)facts.StoreFact(PadRight("++WB_LESEN", FactBase::kFieldWidth),
                              (data[0] & 4) != 0 ? std::string("Z") : searchText, "99", "02");
    });
    consultation.Run();
    return 0;
}
