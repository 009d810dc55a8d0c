// The runtime inspector model: its two views, moving, the watched variables, the breakpoint
// and the window size.

#include "inspector/runtime_inspector.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "store/fact_base.h"
#include "store/knowledge_base_image.h"
#include "store/text_field.h"
#include "tests/case_name.h"

namespace kelvo {
namespace {

const std::string kBlankRow(83, ' ');

// A program of three comment lines behind which `count` facts F1, F2, ... are stored.
class InspectorFixture {
  public:
    explicit InspectorFixture(int count) : image_(true) {
        EXPECT_TRUE(image_
                        .LoadImage(std::vector<LineRecord>{LineRecord("K"), LineRecord("K"),
                                                           LineRecord("K")})
                        .ok());
        image_.SetFactBoundary(image_.LastRecord());
        image_.ResetRecentStores();
        for (int i = 1; i <= count; ++i) {
            facts_.StoreFact(PadRight("F" + std::to_string(i), 30), "Wert " + std::to_string(i),
                             "99", "02");
        }
    }

    TForm7 Open(std::array<std::string, 3> watched = {}, int width = 1024, int height = 768,
                FactExplainer explainFact = {}) {
        return TForm7(facts_, breakpoint_, watched, width, height, std::move(explainFact));
    }

    static std::string Row(int i) {
        return TForm7::Umwandeln(PadRight(PadRight("F" + std::to_string(i), 31) +
                                              PadRight("Wert " + std::to_string(i), 30) + "9902",
                                          82)) +
               " ";
    }

    KnowledgeBaseImage image_;
    FactBase facts_{image_};
    int breakpoint_ = 0;
};

TEST(Inspector, UmwandelnWritesTheFactLikeTheLineThatSetsIt) {
    const std::string record = PadRight(PadRight("ALTER", 31) + PadRight("42", 30) + "9902", 82);
    EXPECT_EQ(TForm7::Umwandeln(record),
              "  " + PadRight("ALTER", 30) + " (99) . " + PadRight("42", 30));
    EXPECT_EQ(TForm7::Umwandeln(record).size(), 70u);
}

TEST(Inspector, UmwandelnShowsLineBreaksAndTabsAsHash) {
    const std::string record =
        PadRight(PadRight("TEXT", 31) + PadRight("a\r\nb\tc", 30) + "9902", 82);
    EXPECT_EQ(TForm7::Umwandeln(record).substr(40, 6), "a##b#c");
}

TEST(Inspector, OpensOnTheRecentStoresWithTheNewestInTheMiddleRow) {
    InspectorFixture fixture(3);
    const TForm7 inspector = fixture.Open();
    EXPECT_EQ(inspector.View(), 1);
    EXPECT_EQ(inspector.Title(), "Datenbasis...Letzten 20 Speicherungen");
    for (int row = 0; row < 8; ++row) {
        EXPECT_EQ(inspector.Rows()[static_cast<std::size_t>(row)], kBlankRow) << row;
    }
    EXPECT_EQ(inspector.Rows()[8], InspectorFixture::Row(3));
    EXPECT_EQ(inspector.Rows()[9], InspectorFixture::Row(2));
    EXPECT_EQ(inspector.Rows()[10], InspectorFixture::Row(1));
    EXPECT_EQ(inspector.Rows()[11], TForm7::Umwandeln("Leer") + " ");  // not yet written
    EXPECT_EQ(inspector.ScrollPosition(), 1);
    EXPECT_EQ(inspector.ScrollMax(), 20);
}

struct MoveCase {
    std::string name;
    int view;                        ///< 1 recent stores, 2 all facts
    std::vector<InspectorKey> keys;  ///< applied in order
    int current;
};

class InspectorMoving : public testing::TestWithParam<MoveCase> {};

TEST_P(InspectorMoving, StaysWithinTheView) {
    const MoveCase& row = GetParam();
    InspectorFixture fixture(5);  // facts at positions 3 to 7
    TForm7 inspector = fixture.Open();
    if (row.view == 2) {
        inspector.UmschaltenClick();
    }
    for (const InspectorKey key : row.keys) {
        inspector.Edit_HilfKeyDown(key);
    }
    EXPECT_EQ(inspector.Current(), row.current);
    EXPECT_EQ(inspector.ScrollPosition(), row.current - inspector.First() + 1);
}

using K = InspectorKey;

INSTANTIATE_TEST_SUITE_P(
    Inspector, InspectorMoving,
    testing::Values(MoveCase{"DownToTheSecondNewest", 1, {K::Down}, 2},
                    MoveCase{"UpStopsAtTheNewest", 1, {K::Up}, 1},
                    MoveCase{"PageDownFrom16StopsAt20",
                             1,
                             {K::PageDown, K::PageDown, K::Down, K::Down, K::Down, K::PageDown},
                             20},
                    MoveCase{"PageUp", 1, {K::PageDown, K::PageDown, K::PageUp}, 7},
                    MoveCase{"AllFactsStartsAtTheLast", 2, {}, 7},
                    MoveCase{"UpStopsAtTheFirstFact", 2, {K::Up, K::PageUp, K::Up}, 3},
                    MoveCase{"DownStopsAtTheLastFact", 2, {K::Down}, 7}),
    CaseName{});

TEST(Inspector, SwitchingShowsAllFactsAndNoProgramLine) {
    InspectorFixture fixture(2);
    TForm7 inspector = fixture.Open();
    inspector.UmschaltenClick();
    EXPECT_EQ(inspector.View(), 2);
    EXPECT_EQ(inspector.Title(), "Datenbasis...Komplett anzeigen");
    EXPECT_EQ(inspector.First(), 3);
    EXPECT_EQ(inspector.Limit(), 5);
    EXPECT_EQ(inspector.Rows()[8], InspectorFixture::Row(2));
    EXPECT_EQ(inspector.Rows()[7], InspectorFixture::Row(1));
    EXPECT_EQ(inspector.Rows()[6], kBlankRow);  // a program line is never shown
    EXPECT_EQ(inspector.ScrollMax(), 2);
    EXPECT_EQ(inspector.ScrollPosition(), 2);
    inspector.UmschaltenClick();
    EXPECT_EQ(inspector.View(), 1);
}

TEST(Inspector, AllFactsWithoutFactsShowsNothing) {
    InspectorFixture fixture(0);
    TForm7 inspector = fixture.Open();
    inspector.UmschaltenClick();
    for (const std::string& row : inspector.Rows()) {
        EXPECT_EQ(row, kBlankRow);
    }
    EXPECT_EQ(inspector.ScrollMax(), 1);
}

TEST(Inspector, ClickScrollAndWheel) {
    InspectorFixture fixture(20);
    TForm7 inspector = fixture.Open();
    inspector.text1Click(12);  // the clicked entry moves to the middle row
    EXPECT_EQ(inspector.Current(), 4);
    inspector.ScrollBar1Scroll(10);
    EXPECT_EQ(inspector.Current(), 10);
    inspector.MouseWheelHandler(-120);  // every second message acts
    EXPECT_EQ(inspector.Current(), 10);
    inspector.MouseWheelHandler(-120);
    EXPECT_EQ(inspector.Current(), 11);
    inspector.MouseWheelHandler(120);
    inspector.MouseWheelHandler(120);
    EXPECT_EQ(inspector.Current(), 10);
}

TEST(Inspector, WatchedVariables) {
    InspectorFixture fixture(0);
    fixture.facts_.StoreFact(PadRight("ALTER", 30), "42", "99", "02");
    const TForm7 inspector = fixture.Open({" ALTER ", "", "NOCHNICHT"});
    const auto& watched = inspector.WatchedVariables();
    EXPECT_EQ(watched[0].name, PadRight("ALTER", 30));
    EXPECT_EQ(watched[0].value, PadRight("42", 30));
    EXPECT_EQ(watched[1].name, PadRight("?", 30));
    EXPECT_EQ(watched[1].value, PadRight("Fehler", 30));
    EXPECT_EQ(watched[2].name, PadRight("NOCHNICHT", 30));
    EXPECT_EQ(watched[2].value, PadRight("Fehler", 30));
}

TEST(Inspector, AWatchedNameKeepsItsFirst30Characters) {
    InspectorFixture fixture(0);
    const std::string name(30, 'N');
    fixture.facts_.StoreFact(name, "lang", "99", "02");
    const TForm7 inspector = fixture.Open({name + "XYZ", "", ""});
    EXPECT_EQ(inspector.WatchedVariables()[0].value, PadRight("lang", 30));
}

TEST(Inspector, DeletingTheBreakpoint) {
    InspectorFixture fixture(0);
    EXPECT_FALSE(fixture.Open().BreakpointButtonEnabled());
    fixture.breakpoint_ = 12;
    TForm7 inspector = fixture.Open();
    EXPECT_TRUE(inspector.BreakpointButtonEnabled());
    inspector.Haltepunkt_loeschenClick();
    EXPECT_EQ(fixture.breakpoint_, 0);
    EXPECT_FALSE(inspector.BreakpointButtonEnabled());
}

struct SizeCase {
    std::string name;
    int mainWidth;
    int mainHeight;
    int scale;
    int width;
    int height;
};

class InspectorSize : public testing::TestWithParam<SizeCase> {};

TEST_P(InspectorSize, IsEightyPercentOfTheLargestFit) {
    const SizeCase& row = GetParam();
    InspectorFixture fixture(0);
    const TForm7 inspector = fixture.Open({}, row.mainWidth, row.mainHeight);
    EXPECT_EQ(inspector.Scale(), row.scale);
    EXPECT_EQ(inspector.WindowWidth(), row.width);
    EXPECT_EQ(inspector.WindowHeight(), row.height);
}

INSTANTIATE_TEST_SUITE_P(Inspector, InspectorSize,
                         testing::Values(SizeCase{"Main1200x960", 1200, 960, 15992, 960, 768},
                                         SizeCase{"Main600x480", 600, 480, 7992, 480, 384},
                                         SizeCase{"WideMain", 2000, 480, 7992, 480, 384}),
                         CaseName{});

// --- "Begründung" --------------------------------------------------------------------------

enum class Explainer {
    Unset,  ///< explanations off
    Fake,   ///< answers with lines naming what it was asked for
    Empty,  ///< knows nothing about the fact
};

struct ExplainCase {
    std::string name;
    int facts;  ///< F1 to F<facts>, at positions 3 to 2 + facts
    int view;   ///< 1 recent stores, 2 all facts
    std::vector<InspectorKey> keys;
    Explainer explainer;
    bool enabled;
    int position;  ///< SelectedPosition
    int fact;      ///< the fact whose record is selected (F<fact>); 0 = none
    std::vector<std::string> lines;
};

class InspectorBegruendung : public testing::TestWithParam<ExplainCase> {};

TEST_P(InspectorBegruendung, AsksForTheCurrentEntrysFact) {
    const ExplainCase& row = GetParam();
    InspectorFixture fixture(row.facts);
    std::vector<std::pair<int, std::string>> asked;
    FactExplainer explainer;
    if (row.explainer != Explainer::Unset) {
        const bool knows = row.explainer == Explainer::Fake;
        explainer = [&asked, knows](int position, std::string_view record) {
            asked.emplace_back(position, std::string(record));
            std::vector<std::string> lines;
            if (knows) {
                lines.push_back(TrimRight(std::string(record.substr(0, 30))) + " an " +
                                std::to_string(position));
                lines.emplace_back("  aus Zeile 4");
            }
            return lines;
        };
    }
    TForm7 inspector = fixture.Open({}, 1024, 768, explainer);
    if (row.view == 2) {
        inspector.UmschaltenClick();
    }
    for (const InspectorKey key : row.keys) {
        inspector.Edit_HilfKeyDown(key);
    }
    const std::string record =
        row.fact == 0 ? std::string() : std::string(fixture.image_.Text(2 + row.fact));
    EXPECT_EQ(inspector.SelectedPosition(), row.position);
    EXPECT_EQ(inspector.SelectedRecord(), record);
    EXPECT_EQ(inspector.BegruendungEnabled(), row.enabled);
    EXPECT_EQ(inspector.BegruendungClick(), row.lines);
    if (row.enabled) {
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].first, row.position);
        EXPECT_EQ(asked[0].second, record);
    } else {
        EXPECT_TRUE(asked.empty());
    }
}

const std::string kNothingKnown = "Zu diesem Eintrag ist keine Begr\xFCndung bekannt.";

INSTANTIATE_TEST_SUITE_P(
    Inspector, InspectorBegruendung,
    testing::Values(
        ExplainCase{
            "NewestStore", 5, 1, {}, Explainer::Fake, true, -1, 5, {"F5 an -1", "  aus Zeile 4"}},
        ExplainCase{"ThirdNewestStore",
                    5,
                    1,
                    {K::Down, K::Down},
                    Explainer::Fake,
                    true,
                    -1,
                    3,
                    {"F3 an -1", "  aus Zeile 4"}},
        ExplainCase{"StoreNotYetWritten", 5, 1, {K::PageDown}, Explainer::Fake, false, -1, 0, {}},
        ExplainCase{
            "LastFactRecord", 5, 2, {}, Explainer::Fake, true, 7, 5, {"F5 an 7", "  aus Zeile 4"}},
        ExplainCase{"FirstFactRecord",
                    5,
                    2,
                    {K::PageUp},
                    Explainer::Fake,
                    true,
                    3,
                    1,
                    {"F1 an 3", "  aus Zeile 4"}},
        ExplainCase{"UnsetInTheRecentStores", 5, 1, {}, Explainer::Unset, false, -1, 5, {}},
        ExplainCase{"UnsetInAllFacts", 5, 2, {K::Up}, Explainer::Unset, false, 6, 4, {}},
        ExplainCase{"NoFactRecords", 0, 2, {}, Explainer::Fake, false, -1, 0, {}},
        ExplainCase{"NoStoreYet", 0, 1, {}, Explainer::Fake, false, -1, 0, {}},
        ExplainCase{"NothingKnownInTheRecentStores",
                    2,
                    1,
                    {K::Down},
                    Explainer::Empty,
                    true,
                    -1,
                    1,
                    {kNothingKnown}},
        ExplainCase{
            "NothingKnownInAllFacts", 2, 2, {}, Explainer::Empty, true, 4, 2, {kNothingKnown}}),
    CaseName{});

// The evidence is asked for when the button is pressed, of the entry current then.
TEST(Inspector, BegruendungFollowsTheCurrentEntry) {
    InspectorFixture fixture(4);
    std::vector<int> positions;
    TForm7 inspector = fixture.Open({}, 1024, 768, [&](int position, std::string_view) {
        positions.push_back(position);
        return std::vector<std::string>{"x"};
    });
    inspector.UmschaltenClick();
    static_cast<void>(inspector.BegruendungClick());
    inspector.text1Click(7);  // two rows up
    static_cast<void>(inspector.BegruendungClick());
    inspector.ScrollBar1Scroll(3);
    static_cast<void>(inspector.BegruendungClick());
    EXPECT_EQ(positions, (std::vector<int>{6, 4, 5}));
}

}  // namespace
}  // namespace kelvo
