// The JPEG decoder over arbitrary bytes.

#include <cstddef>
#include <cstdint>
#include <span>

#include "forms/picture_file.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    const auto picture = DecodeJpeg(std::span<const std::uint8_t>(data, size));
    if (picture) {
        FuzzExpect(picture->width > 0 && picture->height > 0 &&
                       picture->rgb.size() == static_cast<std::size_t>(picture->width) *
                                                  static_cast<std::size_t>(picture->height) * 3,
                   "picture size");
    }
    return 0;
}
