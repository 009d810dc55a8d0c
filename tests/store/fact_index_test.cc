// The index of the fact base against the literal scans: random sequences of stores (text,
// plus, double-plus, numeric, subscripted and goal names), cuts at the end (jump-backs) and
// lookups, run on two images side by side, must leave the same records, the same RecentStores
// and publish the same lookup results, also when the image runs full.

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "store/fact_base.h"
#include "store/stored_number.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

constexpr std::array<std::string_view, 14> kNames = {"ZIEL",
                                                     "A",
                                                     "+P",
                                                     "+Q",
                                                     "++T",
                                                     "++U",
                                                     "++T{+I}",
                                                     "+S{+I}",
                                                     "[+I]",
                                                     "[N]",
                                                     "[+I               ]XY",
                                                     "[+A{+I}]",
                                                     "B",
                                                     "++V"};

// One image in one search mode with a small program before the fact base.
struct Side {
    explicit Side(SearchMode mode, int reserve) : image(true, reserve), facts(image) {
        std::vector<LineRecord> program;
        program.emplace_back(PadRight("R ZIEL", 82));
        program.emplace_back(PadRight("U A", 82));
        program.emplace_back(PadRight("K", 82));
        EXPECT_TRUE(image.LoadImage(std::move(program)).ok());
        image.SetSearchMode(mode);
        image.StoreRecord(PadRight("B ZIEL", 82), 3);
        image.SetFactBoundary(image.LastRecord());
        facts.SetTopGoal(PadRight("ZIEL", 30));
    }
    KnowledgeBaseImage image;
    FactBase facts;
};

std::string NameOf(std::string_view name) {
    // A numeric name keeps its 18 columns; the odd one above has more behind them.
    if (name.starts_with("[") && name.find(']') != std::string_view::npos && name.size() < 18) {
        const std::size_t close = name.find(']');
        return PadRight(PadRight(name.substr(0, close), 17) + "]", 30);
    }
    return PadRight(name, 30);
}

void ExpectSame(Side& literal, Side& indexed, const std::string& step) {
    ASSERT_EQ(literal.image.LastRecord(), indexed.image.LastRecord()) << step;
    ASSERT_EQ(literal.image.Full(), indexed.image.Full()) << step;
    // Behind LastRecord too: a later cut back up must not find different records.
    for (int p = literal.image.FactBoundary() + 1; p <= literal.image.LastRecord() + 8; ++p) {
        ASSERT_EQ(literal.image.Text(p), indexed.image.Text(p)) << step << " at " << p;
    }
    for (int i = 1; i <= KnowledgeBaseImage::kRecentStoreCount; ++i) {
        ASSERT_EQ(literal.image.RecentStore(i).text(), indexed.image.RecentStore(i).text())
            << step << " RecentStores entry " << i;
    }
}

void ExpectSameLookup(Side& literal, Side& indexed, std::string_view name,
                      const std::string& step) {
    const std::string key = NameOf(name);
    ASSERT_EQ(literal.facts.LookupFact(key), indexed.facts.LookupFact(key)) << step;
    EXPECT_EQ(literal.facts.FoundPosition(), indexed.facts.FoundPosition()) << step;
    EXPECT_EQ(literal.facts.FoundValue(), indexed.facts.FoundValue()) << step;
    EXPECT_EQ(literal.facts.FoundCertainty(), indexed.facts.FoundCertainty()) << step;
    EXPECT_EQ(literal.facts.FoundOrigin(), indexed.facts.FoundOrigin()) << step;
    EXPECT_EQ(literal.facts.FoundNumber(), indexed.facts.FoundNumber()) << step;
    EXPECT_EQ(literal.facts.SubscriptIndex(), indexed.facts.SubscriptIndex()) << step;
}

void RunSequence(std::uint64_t seed, int reserve) {
    std::mt19937_64 random(seed);
    auto between = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    Side literal(SearchMode::Literal, reserve);
    Side indexed(SearchMode::Indexed, reserve);
    for (int step = 0; step < 300; ++step) {
        const std::string what = "seed " + std::to_string(seed) + " step " + std::to_string(step);
        const std::string_view name = kNames[static_cast<std::size_t>(between(0, 13))];
        const int action = between(0, 9);
        if (action <= 5) {
            std::string value;
            if (name.starts_with("[")) {
                value = FormatStoredNumber(between(-1, 4) + 0.5 * between(0, 1));
            } else {
                value = std::string(static_cast<std::size_t>(between(0, 95)), 'a');
                for (char& c : value) {
                    c = static_cast<char>('a' + between(0, 25));
                }
                if (!value.empty() && between(0, 3) == 0) {
                    value[value.size() / 2] = ' ';
                }
                if (name == "ZIEL") {
                    value = std::string(1, static_cast<char>('a' + between(0, 3)));
                }
            }
            const std::string certainty =
                between(0, 1) ? "99" : "4" + std::to_string(between(0, 9));
            const int a = literal.facts.StoreFact(NameOf(name), value, certainty, "01");
            const int b = indexed.facts.StoreFact(NameOf(name), value, certainty, "01");
            ASSERT_EQ(a, b) << what << " storing " << name;
            EXPECT_EQ(literal.facts.SubscriptIndex(), indexed.facts.SubscriptIndex()) << what;
        } else if (action == 6) {
            // A jump back: drop the records from a fact position on.
            const int first =
                between(literal.image.FactBoundary() + 1,
                        std::max(literal.image.FactBoundary() + 1, literal.image.LastRecord()));
            literal.image.SetLastRecord(first);
            indexed.image.SetLastRecord(first);
        } else if (action == 7) {
            const std::string value(1, static_cast<char>('a' + between(0, 3)));
            EXPECT_EQ(literal.facts.FindGoalValue(value), indexed.facts.FindGoalValue(value))
                << what;
        } else {
            ExpectSameLookup(literal, indexed, name, what);
        }
        ExpectSame(literal, indexed, what);
        if (testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

class IndexedFactBase : public testing::TestWithParam<int> {};

TEST_P(IndexedFactBase, AnswersAsTheLiteralScans) {
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        RunSequence(seed * 1000 + static_cast<std::uint64_t>(GetParam()), GetParam());
        if (HasFailure()) {
            return;
        }
    }
}

// A roomy image, and images that run full in the middle of a double-plus rewrite.
INSTANTIATE_TEST_SUITE_P(Reserve, IndexedFactBase, testing::Values(100000, 40, 12));

TEST(IndexedFactBase, ARewriteOfTheSameSizeKeepsEveryLaterRecordInPlace) {
    Side literal(SearchMode::Literal, 1000);
    Side indexed(SearchMode::Indexed, 1000);
    for (Side* side : {&literal, &indexed}) {
        side->facts.StoreFact(NameOf("++T"), std::string(45, 'x'), "99", "02");
        for (int i = 0; i < 30; ++i) {
            side->facts.StoreFact(NameOf("A"), std::to_string(i), "99", "02");
        }
        side->facts.StoreFact(NameOf("++T"), std::string(50, 'y'), "99", "02");
    }
    ExpectSame(literal, indexed, "same size");
    ASSERT_TRUE(indexed.facts.LookupFact(NameOf("++T")));
    EXPECT_EQ(indexed.facts.FoundPosition(), 4);
    EXPECT_EQ(TrimRight(indexed.facts.FoundValue()), std::string(50, 'y'));
}

}  // namespace
}  // namespace kelvo
