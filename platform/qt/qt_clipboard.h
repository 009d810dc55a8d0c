#pragma once

#include "platform/clipboard.h"

namespace kelvo {

/// The system clipboard through QClipboard.
class QtClipboard final : public Clipboard {
  public:
    std::string Text() override;
    void SetText(std::string_view text) override;
};

}  // namespace kelvo
