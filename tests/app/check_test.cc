// End-to-end tests of `kelvo-cli check`.

#include <fstream>
#include <string>

#include "tests/app/cli_run.h"

namespace kelvo {
namespace {

class CheckTest : public CliFolderTest {
  protected:
    CliResult Check(const std::string& fixture) const {
        return Cli("check '" + ConsultFixture(fixture) + "'");
    }
};

TEST_F(CheckTest, AGoodKnowledgeBaseWouldStart) {
    const CliResult run = Check("solution.txt");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.out, ConsultFixture("solution.txt") + ": keine Fehler gefunden\n");
}

TEST_F(CheckTest, ErrorEight) {
    const CliResult run = Check("goal_in_fact.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, ConsultFixture("goal_in_fact.txt") +
                           ":3: Fehler 8: Die Verwendung des Zielobjektes ist in diesem Befehl "
                           "nicht erlaubt\n" +
                           ConsultFixture("goal_in_fact.txt") + ": 1 Fehler gefunden\n");
}

TEST_F(CheckTest, ErrorNine) {
    const CliResult run = Check("rule_without_condition.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("rule_without_condition.txt:4: Fehler 9: Ihre Wissensbasis ist "
                           "Fehlerhaft. Überprüfen Sie Ihre Befehlsfolge!"),
              std::string::npos)
        << run.out;
}

TEST_F(CheckTest, ListsEveryProblemNotOnlyTheFirst) {
    const CliResult run = Check("several_problems.txt");
    EXPECT_EQ(run.status, 1);
    const std::string file = ConsultFixture("several_problems.txt");
    for (const std::string& expected :
         {file + ":3: Fehler 8:", file + ":5: Fehler 9:", file + ":7: Fehler 9:",
          file + ":8: Fehler 9:", file + ": 4 Fehler gefunden"}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    }
    // In line order.
    EXPECT_LT(run.out.find(":3: "), run.out.find(":5: "));
    EXPECT_LT(run.out.find(":7: "), run.out.find(":8: "));
}

TEST_F(CheckTest, GrammarAndProgramProblemsTogether) {
    const std::string file = std::string(KELVO_TEST_DATA) + "/fixtures/two_faulty_lines.txt";
    const CliResult run = Cli("check '" + file + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(file + ":2: Ihre Programmzeile ist Fehlerhaft"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(file + ":4: Ihre Programmzeile ist Fehlerhaft"), std::string::npos)
        << run.out;
    // The faulty rule line 4 takes part in the program check as typed: no condition follows.
    EXPECT_NE(run.out.find(file + ":5: Fehler 9:"), std::string::npos) << run.out;
}

TEST_F(CheckTest, RecordFiles) {
    ASSERT_EQ(Cli("import '" + ConsultFixture("question.txt") + "' kb.WBP").status, 0);
    ASSERT_EQ(Cli("compile kb.WBP --seed 5").status, 0);
    const CliResult editable = Cli("check kb.WBP");
    EXPECT_EQ(editable.status, 0) << editable.out << editable.err;
    EXPECT_EQ(editable.err, "");
    const CliResult runOnly = Cli("check kb.WBB");
    EXPECT_EQ(runOnly.status, 0) << runOnly.out << runOnly.err;
    EXPECT_EQ(runOnly.err, "");
}

TEST_F(CheckTest, ARecordThatIsNotAProgramLineIsListed) {
    ASSERT_EQ(Cli("import '" + ConsultFixture("solution.txt") + "' kb.WBP").status, 0);
    {
        // Overwrite the text of record 5 (the fact line) with something no grammar accepts.
        std::fstream file(dir_ / "kb.WBP", std::ios::binary | std::ios::in | std::ios::out);
        std::string record(84, ' ');
        const std::string text = "F ?? nonsense";
        record[0] = static_cast<char>(text.size());
        record.replace(1, text.size(), text);
        file.seekp(84 * 4);
        file.write(record.data(), 84);
    }
    const CliResult run = Cli("check kb.WBP");
    EXPECT_EQ(run.status, 0) << run.out;  // it would still start
    EXPECT_NE(run.out.find("kb.WBP:5: Ihre Programmzeile ist Fehlerhaft"), std::string::npos)
        << run.out;
}

// Two faults the lint finds, one silenced: the warnings follow the problems, in line order.
constexpr const char* kLintedKnowledgeBase =
    "K Zwei Warnungen\n"
    "Z ZIEL\n"
    "R ZIEL . ja\n"
    "U WETTER (99) . kalt\n"
    "K lint: aus 5\n"
    "R ZIEL . ja\n"
    "U WETTER (99) . kalt\n"
    "R ZIEL . ja\n"
    "U WETTER (99) . kalt\n"
    "K\n";

TEST_F(CheckTest, LintWarningsAfterTheProblemsInLineOrder) {
    std::ofstream(dir_ / "kb.txt") << kLintedKnowledgeBase;
    const CliResult run = Cli("check --lint kb.txt");
    EXPECT_EQ(run.status, 0) << run.out << run.err;  // warnings alone do not fail
    const std::string unknown =
        ": Warnung 1: Bedingungsobjekt erh\xC3\xA4lt nirgends einen Wert: WETTER setzt keine "
        "Regel, Tatsache, Seite, Berechnung, Variablen- oder Austauschzeile (Fehler 14)\n";
    EXPECT_EQ(run.out, "kb.txt:4" + unknown + "kb.txt:7" + unknown +
                           "kb.txt:8: Warnung 5: Doppelte Regel: gleich der Regel in Zeile 3\n"
                           "kb.txt:9" +
                           unknown +
                           "kb.txt: keine Fehler gefunden\n"
                           "kb.txt: 4 Warnungen\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(CheckTest, LintExitStatus) {
    std::ofstream(dir_ / "kb.txt") << kLintedKnowledgeBase;
    EXPECT_EQ(Cli("check --lint=strict kb.txt").status, 1);
    EXPECT_EQ(Cli("check --lint=normal kb.txt").status, 0);
    EXPECT_EQ(Cli("check --lint=sometimes kb.txt").status, 2);
    // Without --lint the check is what it was.
    const CliResult plain = Cli("check kb.txt");
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.out, "kb.txt: keine Fehler gefunden\n");

    const CliResult clean = Cli("check --lint=strict '" + ConsultFixture("solution.txt") + "'");
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_EQ(clean.out, ConsultFixture("solution.txt") + ": keine Fehler gefunden\n" +
                             ConsultFixture("solution.txt") + ": keine Warnungen\n");
}

TEST_F(CheckTest, StrictLintFailsWhenFaultyLinesKeepItFromRunning) {
    const std::string file = std::string(KELVO_TEST_DATA) + "/fixtures/two_faulty_lines.txt";
    const CliResult run = Cli("check --lint '" + file + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(file + ": Lint nicht ausgef\xC3\xBChrt (fehlerhafte Zeilen)\n"),
              std::string::npos)
        << run.out;
}

TEST_F(CheckTest, FileErrors) {
    EXPECT_EQ(Cli("check missing.WBP").status, 1);
    EXPECT_EQ(Cli("check missing.txt").status, 1);
    EXPECT_EQ(Cli("check").status, 2);
}

}  // namespace
}  // namespace kelvo
