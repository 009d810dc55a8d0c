#pragma once

namespace kelvo {

/// The X11 key symbol of a Windows virtual-key code as a German keyboard has it ("ß" for
/// VK_OEM_4, "ö" for VK_OEM_3, AltGr for VK_RMENU ...); 0 for a code without one.
unsigned long KeySymbolFor(int virtualKey);

}  // namespace kelvo
