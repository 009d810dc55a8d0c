#pragma once

// The transcript's description of a built consultation page and of the runtime inspector
// (docs/consult-format.md); texts converted to UTF-8.

#include <nlohmann/json.hpp>

#include "forms/consultation_form.h"
#include "inspector/runtime_inspector.h"

namespace kelvo {

/// The transcript name of a field kind: "input", "display", "memo", "memo-display", "button",
/// "checkbox" or "list".
const char* FieldKindName(FieldKind kind);

/// The keys of a "page" event: mode, caption, lines, fields, pictures, media, toolbar, window.
nlohmann::json FormJson(const TForm6& form);

/// The keys of an "inspector" event: title, rows (right-trimmed), watched, breakpoint button.
nlohmann::json InspectorJson(const TForm7& inspector);

}  // namespace kelvo
