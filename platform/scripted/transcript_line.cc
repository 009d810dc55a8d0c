#include "platform/scripted/transcript_line.h"

#include <array>

namespace kelvo {
namespace {

std::string Dump(const nlohmann::json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

void AppendTranscriptLine(std::string& transcript, const nlohmann::json& event) {
    transcript += Dump(event);
    transcript += '\n';
}

bool IsPlainJsonText(std::string_view text) {
    static constexpr std::array<bool, 256> kPlain = [] {
        std::array<bool, 256> plain{};
        for (int c = 0x20; c <= 0x7E; ++c) {
            plain[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
        }
        return plain;
    }();
    // Every byte is looked at: a loop without an early end is cheap for a short field.
    bool plain = true;
    for (const char c : text) {
        plain &= kPlain[static_cast<unsigned char>(c)];
    }
    return plain;
}

void AppendJsonString(std::string& out, std::string_view text) {
    if (!IsPlainJsonText(text)) {
        // Escapes, other characters and invalid sequences exactly as the library writes them.
        out += Dump(nlohmann::json(std::string(text)));
        return;
    }
    out += '"';
    out += text;
    out += '"';
}

}  // namespace kelvo
