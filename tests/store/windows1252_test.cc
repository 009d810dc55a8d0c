#include "store/windows1252.h"

#include <gtest/gtest.h>

#include "tests/case_name.h"

namespace kelvo {
namespace {

TEST(Windows1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    std::size_t unmappable = 99;
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all), &unmappable), all);
    EXPECT_EQ(unmappable, 0u);
}

struct CodecCase {
    const char* name;
    std::string bytes;
    std::string utf8;
};

class Windows1252Codec : public testing::TestWithParam<CodecCase> {};

TEST_P(Windows1252Codec, ConvertsBothWays) {
    EXPECT_EQ(Windows1252ToUtf8(GetParam().bytes), GetParam().utf8);
    EXPECT_EQ(Utf8ToWindows1252(GetParam().utf8), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, Windows1252Codec,
    testing::Values(CodecCase{"Guillemets", "\xAB\xBB", "«»"},
                    CodecCase{"Umlauts", "\xC4\xD6\xDC\xE4\xF6\xFC\xDF", "ÄÖÜäöüß"},
                    CodecCase{"Euro", "\x80", "€"}, CodecCase{"Quotes", "\x84\x93", "„“"},
                    CodecCase{"UndefinedByte", "\x81", "\xC2\x81"}),
    CaseName());

TEST(Windows1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    std::size_t unmappable = 0;
    EXPECT_EQ(Utf8ToWindows1252("a\xE2\x88\x9E"
                                "b😀",
                                &unmappable),
              "a?b?");  // ∞ and an emoji
    EXPECT_EQ(unmappable, 2u);
}

TEST(Windows1252, MalformedUtf8BecomesQuestionMarks) {
    std::size_t unmappable = 0;
    EXPECT_EQ(Utf8ToWindows1252("x\xC3", &unmappable), "x?");    // truncated sequence
    EXPECT_EQ(Utf8ToWindows1252("\xC0\xAF", &unmappable), "?");  // overlong "/"
    EXPECT_EQ(Utf8ToWindows1252("\xED\xA0\x80"), "?");           // a surrogate
}

TEST(Windows1252, CaseTablesFoldTheCodePageLetters) {
    EXPECT_EQ(ToUpper("abc \xE4\xF6\xFC \xE9\xE8 \x9A\x9C\x9E\xFF"),
              "ABC \xC4\xD6\xDC \xC9\xC8 \x8A\x8C\x8E\x9F");
    EXPECT_EQ(ToLower("ABC \xC4\xD6\xDC \xC9\xC8 \x8A\x8C\x8E\x9F"),
              "abc \xE4\xF6\xFC \xE9\xE8 \x9A\x9C\x9E\xFF");
}

TEST(Windows1252, CaseTablesLeaveCaselessCharactersAlone) {
    // ß, µ, the division and multiplication signs and the guillemets have no other case.
    const std::string caseless = "\xDF\xB5\xF7\xD7\xAB\xBB 1+[";
    EXPECT_EQ(ToUpper(caseless), caseless);
    EXPECT_EQ(ToLower(caseless), caseless);
}

// Upper-casing skips texts it would not change; every byte, at every place of a name-long
// text and of texts around a word's length, must still be found and folded.
TEST(Windows1252, UpperCaseFindsEveryByteAtEveryPlace) {
    for (const std::size_t length : {1u, 7u, 8u, 9u, 16u, 30u, 31u}) {
        for (int byte = 0; byte < 256; ++byte) {
            for (std::size_t at = 0; at < length; ++at) {
                std::string text(length, 'A');
                text[at] = static_cast<char>(byte);
                std::string expected = text;
                expected[at] = ToUpperByte(text[at]);
                ToUpperInPlace(text);
                ASSERT_EQ(text, expected) << "byte " << byte << " at " << at << " of " << length;
            }
        }
    }
}

}  // namespace
}  // namespace kelvo
