#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvo {

/// Width of every normalized program line.
inline constexpr std::size_t kNormalizedLineWidth = 82;

/// The message the editor and the text import show for a faulty line (Windows-1252).
inline constexpr std::string_view kFaultyLineMessage = "Ihre Programmzeile ist Fehlerhaft";

/// The verdict on one typed program line.
struct LineCheck {
    bool ok = false;     ///< well formed
    std::string line;    ///< the normalized line, exactly 82 characters; empty when faulty
    std::string reason;  ///< when faulty: which token and which rule, short (Windows-1252);
                         ///< informative only, it never changes the verdict or the line
};

/// Checks a typed program line (Windows-1252; only its first 83 characters count) and, when
/// it is well formed, gives its normalized form: kind letter upper-cased, names upper-cased
/// and padded, numbers formatted, operators and values at their fixed columns. Pure: no
/// state survives a call.
LineCheck CheckProgramLine(std::string_view line);

}  // namespace kelvo
