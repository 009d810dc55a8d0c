#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "store/expected.h"

namespace kelvo {

/// A decoded picture: 8-bit red, green and blue for each pixel, rows from top to bottom.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  ///< width * height * 3 bytes
};

/// The kinds of picture file we draw, told by the last three characters of the name.
enum class PictureKind { Jpeg, Bitmap, Other };

/// "JPG" (any case) is a JPEG picture, "BMP" a bitmap; every other ending is Other.
PictureKind PictureKindOf(std::string_view fileName);

/// The most pixels a decoded picture may have; larger ones fail to decode.
inline constexpr std::size_t kMaxPicturePixels = 64u * 1024u * 1024u;

/// Decodes a JPEG file's bytes (baseline or progressive; grey or colour). Fails, naming the
/// reason, for anything libjpeg does not read or for a picture above kMaxPicturePixels.
Expected<Picture> DecodeJpeg(std::span<const std::uint8_t> bytes);

/// Decodes a Windows bitmap's bytes: uncompressed 1, 4, 8, 16, 24 and 32 bits per pixel,
/// bit-field masks for 16 and 32, bottom-up or top-down rows. Fails, naming the reason, for
/// run-length compression, a damaged file or a picture above kMaxPicturePixels.
Expected<Picture> DecodeBitmap(std::span<const std::uint8_t> bytes);

/// Reads and decodes a picture file by its kind (PictureKindOf its name). Fails when the file
/// cannot be read, is of another kind, or does not decode; the message names the file.
Expected<Picture> LoadPictureFile(const std::filesystem::path& file);

}  // namespace kelvo
