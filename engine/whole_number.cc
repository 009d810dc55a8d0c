#include "engine/whole_number.h"

namespace kelvo {

int ReadWholeNumber(std::string_view text) {
    int value = 0;
    bool any = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            value = value * 10 + (c - '0');
            any = true;
        } else if (c != ' ' || any) {
            break;
        }
    }
    return value;
}
}  // namespace kelvo
