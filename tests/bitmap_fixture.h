#pragma once

#include <filesystem>
#include <fstream>

namespace kelvo {

/// Writes a bitmap of 2 × 1 pixels (24 bits, one black and one red pixel) to `path`.
inline void WriteSmallBitmap(const std::filesystem::path& path) {
    const unsigned char bytes[] = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
        40,  0,   0,  0, 2, 0, 0, 0, 1, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0,   0,   8, 0, 0, 0,
        0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 255, 255, 0, 0, 0, 0};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

}  // namespace kelvo
