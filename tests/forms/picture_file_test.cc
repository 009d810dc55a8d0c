// Decoding the picture files of pages, buttons and printouts.
#include "forms/picture_file.h"

#include <gtest/gtest.h>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <sys/resource.h>
// clang-format on

#include <atomic>
#include <cstdlib>
#include <fstream>

#include "tests/case_name.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
void Put32(Bytes& out, std::size_t at, std::uint32_t value) {
    Put16(out, at, value & 0xFFFFu);
    Put16(out, at + 2, value >> 16);
}

// A bitmap with a 40-byte header; `palette` entries are 4 bytes, `pixels` the padded rows.
Bytes Bitmap(int width, int height, int bits, std::uint32_t compression, const Bytes& extra,
             const Bytes& pixels) {
    Bytes out(54, 0);
    out[0] = 'B';
    out[1] = 'M';
    const std::size_t offset = 54 + extra.size();
    Put32(out, 2, static_cast<std::uint32_t>(offset + pixels.size()));
    Put32(out, 10, static_cast<std::uint32_t>(offset));
    Put32(out, 14, 40);
    Put32(out, 18, static_cast<std::uint32_t>(width));
    Put32(out, 22, static_cast<std::uint32_t>(height));
    Put16(out, 26, 1);
    Put16(out, 28, static_cast<std::uint32_t>(bits));
    Put32(out, 30, compression);
    out.insert(out.end(), extra.begin(), extra.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

struct BitmapCase {
    std::string name;
    Bytes file;
    int width;
    int height;
    Bytes rgb;
};

class BitmapDecoding : public testing::TestWithParam<BitmapCase> {};

TEST_P(BitmapDecoding, GivesThePixelsTopDown) {
    const BitmapCase& row = GetParam();
    auto picture = DecodeBitmap(row.file);
    ASSERT_TRUE(picture.ok()) << picture.error().message;
    EXPECT_EQ(picture->width, row.width);
    EXPECT_EQ(picture->height, row.height);
    EXPECT_EQ(picture->rgb, row.rgb);
}

// Two rows of two pixels: top red, green; bottom blue, white.
const Bytes kExpected2x2 = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};

INSTANTIATE_TEST_SUITE_P(
    PictureFile, BitmapDecoding,
    testing::Values(
        BitmapCase{"Bits24BottomUp",
                   Bitmap(2, 2, 24, 0, {},
                          {255, 0, 0, 255, 255, 255, 0, 0,  // bottom row, padded to 8
                           0, 0, 255, 0, 255, 0, 0, 0}),
                   2, 2, kExpected2x2},
        BitmapCase{
            "Bits24TopDown",
            Bitmap(2, -2, 24, 0, {}, {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0}),
            2, 2, kExpected2x2},
        BitmapCase{"Bits8Palette",
                   Bitmap(2, 2, 8, 0, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0},
                          {2, 3, 0, 0, 0, 1, 0, 0}),
                   2, 2, kExpected2x2},
        BitmapCase{"Bits4Palette",
                   Bitmap(2, 2, 4, 0, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0},
                          {0x23, 0, 0, 0, 0x01, 0, 0, 0}),
                   2, 2, kExpected2x2},
        BitmapCase{"Bits1Palette",
                   Bitmap(3, 1, 1, 0, {0, 0, 0, 0, 255, 255, 255, 0}, {0xA0, 0, 0, 0}),
                   3,
                   1,
                   {255, 255, 255, 0, 0, 0, 255, 255, 255}},
        BitmapCase{"Bits16Default555",
                   Bitmap(2, 1, 16, 0, {}, {0x00, 0x7C, 0x1F, 0x00}),
                   2,
                   1,
                   {255, 0, 0, 0, 0, 255}},
        BitmapCase{"Bits32BitFields",
                   Bitmap(1, 1, 32, 3, {0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0},
                          {0x11, 0x22, 0x33, 0x44}),
                   1,
                   1,
                   {0x44, 0x33, 0x22}}),
    CaseName());

struct BrokenCase {
    std::string name;
    Bytes file;
};

class BrokenBitmap : public testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenBitmap, FailsToDecode) {
    auto picture = DecodeBitmap(GetParam().file);
    EXPECT_FALSE(picture.ok());
}

Bytes Truncated() {
    Bytes file = Bitmap(2, 2, 24, 0, {}, Bytes(16, 0));
    file.resize(file.size() - 1);
    return file;
}

Bytes WrongMagic() {
    Bytes file = Bitmap(1, 1, 24, 0, {}, Bytes(4, 0));
    file[0] = 'X';
    return file;
}

INSTANTIATE_TEST_SUITE_P(
    PictureFile, BrokenBitmap,
    testing::Values(BrokenCase{"Empty", {}}, BrokenCase{"WrongMagic", WrongMagic()},
                    BrokenCase{"TruncatedPixels", Truncated()},
                    BrokenCase{"RunLengthCompressed", Bitmap(1, 1, 8, 1, Bytes(8, 0), {0, 0})},
                    BrokenCase{"ZeroWidth", Bitmap(0, 1, 24, 0, {}, Bytes(4, 0))},
                    BrokenCase{"TooManyPixels", Bitmap(100000, 100000, 1, 0, Bytes(8, 0), {})},
                    BrokenCase{"PaletteMissing", Bitmap(1, 1, 8, 0, {}, Bytes(4, 0))}),
    CaseName());

// A JPEG of `width` x `height` pixels of one colour, encoded with libjpeg (progressive when
// asked).
Bytes EncodeJpeg(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                 bool progressive = false) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    for (std::size_t x = 0; x < row.size(); x += 3) {
        row[x] = red;
        row[x + 1] = green;
        row[x + 2] = blue;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

TEST(PictureFile, JpegDecodes) {
    auto picture = DecodeJpeg(EncodeJpeg(17, 9, 200, 40, 10));
    ASSERT_TRUE(picture.ok()) << picture.error().message;
    EXPECT_EQ(picture->width, 17);
    EXPECT_EQ(picture->height, 9);
    ASSERT_EQ(picture->rgb.size(), 17u * 9u * 3u);
    EXPECT_NEAR(picture->rgb[0], 200, 4);
    EXPECT_NEAR(picture->rgb[1], 40, 4);
    EXPECT_NEAR(picture->rgb[2], 10, 4);
}

TEST(PictureFile, DamagedJpegFailsWithoutStoppingTheProgram) {
    Bytes damaged = EncodeJpeg(8, 8, 1, 2, 3);
    damaged.resize(20);
    EXPECT_FALSE(DecodeJpeg(damaged).ok());
    EXPECT_FALSE(DecodeJpeg(Bytes{}).ok());
    EXPECT_FALSE(DecodeJpeg(Bytes{'k', 'e', 'i', 'n'}).ok());
}

// Writes `width` and `height` into the frame header (SOF0 or SOF2) of a JPEG.
Bytes WithDeclaredSize(Bytes jpeg, int width, int height) {
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height & 0xFF);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width & 0xFF);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

// Found by the JPEG fuzz target: a progressive JPEG of a few hundred bytes that declares
// 60000 x 60000 pixels made libjpeg allocate 21 GB for its coefficients before the size was
// checked. Such a picture is refused from its header.
TEST(PictureFile, JpegDeclaringTooManyPixelsIsRefusedBeforeDecoding) {
    for (const bool progressive : {true, false}) {
        const auto picture =
            DecodeJpeg(WithDeclaredSize(EncodeJpeg(8, 8, 1, 2, 3, progressive), 60000, 60000));
        ASSERT_FALSE(picture.ok()) << progressive;
        EXPECT_NE(picture.error().message.find("zu viele Bildpunkte"), std::string::npos)
            << progressive << ": " << picture.error().message;
    }
}

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's allocator calls this for every allocation.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));

/// The largest allocation since it was last set to 0.
std::atomic<std::size_t>& LargestAllocation() {
    static std::atomic<std::size_t> largest{0};
    return largest;
}

void NoteAllocation(const volatile void*, size_t size) {
    std::size_t seen = LargestAllocation().load();
    while (size > seen && !LargestAllocation().compare_exchange_weak(seen, size)) {
    }
}

void NoteFree(const volatile void*) {}
#else
// Decodes `jpeg` with the address space limited to 2 GB and exits with 0 when it was refused
// for its size.
[[noreturn]] void DecodeUnderAddressSpaceLimit(const Bytes& jpeg) {
    constexpr rlim_t kLimit = 2ull * 1024 * 1024 * 1024;
    rlimit limit{};
    limit.rlim_cur = kLimit;
    limit.rlim_max = kLimit;
    setrlimit(RLIMIT_AS, &limit);
    const auto picture = DecodeJpeg(jpeg);
    const bool refused =
        !picture.ok() && picture.error().message.find("zu viele Bildpunkte") != std::string::npos;
    std::_Exit(refused ? 0 : 1);
}
#endif

// The picture is refused for its size, not for memory libjpeg failed to get: with the address
// space limited to 2 GB, as on a machine without that much memory to spare. AddressSanitizer
// reserves more address space than such a limit allows; there its allocator reports every
// allocation, and none may come near the declared pixels.
TEST(PictureFile, JpegDeclaringTooManyPixelsNeedsNoMemoryForThem) {
    const Bytes huge = WithDeclaredSize(EncodeJpeg(8, 8, 1, 2, 3, true), 60000, 60000);
#if defined(__SANITIZE_ADDRESS__)
    static const int installed =
        __sanitizer_install_malloc_and_free_hooks(NoteAllocation, NoteFree);
    ASSERT_NE(installed, 0);
    LargestAllocation().store(0);
    const auto picture = DecodeJpeg(huge);
    const std::size_t largest = LargestAllocation().load();
    ASSERT_FALSE(picture.ok());
    EXPECT_NE(picture.error().message.find("zu viele Bildpunkte"), std::string::npos)
        << picture.error().message;
    EXPECT_LT(largest, std::size_t{64} * 1024 * 1024);
#else
    EXPECT_EXIT(DecodeUnderAddressSpaceLimit(huge), testing::ExitedWithCode(0), "");
#endif
}

// Found by the JPEG fuzz target (a time-out): 94 bytes declaring a grey picture of 1028 x
// 64004 pixels whose data end at once. libjpeg filled every missing row with grey: 200 MB and,
// under the sanitizers, seconds for 94 bytes. Data that end before the picture does make it
// damaged.
TEST(PictureFile, JpegWhoseDataEndEarlyIsDamaged) {
    const Bytes found = {0xff, 0xd8, 0xff, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x03, 0x02, 0x02, 0x02,
                         0x02, 0x02, 0x03, 0x02, 0x00, 0x02, 0x03, 0x03, 0x03, 0x03, 0x04, 0x06,
                         0x04, 0x04, 0x04, 0x04, 0x04, 0x08, 0x06, 0x06, 0x05, 0x0a, 0x09, 0x09,
                         0x08, 0x0a, 0x06, 0x08, 0x09, 0x09, 0x0a, 0x0c, 0x0f, 0x0c, 0x0a, 0x0b,
                         0x0e, 0x0b, 0x09, 0x09, 0x0d, 0x11, 0x0d, 0x0e, 0x0f, 0x10, 0x10, 0x11,
                         0x10, 0x0a, 0x0c, 0x12, 0x13, 0x12, 0x10, 0x13, 0x0f, 0x10, 0x10, 0x10,
                         0xff, 0xc0, 0x00, 0x0b, 0x08, 0xfa, 0x04, 0x04, 0x04, 0x01, 0x01, 0x11,
                         0x00, 0x06, 0xa3, 0xff, 0xda, 0x00, 0x08, 0x01, 0x01, 0x00};
    const auto decoded = DecodeJpeg(found);
    ASSERT_FALSE(decoded.ok());
    EXPECT_NE(decoded.error().message.find("Premature end"), std::string::npos)
        << decoded.error().message;

    // An ordinary picture cut in the middle of its data.
    for (const bool progressive : {false, true}) {
        Bytes cut = EncodeJpeg(64, 64, 10, 20, 30, progressive);
        cut.resize(cut.size() * 2 / 3);
        EXPECT_FALSE(DecodeJpeg(cut).ok()) << progressive;
    }
}

TEST(PictureFile, ProgressiveJpegDecodes) {
    const auto picture = DecodeJpeg(EncodeJpeg(40, 30, 10, 200, 40, true));
    ASSERT_TRUE(picture.ok()) << picture.error().message;
    EXPECT_EQ(picture->width, 40);
    EXPECT_EQ(picture->height, 30);
    EXPECT_NEAR(picture->rgb[1], 200, 4);
}

struct KindCase {
    std::string name;
    std::string file;
    PictureKind kind;
};

class KindOfName : public testing::TestWithParam<KindCase> {};

TEST_P(KindOfName, IsToldByTheLastThreeCharacters) {
    EXPECT_EQ(PictureKindOf(GetParam().file), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(PictureFile, KindOfName,
                         testing::Values(KindCase{"Jpg", "BILD.JPG", PictureKind::Jpeg},
                                         KindCase{"JpgLowerCase", "bild.jpg", PictureKind::Jpeg},
                                         KindCase{"Bmp", "bild.Bmp", PictureKind::Bitmap},
                                         KindCase{"Jpeg", "bild.jpeg", PictureKind::Other},
                                         KindCase{"Png", "bild.png", PictureKind::Other},
                                         KindCase{"Short", "PG", PictureKind::Other}),
                         CaseName());

TEST(PictureFile, LoadsFilesByTheirKind) {
    TempDir dir;
    const Bytes jpeg = EncodeJpeg(4, 3, 0, 0, 0);
    std::ofstream(dir / "a.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()),
               static_cast<std::streamsize>(jpeg.size()));
    // A JPEG named as a bitmap is read as a bitmap, and fails.
    std::ofstream(dir / "b.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()),
               static_cast<std::streamsize>(jpeg.size()));
    auto loaded = LoadPictureFile(dir / "a.jpg");
    ASSERT_TRUE(loaded.ok()) << loaded.error().message;
    EXPECT_EQ(loaded->width, 4);
    auto wrong = LoadPictureFile(dir / "b.bmp");
    ASSERT_FALSE(wrong.ok());
    EXPECT_EQ(wrong.error().message, (dir / "b.bmp").string() + ": Bitmap: keine Bitmap-Datei");
    EXPECT_FALSE(LoadPictureFile(dir / "fehlt.jpg").ok());
}

}  // namespace
}  // namespace kelvo
