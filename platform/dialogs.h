#pragma once

#include <string_view>

namespace kelvo {

enum class MessageIcon { None, Warning, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

/// Message boxes. Texts and captions are Windows-1252 bytes, "\r\n" is a line break. Every box
/// is modal (system-modal where the desktop has it) and returns the button the user chose.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer MessageBox(std::string_view text, std::string_view caption,
                                     MessageIcon icon, MessageButtons buttons) = 0;
};

}  // namespace kelvo
