#include "store/windows1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace kelvo {
namespace {

// Unicode code points of the bytes 80 to 9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char32_t CodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80u];
    }
    return byte;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Returns the byte for a code point, or -1 when the code page has none.
int ByteFor(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<int>(cp);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

// Decodes one UTF-8 sequence at `pos`; returns false for a malformed one (pos then skips a
// byte). Overlong forms and surrogates count as malformed.
bool DecodeUtf8(std::string_view s, std::size_t& pos, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    std::size_t extra = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        ++pos;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1Fu;
        min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0Fu;
        min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07u;
        min = 0x10000;
    } else {
        ++pos;
        return false;
    }
    if (pos + extra >= s.size()) {
        ++pos;
        return false;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto cont = static_cast<unsigned char>(s[pos + k]);
        if ((cont & 0xC0) != 0x80) {
            ++pos;
            return false;
        }
        cp = (cp << 6) | (cont & 0x3Fu);
    }
    pos += extra + 1;
    return cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

struct CaseTables {
    std::array<char, 256> upper{};
    std::array<char, 256> lower{};
};

constexpr CaseTables MakeCaseTables() {
    CaseTables t;
    for (int i = 0; i < 256; ++i) {
        t.upper[static_cast<std::size_t>(i)] = static_cast<char>(i);
        t.lower[static_cast<std::size_t>(i)] = static_cast<char>(i);
    }
    auto pair = [&t](int lower, int upper) {
        t.upper[static_cast<std::size_t>(lower)] = static_cast<char>(upper);
        t.lower[static_cast<std::size_t>(upper)] = static_cast<char>(lower);
    };
    for (int c = 'a'; c <= 'z'; ++c) {
        pair(c, c - 0x20);
    }
    for (int c = 0xE0; c <= 0xFE; ++c) {
        if (c != 0xF7) {  // the division sign has no case
            pair(c, c - 0x20);
        }
    }
    pair(0x9A, 0x8A);  // š Š
    pair(0x9C, 0x8C);  // œ Œ
    pair(0x9E, 0x8E);  // ž Ž
    pair(0xFF, 0x9F);  // ÿ Ÿ
    return t;
}

constexpr CaseTables kCase = MakeCaseTables();

// True when `text` holds a byte that upper-casing may change: a to z, or any byte from 80 on.
// Eight bytes at a time: with the top bit of every byte set first, subtracting a byte value
// from all of them borrows across no byte, and leaves the top bit of a byte set exactly when
// the byte was at least that value.
bool MayChangeCase(std::span<const char> text) {
    constexpr std::uint64_t kTop = 0x8080808080808080;
    constexpr std::uint64_t kEach = 0x0101010101010101;
    std::uint64_t found = 0;
    const auto look = [&found](std::uint64_t word) {
        const std::uint64_t fromA = (word | kTop) - kEach * 'a';
        const std::uint64_t beyondZ = (word | kTop) - kEach * ('z' + 1);
        found |= (word | (fromA & ~beyondZ)) & kTop;
    };
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= text.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        look(word);
    }
    if (at < text.size() && text.size() >= sizeof(std::uint64_t)) {
        // The last eight bytes, some of them looked at before: looking again changes nothing.
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + text.size() - sizeof word, sizeof word);
        look(word);
    } else if (at < text.size()) {
        std::array<char, sizeof(std::uint64_t)> rest;
        rest.fill(' ');  // blanks behind the end
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), rest.begin());
        std::uint64_t word = 0;
        std::memcpy(&word, rest.data(), sizeof word);
        look(word);
    }
    return found != 0;
}

}  // namespace

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    if (IsAscii(bytes)) {
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) {
        AppendUtf8(out, CodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string Utf8ToWindows1252(std::string_view utf8, std::size_t* unmappable) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t bad = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        const int byte = DecodeUtf8(utf8, pos, cp) ? ByteFor(cp) : -1;
        if (byte < 0) {
            out.push_back('?');
            ++bad;
        } else {
            out.push_back(static_cast<char>(byte));
        }
    }
    if (unmappable != nullptr) {
        *unmappable = bad;
    }
    return out;
}

char ToUpperByte(char c) {
    return kCase.upper[static_cast<unsigned char>(c)];
}

char ToLowerByte(char c) {
    return kCase.lower[static_cast<unsigned char>(c)];
}

void ToUpperInPlace(std::span<char> text) {
    if (!MayChangeCase(text)) {
        return;  // most names are upper case already
    }
    for (char& c : text) {
        c = kCase.upper[static_cast<unsigned char>(c)];
    }
}

std::string ToUpper(std::string_view text) {
    std::string out(text);
    ToUpperInPlace(out);
    return out;
}

std::string ToLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = ToLowerByte(c);
    }
    return out;
}

}  // namespace kelvo
