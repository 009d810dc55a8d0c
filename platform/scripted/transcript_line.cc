#include "platform/scripted/transcript_line.h"

#include <algorithm>

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

void AppendJsonString(std::string& out, std::string_view text) {
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c >= 0x20 && c <= 0x7E && c != '"' && c != '\\';
    });
    if (!plain) {
        // Escapes, other characters and invalid sequences exactly as the library writes them.
        out += Dump(nlohmann::json(std::string(text)));
        return;
    }
    out += '"';
    out += text;
    out += '"';
}

}  // namespace kelvo
