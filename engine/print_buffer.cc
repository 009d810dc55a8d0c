#include "engine/print_buffer.h"

namespace kelvo {

void PrintBuffer::ClearPrintBuffer() {
    lines_.clear();
    lines_.reserve(kCapacity);
}

bool PrintBuffer::Append(std::string_view line) {
    if (Full()) {
        return false;
    }
    lines_.emplace_back(line.substr(0, kLineWidth));
    return true;
}

void PrintBuffer::Release() {
    std::vector<std::string>().swap(lines_);
}

}  // namespace kelvo
