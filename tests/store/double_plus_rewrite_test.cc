// Rewrites of a double-plus variable that other facts follow: the indexed fact base writes only
// the parts from the first changed one on and moves the later records once. Each case runs its
// stores on an image in the literal mode and on one in the indexed mode; after every store both
// must hold the same records (also behind LastRecord), the same RecentStores, and give the
// value just stored back.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/fact_base.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

struct Side {
    explicit Side(SearchMode mode) : image(true), facts(image) {
        std::vector<LineRecord> program;
        program.emplace_back(PadRight("R ZIEL", 82));
        program.emplace_back(PadRight("K", 82));
        EXPECT_TRUE(image.LoadImage(std::move(program)).ok());
        image.SetSearchMode(mode);
        image.StoreRecord(PadRight("B ZIEL", 82), 2);
        image.SetFactBoundary(image.LastRecord());
        facts.SetTopGoal(PadRight("ZIEL", 30));
    }
    KnowledgeBaseImage image;
    FactBase facts;
};

// One store: name as the engine passes it, value, certainty.
struct Store {
    std::string name;
    std::string value;
    std::string certainty = "99";
};

std::string Text(char c, std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        text += static_cast<char>(c + static_cast<char>(i % 7));
    }
    return text;
}

struct Case {
    const char* what;
    std::vector<Store> stores;
    // False where a lookup cannot find the stored value by design: a name the engine would
    // have upper-cased first, a name so long that its parts share one name.
    bool readsBack = true;
};

const std::string k95 = Text('a', 95);

const std::vector<Case> kCases = {
    {"a growing value, one character more each time",
     {{"++T", Text('a', 28)},
      {"++T", Text('a', 29)},
      {"++T", Text('a', 30)},
      {"++T", Text('a', 31)},
      {"++T", Text('a', 61)},
      {"++T", Text('a', 62)}}},
    {"the same value again", {{"++T", k95}, {"++T", k95}, {"++T", k95}}},
    {"a change in the last part only", {{"++T", k95}, {"++T", k95.substr(0, 94) + "Z"}}},
    {"a change in the first part", {{"++T", k95}, {"++T", "Z" + k95.substr(1)}}},
    {"a change in a middle part",
     {{"++T", k95}, {"++T", k95.substr(0, 45) + "Z" + k95.substr(46)}}},
    {"a shrinking value",
     {{"++T", k95},
      {"++T", k95.substr(0, 61)},
      {"++T", k95.substr(0, 60)},
      {"++T", "a"},
      {"++T", ""}}},
    {"blanks at the end of a part",
     {{"++T", Text('a', 29) + " " + Text('b', 20)},
      {"++T", Text('a', 29) + " " + Text('b', 21)},
      {"++T", Text('a', 29) + "  "}}},
    {"another certainty keeps no part",
     {{"++T", k95}, {"++T", k95, "50"}, {"++T", k95 + "x", "50"}, {"++T", k95 + "x", "99"}}},
    {"a name in small letters stores under its own spelling",
     {{"++T", k95}, {"++t", k95}, {"++T", k95 + "y"}, {"++t", k95 + "y"}},
     false},
    {"two double-plus variables side by side",
     {{"++T", k95},
      {"++U", k95},
      {"++T", k95 + "1"},
      {"++U", k95 + "2"},
      {"++T", k95 + "12"},
      {"++U", k95.substr(0, 40)}}},
    {"a long name whose part numbers are cut",
     {{"++ABCDEFGHIJKLMNOPQRSTUVWXYZ12", k95},
      {"++ABCDEFGHIJKLMNOPQRSTUVWXYZ12", k95 + "z"},
      {"++ABCDEFGHIJKLMNOPQRSTUVWXYZ12", k95.substr(0, 31)}},
     false},
    {"ten and more parts, where the part numbers get a digit more",
     {{"++T", Text('a', 280)},
      {"++T", Text('a', 300)},
      {"++T", Text('a', 301)},
      {"++T", Text('a', 331)},
      {"++T", Text('a', 280)}}},
};

void ExpectSame(Side& literal, Side& indexed, const std::string& step) {
    ASSERT_EQ(literal.image.LastRecord(), indexed.image.LastRecord()) << step;
    for (int p = literal.image.FactBoundary() + 1; p <= literal.image.LastRecord() + 8; ++p) {
        ASSERT_EQ(literal.image.Text(p), indexed.image.Text(p)) << step << " at " << p;
    }
    for (int i = 1; i <= KnowledgeBaseImage::kRecentStoreCount; ++i) {
        ASSERT_EQ(literal.image.RecentStore(i).text(), indexed.image.RecentStore(i).text())
            << step << " RecentStores entry " << i;
    }
}

class DoublePlusRewrite : public testing::TestWithParam<Case> {};

TEST_P(DoublePlusRewrite, LeavesTheRecordsAndRecentStoresOfTheSingleMoves) {
    const Case& c = GetParam();
    Side literal(SearchMode::Literal);
    Side indexed(SearchMode::Indexed);
    for (Side* side : {&literal, &indexed}) {
        // Facts that follow the variable, so that every rewrite moves them.
        side->facts.StoreFact(PadRight(c.stores.front().name, 30), "start", "99", "01");
        for (int i = 0; i < 4; ++i) {
            side->facts.StoreFact(PadRight("+F" + std::to_string(i), 30), "wert", "99", "01");
        }
    }
    for (std::size_t s = 0; s < c.stores.size(); ++s) {
        const Store& store = c.stores[s];
        const std::string step = std::string(c.what) + ", store " + std::to_string(s + 1);
        const std::string name = PadRight(store.name, 30);
        const int a = literal.facts.StoreFact(name, store.value, store.certainty, "01");
        const int b = indexed.facts.StoreFact(name, store.value, store.certainty, "01");
        ASSERT_EQ(a, b) << step;
        ExpectSame(literal, indexed, step);
        const bool found = indexed.facts.LookupFact(name);
        if (c.readsBack) {
            ASSERT_TRUE(found) << step;
            EXPECT_EQ(TrimRight(indexed.facts.FoundValue()), TrimRight(store.value)) << step;
        }
        ASSERT_EQ(literal.facts.LookupFact(name), found) << step;
        EXPECT_EQ(literal.facts.FoundValue(), indexed.facts.FoundValue()) << step;
        EXPECT_EQ(literal.facts.FoundPosition(), indexed.facts.FoundPosition()) << step;
        EXPECT_EQ(literal.facts.FoundCertainty(), indexed.facts.FoundCertainty()) << step;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DoublePlusRewrite, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& param) {
                             return "Case" + std::to_string(param.index);
                         });

// A lookup repeated with nothing changed keeps its answer; any change in between is seen.
TEST(FactLookup, ARepeatedLookupSeesEveryChangeInBetween) {
    Side side(SearchMode::Indexed);
    const std::string name = PadRight("+P", 30);
    EXPECT_FALSE(side.facts.LookupFact(name));
    EXPECT_FALSE(side.facts.LookupFact(name));
    side.facts.StoreFact(name, "eins", "99", "01");
    ASSERT_TRUE(side.facts.LookupFact(name));
    EXPECT_EQ(TrimRight(side.facts.FoundValue()), "eins");
    ASSERT_TRUE(side.facts.LookupFact(name));
    EXPECT_EQ(TrimRight(side.facts.FoundValue()), "eins");
    side.facts.StoreFact(name, "zwei", "50", "01");
    ASSERT_TRUE(side.facts.LookupFact(name));
    EXPECT_EQ(TrimRight(side.facts.FoundValue()), "zwei");
    EXPECT_EQ(side.facts.FoundCertainty(), 50);
    // A lookup of another name in between, then the first again.
    EXPECT_FALSE(side.facts.LookupFact(PadRight("+Q", 30)));
    EXPECT_EQ(side.facts.FoundPosition(), -1);
    ASSERT_TRUE(side.facts.LookupFact(name));
    EXPECT_EQ(TrimRight(side.facts.FoundValue()), "zwei");
    // A cut that drops the record, and one that exposes it again.
    const int position = side.facts.FoundPosition();
    side.image.SetLastRecord(position);
    EXPECT_FALSE(side.facts.LookupFact(name));
    side.image.SetLastRecord(position + 1);
    ASSERT_TRUE(side.facts.LookupFact(name));
    EXPECT_EQ(side.facts.FoundPosition(), position);
    // A new fact boundary behind the record hides it.
    side.image.SetFactBoundary(position);
    EXPECT_FALSE(side.facts.LookupFact(name));
}

}  // namespace
}  // namespace kelvo
