#pragma once

#include "platform/input_box.h"

namespace kelvo {

/// The input box as QInputDialog with "OK" and "Abbrechen".
class QtInputBox final : public InputBox {
  public:
    std::optional<std::string> InputQuery(std::string_view title, std::string_view prompt,
                                          std::string_view preset) override;
};

}  // namespace kelvo
