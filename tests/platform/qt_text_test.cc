#include <gtest/gtest.h>

#include <string>

#include "platform/qt/qt_text.h"
#include "store/windows1252.h"
#include "tests/case_name.h"
#include "tests/ui/qt_printing.h"

namespace kelvo {
namespace {

TEST(QtText, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    const QString text = ToQString(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(ToWindows1252(text), all);
}

TEST(QtText, AgreesWithTheCoresUtf8ConversionForEveryByte) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const std::string utf8 = Windows1252ToUtf8(one);
        EXPECT_EQ(ToQString(one),
                  QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())))
            << "byte " << byte;
    }
}

struct CharacterCase {
    std::string name;
    std::string windows1252;
    char16_t character;
};

class QtTextCharacter : public testing::TestWithParam<CharacterCase> {};

TEST_P(QtTextCharacter, MapsBothWays) {
    const CharacterCase& c = GetParam();
    const QString text = ToQString(c.windows1252);
    ASSERT_EQ(text.size(), 1);
    EXPECT_EQ(text.at(0).unicode(), c.character);
    EXPECT_EQ(ToWindows1252(QString(QChar(c.character))), c.windows1252);
}

INSTANTIATE_TEST_SUITE_P(Umlauts, QtTextCharacter,
                         testing::Values(CharacterCase{"a_umlaut", "\xE4", u'ä'},
                                         CharacterCase{"o_umlaut", "\xF6", u'ö'},
                                         CharacterCase{"u_umlaut", "\xFC", u'ü'},
                                         CharacterCase{"A_umlaut", "\xC4", u'Ä'},
                                         CharacterCase{"O_umlaut", "\xD6", u'Ö'},
                                         CharacterCase{"U_umlaut", "\xDC", u'Ü'},
                                         CharacterCase{"sharp_s", "\xDF", u'ß'},
                                         CharacterCase{"euro", "\x80", u'€'},
                                         CharacterCase{"left_guillemet", "\xAB", u'«'},
                                         CharacterCase{"right_guillemet", "\xBB", u'»'},
                                         CharacterCase{"undefined_81", "\x81", u'\u0081'}),
                         CaseName());

TEST(QtText, CharactersTheCodePageLacksBecomeQuestionMarks) {
    EXPECT_EQ(ToWindows1252(QStringLiteral("a\u0100b")), "a?b");
    // A character outside the basic plane is one character, one "?".
    EXPECT_EQ(ToWindows1252(QString::fromUtf8("x\xF0\x9F\x98\x80y")), "x?y");
}

TEST(QtText, MessagesTurnCarriageReturnLineFeedIntoOneLineBreak) {
    EXPECT_EQ(MessageToQString("Innerhalb des Benutzermodules kann der\r\nHilfemodus"),
              QStringLiteral("Innerhalb des Benutzermodules kann der\nHilfemodus"));
    EXPECT_EQ(MessageToQString("Gr\xF6\xDF"
                               "e \x80"),
              QStringLiteral("Größe €"));
}

TEST(QtText, Utf8PathsPassUnchanged) {
    const std::string path =
        "/tmp/Gr\xC3\xB6\xC3\x9F"
        "e/\xE2\x82\xAC.wbp";
    EXPECT_EQ(QStringToUtf8(Utf8ToQString(path)), path);
    EXPECT_EQ(Utf8ToQString(path), QStringLiteral("/tmp/Größe/€.wbp"));
}

}  // namespace
}  // namespace kelvo
