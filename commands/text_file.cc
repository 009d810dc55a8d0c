#include "commands/text_file.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <system_error>

#include "store/atomic_file.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 (without its mark) to UTF-8; an unpaired surrogate or an odd last byte becomes "?".
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    auto unit = [&](std::size_t at) -> std::uint32_t {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? (std::uint32_t{first} << 8) | second
                         : (std::uint32_t{second} << 8) | first;
    };
    std::size_t at = 0;
    while (at + 1 < bytes.size()) {
        std::uint32_t code = unit(at);
        at += 2;
        if (code >= 0xD800 && code < 0xDC00 && at + 1 < bytes.size()) {
            const std::uint32_t low = unit(at);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            } else {
                code = '?';
            }
        } else if (code >= 0xD800 && code < 0xE000) {
            code = '?';
        }
        AppendUtf8(out, code);
    }
    if (at < bytes.size()) {
        out += '?';
    }
    return out;
}

std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string DecodeTextFile(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return WithCrLf(Utf8ToWindows1252(bytes.substr(3)));
    }
    if (bytes.starts_with("\xFF\xFE")) {
        return WithCrLf(Utf8ToWindows1252(Utf16ToUtf8(bytes.substr(2), false)));
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return WithCrLf(Utf8ToWindows1252(Utf16ToUtf8(bytes.substr(2), true)));
    }
    return WithCrLf(bytes);
}

std::optional<std::string> LoadTextFile(const std::filesystem::path& path,
                                        std::uintmax_t maxBytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > maxBytes) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return DecodeTextFile(bytes);
}

bool SaveTextFile(const std::filesystem::path& path, std::string_view text,
                  FileFaultInjector* faults) {
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    return ReplaceFileContent(path, bytes, ReplaceMode::Overwrite, faults).replaced;
}

}  // namespace kelvo
