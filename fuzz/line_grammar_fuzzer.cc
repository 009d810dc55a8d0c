// The line grammar: a typed program line checked and normalized, and each token step on every
// token of it. A normalized line checked again stays the same, its text form imports back to
// it, and a token's stored form read again gives the same stored form.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "authoring/knowledge_base_text.h"
#include "authoring/line_tokens.h"
#include "authoring/program_line_check.h"
#include "fuzz/fuzz_check.h"

namespace kelvo {
namespace {

std::string WithoutBlanks(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (c != ' ') {
            kept += c;
        }
    }
    return kept;
}

std::string TrimmedRight(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view{}
                                                     : text.substr(0, end + 1));
}

// A well-formed stored form read again by the same step gives itself.
void CheckStepAgain(const TokenStep& step, const TokenStep& again, const char* what) {
    if (!step.ok()) {
        return;
    }
    FuzzExpect(again.ok() && again.stored == step.stored, what, step.stored, again.stored);
}

void CheckTokenSteps(std::string_view token) {
    const TokenStep number = NormalizeNumber(token);
    CheckStepAgain(number, NormalizeNumber(WithoutBlanks(number.stored)), "number again");
    const TokenStep certainty = NormalizeCertainty(token);
    CheckStepAgain(certainty, NormalizeCertainty(WithoutBlanks(certainty.stored)),
                   "certainty again");
    for (const NameRule rule :
         {NameRule::Plain, NameRule::Plus, NameRule::DoublePlus, NameRule::PlusOnly}) {
        const TokenStep text = NormalizeTextName(token, rule);
        CheckStepAgain(text, NormalizeTextName(TrimmedRight(text.stored), rule), "name again");
        const TokenStep numeric = NormalizeNumericName(token, rule);
        CheckStepAgain(numeric, NormalizeNumericName(WithoutBlanks(numeric.stored), rule),
                       "numeric name again");
        for (FormSet forms = 1; forms < 16; ++forms) {
            (void)CheckSlot(token, forms, rule);
        }
    }
    (void)NormalizeTextValue(token);
    (void)CheckSubscript(token);
}

}  // namespace
}  // namespace kelvo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const TokenList tokens = SplitTokens(line);
    FuzzExpect(tokens.tokens.size() <= kKeptTokens && tokens.tokens.size() <= tokens.count,
               "token count");
    for (const std::string& token : tokens.tokens) {
        CheckTokenSteps(token);
    }

    const LineCheck checked = CheckProgramLine(line);
    if (!checked.ok) {
        FuzzExpect(checked.line.empty(), "a faulty line has no normalized form", checked.line);
        return 0;
    }
    FuzzExpect(checked.line.size() == kNormalizedLineWidth, "normalized width", checked.line);
    // Read as typed, a normalized line loses the blanks a "$" put into a text value; every
    // other normalized line the grammar takes again must come out unchanged.
    const LineCheck again = CheckProgramLine(checked.line);
    FuzzExpect(line.find('$') != std::string_view::npos || !again.ok || again.line == checked.line,
               "normalized line checked again", checked.line, again.line);
    if (ExportsExactly(checked.line)) {
        const LineCheck typed = CheckProgramLine(ExportProgramLine(checked.line));
        FuzzExpect(typed.ok && typed.line == checked.line, "text form checked again", checked.line,
                   typed.line);
    }
    return 0;
}
