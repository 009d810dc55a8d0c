#pragma once

// The one place where text crosses between the core and Qt. The core holds Windows-1252 bytes
// in std::string; Qt holds UTF-16 in QString. Every Qt implementation and view converts here
// and nowhere else: the Qt targets are built with QT_NO_CAST_FROM_ASCII and
// QT_NO_CAST_TO_ASCII, so bytes cannot reach a QString (or leave one) unconverted by accident.

#include <QString>
#include <string>
#include <string_view>

namespace kelvo {

/// Windows-1252 bytes as Qt text; every byte becomes one character (the five bytes the code
/// page leaves undefined become the C1 controls of the same number). Never fails.
QString ToQString(std::string_view windows1252);

/// Qt text as Windows-1252 bytes; a character the code page lacks becomes "?". Never fails.
std::string ToWindows1252(const QString& text);

/// A message text (Windows-1252, "\r\n" as line break) as Qt text with "\n" line breaks.
QString MessageToQString(std::string_view windows1252);

/// A UTF-8 text of the core (paths, transcripts) as Qt text.
QString Utf8ToQString(std::string_view utf8);

/// Qt text as UTF-8 (paths handed back to the core).
std::string QStringToUtf8(const QString& text);

}  // namespace kelvo
