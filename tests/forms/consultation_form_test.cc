// The consultation form model: layout of a page (fields, slots, toolbar, media lines, window
// size) and its commands (Weiter, Abbruch, closing, focus, copy and paste, media commands).

#include "forms/consultation_form.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "authoring/program_line_check.h"
#include "store/fact_base.h"
#include "store/knowledge_base_image.h"
#include "store/text_field.h"
#include "store/windows1252.h"
#include "tests/case_name.h"

namespace kelvo {
namespace {

using Lines = std::vector<std::pair<int, std::string>>;
using Facts = std::vector<std::pair<std::string, std::string>>;

// A fact base behind a program of a comment line and the given media lines, and a page.
class FormFixture {
  public:
    explicit FormFixture(const std::vector<std::string>& mediaLines = {}) : image_(true) {
        std::vector<LineRecord> program{LineRecord("K")};
        for (const std::string& line : mediaLines) {
            const LineCheck checked = CheckProgramLine(line);
            EXPECT_TRUE(checked.ok) << line << ": " << checked.reason;
            program.emplace_back(checked.line);
        }
        EXPECT_TRUE(image_.LoadImage(std::move(program)).ok());
        image_.SetFactBoundary(image_.LastRecord());
        source_.firstMediaLine = mediaLines.empty() ? 0 : 1;
        for (std::string& line : source_.formPage) {
            line.assign(80, ' ');
        }
    }

    void Set(const std::string& name, const std::string& value) {
        facts_.StoreFact(PadRight(name, 30), value, "99", "02");
    }
    void Set(const Facts& facts) {
        for (const auto& [name, value] : facts) {
            Set(name, value);
        }
    }
    /// Writes `text` into body line `line` from column `column` on.
    void Write(int line, const std::string& text, int column = 1) {
        source_.formPage[static_cast<std::size_t>(line)].replace(
            static_cast<std::size_t>(column - 1), text.size(), text);
    }
    void Write(const Lines& lines) {
        for (const auto& [line, text] : lines) {
            Write(line, text);
        }
    }
    std::string Value(const std::string& name) {
        return facts_.LookupFact(PadRight(name, 30)) ? TrimRight(facts_.FoundValue()) : "<none>";
    }

    TForm6 Build(bool programmingModule = true, int screenWidth = 1024, int screenHeight = 768) {
        environment_.programmingModule = programmingModule;
        environment_.screenWidth = screenWidth;
        environment_.screenHeight = screenHeight;
        environment_.findFile = [this](std::string_view name) {
            const std::string wanted(name);
            return files_.count(wanted) != 0 ? "/media/" + wanted : std::string();
        };
        environment_.pictureLoads = [this](const std::string& path) {
            return broken_.count(path) == 0;
        };
        environment_.reportButtonPicture = [this] { ++pictureReports_; };
        return TForm6(source_, facts_, environment_);
    }

    PageRequest source_;
    KnowledgeBaseImage image_;
    FactBase facts_{image_};
    FormEnvironment environment_;
    std::set<std::string> files_;   ///< names (as the page writes them) that exist
    std::set<std::string> broken_;  ///< paths of pictures that do not load
    int pictureReports_ = 0;
};

const std::string kBlank80(80, ' ');

// --- layout of one field -------------------------------------------------------------------

struct FieldCase {
    std::string name;
    Lines lines;
    Facts facts;
    Pool pool;
    int slot;
    FieldKind kind;
    FormRect rect;
    int height;  ///< lines covered
    std::string text;
};

class FieldLayout : public testing::TestWithParam<FieldCase> {};

TEST_P(FieldLayout, IsPlacedOnTheGrid) {
    const FieldCase& row = GetParam();
    FormFixture fixture;
    fixture.Set(row.facts);
    fixture.Write(row.lines);
    const TForm6 form = fixture.Build();
    const FormSlot& slot = form.Slot(row.pool, row.slot);
    ASSERT_TRUE(slot.belegt);
    EXPECT_TRUE(slot.component.visible);
    EXPECT_EQ(slot.component.kind, row.kind);
    EXPECT_EQ(slot.component.rect, row.rect);
    EXPECT_EQ(slot.component.lines, row.height);
    EXPECT_EQ(slot.component.text, row.text);
    // Every line the field covers is blanked.
    for (const auto& [line, text] : row.lines) {
        EXPECT_EQ(form.Labels()[static_cast<std::size_t>(line - 1)], kBlank80) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FieldLayout,
    testing::Values(FieldCase{"InputAtLine3Column10",
                              {{3, "         ]ALTER    ]"}},
                              {},
                              Pool::Edit,
                              1,
                              FieldKind::Input,
                              {68, 60, 77, 15},
                              1,
                              ""},
                    FieldCase{"InputShowsItsValue",
                              {{1, "]ALTER]"}},
                              {{"ALTER", "42"}},
                              Pool::Edit,
                              1,
                              FieldKind::Input,
                              {5, 30, 49, 15},
                              1,
                              "42"},
                    FieldCase{"DisplayFieldIsReadOnlyInTheEditPool",
                              {{2, "[NAME    ["}},
                              {{"NAME", "Erna"}},
                              Pool::Edit,
                              1,
                              FieldKind::Display,
                              {5, 45, 70, 15},
                              1,
                              "Erna"},
                    FieldCase{"MemoOverThreeLines",
                              {{5,
                                "\xAB"
                                "BEMERKUNG \xAB"},
                               {6, "\xAB          \xAB"},
                               {7, "\xAB          \xAB"}},
                              {},
                              Pool::Memo,
                              1,
                              FieldKind::MemoInput,
                              {5, 90, 84, 45},
                              3,
                              ""},
                    FieldCase{"MemoDisplay",
                              {{1, "\xBBTEXT\xBB"}},
                              {{"TEXT", "lang"}},
                              Pool::Memo,
                              1,
                              FieldKind::MemoDisplay,
                              {5, 30, 42, 15},
                              1,
                              "lang"},
                    FieldCase{"ButtonCaptionUpperCase",
                              {{25, "<ANTWORT  <"}},
                              {{"ANTWORT", "ja "}},
                              Pool::Button,
                              1,
                              FieldKind::Button,
                              {5, 390, 77, 15},
                              1,
                              "JA"},
                    FieldCase{"ButtonOverTwoLines",
                              {{1, "<OK<"}, {2, "<  <"}},
                              {{"OK", "Weiter so"}},
                              Pool::Button,
                              1,
                              FieldKind::Button,
                              {5, 30, 28, 30},
                              2,
                              "WEITER SO"},
                    FieldCase{"CheckBoxCaption",
                              {{4, ">RAUCHER  >"}},
                              {{"RAUCHER", "Ich rauche"}},
                              Pool::CheckBox,
                              1,
                              FieldKind::CheckBox,
                              {5, 75, 77, 15},
                              1,
                              "Ich rauche"},
                    FieldCase{"ListBoxOverThreeLines",
                              {{1, "|+FARBE{1}  |"}, {2, "|           |"}, {3, "|           |"}},
                              {{"+FARBE{1}", "rot"}},
                              Pool::ListBox,
                              1,
                              FieldKind::ListBox,
                              {5, 30, 91, 45},
                              3,
                              ""},
                    FieldCase{"LowerCaseNameIsCanonical",
                              {{1, "]alter]"}},
                              {{"ALTER", "7"}},
                              Pool::Edit,
                              1,
                              FieldKind::Input,
                              {5, 30, 49, 15},
                              1,
                              "7"}),
    CaseName{});

TEST(Forms, SingleLineFieldOverSeveralLinesBlanksThemButStaysOneLineHigh) {
    FormFixture fixture;
    fixture.Write({{1, "]A]"}, {2, "] ]"}});
    const TForm6 form = fixture.Build();
    EXPECT_EQ(form.Slot(Pool::Edit, 1).component.rect.height, 15);
    EXPECT_EQ(form.Labels()[1], kBlank80);
    EXPECT_FALSE(form.Slot(Pool::Edit, 2).belegt);
}

TEST(Forms, ExtentStopsAtALineWithTextBetweenTheMarkers) {
    FormFixture fixture;
    fixture.Write({{1,
                    "\xAB"
                    "A  \xAB"},
                   {2, "\xAB   \xAB"},
                   {3,
                    "\xAB"
                    "x y\xAB"}});
    const TForm6 form = fixture.Build();
    EXPECT_EQ(form.Slot(Pool::Memo, 1).component.lines, 2);
    EXPECT_EQ(form.Slot(Pool::Memo, 1).component.rect.height, 30);
    EXPECT_EQ(TrimRight(form.Labels()[2]),
              "\xAB"
              "x y\xAB");  // no field: a blank in the name
}

// --- names that are no fields --------------------------------------------------------------

struct InvalidCase {
    std::string name;
    std::string text;
};

class InvalidName : public testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidName, StaysAsText) {
    FormFixture fixture;
    fixture.Write(2, GetParam().text);
    const TForm6 form = fixture.Build();
    for (int pool = 0; pool < kPoolCount; ++pool) {
        EXPECT_FALSE(form.Slot(static_cast<Pool>(pool), 1).belegt) << pool;
    }
    EXPECT_EQ(TrimRight(form.Labels()[1]), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, InvalidName,
    testing::Values(InvalidCase{"BlankInTheName", "]VOR NAME]"}, InvalidCase{"EmptyName", "]]"},
                    InvalidCase{"BlankBeforeTheName", "] NAME]"},
                    InvalidCase{"BracesWithoutPlus", "]FARBE{1}]"},
                    InvalidCase{"DoublePlusEndingInADigit", "]++TEXT1]"},
                    InvalidCase{"BeginsWithParenthesis", "](ZAHL)]"},
                    InvalidCase{"LongerThan30", "]" + std::string(31, 'A') + "]"},
                    InvalidCase{"NoClosingMarker", "]OFFEN"}),
    CaseName{});

// --- slots -----------------------------------------------------------------------------------

TEST(Forms, The81stEditFieldTakesSlot80Over) {
    FormFixture fixture;
    int line = 1;
    int column = 1;
    for (int i = 1; i <= 81; ++i) {
        const std::string field = "]A" + std::to_string(i) + "]";
        if (column + 5 > 80) {
            ++line;
            column = 1;
        }
        fixture.Write(line, field, column);
        column += 6;
    }
    const TForm6 form = fixture.Build();
    const FormSlot& last = form.Slot(Pool::Edit, 80);
    EXPECT_EQ(last.belegtMit, PadRight("A81", 30));
    EXPECT_EQ(form.Slot(Pool::Edit, 79).belegtMit, PadRight("A79", 30));
    // A81 is the 81st field: line 7 (13 fields a line), column 1 + 6 * 2.
    EXPECT_EQ(last.component.rect, (FormRect{5 + 7 * 12, 30 + 15 * 6, 35, 15}));
    for (int k = 1; k <= 80; ++k) {
        EXPECT_NE(form.Slot(Pool::Edit, k).belegtMit, PadRight("A80", 30)) << k;
    }
}

TEST(Forms, The31stButtonTakesSlot30Over) {
    FormFixture fixture;
    int line = 1;
    int column = 1;
    for (int i = 1; i <= 31; ++i) {
        fixture.Set("B" + std::to_string(i), "Knopf " + std::to_string(i));
        if (column + 5 > 80) {
            ++line;
            column = 1;
        }
        fixture.Write(line, "<B" + std::to_string(i) + "<", column);
        column += 6;
    }
    const TForm6 form = fixture.Build();
    EXPECT_EQ(form.Slot(Pool::Button, 30).belegtMit, PadRight("B31", 30));
    EXPECT_EQ(form.Slot(Pool::Button, 30).component.text, "KNOPF 31");
    EXPECT_EQ(form.Slot(Pool::Button, 29).belegtMit, PadRight("B29", 30));
}

TEST(Forms, AMissingButtonVariableLeavesItsSlotUsed) {
    FormFixture fixture;
    fixture.Set("DA", "ok");
    fixture.Write(1, "<FEHLT<  <DA<");
    const TForm6 form = fixture.Build();
    EXPECT_FALSE(form.Slot(Pool::Button, 1).belegt);
    EXPECT_FALSE(form.Slot(Pool::Button, 1).component.visible);
    EXPECT_TRUE(form.Slot(Pool::Button, 2).belegt);
    EXPECT_EQ(form.Slot(Pool::Button, 2).belegtMit, PadRight("DA", 30));
    EXPECT_TRUE(form.Tool(ToolButton::Weiter).visible);  // slot 1 is not in use
    EXPECT_EQ(form.Labels()[0], kBlank80);               // blanked all the same
}

TEST(Forms, EditFieldsAreShownWhenTheirVariableIsMissing) {
    FormFixture fixture;
    fixture.Write(1, "]NEU]");
    const TForm6 form = fixture.Build();
    EXPECT_TRUE(form.Slot(Pool::Edit, 1).belegt);
    EXPECT_TRUE(form.Slot(Pool::Edit, 1).component.visible);
    EXPECT_EQ(form.Slot(Pool::Edit, 1).component.text, "");
}

TEST(Forms, MarkersAreScannedInTheirOrder) {
    // The multi-line fields come first, so "[" after "]" finds the lowest free edit slot.
    FormFixture fixture;
    fixture.Write(1, "[ANZEIGE[ ]EINGABE]");
    const TForm6 form = fixture.Build();
    EXPECT_EQ(form.Slot(Pool::Edit, 1).belegtMit, PadRight("EINGABE", 30));
    EXPECT_EQ(form.Slot(Pool::Edit, 2).belegtMit, PadRight("ANZEIGE", 30));
}

// --- check boxes and list boxes ----------------------------------------------------------

struct CheckCase {
    std::string name;
    std::string variable;
    Facts facts;
    bool visible;
    bool checked;
};

class CheckBoxState : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckBoxState, ComesFromTheNameWithAColon) {
    const CheckCase& row = GetParam();
    FormFixture fixture;
    fixture.Set(row.facts);
    fixture.Write(1, ">" + row.variable + ">");
    const TForm6 form = fixture.Build();
    EXPECT_EQ(form.Slot(Pool::CheckBox, 1).component.visible, row.visible);
    EXPECT_EQ(form.Slot(Pool::CheckBox, 1).component.checked, row.checked);
}

const std::string k30Name = "R" + std::string(29, 'X');

INSTANTIATE_TEST_SUITE_P(
    Forms, CheckBoxState,
    testing::Values(
        CheckCase{
            "WahrInLowerCase", "RAUCHER", {{"RAUCHER", "r"}, {"RAUCHER:", "wahr"}}, true, true},
        CheckCase{
            "WahrWithBlanks", "RAUCHER", {{"RAUCHER", "r"}, {"RAUCHER:", "WAHR  "}}, true, true},
        CheckCase{"Falsch", "RAUCHER", {{"RAUCHER", "r"}, {"RAUCHER:", "FALSCH"}}, true, false},
        CheckCase{"OtherText", "RAUCHER", {{"RAUCHER", "r"}, {"RAUCHER:", "ja"}}, true, false},
        CheckCase{"NoStateVariable", "RAUCHER", {{"RAUCHER", "r"}}, true, false},
        CheckCase{"NameOf30Characters", k30Name, {{k30Name, "r"}}, true, false},
        CheckCase{"MissingVariable", "RAUCHER", {{"RAUCHER:", "WAHR"}}, false, false}),
    CaseName{});

struct ListCase {
    std::string name;
    std::string field;
    Facts facts;
    std::vector<std::string> items;
    int selected;
};

class ListBoxContent : public testing::TestWithParam<ListCase> {};

TEST_P(ListBoxContent, ItemsAndPreselection) {
    const ListCase& row = GetParam();
    FormFixture fixture;
    fixture.Set(row.facts);
    fixture.Write(1, row.field);
    const TForm6 form = fixture.Build();
    const FormComponent& list = form.Slot(Pool::ListBox, 1).component;
    EXPECT_EQ(list.items, row.items);
    EXPECT_EQ(list.selected, row.selected);
}

const Facts kColours{{"+FARBE{1}", "rot"}, {"+FARBE{2}", "gr\xFCn"}, {"+FARBE{3}", "blau"}};

INSTANTIATE_TEST_SUITE_P(
    Forms, ListBoxContent,
    testing::Values(
        ListCase{"LiteralSubscript", "|+FARBE{2}|", kColours, {"rot", "gr\xFCn", "blau"}, 2},
        ListCase{"FirstItem", "|+FARBE{1}|", kColours, {"rot", "gr\xFCn", "blau"}, 1},
        ListCase{"StopsAtTheFirstGap",
                 "|+FARBE{1}|",
                 {{"+FARBE{1}", "rot"}, {"+FARBE{3}", "blau"}},
                 {"rot"},
                 1},
        ListCase{"NumericSubscript",
                 "|+FARBE{+N}|",
                 {{"+FARBE{1}", "rot"},
                  {"+FARBE{2}", "gr\xFCn"},
                  {"+FARBE{3}", "blau"},
                  {"[+N              ]", "(           3.000)"}},
                 {"rot", "gr\xFCn", "blau"},
                 3}),
    CaseName{});

TEST(Forms, AListWhoseVariableIsMissingIsNotShown) {
    FormFixture fixture;
    fixture.Write(1, "|+FARBE{9}|");
    fixture.Set(kColours);
    const TForm6 form = fixture.Build();
    EXPECT_FALSE(form.Slot(Pool::ListBox, 1).belegt);
    EXPECT_FALSE(form.Slot(Pool::ListBox, 1).component.visible);
}

// --- buttons with pictures -----------------------------------------------------------------

TEST(Forms, AButtonNamingABitmapShowsItWithoutCaption) {
    FormFixture fixture;
    fixture.Set("BILD", "knopf.bmp");
    fixture.files_.insert("KNOPF.BMP");
    fixture.Write(1, "<BILD<");
    const TForm6 form = fixture.Build();
    EXPECT_EQ(form.Slot(Pool::Button, 1).component.text, "");
    EXPECT_EQ(form.Slot(Pool::Button, 1).component.picture, "/media/KNOPF.BMP");
    EXPECT_EQ(fixture.pictureReports_, 0);
}

TEST(Forms, AButtonBitmapThatCannotBeLoadedIsReported) {
    for (const bool exists : {false, true}) {
        FormFixture fixture;
        fixture.Set("BILD", "KNOPF.BMP");
        if (exists) {
            fixture.files_.insert("KNOPF.BMP");
            fixture.broken_.insert("/media/KNOPF.BMP");
        }
        fixture.Write(1, "<BILD<");
        const TForm6 form = fixture.Build();
        EXPECT_TRUE(form.Slot(Pool::Button, 1).component.visible);
        EXPECT_EQ(form.Slot(Pool::Button, 1).component.picture, "");
        EXPECT_EQ(fixture.pictureReports_, 1) << exists;
    }
}

// --- toolbar ----------------------------------------------------------------------------------

struct ToolbarCase {
    std::string name;
    bool programmingModule;
    Lines lines;
    std::vector<std::string> media;
    std::vector<std::pair<ToolButton, int>> shown;  ///< visible buttons with their lefts
};

class Toolbar : public testing::TestWithParam<ToolbarCase> {};

TEST_P(Toolbar, ShowsAndPlacesItsButtons) {
    const ToolbarCase& row = GetParam();
    FormFixture fixture(row.media);
    fixture.Set({{"KNOPF", "ok"}, {"FILM", "FILM.AVI"}, {"TON", "TON.WAV"}});
    fixture.Write(row.lines);
    const TForm6 form = fixture.Build(row.programmingModule);
    std::vector<std::pair<ToolButton, int>> shown;
    for (int i = 0; i < kToolButtonCount; ++i) {
        const ToolButtonState& tool = form.Tool(static_cast<ToolButton>(i));
        if (tool.visible) {
            shown.emplace_back(static_cast<ToolButton>(i), tool.left);
        }
    }
    EXPECT_EQ(shown, row.shown);
}

using TB = ToolButton;

INSTANTIATE_TEST_SUITE_P(
    Forms, Toolbar,
    testing::Values(
        ToolbarCase{"PlainPageProgrammingModule",
                    true,
                    {},
                    {},
                    {{TB::Abbruch, 8}, {TB::Drucken, 40}, {TB::Datenbasis, 72}, {TB::Weiter, 104}}},
        ToolbarCase{"PlainPageUserModule",
                    false,
                    {},
                    {},
                    {{TB::Abbruch, 8}, {TB::Drucken, 40}, {TB::Weiter, 72}}},
        ToolbarCase{"PageButtonHidesWeiter",
                    true,
                    {{1, "<KNOPF<"}},
                    {},
                    {{TB::Abbruch, 8}, {TB::Drucken, 40}, {TB::Datenbasis, 72}}},
        ToolbarCase{"EditFieldAddsCopyAndPaste",
                    false,
                    {{1, "]A]"}},
                    {},
                    {{TB::Abbruch, 8},
                     {TB::Drucken, 40},
                     {TB::Weiter, 72},
                     {TB::Kopieren, 104},
                     {TB::Einfuegen, 136}}},
        ToolbarCase{"MemoAddsCopyAndPaste",
                    true,
                    {{1, "<KNOPF<"},
                     {2,
                      "\xAB"
                      "B\xAB"}},
                    {},
                    {{TB::Abbruch, 8},
                     {TB::Drucken, 40},
                     {TB::Datenbasis, 72},
                     {TB::Kopieren, 104},
                     {TB::Einfuegen, 136}}},
        ToolbarCase{"MediaLine",
                    true,
                    {},
                    {"G FILM (1.002) (3.004)"},
                    {{TB::Abbruch, 8},
                     {TB::Drucken, 40},
                     {TB::Datenbasis, 72},
                     {TB::Weiter, 104},
                     {TB::VideoSound, 136}}},
        ToolbarCase{"TwoMediaLinesMoveTheButtonTwice",
                    false,
                    {{1, "<KNOPF<"}, {2, "]A]"}},
                    {"G FILM (1.002) (3.004)", "G TON (1.002) (3.004)"},
                    {{TB::Abbruch, 8},
                     {TB::Drucken, 40},
                     {TB::Kopieren, 72},
                     {TB::Einfuegen, 104},
                     {TB::VideoSound, 168}}}),
    CaseName{});

TEST(Forms, CaptionAndLabelsAfterBlanking) {
    FormFixture fixture;
    fixture.source_.formPage[0] = PadRight("Titel", 80);
    fixture.Write(3, "Alter: ]ALTER]");
    const TForm6 form = fixture.Build();
    EXPECT_EQ(form.Caption(), PadRight("Titel", 80));
    EXPECT_EQ(form.Labels()[2], PadRight("Alter:", 80));
    EXPECT_EQ(form.Labels()[2].size(), 80u);
    EXPECT_EQ(form.SessionKey(), 27);
}

// --- media lines -------------------------------------------------------------------------------

TEST(Forms, TheLastMediaFileOfAPageIsKeptWithItsRectangle) {
    FormFixture fixture({"G FILM1 (100.050) (320.240)", "G FILM2 (10.020) (30.040)"});
    fixture.Set({{"FILM1", "eins.avi"}, {"FILM2", "zwei.avi"}});
    const TForm6 form = fixture.Build(true);
    EXPECT_EQ(form.Medianame_Hilf(), "ZWEI.AVI");
    EXPECT_EQ(form.MediaRect(), (FormRect{10, 20, 30, 40}));
    // 64 px to the right of Weiter_Schalter, the last button placed before the media lines.
    EXPECT_EQ(form.Tool(ToolButton::VideoSound).left, form.Tool(ToolButton::Weiter).left + 64);
}

TEST(Forms, PicturesTakeTheirBoxesInOrderWhetherOrNotTheFileExists) {
    FormFixture fixture({"G B1 (100.050) (320.240)", "G B2 (5.006) (70.080)", "G ZAHL [+P] [+S]"});
    fixture.Set({{"B1", "fehlt.bmp"},
                 {"B2", "da.jpg"},
                 {"ZAHL", "drei.jpg"},
                 {"[+P              ]", "(          12.250)"},
                 {"[+S              ]", "(          40.030)"}});
    fixture.files_ = {"DA.JPG", "DREI.JPG"};
    const TForm6 form = fixture.Build();
    EXPECT_FALSE(form.Pictures()[0].visible);
    EXPECT_TRUE(form.Pictures()[1].visible);
    EXPECT_EQ(form.Pictures()[1].file, "/media/DA.JPG");
    EXPECT_EQ(form.Pictures()[1].rect, (FormRect{5, 6, 70, 80}));
    EXPECT_TRUE(form.Pictures()[2].visible);
    EXPECT_EQ(form.Pictures()[2].rect, (FormRect{12, 250, 40, 30}));
    EXPECT_FALSE(form.Tool(ToolButton::VideoSound).visible);
}

TEST(Forms, AMediaLineWithAMissingNameVariableKeepsTheNameBefore) {
    FormFixture fixture({"G B1 (1.002) (3.004)", "G FEHLT (5.006) (7.008)"});
    fixture.Set("B1", "a.bmp");
    fixture.files_ = {"A.BMP"};
    const TForm6 form = fixture.Build();
    EXPECT_TRUE(form.Pictures()[0].visible);
    EXPECT_TRUE(form.Pictures()[1].visible);
    EXPECT_EQ(form.Pictures()[1].rect, (FormRect{5, 6, 7, 8}));
}

struct MediaCase {
    std::string name;
    std::string file;
    std::string position;
    std::string size;
    bool exists;
    std::optional<MediaRequest> request;
};

MediaRequest Video(std::string file, MediaWindow window, std::vector<std::string> commands) {
    return {MediaKind::Video, std::move(file), window, 27, std::move(commands)};
}

MediaRequest Sound(std::string file, std::vector<std::string> commands) {
    return {MediaKind::Sound, std::move(file), {}, 27, std::move(commands)};
}

// Found by fuzzing: a numeric variable beyond the range of int gives the nearest int, which the
// command then cuts like any other number.
TEST(Forms, AMediaNumberBeyondTheRangeOfIntStandsForTheNearestInt) {
    FormFixture fixture({"G DATEI [+P] [+S]"});
    fixture.Set({{"DATEI", "film.avi"},
                 {"[+P              ]", "( 444444444444.000)"},
                 {"[+S              ]", "(-444444444444.500)"}});
    fixture.files_ = {"FILM.AVI"};
    TForm6 form = fixture.Build();
    EXPECT_EQ(form.FormActivate(), true);
    EXPECT_EQ(form.Video_Sound(),
              Video("/media/FILM.AVI", {2147, 0, -214, 0},
                    {"open /media/FILM.AVI type avivideo alias Film style popup",
                     "put Film wait window at 2147 0 -214 0", "break Film on 27", "play Film wait",
                     "close Film"}));
}

class MediaCommands : public testing::TestWithParam<MediaCase> {};

TEST_P(MediaCommands, AreSentInOrder) {
    const MediaCase& row = GetParam();
    FormFixture fixture({"G DATEI " + row.position + " " + row.size});
    fixture.Set("DATEI", row.file);
    if (row.exists) {
        fixture.files_.insert(ToUpper(row.file));
    }
    TForm6 form = fixture.Build();
    EXPECT_EQ(form.FormActivate(), true);
    EXPECT_EQ(form.Video_Sound(), row.request);
    EXPECT_EQ(form.Video_Sound(), row.request);  // the same on every call
}

INSTANTIATE_TEST_SUITE_P(
    Forms, MediaCommands,
    testing::Values(
        MediaCase{"Avi", "film.avi", "(100.050)", "(320.240)", true,
                  Video("/media/FILM.AVI", {100, 50, 320, 240},
                        {"open /media/FILM.AVI type avivideo alias Film style popup",
                         "put Film wait window at 100 50 320 240", "break Film on 27",
                         "play Film wait", "close Film"})},
        MediaCase{"Mpg", "film.mpg", "(1.002)", "(3.004)", true,
                  Video("/media/FILM.MPG", {1, 2, 3, 4},
                        {"open /media/FILM.MPG type mpegvideo alias Film style popup",
                         "put Film wait window at 1 2 3 4", "break Film on 27", "play Film wait",
                         "close Film"})},
        // The window goes where the command puts it, also when a number was cut.
        MediaCase{"NumbersCutToFourCharacters", "film.avi", "(12345.050)", "(320.240)", true,
                  Video("/media/FILM.AVI", {1234, 50, 320, 240},
                        {"open /media/FILM.AVI type avivideo alias Film style popup",
                         "put Film wait window at 1234 50 320 240", "break Film on 27",
                         "play Film wait", "close Film"})},
        MediaCase{"NegativeNumbersCutWithTheirSign", "film.avi", "(-12345.050)", "(320.240)", true,
                  Video("/media/FILM.AVI", {-123, -50, 320, 240},
                        {"open /media/FILM.AVI type avivideo alias Film style popup",
                         "put Film wait window at -123 -50 320 240", "break Film on 27",
                         "play Film wait", "close Film"})},
        MediaCase{"Wav", "ton.wav", "(0)", "(0)", true,
                  Sound("/media/TON.WAV", {"open /media/TON.WAV type waveaudio alias Lied",
                                           "break Lied on 27", "play Lied wait", "close Lied"})},
        MediaCase{
            "NameWithBlanksIsQuoted", "mein ton.wav", "(0)", "(0)", true,
            Sound("/media/MEIN TON.WAV", {"open \"/media/MEIN TON.WAV\" type waveaudio alias Lied",
                                          "break Lied on 27", "play Lied wait", "close Lied"})},
        MediaCase{"MissingFilePlaysNothing", "ton.wav", "(0)", "(0)", false, std::nullopt}),
    CaseName{});

TEST(Forms, AMediaFileDeletedAfterBuildingPlaysNothing) {
    FormFixture fixture({"G DATEI (0) (0)"});
    fixture.Set("DATEI", "ton.wav");
    fixture.files_.insert("TON.WAV");
    TForm6 form = fixture.Build();
    ASSERT_TRUE(form.Video_Sound().has_value());
    EXPECT_EQ(form.Video_Sound()->commands.size(), 4u);
    fixture.files_.clear();
    EXPECT_FALSE(form.Video_Sound().has_value());
    bool played = false;
    form.VideoSoundClick([&](const MediaRequest&) { played = true; });
    EXPECT_FALSE(played);
}

// --- window size --------------------------------------------------------------------------------

struct ScaleCase {
    std::string name;
    int screenWidth;
    int screenHeight;
    int width;
    int height;
    int level;
    int numerator;
    int denominator;
};

class WindowSize : public testing::TestWithParam<ScaleCase> {};

TEST_P(WindowSize, FollowsTheScreen) {
    const ScaleCase& row = GetParam();
    FormFixture fixture;
    const FormWindowSize size = fixture.Build(true, row.screenWidth, row.screenHeight).Window();
    EXPECT_EQ(size.left, 25);
    EXPECT_EQ(size.top, 0);
    EXPECT_EQ(size.width, row.width);
    EXPECT_EQ(size.height, row.height);
    EXPECT_EQ(size.level, row.level);
    EXPECT_EQ(size.scaleNumerator, row.numerator);
    EXPECT_EQ(size.scaleDenominator, row.denominator);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, WindowSize,
    testing::Values(ScaleCase{"Vga", 640, 480, 590, 465, 1, 10000, 10000},
                    ScaleCase{"Just800", 800, 600, 590, 465, 1, 10000, 10000},
                    ScaleCase{"Svga801", 801, 600, 670, 520, 2, 11440, 10000},
                    ScaleCase{"Xga", 1024, 768, 830, 640, 3, 14286, 10000},
                    ScaleCase{"WideButLow", 1920, 700, 670, 520, 2, 11440, 10000},
                    ScaleCase{"Sxga", 1280, 960, 1160, 865, 4, 20000, 10100},
                    ScaleCase{"FullHd", 1920, 1080, 1160, 865, 4, 20000, 10100},
                    ScaleCase{"Uxga", 1600, 1200, 1400, 1050, 5, 24286, 10000}),
    CaseName{});

// --- closing pages ------------------------------------------------------------------------------

TEST(Forms, SolutionPageWithoutClosingText) {
    FormFixture fixture;
    fixture.Set("+UW", "72");
    fixture.source_.formMode = 2;
    fixture.source_.solutionRecord = PadRight(PadRight("GETRAENK", 31) + "Tee", 82);
    const TForm6 form = fixture.Build();
    EXPECT_EQ(form.Labels()[3], CentreText("Vom System ermittelte L\xF6sungen bei denen", 80));
    EXPECT_EQ(form.Labels()[4], CentreText("keine Abschlu\xDFtexte programmiert wurden!", 80));
    EXPECT_EQ(form.Labels()[7], CentreText("Objekt    = " + PadRight("GETRAENK", 30), 80));
    EXPECT_EQ(form.Labels()[8], CentreText("Wert      = " + PadRight("Tee", 30), 80));
    EXPECT_EQ(form.Labels()[24], CentreText("[Aussagewahrscheinlichkeit = 72 %]", 80));
    EXPECT_EQ(form.Caption(), "");
    EXPECT_TRUE(form.Tool(ToolButton::Weiter).visible);
}

TEST(Forms, NoSolutionPage) {
    FormFixture fixture;
    fixture.source_.formMode = 3;
    fixture.Write(1, "]A]");  // the page text plays no part
    const TForm6 form = fixture.Build();
    EXPECT_EQ(form.Labels()[3], CentreText("Das Expertensystem KELVO konnte", 80));
    EXPECT_EQ(form.Labels()[4], CentreText("keine L\xF6sung f\xFCr Sie ermitteln!", 80));
    EXPECT_EQ(form.Labels()[0], "");
    EXPECT_FALSE(form.Slot(Pool::Edit, 1).belegt);
    EXPECT_FALSE(form.Tool(ToolButton::Kopieren).visible);
}

// --- answers ------------------------------------------------------------------------------------

TEST(Forms, WeiterWithoutChangesStoresWhatTheFieldsShow) {
    FormFixture fixture;
    fixture.Set({{"NAME", "Erna"}, {"ANZEIGE", "fest"}});
    fixture.Write({{1, "]NAME]"},
                   {2, "]NEU]"},
                   {3, "[ANZEIGE["},
                   {4,
                    "\xAB"
                    "TEXT\xAB"}});
    TForm6 form = fixture.Build();
    const int before = fixture.image_.LastRecord();
    form.WeiterClick();
    EXPECT_EQ(form.SessionKey(), 13);
    EXPECT_TRUE(form.Abbruch());
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(fixture.Value("NAME"), "Erna");
    EXPECT_EQ(fixture.Value("NEU"), "");
    EXPECT_EQ(fixture.Value("TEXT"), "");
    // NAME, NEU, TEXT; the display field stores nothing.
    EXPECT_EQ(fixture.image_.LastRecord(), before + 3);
    EXPECT_EQ(PadRight(fixture.image_.Text(before + 1), 82).substr(61, 4), "9902");
}

TEST(Forms, WeiterStoresTypedTexts) {
    FormFixture fixture;
    fixture.Write({{1, "]ALTER]"},
                   {2,
                    "\xAB"
                    "TEXT\xAB"}});
    TForm6 form = fixture.Build();
    EXPECT_TRUE(form.SetFieldText({Pool::Edit, 1}, "42"));
    EXPECT_TRUE(form.SetFieldText({Pool::Memo, 1}, "zwei\r\nZeilen"));
    EXPECT_FALSE(form.SetFieldText({Pool::Edit, 2}, "x"));  // no such field
    form.WeiterClick();
    EXPECT_EQ(fixture.Value("ALTER"), "42");
    EXPECT_EQ(fixture.Value("TEXT"), "zwei\r\nZeilen");
}

TEST(Forms, APageButtonTellsWhichButtonEndedThePage) {
    FormFixture fixture;
    fixture.Set({{"A", "eins"}, {"B", "zwei"}, {"+ANTWORT", "Ja"}, {"NAME", "Erna"}});
    fixture.Write(1, "<A< <B< <+ANTWORT< ]NAME]");
    TForm6 form = fixture.Build();
    ASSERT_EQ(form.Slot(Pool::Button, 3).component.text, "JA");
    form.WeiterClick(3);
    EXPECT_EQ(fixture.Value("+KELVO_SCHALTER_VARIABLENNAME"), "+ANTWORT");
    ASSERT_TRUE(fixture.facts_.LookupFact(PadRight("+KELVO_SCHALTER_VARIABLENNAME", 30)));
    EXPECT_EQ(fixture.facts_.FoundValue(), PadRight("+ANTWORT", 30));
    EXPECT_EQ(fixture.Value("++KELVO_SCHALTER"), "ja");
    EXPECT_EQ(fixture.Value("NAME"), "Erna");
    EXPECT_EQ(form.SessionKey(), 13);
}

struct CheckAnswerCase {
    std::string name;
    std::string variable;
    bool ticked;
    std::string stored;  ///< value of the state name, "<none>" when nothing is stored
};

class CheckBoxAnswer : public testing::TestWithParam<CheckAnswerCase> {};

TEST_P(CheckBoxAnswer, IsStoredUnderTheNameWithAColon) {
    const CheckAnswerCase& row = GetParam();
    FormFixture fixture;
    fixture.Set(row.variable, "Frage");
    fixture.Write(1, ">" + row.variable + ">");
    TForm6 form = fixture.Build();
    form.SetChecked(1, row.ticked);
    const int before = fixture.image_.LastRecord();
    form.WeiterClick();
    const std::string state = row.variable + ":";
    EXPECT_EQ(state.size() <= 30 ? fixture.Value(state) : "<none>", row.stored);
    EXPECT_EQ(fixture.image_.LastRecord(), before + (row.stored == "<none>" ? 0 : 1));
}

INSTANTIATE_TEST_SUITE_P(Forms, CheckBoxAnswer,
                         testing::Values(CheckAnswerCase{"Ticked", "RAUCHER", true, "WAHR"},
                                         CheckAnswerCase{"NotTicked", "RAUCHER", false, "FALSCH"},
                                         CheckAnswerCase{"StateNameOf30",
                                                         "R" + std::string(28, 'X'), true, "WAHR"},
                                         CheckAnswerCase{"StateNameOf31", k30Name, true, "<none>"}),
                         CaseName{});

TEST(Forms, ListAnswersInSlotTwo) {
    for (const int item : {3, 0}) {
        FormFixture fixture;
        fixture.Set(kColours);
        fixture.Set({{"+TIER{1}", "Hund"}});
        fixture.Write({{1, "|+TIER{1}|"}, {2, "|+FARBE{1}|"}});
        TForm6 form = fixture.Build();
        ASSERT_TRUE(form.Select(2, item));
        EXPECT_FALSE(form.Select(2, 4));
        form.WeiterClick();
        ASSERT_TRUE(fixture.facts_.LookupFact(PadRight("[+LR{2}          ]", 30)));
        EXPECT_EQ(fixture.facts_.FoundValue(),
                  PadRight(item == 3 ? "(           3.000)" : "(           0.000)", 30));
        EXPECT_EQ(fixture.Value("++LR{2}"), item == 3 ? "blau" : "?");
        EXPECT_EQ(fixture.Value("++LR{1}"), "Hund");
    }
}

TEST(Forms, WeiterOnAClosingPageStoresNothing) {
    FormFixture fixture;
    fixture.source_.formMode = 3;
    TForm6 form = fixture.Build();
    const int before = fixture.image_.LastRecord();
    form.WeiterClick();
    EXPECT_EQ(form.SessionKey(), 13);
    EXPECT_EQ(fixture.image_.LastRecord(), before);
}

TEST(Forms, AbbruchAsksAndOnlyYesEnds) {
    for (const bool yes : {false, true}) {
        FormFixture fixture;
        fixture.Write(1, "]A]");
        TForm6 form = fixture.Build();
        form.FormActivate();
        const int before = fixture.image_.LastRecord();
        int asked = 0;
        form.AbbruchClick([&] {
            ++asked;
            return yes;
        });
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(form.Closed(), yes);
        EXPECT_EQ(form.SessionKey(), 27);
        EXPECT_EQ(fixture.image_.LastRecord(), before);  // nothing of the page is stored
    }
}

TEST(Forms, ClosingTheWindowAsksUnlessThePageWasAnswered) {
    FormFixture fixture;
    TForm6 form = fixture.Build();
    form.FormActivate();
    int asked = 0;
    auto no = [&] {
        ++asked;
        return false;
    };
    EXPECT_FALSE(form.FormClose(no));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(form.Closed());
    form.WeiterClick();
    EXPECT_TRUE(form.FormClose(no));
    EXPECT_EQ(asked, 1);
}

TEST(Forms, FocusGoesToTheFirstPageButton) {
    FormFixture fixture;
    fixture.Set("K", "ok");
    fixture.Write(1, "]A] <K<");
    TForm6 form = fixture.Build();
    EXPECT_EQ(form.Focus(), (FormControl{Pool::Edit, 1}));  // the design focus
    form.FormActivate();
    EXPECT_EQ(form.Focus(), (FormControl{Pool::Button, 1}));
    EXPECT_FALSE(form.Abbruch());
}

// "Drucken", "Datenbasis" and "Video/Sound" do their work first and then set the focus; the
// page stays open and nothing is stored.
TEST(Forms, PrintInspectorAndMediaCommandsSetTheFocusAfterTheirWork) {
    FormFixture fixture({"G TON (0) (0)"});
    fixture.Set({{"K", "ok"}, {"TON", "ton.wav"}});
    fixture.files_.insert("TON.WAV");
    fixture.Write(1, "]A] <K<");
    TForm6 form = fixture.Build();
    std::vector<std::string> done;
    auto focusWas = [&form, &done](const char* what) {
        done.push_back(std::string(what) + (form.Focus() == FormControl{Pool::Button, 1}
                                                ? " with the focus on S1"
                                                : " with the focus elsewhere"));
    };
    form.SetFocus({Pool::Edit, 1});
    form.DruckenClick([&] { focusWas("print"); });
    EXPECT_EQ(form.Focus(), (FormControl{Pool::Button, 1}));
    form.SetFocus({Pool::Edit, 1});
    form.DialogClick([&] { focusWas("inspector"); });
    EXPECT_EQ(form.Focus(), (FormControl{Pool::Button, 1}));
    form.SetFocus({Pool::Edit, 1});
    form.VideoSoundClick([&](const MediaRequest&) { focusWas("play"); });
    EXPECT_EQ(form.Focus(), (FormControl{Pool::Button, 1}));
    EXPECT_EQ(done, (std::vector<std::string>{"print with the focus elsewhere",
                                              "inspector with the focus elsewhere",
                                              "play with the focus elsewhere"}));
    EXPECT_FALSE(form.Closed());
    EXPECT_EQ(fixture.Value("A"), "<none>");
}

TEST(Forms, CopyAndPasteWorkOnTheFocusedField) {
    FormFixture fixture;
    fixture.Set({{"A", "Hallo Welt"}, {"B", "fest"}});
    fixture.Write(1, "]A] [B[");
    TForm6 form = fixture.Build();
    form.SetFocus({Pool::Edit, 1});
    form.SetSelection(6, 4);
    EXPECT_EQ(form.In_AblageClick(), "Welt");
    form.Aus_AblageClick("Erna");
    EXPECT_EQ(form.Slot(Pool::Edit, 1).component.text, "Hallo Erna");
    form.SetFocus({Pool::Edit, 2});
    form.Aus_AblageClick("x");  // read-only
    EXPECT_EQ(form.Slot(Pool::Edit, 2).component.text, "fest");
    form.SetFocus({Pool::Button, 1});
    EXPECT_FALSE(form.In_AblageClick().has_value());
}

}  // namespace
}  // namespace kelvo
