#pragma once

#include <string>
#include <string_view>

#include "platform/clipboard.h"

namespace kelvo::testing {

/// A clipboard that keeps its text in memory.
class MemoryClipboard final : public Clipboard {
  public:
    std::string Text() override { return text; }
    void SetText(std::string_view newText) override { text = newText; }
    std::string text;
};

}  // namespace kelvo::testing
