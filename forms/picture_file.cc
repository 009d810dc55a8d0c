#include "forms/picture_file.h"

// clang-format off
#include <cstdio>   // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
#include <jerror.h>  // the message codes of libjpeg
// clang-format on

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <fstream>
#include <iterator>
#include <string>

#include "store/windows1252.h"

namespace kelvo {
namespace {

// --- JPEG ----------------------------------------------------------------------------------

// libjpeg reports a fatal error through error_exit, which must not return: we jump back to
// the decoder with the message.
struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void JpegSilent(j_common_ptr /*info*/) {}

// Warnings are not shown, but data that end before the picture does make it damaged: libjpeg
// would go on with grey for every missing row, so that a file of a hundred bytes could ask for
// a picture of 64 million pixels and hundreds of megabytes.
void JpegWarning(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
        JpegErrorExit(info);
    }
}

// The most working memory the decoder may take (the largest picture in progressive mode needs
// about 400 MB); beyond it libjpeg fails instead of allocating.
constexpr long kMaxJpegMemory = 1024L * 1024L * 1024L;

// The decoder proper, kept free of objects with destructors so that the jump back is sound.
// `out` belongs to the caller.
bool DecodeJpegInto(const std::uint8_t* data, std::size_t size, Picture* out,
                    JpegErrorManager* error) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&error->base);
    error->base.error_exit = JpegErrorExit;
    error->base.output_message = JpegSilent;
    error->base.emit_message = JpegWarning;
    error->message[0] = '\0';
    if (setjmp(error->jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    // The size is checked before the decoder starts: a progressive picture gets the buffers
    // of its whole image there, which a few hundred bytes can make tens of gigabytes large.
    if (static_cast<std::size_t>(info.image_width) * info.image_height > kMaxPicturePixels) {
        std::snprintf(error->message, sizeof error->message,
                      "Bild ist leer oder hat zu viele Bildpunkte");
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.mem->max_memory_to_use = kMaxJpegMemory;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const std::size_t width = info.output_width;
    const std::size_t height = info.output_height;
    if (info.output_components != 3 || width == 0 || height == 0 ||
        width * height > kMaxPicturePixels) {
        std::snprintf(error->message, sizeof error->message,
                      "Bild ist leer oder hat zu viele Bildpunkte");
        jpeg_destroy_decompress(&info);
        return false;
    }
    out->width = static_cast<int>(width);
    out->height = static_cast<int>(height);
    out->rgb.assign(width * height * 3, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->rgb.data() + static_cast<std::size_t>(info.output_scanline) * width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// --- bitmap --------------------------------------------------------------------------------

// Little-endian fields of the file, read with bounds checks.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool Has(std::size_t offset, std::size_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    std::uint32_t U16(std::size_t offset) const {
        return static_cast<std::uint32_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    std::uint32_t U32(std::size_t offset) const { return U16(offset) | (U16(offset + 2) << 16); }
    std::int32_t S32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
    std::uint8_t Byte(std::size_t offset) const { return bytes_[offset]; }

  private:
    std::span<const std::uint8_t> bytes_;
};

// A colour channel given by a bit mask, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t maximum = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            maximum = mask >> shift;
        }
    }
    std::uint8_t Value(std::uint32_t pixel) const {
        if (maximum == 0) {
            return 0;
        }
        const std::uint32_t value = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>(value * 255u / maximum);
    }
};

Error BitmapError(const std::string& what) {
    return Error{"Bitmap: " + what};
}

// File header (14 bytes):
//   offset 0  2  "BM"
//   offset 10 4  offset of the pixel data
// Info header, from offset 14:
//   size 12 (OS/2): 18 width (16 bits), 20 height (16), 22 planes, 24 bits per pixel;
//                   palette entries of 3 bytes (blue, green, red)
//   size 40 or more: 18 width (32, signed), 22 height (32; negative: rows top-down),
//                   26 planes, 28 bits per pixel, 30 compression (0 none, 3 bit fields),
//                   46 colours used; masks red, green, blue at 54 (after a 40-byte header)
//                   or inside a longer header; palette entries of 4 bytes (blue, green,
//                   red, unused)
// Rows are padded to a multiple of 4 bytes.
Expected<Picture> DecodeBitmapBytes(std::span<const std::uint8_t> bytes) {
    const Reader in(bytes);
    if (!in.Has(0, 18) || in.Byte(0) != 'B' || in.Byte(1) != 'M') {
        return BitmapError("keine Bitmap-Datei");
    }
    const std::size_t dataOffset = in.U32(10);
    const std::size_t headerSize = in.U32(14);
    if (headerSize != 12 && headerSize < 40) {
        return BitmapError("unbekannter Dateikopf");
    }
    if (!in.Has(14, headerSize)) {
        return BitmapError("Datei ist abgeschnitten");
    }
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    std::size_t colours = 0;
    std::size_t paletteEntry = 4;
    if (headerSize == 12) {
        width = in.U16(18);
        height = in.U16(20);
        bits = in.U16(24);
        paletteEntry = 3;
    } else {
        width = in.S32(18);
        height = in.S32(22);
        bits = in.U16(28);
        compression = in.U32(30);
        colours = in.U32(46);
    }
    const bool topDown = height < 0;
    height = topDown ? -height : height;
    if (width <= 0 || height <= 0 ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) >
            kMaxPicturePixels) {
        return BitmapError("Bild mit " + std::to_string(width) + " x " + std::to_string(height) +
                           " Bildpunkten wird nicht gelesen");
    }
    if (compression != 0 && !(compression == 3 && (bits == 16 || bits == 32))) {
        return BitmapError("Kompression " + std::to_string(compression) + " wird nicht gelesen");
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return BitmapError(std::to_string(bits) + " Bit je Bildpunkt werden nicht gelesen");
    }

    // Bit fields: the masks follow a 40-byte header or stand inside a longer one.
    std::uint32_t masks[3] = {0x7C00u, 0x03E0u, 0x001Fu};
    if (bits == 32) {
        masks[0] = 0x00FF0000u;
        masks[1] = 0x0000FF00u;
        masks[2] = 0x000000FFu;
    }
    std::size_t paletteOffset = 14 + headerSize;
    if (compression == 3) {
        if (!in.Has(54, 12)) {
            return BitmapError("Datei ist abgeschnitten");
        }
        for (std::size_t i = 0; i < 3; ++i) {
            masks[i] = in.U32(54 + 4 * i);
        }
        if (headerSize == 40) {
            paletteOffset += 12;
        }
    }
    const Channel red(masks[0]);
    const Channel green(masks[1]);
    const Channel blue(masks[2]);

    // The palette of the indexed kinds.
    std::vector<std::uint8_t> palette;
    if (bits <= 8) {
        // Without a count of colours used the table is as long as the room before the
        // pixel data allows, at most the full table.
        const std::size_t maximum = std::size_t{1} << bits;
        const std::size_t room =
            dataOffset > paletteOffset ? (dataOffset - paletteOffset) / paletteEntry : 0;
        if (colours == 0) {
            colours = std::min(maximum, room);
        }
        colours = std::min(colours, maximum);
        if (colours == 0) {
            return BitmapError("Farbtabelle fehlt");
        }
        if (!in.Has(paletteOffset, colours * paletteEntry)) {
            return BitmapError("Farbtabelle ist abgeschnitten");
        }
        palette.assign(maximum * 3, 0);
        for (std::size_t i = 0; i < colours; ++i) {
            const std::size_t at = paletteOffset + i * paletteEntry;
            palette[i * 3] = in.Byte(at + 2);
            palette[i * 3 + 1] = in.Byte(at + 1);
            palette[i * 3 + 2] = in.Byte(at);
        }
    }

    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    const std::size_t stride = (w * bits + 31) / 32 * 4;
    if (!in.Has(dataOffset, stride * h)) {
        return BitmapError("Bilddaten sind abgeschnitten");
    }
    Picture picture;
    picture.width = static_cast<int>(w);
    picture.height = static_cast<int>(h);
    picture.rgb.assign(w * h * 3, 0);
    for (std::size_t y = 0; y < h; ++y) {
        const std::size_t row = dataOffset + (topDown ? y : h - 1 - y) * stride;
        std::uint8_t* out = picture.rgb.data() + y * w * 3;
        for (std::size_t x = 0; x < w; ++x, out += 3) {
            if (bits <= 8) {
                const std::size_t bit = x * bits;
                const std::uint32_t byte = in.Byte(row + bit / 8);
                const std::uint32_t shift = 8 - bits - static_cast<std::uint32_t>(bit % 8);
                const std::size_t index = (byte >> shift) & ((1u << bits) - 1u);
                out[0] = palette[index * 3];
                out[1] = palette[index * 3 + 1];
                out[2] = palette[index * 3 + 2];
            } else if (bits == 24) {
                const std::size_t at = row + x * 3;
                out[0] = in.Byte(at + 2);
                out[1] = in.Byte(at + 1);
                out[2] = in.Byte(at);
            } else {
                const std::uint32_t pixel = bits == 16 ? in.U16(row + x * 2) : in.U32(row + x * 4);
                out[0] = red.Value(pixel);
                out[1] = green.Value(pixel);
                out[2] = blue.Value(pixel);
            }
        }
    }
    return picture;
}

}  // namespace

PictureKind PictureKindOf(std::string_view fileName) {
    const std::string ending =
        ToUpper(fileName.size() >= 3 ? fileName.substr(fileName.size() - 3) : fileName);
    if (ending == "JPG") {
        return PictureKind::Jpeg;
    }
    if (ending == "BMP") {
        return PictureKind::Bitmap;
    }
    return PictureKind::Other;
}

Expected<Picture> DecodeJpeg(std::span<const std::uint8_t> bytes) {
    Picture picture;
    JpegErrorManager error;
    if (bytes.empty() || !DecodeJpegInto(bytes.data(), bytes.size(), &picture, &error)) {
        return Error{std::string("JPEG: ") + (bytes.empty() ? "leere Datei" : error.message)};
    }
    return picture;
}

Expected<Picture> DecodeBitmap(std::span<const std::uint8_t> bytes) {
    return DecodeBitmapBytes(bytes);
}

Expected<Picture> LoadPictureFile(const std::filesystem::path& file) {
    const PictureKind kind = PictureKindOf(file.filename().string());
    if (kind == PictureKind::Other) {
        return Error{file.string() + ": keine JPEG- oder Bitmap-Datei"};
    }
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return Error{file.string() + ": Datei kann nicht gelesen werden"};
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                          std::istreambuf_iterator<char>());
    if (stream.bad()) {
        return Error{file.string() + ": Datei kann nicht gelesen werden"};
    }
    Expected<Picture> picture = kind == PictureKind::Jpeg ? DecodeJpeg(bytes) : DecodeBitmap(bytes);
    if (!picture) {
        return Error{file.string() + ": " + picture.error().message};
    }
    return picture;
}

}  // namespace kelvo
