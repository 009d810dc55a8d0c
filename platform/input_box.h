#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvo {

/// A modal box with a prompt and a one-line edit field, "OK" and "Abbrechen". Texts are
/// Windows-1252 bytes; the implementation converts at the desktop boundary.
class InputBox {
  public:
    virtual ~InputBox() = default;

    /// Shows the box with `title`, `prompt` and the field preset with `preset`. Returns the
    /// text of the field when the user confirmed, nothing when they cancelled.
    virtual std::optional<std::string> InputQuery(std::string_view title, std::string_view prompt,
                                                  std::string_view preset) = 0;
};

}  // namespace kelvo
