#include "store/fact_base.h"

#include <gtest/gtest.h>

#include "tests/case_name.h"

#include "store/stored_number.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

std::string Name(std::string_view name) {
    return PadRight(name, FactBase::kFieldWidth);
}

// An image with a three-line program and one task copy; the fact base starts behind it.
class FactBaseTest : public testing::Test {
  protected:
    FactBaseTest() : image_(true, 1000), facts_(image_) {
        std::vector<LineRecord> program;
        program.emplace_back(PadRight("R X", 82));
        program.emplace_back(PadRight("U Y", 82));
        program.emplace_back(PadRight("K", 82));
        EXPECT_TRUE(image_.LoadImage(std::move(program)).ok());
        image_.StoreRecord(PadRight("X", 82), 3);  // a task copy naming "X"
        image_.SetFactBoundary(image_.LastRecord());
    }

    // The names of the fact records, newest last.
    std::vector<std::string> FactNames() const {
        std::vector<std::string> names;
        for (int p = image_.FactBoundary() + 1; p <= image_.LastRecord(); ++p) {
            names.push_back(TrimRight(image_.Text(p).substr(0, 30)));
        }
        return names;
    }

    int Store(std::string_view name, std::string_view value, std::string_view certainty = "99",
              std::string_view origin = "02") {
        return facts_.StoreFact(Name(name), value, certainty, origin);
    }

    KnowledgeBaseImage image_;
    FactBase facts_;
};

TEST_F(FactBaseTest, WritesTheFactRecordLayout) {
    const int position = Store("ALTER", "jung", "75", "01");
    EXPECT_EQ(position, 4);
    EXPECT_EQ(image_.Text(4),
              Name("ALTER") + " " + PadRight("jung", 30) + "7501" + std::string(17, ' '));
    ASSERT_TRUE(facts_.LookupFact("alter"));
    EXPECT_EQ(facts_.FoundPosition(), 4);
    EXPECT_EQ(facts_.FoundValue(), PadRight("jung", 30));
    EXPECT_EQ(facts_.FoundCertainty(), 75);
    EXPECT_EQ(facts_.FoundOrigin(), 1);
    EXPECT_EQ(facts_.FoundNumber(), -1.0);
}

TEST_F(FactBaseTest, AFailedLookupResetsTheResults) {
    Store("A", "(           2.000)");
    ASSERT_TRUE(facts_.LookupFact(Name("A")));
    EXPECT_FALSE(facts_.LookupFact(Name("B")));
    EXPECT_EQ(facts_.FoundPosition(), -1);
    EXPECT_EQ(facts_.FoundValue(), "");
    EXPECT_EQ(facts_.FoundNumber(), -1.0);
    EXPECT_EQ(facts_.FoundCertainty(), -1);
    EXPECT_EQ(facts_.FoundOrigin(), -1);
}

TEST_F(FactBaseTest, ANameAssignedTwiceYieldsTheSecondValueAndKeepsTheFirst) {
    Store("FARBE", "rot");
    Store("FARBE", "blau");
    EXPECT_EQ(FactNames(), (std::vector<std::string>{"FARBE", "FARBE"}));
    ASSERT_TRUE(facts_.LookupFact(Name("FARBE")));
    EXPECT_EQ(TrimRight(facts_.FoundValue()), "blau");
    EXPECT_EQ(facts_.FoundPosition(), 5);
}

TEST_F(FactBaseTest, APlusNameIsReplacedInPlace) {
    Store("+A", "eins");
    Store("B", "x");
    EXPECT_EQ(Store("+A", "zwei"), 4);
    EXPECT_EQ(FactNames(), (std::vector<std::string>{"+A", "B"}));
    ASSERT_TRUE(facts_.LookupFact(Name("+A")));
    EXPECT_EQ(TrimRight(facts_.FoundValue()), "zwei");
}

TEST_F(FactBaseTest, ANumericValueIsRead) {
    Store("[+N              ]", FormatStoredNumber(12.5));
    ASSERT_TRUE(facts_.LookupFact(Name("[+N              ]")));
    EXPECT_EQ(facts_.FoundNumber(), 12.5);
}

TEST_F(FactBaseTest, ATextThatLooksLikeANumberIsNoNumber) {
    Store("T", "12");
    ASSERT_TRUE(facts_.LookupFact(Name("T")));
    EXPECT_EQ(facts_.FoundNumber(), -1.0);
}

TEST_F(FactBaseTest, AParenthesisValueThatDoesNotReadKeepsMinusOne) {
    Store("T", "(abc)");
    ASSERT_TRUE(facts_.LookupFact(Name("T")));
    EXPECT_EQ(facts_.FoundNumber(), -1.0);
}

TEST_F(FactBaseTest, LookupsNeverSeeProgramLinesOrTaskCopies) {
    EXPECT_FALSE(facts_.LookupFact(Name("X")));
    EXPECT_FALSE(facts_.LookupFact(Name("R X")));
}

TEST_F(FactBaseTest, AValueIsCutTo30Characters) {
    Store("T", std::string(40, 'v'));
    ASSERT_TRUE(facts_.LookupFact(Name("T")));
    EXPECT_EQ(facts_.FoundValue(), std::string(30, 'v'));
}

TEST_F(FactBaseTest, TheGoalObjectKeepsEachValueOnce) {
    facts_.SetTopGoal(Name("ZIEL"));
    const int first = Store("ZIEL", "a", "40", "01");
    Store("ZIEL", "b", "50", "01");
    EXPECT_EQ(Store("ZIEL", "a", "90", "01"), first);
    EXPECT_EQ(FactNames(), (std::vector<std::string>{"ZIEL", "ZIEL"}));
    EXPECT_EQ(image_.Text(first).substr(61, 4), "9001");
}

TEST_F(FactBaseTest, ADoublePlusValueOf31CharactersTakesTwoRecords) {
    const std::string value = std::string(30, 'a') + "b";
    EXPECT_EQ(Store("++TEXT", value), 4);
    EXPECT_EQ(FactNames(), (std::vector<std::string>{"++TEXT1", "++TEXT2"}));
    ASSERT_TRUE(facts_.LookupFact(Name("++TEXT")));
    EXPECT_EQ(facts_.FoundPosition(), 4);
    EXPECT_EQ(facts_.FoundValue(), value + std::string(29, ' '));
    EXPECT_EQ(facts_.FoundNumber(), -1.0);
}

TEST_F(FactBaseTest, RewritingADoublePlusValueShorterMovesLaterRecordsDown) {
    Store("++TEXT", std::string(31, 'a'));
    Store("B", "b");
    Store("C", "c");
    EXPECT_EQ(Store("++TEXT", "0123456789"), 4);
    EXPECT_EQ(FactNames(), (std::vector<std::string>{"++TEXT1", "B", "C"}));
    ASSERT_TRUE(facts_.LookupFact(Name("++TEXT")));
    EXPECT_EQ(TrimRight(facts_.FoundValue()), "0123456789");
    ASSERT_TRUE(facts_.LookupFact(Name("C")));
    EXPECT_EQ(facts_.FoundPosition(), 6);
}

TEST_F(FactBaseTest, RewritingADoublePlusValueLongerMovesLaterRecordsUp) {
    Store("A", "a");
    Store("++TEXT", "short");
    Store("B", "b");
    const std::string value = std::string(30, 'x') + std::string(30, 'y') + "z";
    EXPECT_EQ(Store("++TEXT", value, "80"), 5);
    EXPECT_EQ(FactNames(), (std::vector<std::string>{"A", "++TEXT1", "++TEXT2", "++TEXT3", "B"}));
    ASSERT_TRUE(facts_.LookupFact(Name("++TEXT")));
    EXPECT_EQ(TrimRight(facts_.FoundValue()), value);
    EXPECT_EQ(facts_.FoundCertainty(), 80);
    ASSERT_TRUE(facts_.LookupFact(Name("B")));
    EXPECT_EQ(TrimRight(facts_.FoundValue()), "b");
}

TEST_F(FactBaseTest, RewritingTheLastDoublePlusValueCutsAndAppends) {
    Store("A", "a");
    Store("++TEXT", std::string(61, 'q'));
    EXPECT_EQ(Store("++TEXT", "kurz"), 5);
    EXPECT_EQ(FactNames(), (std::vector<std::string>{"A", "++TEXT1"}));
}

TEST_F(FactBaseTest, AnEmptyDoublePlusValueStillTakesOneRecord) {
    Store("++LEER", "");
    EXPECT_EQ(FactNames(), (std::vector<std::string>{"++LEER1"}));
    ASSERT_TRUE(facts_.LookupFact(Name("++LEER")));
    EXPECT_EQ(facts_.FoundValue(), std::string(30, ' '));
}

TEST_F(FactBaseTest, MovedDoublePlusRecordsEnterRecentStores) {
    Store("++TEXT", std::string(31, 'a'));
    Store("B", "b");
    Store("++TEXT", "kurz");
    // Moving B down, then the new part: B is the second newest store.
    EXPECT_EQ(TrimRight(image_.RecentStore(1).text().substr(0, 30)), "++TEXT1");
    EXPECT_EQ(TrimRight(image_.RecentStore(2).text().substr(0, 30)), "B");
}

struct SubscriptCase {
    const char* name;
    bool indexKnown;
    double index;
    const char* variable;
    const char* storedAs;
    int subscriptIndex;
};

class SubscriptResolution : public FactBaseTest,
                            public testing::WithParamInterface<SubscriptCase> {};

TEST_P(SubscriptResolution, StoresUnderTheResolvedName) {
    const SubscriptCase& c = GetParam();
    if (c.indexKnown) {
        Store("[+I              ]", FormatStoredNumber(c.index));
    }
    Store(c.variable, "wert");
    EXPECT_EQ(facts_.SubscriptIndex(), c.subscriptIndex);
    EXPECT_EQ(FactNames().back(), c.storedAs);
    ASSERT_TRUE(facts_.LookupFact(Name(c.variable)));
    EXPECT_EQ(TrimRight(facts_.FoundValue()), "wert");
}

INSTANTIATE_TEST_SUITE_P(
    Table, SubscriptResolution,
    testing::Values(
        SubscriptCase{"RoundedIndex", true, 2.6, "[+A{+I}          ]", "[+A{3}           ]", 3},
        SubscriptCase{"HalfRoundsToEven", true, 2.5, "[+A{+I}          ]", "[+A{2}           ]", 2},
        SubscriptCase{"TextName", true, 12, "+T{+I}", "+T{12}", 12},
        SubscriptCase{"DoublePlusName", true, 4, "++T{+I}", "++T{4}1", 4},
        SubscriptCase{"ZeroKeepsTheName", true, 0, "[+A{+I}          ]", "[+A{+I}          ]", -1},
        SubscriptCase{"NegativeKeepsTheName", true, -3, "[+A{+I}          ]", "[+A{+I}          ]",
                      -1},
        SubscriptCase{"UnknownKeepsTheName", false, 0, "[+A{+I}          ]", "[+A{+I}          ]",
                      -1},
        SubscriptCase{"TooManyDigitsKeepTheName", true, 100, "[+A{+I}          ]",
                      "[+A{+I}          ]", -1},
        SubscriptCase{"LiteralIndexIsPartOfTheName", true, 5, "[+A{7}           ]",
                      "[+A{7}           ]", -1}),
    CaseName());

TEST_F(FactBaseTest, ResolveSubscriptBuildsTheNumericNameField) {
    Store("[+I              ]", FormatStoredNumber(7));
    EXPECT_EQ(facts_.ResolveSubscript(Name(PadRight("[+LR{+I}", 17) + "]")),
              PadRight("[+LR{7}", 17) + "]" + std::string(12, ' '));
    EXPECT_EQ(facts_.SubscriptIndex(), 7);
}

TEST_F(FactBaseTest, ASubscriptTextValueIsNoNumber) {
    Store("[+I              ]", "drei");
    EXPECT_EQ(facts_.ResolveSubscript(Name("+A{+I}")), Name("+A{+I}"));
    EXPECT_EQ(facts_.SubscriptIndex(), -1);
}

TEST(FactBaseCapacity, AFullImageMakesTheStoreFail) {
    KnowledgeBaseImage image(false, 0);  // room for the program and one more record
    ASSERT_TRUE(image.LoadImage(std::vector<LineRecord>{LineRecord("K")}).ok());
    image.SetFactBoundary(0);
    FactBase facts(image);
    EXPECT_EQ(facts.StoreFact(Name("A"), "1", "99", "02"), 1);
    EXPECT_EQ(facts.StoreFact(Name("A"), "2", "99", "02"), 2);
    EXPECT_EQ(facts.StoreFact(Name("A"), "3", "99", "02"), -1);
    EXPECT_EQ(image.LastRecord(), 2);
    EXPECT_TRUE(image.Full());
    EXPECT_EQ(facts.StoreFact(Name("++LANG"), std::string(100, 'x'), "99", "02"), -1);
}

}  // namespace
}  // namespace kelvo
