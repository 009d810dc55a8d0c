#include "platform/qt/qt_text.h"

#include <array>

namespace kelvo {
namespace {

/// The characters of the bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t CharacterOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80u];
    }
    return byte;
}

char ByteOf(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<char>(character);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == character) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

}  // namespace

QString ToQString(std::string_view windows1252) {
    QString text(static_cast<qsizetype>(windows1252.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : windows1252) {
        *out++ = QChar(CharacterOf(static_cast<unsigned char>(byte)));
    }
    return text;
}

std::string ToWindows1252(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar character = text.at(i);
        if (character.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;  // one character outside the basic plane: one "?"
            bytes.push_back('?');
            continue;
        }
        bytes.push_back(ByteOf(character.unicode()));
    }
    return bytes;
}

QString MessageToQString(std::string_view windows1252) {
    QString text = ToQString(windows1252);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString Utf8ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string QStringToUtf8(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

}  // namespace kelvo
