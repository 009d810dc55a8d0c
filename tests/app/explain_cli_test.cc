// kelvo-cli explain (text and --json) and consult --explain, end to end.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/app/cli_run.h"

namespace kelvo {
namespace {

using nlohmann::json;

// GETRAENK comes from a rule that needs WETTER (a sub-goal) and JAHRESZEIT (a fact); a second
// rule of GETRAENK fails at its first condition.
constexpr std::string_view kDrinks =
    "K Getr\xC3\xA4nke\n"            // 1
    "Z GETRAENK\n"                   // 2
    "R GETRAENK . Tee\n"             // 3
    "U WETTER (90) . kalt\n"         // 4
    "O JAHRESZEIT (45) . Winter\n"   // 5
    "U JAHRESZEIT (50) . Winter\n"   // 6
    "R GETRAENK . Limonade\n"        // 7
    "U WETTER (99) . hei\xC3\x9F\n"  // 8
    "R WETTER . kalt\n"              // 9
    "U JAHRESZEIT (80) . Winter\n"   // 10
    "F JAHRESZEIT (99) . Winter\n"   // 11
    "K\n";

class ExplainCli : public CliFolderTest {
  protected:
    void SetUp() override {
        CliFolderTest::SetUp();
        std::ofstream(dir_ / "getraenk.txt", std::ios::binary) << kDrinks;
    }
};

struct TextCase {
    std::string name;
    std::string arguments;
    std::string expected;
};

const std::vector<TextCase> kTextCases = {
    {"GoalWithItsSubGoalAndArithmetic", "",
     "Fakt an Position 14: GETRAENK = Tee (Sicherheit 99, Herkunft 01)\n"
     "  Regel in Zeile 3: R GETRAENK . Tee\n"
     "    Bedingung in Zeile 4: U WETTER (90) . kalt\n"
     "      Fakt an Position 13: kalt (Sicherheit 80), erf\xC3\xBCllt, Anteil 90 x 80 / 100 = 72\n"
     "      Regel in Zeile 9: R WETTER . kalt\n"
     "        Bedingung in Zeile 10: U JAHRESZEIT (80) . Winter\n"
     "          Fakt an Position 12: Winter (Sicherheit 99), erf\xC3\xBCllt, Anteil 80 x 99 "
     "(als 100) / 100 = 80\n"
     "          Gruppe zu Ende: beste 80, Summe 80\n"
     "        Summe 80: Sicherheit 80\n"
     "    Bedingung in Zeile 5: O JAHRESZEIT (45) . Winter\n"
     "      Fakt an Position 12: Winter (Sicherheit 99), erf\xC3\xBCllt, Anteil 45 x 99 (als "
     "100) / 100 = 45\n"
     "      Gruppe zu Ende: beste 72, Summe 72\n"
     "    Bedingung in Zeile 6: U JAHRESZEIT (50) . Winter\n"
     "      Fakt an Position 12: Winter (Sicherheit 99), erf\xC3\xBCllt, Anteil 50 x 99 (als "
     "100) / 100 = 50\n"
     "      Gruppe zu Ende: beste 50, Summe 122\n"
     "    Summe 122, begrenzt auf 99: Sicherheit 99\n"},
    {"OneObject", "--object jahreszeit",
     "Fakt an Position 12: JAHRESZEIT = Winter (Sicherheit 99, Herkunft 02)\n"
     "  Faktzeile in Zeile 11: F JAHRESZEIT (99) . Winter\n"},
    {"ObjectWithoutFact", "--object NICHTS", "NICHTS: kein Fakt in der Datenbasis\n"},
    {"WhyNotAValue", "--object GETRAENK --why-not Limonade",
     "Fakt an Position 14: GETRAENK = Tee (Sicherheit 99, Herkunft 01)\n"
     "  Regel in Zeile 3: R GETRAENK . Tee\n"
     "    Bedingung in Zeile 4: U WETTER (90) . kalt\n"
     "      Fakt an Position 13: kalt (Sicherheit 80), erf\xC3\xBCllt, Anteil 90 x 80 / 100 = 72\n"
     "      Regel in Zeile 9: R WETTER . kalt\n"
     "        Bedingung in Zeile 10: U JAHRESZEIT (80) . Winter\n"
     "          Fakt an Position 12: Winter (Sicherheit 99), erf\xC3\xBCllt, Anteil 80 x 99 "
     "(als 100) / 100 = 80\n"
     "          Gruppe zu Ende: beste 80, Summe 80\n"
     "        Summe 80: Sicherheit 80\n"
     "    Bedingung in Zeile 5: O JAHRESZEIT (45) . Winter\n"
     "      Fakt an Position 12: Winter (Sicherheit 99), erf\xC3\xBCllt, Anteil 45 x 99 (als "
     "100) / 100 = 45\n"
     "      Gruppe zu Ende: beste 72, Summe 72\n"
     "    Bedingung in Zeile 6: U JAHRESZEIT (50) . Winter\n"
     "      Fakt an Position 12: Winter (Sicherheit 99), erf\xC3\xBCllt, Anteil 50 x 99 (als "
     "100) / 100 = 50\n"
     "      Gruppe zu Ende: beste 50, Summe 122\n"
     "    Summe 122, begrenzt auf 99: Sicherheit 99\n"
     "\n"
     "Warum nicht GETRAENK = Limonade?\n"
     "  Regel in Zeile 7: R GETRAENK . Limonade: nicht erf\xC3\xBCllt\n"
     "    erste Bedingung, die nicht erf\xC3\xBCllt war: Zeile 8: U WETTER (99) . hei\xC3\x9F\n"
     "      Fakt an Position 13: kalt (Sicherheit 80)\n"},
};

class ExplainText : public ExplainCli, public testing::WithParamInterface<TextCase> {};

TEST_P(ExplainText, PrintsTheTree) {
    const TextCase& row = GetParam();
    const CliResult run = Cli("explain getraenk.txt " + row.arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, row.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExplainText, testing::ValuesIn(kTextCases),
                         [](const auto& row) { return row.param.name; });

TEST_F(ExplainCli, JsonGivesTheSameAsData) {
    const CliResult run = Cli("explain getraenk.txt --json --why-not Limonade");
    ASSERT_EQ(run.status, 0) << run.err;
    const json data = json::parse(run.out);
    EXPECT_EQ(data.at("object"), "GETRAENK");
    ASSERT_EQ(data.at("facts").size(), 1u);
    const json& fact = data.at("facts")[0];
    EXPECT_EQ(fact.at("value"), "Tee");
    EXPECT_EQ(fact.at("position"), 14);
    const json& evidence = fact.at("evidence");
    EXPECT_EQ(evidence.at("source"), "rule");
    EXPECT_EQ(evidence.at("line"), 3);
    EXPECT_EQ(evidence.at("sum"), 122);
    EXPECT_EQ(evidence.at("certainty"), 99);
    const json& conditions = evidence.at("conditions");
    ASSERT_EQ(conditions.size(), 3u);
    const struct {
        int line;
        int share;
        int groupBest;
        bool groupEnds;
        int sum;
    } expected[] = {{4, 72, 72, false, 0}, {5, 45, 72, true, 72}, {6, 50, 50, true, 122}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(conditions[i].at("line"), expected[i].line);
        EXPECT_EQ(conditions[i].at("state"), "held");
        EXPECT_EQ(conditions[i].at("share"), expected[i].share);
        EXPECT_EQ(conditions[i].at("groupBest"), expected[i].groupBest);
        EXPECT_EQ(conditions[i].at("groupEnds"), expected[i].groupEnds);
        EXPECT_EQ(conditions[i].at("sum"), expected[i].sum);
    }
    // The sub-goal WETTER nested under its condition.
    const json& wetter = conditions[0].at("fact").at("evidence");
    EXPECT_EQ(wetter.at("source"), "rule");
    EXPECT_EQ(wetter.at("line"), 9);
    EXPECT_EQ(wetter.at("conditions")[0].at("fact").at("evidence").at("source"), "factLine");
    const json& whyNot = data.at("whyNot").at("rules");
    ASSERT_EQ(whyNot.size(), 1u);
    EXPECT_EQ(whyNot[0].at("line"), 7);
    EXPECT_EQ(whyNot[0].at("outcome"), "failed");
    EXPECT_EQ(whyNot[0].at("condition").at("line"), 8);
    EXPECT_EQ(whyNot[0].at("condition").at("text"), "U WETTER (99) . hei\xC3\x9F");
    EXPECT_EQ(whyNot[0].at("condition").at("fact").at("value"), "kalt");
}

TEST_F(ExplainCli, PageAnswersComeFromTheirTask) {
    const CliResult run = Cli("explain '" + ConsultFixture("form_page.txt") + "' " +
                              Answers("form_page.jsonl") + " --object alter");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Fakt an Position 42: ALTER = 42 (Sicherheit 99, Herkunft 02)\n"
              "  Antwort auf der Seite der Aufgabe in Zeile 19: N SEITE2 . ja\n");
}

TEST_F(ExplainCli, ConsultExplainAddsEvidenceAndNothingElse) {
    const CliResult plain = Cli("consult getraenk.txt");
    const CliResult explained = Cli("consult getraenk.txt --explain");
    ASSERT_EQ(plain.status, 0) << plain.err;
    ASSERT_EQ(explained.status, 0) << explained.err;
    EXPECT_EQ(plain.out.find("evidence"), std::string::npos);
    std::vector<json> events = ParseTranscript(explained.out);
    json& end = events.back();
    ASSERT_EQ(end.at("event"), "end");
    EXPECT_EQ(end.at("removedFacts"), json::array());
    const std::vector<std::pair<std::string, std::string>> sources = {{"JAHRESZEIT", "factLine"},
                                                                      {"WETTER", "rule"},
                                                                      {"GETRAENK", "rule"},
                                                                      {"+UW", "closingPhase"}};
    ASSERT_EQ(end.at("facts").size(), sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        json& fact = end.at("facts")[i];
        EXPECT_EQ(fact.at("name").get<std::string>().substr(0, sources[i].first.size()),
                  sources[i].first);
        EXPECT_EQ(fact.at("evidence").at("source"), sources[i].second);
        fact.erase("evidence");
    }
    end.erase("removedFacts");
    EXPECT_EQ(events, ParseTranscript(plain.out));
}

TEST_F(ExplainCli, ExplainIsNoInteractiveOption) {
    const CliResult run = Cli("consult getraenk.txt --explain --interactive");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--explain"), std::string::npos);
}

TEST_F(ExplainCli, AFailedProgramCheckHasNoFactBase) {
    std::ofstream(dir_ / "leer.txt", std::ios::binary) << "K ohne Ziel\nR A . b\nU C (99) . d\n";
    const CliResult run = Cli("explain leer.txt");
    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_NE(run.out.find("keine Datenbasis"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace kelvo
