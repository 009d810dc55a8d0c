#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace kelvo {

// The lines of a consultation transcript (docs/consult-format.md): each event is one compact
// JSON object (keys in the order nlohmann::json keeps them, UTF-8 written as it is, invalid
// UTF-8 replaced by U+FFFD) followed by "\n".

/// Appends `event` as one transcript line.
void AppendTranscriptLine(std::string& transcript, const nlohmann::json& event);

/// True when `text` stands in a JSON string as it is: printable ASCII other than '"' and '\\'.
bool IsPlainJsonText(std::string_view text);

/// Appends the UTF-8 text `text` as a JSON string, byte for byte as AppendTranscriptLine writes
/// a string value. Plain printable ASCII, the common case, is copied without a JSON value.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace kelvo
