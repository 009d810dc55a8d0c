#include "store/fact_record.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "store/text_field.h"
#include "tests/case_name.h"

namespace kelvo {
namespace {

// A record as StoreFact writes it, then cut or lengthened to `length`.
std::string Record(std::string_view name, std::string_view value, std::string_view certainty,
                   std::string_view origin, std::size_t length) {
    std::string text(FactRecord::Compose(name, value, certainty, origin).view());
    text.resize(length, 'X');
    return text;
}

struct RecordCase {
    std::string name;
    std::string text;
    std::string factName;  ///< expected columns 1-30, right-trimmed
    std::string value;     ///< expected columns 32-61, right-trimmed
    std::string certainty;
    std::string origin;
    int certaintyNumber;
    int originNumber;

    friend void PrintTo(const RecordCase& row, std::ostream* out) { *out << row.name; }
};

class FactRecordColumns : public testing::TestWithParam<RecordCase> {};

TEST_P(FactRecordColumns, ReadsEachFieldPaddedToItsWidth) {
    const RecordCase& row = GetParam();
    const FactRecord record(row.text);
    EXPECT_EQ(record.Name(), PadRight(row.factName, 30));
    EXPECT_EQ(record.Value(), PadRight(row.value, 30));
    EXPECT_EQ(record.Certainty(), row.certainty);
    EXPECT_EQ(record.Origin(), row.origin);
    EXPECT_EQ(record.CertaintyNumber(), row.certaintyNumber);
    EXPECT_EQ(record.OriginNumber(), row.originNumber);
    EXPECT_TRUE(record.NameEquals(PadRight(row.factName, 30)));
}

INSTANTIATE_TEST_SUITE_P(
    Store, FactRecordColumns,
    testing::Values(RecordCase{"Exactly82", Record("WETTER", "kalt", "90", "01", 82), "WETTER",
                               "kalt", "90", "01", 90, 1},
                    // Column 83 (a record's longest text) belongs to no field.
                    RecordCase{"Length83", Record("WETTER", "kalt", "90", "01", 83), "WETTER",
                               "kalt", "90", "01", 90, 1},
                    RecordCase{"ShortEndsInTheCertainty", Record("+X", "ja", "99", "02", 62), "+X",
                               "ja", "9 ", "  ", -1, -1},
                    RecordCase{"ShortEndsInTheValue", Record("+X", "ja und nein", "99", "02", 36),
                               "+X", "ja un", "  ", "  ", -1, -1},
                    RecordCase{"ShortEndsInTheName", "[+ZAHL", "[+ZAHL", "", "  ", "  ", -1, -1},
                    RecordCase{"Empty", "", "", "", "  ", "  ", -1, -1},
                    // Windows-1252 bytes are single characters: the columns do not shift.
                    RecordCase{"UmlautBytes",
                               Record("GR\xD6\xDF"
                                      "E",
                                      "\xE4\xF6\xFC\xDF", "75", "02", 82),
                               "GR\xD6\xDF"
                               "E",
                               "\xE4\xF6\xFC\xDF", "75", "02", 75, 2},
                    RecordCase{"FullWidthFields",
                               Record(std::string(30, 'N'), std::string(30, 'v'), "00", "01", 82),
                               std::string(30, 'N'), std::string(30, 'v'), "00", "01", 0, 1},
                    RecordCase{"CertaintyNotDigits", Record("A", "x", "9x", "2", 82), "A", "x",
                               "9x", "2 ", -1, -1}),
    CaseName{});

TEST(FactRecord, ComposeCutsEachFieldToItsWidth) {
    const std::string text(
        FactRecord::Compose(std::string(35, 'n'), std::string(40, 'w'), "999", "0201").view());
    ASSERT_EQ(text.size(), FactRecord::kLength);
    EXPECT_EQ(text.substr(0, 30), std::string(30, 'n'));
    EXPECT_EQ(text[30], ' ');
    EXPECT_EQ(text.substr(31, 30), std::string(30, 'w'));
    EXPECT_EQ(text.substr(61, 4), "9902");
    EXPECT_EQ(text.substr(65), std::string(17, ' '));
}

TEST(FactRecord, NameComparisonsReadBlanksBeyondAShortText) {
    const FactRecord record("WETTER");
    EXPECT_TRUE(record.NameEquals(PadRight("WETTER", 30)));
    EXPECT_FALSE(record.NameEquals("WETTER"));  // not a 30-character name
    EXPECT_FALSE(record.NameEquals(PadRight("WETTE", 30)));
    EXPECT_TRUE(record.BeginsWith("WETTER   "));
    EXPECT_FALSE(record.BeginsWith("WETTERX"));
    EXPECT_TRUE(record.BeginsWith(""));
}

struct NameCase {
    std::string name;
    std::string factName;
    FactNameKind kind;
    bool plus;
    bool doublePlus;
    std::optional<std::string> subscript;

    friend void PrintTo(const NameCase& row, std::ostream* out) { *out << row.name; }
};

class FactNameForms : public testing::TestWithParam<NameCase> {};

TEST_P(FactNameForms, AreToldByTheirFirstCharactersAndBraces) {
    const NameCase& row = GetParam();
    const FactNameForm form = FactNameFormOf(PadRight(row.factName, 30));
    EXPECT_EQ(form.kind, row.kind);
    EXPECT_EQ(form.plus, row.plus);
    EXPECT_EQ(form.doublePlus, row.doublePlus);
    EXPECT_EQ(form.subscript, row.subscript);
    const std::string record(FactRecord::Compose(row.factName, "", "99", "02").view());
    EXPECT_EQ(FactRecord(record).NameForm().plus, row.plus);
}

INSTANTIATE_TEST_SUITE_P(
    Store, FactNameForms,
    testing::Values(
        NameCase{"Text", "WETTER", FactNameKind::Text, false, false, std::nullopt},
        NameCase{"Numeric", "[ALTER           ]", FactNameKind::Numeric, false, false,
                 std::nullopt},
        NameCase{"Plus", "+NAME", FactNameKind::Text, true, false, std::nullopt},
        NameCase{"NumericPlus", "[+LS             ]", FactNameKind::Numeric, true, false,
                 std::nullopt},
        NameCase{"DoublePlus", "++WB_LESEN", FactNameKind::Text, true, true, std::nullopt},
        NameCase{"LiteralSubscript", "+A{3}", FactNameKind::Text, true, false, "3"},
        NameCase{"VariableSubscript", "++ZIELE{+I}", FactNameKind::Text, true, true, "+I"},
        NameCase{"NumericSubscript", "[+A{+I}         ]", FactNameKind::Numeric, true, false, "+I"},
        NameCase{"EmptySubscript", "+A{}", FactNameKind::Text, true, false, ""},
        NameCase{"BracesTheWrongWayRound", "+A}3{", FactNameKind::Text, true, false, std::nullopt},
        NameCase{"LastBracesCount", "+A{1}{2}", FactNameKind::Text, true, false, "2"},
        NameCase{"PlusInsideIsNoPlusName", "A+B", FactNameKind::Text, false, false, std::nullopt}),
    CaseName{});

}  // namespace
}  // namespace kelvo
