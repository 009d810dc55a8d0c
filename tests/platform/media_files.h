#pragma once

// Small media files written by the tests themselves: a WAV of a tone and an uncompressed AVI
// of coloured frames with a moving bar.

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace kelvo::testing {

/// Little-endian RIFF data collected in memory; chunk sizes are patched when a chunk closes.
class RiffBytes {
  public:
    void Tag(std::string_view fourCc) { bytes_.append(fourCc.substr(0, 4)); }
    void U16(std::uint32_t value) {
        for (int i = 0; i < 2; ++i) {
            bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    }
    void U32(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    }
    void Raw(const std::string& data) { bytes_.append(data); }

    /// Starts a chunk ("RIFF" and "LIST" with their form type); returns where its size goes.
    std::size_t Open(std::string_view id, std::string_view form = {}) {
        Tag(id);
        const std::size_t sizeAt = bytes_.size();
        U32(0);
        if (!form.empty()) {
            Tag(form);
        }
        return sizeAt;
    }
    void Close(std::size_t sizeAt) {
        const auto size = static_cast<std::uint32_t>(bytes_.size() - sizeAt - 4);
        for (int i = 0; i < 4; ++i) {
            bytes_[sizeAt + static_cast<std::size_t>(i)] =
                static_cast<char>((size >> (8 * i)) & 0xFF);
        }
        if (bytes_.size() % 2 != 0) {
            bytes_.push_back('\0');
        }
    }
    std::size_t size() const { return bytes_.size(); }
    const std::string& bytes() const { return bytes_; }

    bool WriteTo(const std::filesystem::path& path) const {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
        return static_cast<bool>(out);
    }

  private:
    std::string bytes_;
};

/// A mono 16-bit PCM WAV of a 440 Hz tone, `milliseconds` long at 22,050 samples a second.
inline bool WriteToneWave(const std::filesystem::path& path, int milliseconds) {
    constexpr std::uint32_t kRate = 22050;
    const auto samples =
        static_cast<std::uint32_t>(kRate * static_cast<std::uint32_t>(milliseconds) / 1000);
    RiffBytes riff;
    const std::size_t file = riff.Open("RIFF", "WAVE");
    const std::size_t format = riff.Open("fmt ");
    riff.U16(1);          // PCM
    riff.U16(1);          // mono
    riff.U32(kRate);      // samples a second
    riff.U32(kRate * 2);  // bytes a second
    riff.U16(2);          // bytes a sample
    riff.U16(16);         // bits a sample
    riff.Close(format);
    const std::size_t data = riff.Open("data");
    std::string pcm;
    pcm.reserve(samples * 2);
    for (std::uint32_t i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const auto value = static_cast<std::int16_t>(
            std::lround(8000.0 * std::sin(2.0 * 3.14159265358979 * 440.0 * t)));
        const auto bits = static_cast<std::uint16_t>(value);
        pcm.push_back(static_cast<char>(bits & 0xFF));
        pcm.push_back(static_cast<char>(bits >> 8));
    }
    riff.Raw(pcm);
    riff.Close(data);
    riff.Close(file);
    return riff.WriteTo(path);
}

/// An uncompressed AVI (24-bit bottom-up RGB frames) of `frames` frames of `width` x `height`
/// pixels (width a multiple of 4) at `framesPerSecond`: each frame another colour, with a
/// white bar moving from left to right.
inline bool WriteTestVideo(const std::filesystem::path& path, int frames, int framesPerSecond,
                           int width, int height) {
    const auto frameCount = static_cast<std::uint32_t>(frames);
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    const std::uint32_t frameBytes = w * h * 3;
    RiffBytes riff;
    const std::size_t file = riff.Open("RIFF", "AVI ");
    const std::size_t headers = riff.Open("LIST", "hdrl");
    const std::size_t main = riff.Open("avih");
    riff.U32(1000000 / static_cast<std::uint32_t>(framesPerSecond));  // microseconds a frame
    riff.U32(frameBytes * static_cast<std::uint32_t>(framesPerSecond));
    riff.U32(0);     // padding granularity
    riff.U32(0x10);  // has an index
    riff.U32(frameCount);
    riff.U32(0);  // initial frames
    riff.U32(1);  // streams
    riff.U32(frameBytes);
    riff.U32(w);
    riff.U32(h);
    for (int i = 0; i < 4; ++i) {
        riff.U32(0);
    }
    riff.Close(main);
    const std::size_t streamList = riff.Open("LIST", "strl");
    const std::size_t stream = riff.Open("strh");
    riff.Tag("vids");
    riff.Tag("DIB ");
    riff.U32(0);  // flags
    riff.U16(0);  // priority
    riff.U16(0);  // language
    riff.U32(0);  // initial frames
    riff.U32(1);  // scale
    riff.U32(static_cast<std::uint32_t>(framesPerSecond));
    riff.U32(0);  // start
    riff.U32(frameCount);
    riff.U32(frameBytes);
    riff.U32(0xFFFFFFFF);  // quality
    riff.U32(0);           // sample size
    riff.U16(0);
    riff.U16(0);
    riff.U16(w);
    riff.U16(h);
    riff.Close(stream);
    const std::size_t streamFormat = riff.Open("strf");
    riff.U32(40);
    riff.U32(w);
    riff.U32(h);
    riff.U16(1);   // planes
    riff.U16(24);  // bits a pixel
    riff.U32(0);   // uncompressed
    riff.U32(frameBytes);
    for (int i = 0; i < 4; ++i) {
        riff.U32(0);
    }
    riff.Close(streamFormat);
    riff.Close(streamList);
    riff.Close(headers);

    const std::size_t movie = riff.Open("LIST", "movi");
    const std::size_t movieStart = movie + 4;  // where "movi" stands: the index counts from it
    RiffBytes entries;
    for (std::uint32_t f = 0; f < frameCount; ++f) {
        const std::size_t chunkAt = riff.size();
        const std::size_t chunk = riff.Open("00db");
        std::string pixels(frameBytes, '\0');
        const std::uint32_t barLeft = frameCount > 1 ? f * (w - w / 8) / (frameCount - 1) : 0;
        for (std::uint32_t y = 0; y < h; ++y) {
            for (std::uint32_t x = 0; x < w; ++x) {
                const std::size_t at = 3 * (y * w + x);
                const bool bar = x >= barLeft && x < barLeft + w / 8;
                pixels[at] = static_cast<char>(bar ? 255 : (f * 40) % 256);            // blue
                pixels[at + 1] = static_cast<char>(bar ? 255 : 100 + (f * 15) % 156);  // green
                pixels[at + 2] = static_cast<char>(bar ? 255 : 200 - (f * 20) % 200);  // red
            }
        }
        riff.Raw(pixels);
        riff.Close(chunk);
        entries.Tag("00db");
        entries.U32(0x10);  // key frame
        entries.U32(static_cast<std::uint32_t>(chunkAt - movieStart));
        entries.U32(frameBytes);
    }
    riff.Close(movie);
    const std::size_t indexChunk = riff.Open("idx1");
    riff.Raw(entries.bytes());
    riff.Close(indexChunk);
    riff.Close(file);
    return riff.WriteTo(path);
}

}  // namespace kelvo::testing
