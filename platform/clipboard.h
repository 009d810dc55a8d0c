#pragma once

#include <string>
#include <string_view>

namespace kelvo {

/// The system clipboard's text. Texts are Windows-1252 bytes; the implementation converts at
/// the desktop boundary.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    /// The clipboard's text; empty when it holds none.
    virtual std::string Text() = 0;
    virtual void SetText(std::string_view text) = 0;
};

}  // namespace kelvo
