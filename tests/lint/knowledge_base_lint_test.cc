// The lint of a whole knowledge base: each warning shown by a small knowledge base, and gone
// when a comment silences it; no warning where nothing is wrong.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "authoring/knowledge_base_text_file.h"
#include "lint/knowledge_base_lint.h"
#include "store/windows1252.h"
#include "tests/app/random_knowledge_base.h"
#include "tests/lint/lint_fixture.h"

namespace kelvo {
namespace {

/// `count` text lines "T Zeile k".
std::string TextLines(int count) {
    std::string text;
    for (int k = 1; k <= count; ++k) {
        text += "T Zeile " + std::to_string(k) + "\n";
    }
    return text;
}

// A goal that needs SEITE, concluded from a fact: the display task of SEITE runs.
const std::string kPageStart =
    "Z ZIEL\n"
    "R ZIEL . ja\n"
    "U SEITE (99) . ja\n"
    "R SEITE . ja\n"
    "U START (99) . ja\n"
    "F START (99) . ja\n";

struct LintCase {
    const char* name;
    std::string text;
    std::vector<Found> expected;
    int silenceAbove;    ///< the comment "K lint: aus N" goes above this line (from 1)
    const char* detail;  ///< part of the first warning's text (UTF-8)
};

const std::vector<LintCase>& Cases() {
    static const std::vector<LintCase> cases{
        {"ConditionObjectNothingSets",
         "Z ZIEL\nR ZIEL . ja\nU WETTER (99) . kalt\nK\n",
         {{3, 1}},
         2,
         "Warnung 1: Bedingungsobjekt erhält nirgends einen Wert: WETTER"},
        {"ConditionObjectOfAnAlternative",
         "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nO B (99) . y\nF A (99) . x\nK\n",
         {{4, 1}},
         2,
         "B setzt keine Regel"},
        {"RuleNeverSought",
         "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\nR B . y\nU A (99) . x\nK\n",
         {{5, 2}},
         5,
         "Warnung 2: Regelobjekt wird nie gesucht: B ist weder"},
        {"RulesWithoutGoalLine",
         "R B . y\nU A (99) . x\nF A (99) . x\nK\n",
         {{1, 2}},
         1,
         "B ist weder"},
        {"TaskValueNoRuleConcludes",
         "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nR A . x\nU START (99) . ja\nF START (99) . ja\n"
         "V A . y\nJ +T . hallo\nK\n",
         {{7, 3}},
         7,
         "Warnung 3: Aufgabe wird nie ausgelöst: keine Regel schließt A . \"y\""},
        {"TaskOnAFactLine",
         "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\nV A . x\nJ +T . hallo\nK\n",
         {{5, 3}},
         5,
         "(Aufgaben folgen nur auf Regelschlüsse)"},
        {"CircularRules",
         "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nR A . x\nU B (99) . y\nR B . y\nU A (99) . x\nK\n",
         {{4, 4}},
         4,
         "Warnung 4: Zirkuläre Regeln: A -> B -> A (Zeilen 4, 5, 6, 7)"},
        {"RuleNeedingItsOwnObject",
         "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nR A . x\nU B (99) . y\nO A (50) . z\n"
         "F B (99) . y\nK\n",
         {{4, 4}},
         4,
         "A -> A (Zeilen 4, 6)"},
        {"SameRuleTwice",
         "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\nK\n",
         {{4, 5}},
         4,
         "Warnung 5: Doppelte Regel: gleich der Regel in Zeile 2"},
        {"ContradictoryConditions",
         "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nU A (99) . y\nF A (99) . x\nK\n",
         {{4, 6}},
         2,
         "Warnung 6: Widersprüchliche Bedingungen: A kann nicht zugleich \"x\" (Zeile 3) und "
         "\"y\" sein"},
        {"ContradictoryGroupsOfAlternatives",
         "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nO A (99) . w\nU A (99) . y\nO A (99) . z\n"
         "F A (99) . x\nK\n",
         {{5, 6}},
         2,
         "A kann nicht zugleich"},
        {"FieldNameWithBlank",
         kPageStart + "N SEITE . ja\nT Titel\nT Ihr Name: ]VOR NAME]\nK\n",
         {{9, 7}},
         7,
         "Warnung 7: Ungültiger Feldname bleibt Text: ]VOR NAME]"},
        {"FieldNameTooLong",
         kPageStart + "N SEITE . ja\nT Titel\nT ]ABCDEFGHIJKLMNOPQRSTUVWXYZ123456]\nK\n",
         {{9, 7}},
         7,
         "]ABCDEFGHIJKLMNOPQRSTUVWXYZ123456]"},
        {"FieldNameWithBadSubscript",
         kPageStart + "N SEITE . ja\nT Titel\nT |+LISTE{0}|\nK\n",
         {{9, 7}},
         7,
         "|+LISTE{0}|"},
        {"FieldInTheCaption",
         kPageStart + "N SEITE . ja\nT Ihr Name: ]NAME]\nT Text\nK\n",
         {{8, 7}},
         7,
         "]NAME] in der Titelzeile"},
        {"PageLongerThanAPage",
         kPageStart + "N SEITE . ja\n" + TextLines(27) + "K\n",
         {{34, 8}},
         7,
         "Warnung 8: Seite länger als eine Seite: die Zeile wird Titel der 2. Seite"},
        {"MediaLineAfterAFullPage",
         kPageStart + "F BILD (99) . bild.bmp\nN SEITE . ja\n" + TextLines(26) +
             "G BILD (0) (0)\nK\n",
         {{35, 9}},
         8,
         "Warnung 9: Medienzeile an falscher Stelle: nach einer vollen Seite"},
        {"MediaLineOutsideEveryPage",
         "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\nF BILD (99) . bild.bmp\n"
         "G BILD (0) (0)\nK\n",
         {{6, 9}},
         6,
         "gehört zu keiner Seite"},
        {"MediaLineFirstAfterAnAction",
         kPageStart + "F BILD (99) . bild.bmp\nB SEITE . ja\n= (N)\nG BILD (0) (0)\nT Titel\n"
                      "K\n",
         {{10, 9}},
         8,
         "direkt nach der Aktionszeile"},
        {"DisplayFieldNothingWrites",
         "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\nN ZIEL . ja\nT Ergebnis\n"
         "T Hallo [NAME[\nK\n",
         {{7, 10}},
         5,
         "Warnung 10: Variable wird gelesen, aber nie geschrieben: NAME"},
        {"NumericOperandNothingWrites",
         "Z ZIEL\nR ZIEL . ja\nU [ALTER] (99) > [GRENZE]\nF [ALTER] (99) . (20)\nK\n",
         {{3, 10}},
         2,
         "nie geschrieben: [GRENZE]"},
        {"CommandOperandNothingWrites",
         kPageStart + "V SEITE . ja\nJ +A = +B\nK\n",
         {{8, 10}},
         7,
         "+B"},
        {"PrintFieldNothingWrites",
         kPageStart + "C SEITE . ja\nT Name: [+NAME[\nT <DRUCKEN>\nK\n",
         {{8, 10}},
         7,
         "+NAME"},
    };
    return cases;
}

class LintCaseTest : public ::testing::TestWithParam<LintCase> {};

TEST_P(LintCaseTest, ShowsTheWarning) {
    const LintCase& c = GetParam();
    EXPECT_EQ(Lint(c.text), c.expected);
    const LintWarnings warnings = LintProgram(StoredLines(c.text), {});
    ASSERT_FALSE(warnings.empty());
    EXPECT_NE(Windows1252ToUtf8(warnings.front().Text()).find(c.detail), std::string::npos)
        << Windows1252ToUtf8(warnings.front().Text());
}

TEST_P(LintCaseTest, ACommentAboveSilencesIt) {
    const LintCase& c = GetParam();
    const int number = c.expected.front().second;
    // The comment line goes above line `silenceAbove`.
    std::string text;
    int line = 0;
    std::size_t start = 0;
    while (start < c.text.size()) {
        const std::size_t end = c.text.find('\n', start);
        if (++line == c.silenceAbove) {
            text += "K lint: aus " + std::to_string(number) + "\n";
        }
        text += c.text.substr(start, end - start + 1);
        start = end + 1;
    }
    for (const Found& found : Lint(text)) {
        EXPECT_NE(found.second, number) << "line " << found.first;
    }
    // Another number silences nothing.
    const std::string other =
        "K lint: aus " + std::to_string(number == 11 ? 1 : number + 1) + "\n" + c.text;
    EXPECT_EQ(Lint(other).size(), c.expected.size());
}

INSTANTIATE_TEST_SUITE_P(Warnings, LintCaseTest, ::testing::ValuesIn(Cases()),
                         [](const auto& param) { return std::string(param.param.name); });

// A knowledge base with every kind of line used as intended: no warning.
TEST(LintTest, NoWarningWhereNothingIsWrong) {
    const std::string text =
        "K Alles richtig\n"
        "Z ZIEL\n"
        "R ZIEL . ja\n"
        "U A (99) . x\n"
        "O A (99) . w\n"
        "U A (99) . x\n"
        "U [+PUNKTE] (50) » (3)\n"
        "U NAME (99) # LEER\n"
        "R ZIEL . nein\n"
        "U A (99) | x\n"
        "R A . x\n"
        "U SEITE (99) . ja\n"
        "U ANTWORT (99) | $\n"
        "R SEITE . ja\n"
        "U START (99) . ja\n"
        "F START (99) . ja\n"
        "F LEER (99) . $\n"
        "F KNOPF (99) . Weiter\n"
        "V SEITE . ja\n"
        "J +LISTE{1} . rot\n"
        "J +LISTE{2} . blau\n"
        "H SEITE . ja\n"
        "M [+PUNKTE] = ((1) + (2))\n"
        "N SEITE . ja\n"
        "T Fragen an [NAME[\n"
        "T Name: ]NAME          ]\n"
        "T Antwort: «ANTWORT     «\n"
        "T          «            «\n"
        "T Farbe: |+LISTE{1}|\n"
        "T Ende: <KNOPF<   >START>\n"
        "V A . x\n"
        "J +TEXT . Hallo\n"
        "J +TEXT + NAME\n"
        "J [+ZAHL] = +TEXT\n"
        "J +K = +KELVO_KONVERTIERFEHLER\n"
        "B A . x\n"
        "= (N)\n"
        "T Zwischenstand\n"
        "T Text: [+TEXT        [ Wahl: [++LR{1}     [ Taste: [START:[\n"
        "= (C)\n"
        "T [+TEXT[ <drucken>\n"
        "N ZIEL . ja\n"
        "T Ergebnis [+UW[ %\n"
        "T Knopf: [+KELVO_SCHALTER_VARIABLENNAME[\n"
        "K\n";
    EXPECT_EQ(Lint(text), std::vector<Found>{});
}

TEST(LintTest, TheDemonstrationKnowledgeBaseLintsClean) {
    auto text = ReadTextFile(std::string(KELVO_SOURCE_DIR) + "/examples/fahrradberater.txt");
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(Lint(*text, std::string(KELVO_SOURCE_DIR) + "/examples"), std::vector<Found>{});
}

TEST(LintTest, ASubscriptReadIsWrittenUnderAnySubscript) {
    EXPECT_EQ(Lint("Z ZIEL\nR ZIEL . ja\nU A (99) . x\nR A . x\nU START (99) . ja\n"
                   "F START (99) . ja\nV A . x\nJ +WERT{+I} . x\nN ZIEL . ja\nT Titel\n"
                   "T [+WERT{2}[\nK\n"),
              std::vector<Found>{});
}

TEST(LintTest, AnIndirectStoreOfAnUnknownNameKeepsTheWriteChecksQuiet) {
    const std::string reads =
        "Z ZIEL\nR ZIEL . ja\nU WETTER (99) . kalt\nR WETTER . kalt\n"
        "U A (99) . x\nR A . x\nU B (99) . y\n";
    // +ZIEL names the target; written from an answer, nobody knows which variable it is.
    EXPECT_EQ(Lint(reads + "N A . x\nT Titel\nT ]+ZIELNAME]\nV A . x\nJ +WERT > +ZIELNAME\nK\n"),
              std::vector<Found>{});
    // Written as a text, the target is known: B is still nowhere written.
    EXPECT_EQ(Lint(reads + "V A . x\nJ +ZIELNAME . C\nJ +WERT > +ZIELNAME\nK\n"),
              (std::vector<Found>{{7, 1}}));
}

// Generated knowledge bases of every line kind, circular rules and pages included: each
// warning names a line of the program and a number of the catalogue, once.
TEST(LintTest, GeneratedKnowledgeBases) {
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        const std::vector<std::string> lines =
            StoredLines(GenerateKnowledgeBase(seed, "austausch.wbp").text);
        const LintWarnings warnings = LintProgram(lines, {});
        for (std::size_t k = 0; k < warnings.size(); ++k) {
            const LintWarning& warning = warnings[k];
            ASSERT_GE(warning.position, 0) << "seed " << seed;
            ASSERT_LT(warning.position, static_cast<int>(lines.size())) << "seed " << seed;
            ASSERT_GE(LintNumber(warning.code), 1);
            ASSERT_LE(LintNumber(warning.code), 11);
            if (k > 0) {
                const LintWarning& before = warnings[k - 1];
                EXPECT_TRUE(before.position < warning.position ||
                            (before.position == warning.position && before.code <= warning.code))
                    << "seed " << seed << ": not in line order";
            }
        }
    }
}

class LintFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("kelvo_lint_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    void Touch(const std::string& name) const { std::ofstream(folder_ / name) << "x"; }

    std::filesystem::path folder_;
};

const std::string kMediaPage =
    "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\nF BILD (99) . bild.bmp\n"
    "F TON (99) . ton.wav\nN ZIEL . ja\nT Ergebnis\nG BILD (10.020) (30.040)\n"
    "G TON (0) (0)\nK\n";

TEST_F(LintFileTest, MissingMediaFilesBesideTheKnowledgeBase) {
    const std::vector<Found> expected{{9, 11}, {10, 11}};
    EXPECT_EQ(Lint(kMediaPage, folder_.string()), expected);
    const LintWarnings warnings = LintProgram(StoredLines(kMediaPage), folder_.string());
    ASSERT_EQ(warnings.size(), 2U);
    EXPECT_EQ(warnings[0].Text(),
              "Warnung 11: Datei nicht vorhanden: BILD.BMP (gesetzt in Zeile 5)");
    // Silenced above the page's header.
    const std::string silenced =
        "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\n"
        "F BILD (99) . bild.bmp\nF TON (99) . ton.wav\n"
        "K lint: aus 11\nN ZIEL . ja\nT Ergebnis\n"
        "G BILD (10.020) (30.040)\nG TON (0) (0)\nK\n";
    EXPECT_EQ(Lint(silenced, folder_.string()), std::vector<Found>{});
}

TEST_F(LintFileTest, FilesThatExistWhateverTheirCase) {
    Touch("bild.bmp");
    Touch("TON.wav");
    EXPECT_EQ(Lint(kMediaPage, folder_.string()), std::vector<Found>{});
}

TEST_F(LintFileTest, ExchangeFileOfAReadBlock) {
    const std::string text =
        "Z ZIEL\nR ZIEL . ja\nU A (99) . x\nR A . x\nU B (99) . y\nR B . y\nU START (99) . ja\n"
        "F START (99) . ja\nF DATEI (99) . daten.wbp\nV B . y\nJ [+WBNR] . (1)\n"
        "\xC2\xAB A . x\nW DATEI (2010) (1)\nK\n";
    EXPECT_EQ(Lint(text, folder_.string()), (std::vector<Found>{{13, 11}}));
    Touch("DATEN.WBP");
    EXPECT_EQ(Lint(text, folder_.string()), std::vector<Found>{});
}

TEST_F(LintFileTest, NamesTheRunDecidesAreNotChecked) {
    // The file name comes from an answer.
    EXPECT_EQ(Lint("Z ZIEL\nR ZIEL . ja\nU A (99) . x\nF A (99) . x\nN ZIEL . ja\n"
                   "T Titel\nT Datei: ]BILD]\nG BILD (0) (0)\nK\n",
                   folder_.string()),
              std::vector<Found>{});
    // A copy command may create the file first.
    EXPECT_EQ(
        Lint("Z ZIEL\nR ZIEL . ja\nU A (99) . x\nR A . x\nU START (99) . ja\n"
             "F START (99) . ja\nF BILD (99) . bild.bmp\nV A . x\n"
             "J +QUELLE . vorlage.bmp\nJ +QUELLE O BILD\nN ZIEL . ja\nT Titel\nG BILD (0) (0)\nK\n",
             folder_.string()),
        std::vector<Found>{});
}

}  // namespace
}  // namespace kelvo
