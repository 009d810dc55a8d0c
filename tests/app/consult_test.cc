// End-to-end tests of `kelvo-cli consult`: fixture knowledge bases in the text form run with
// answer scripts; the transcript is parsed and compared event by event.

#include <string>
#include <vector>

#include "app/cli/consult_session.h"
#include "tests/app/cli_run.h"

namespace kelvo {
namespace {

using nlohmann::json;

std::string Pad30(const std::string& text) {
    return text + std::string(30 - text.size(), ' ');
}

json Fact(int position, const std::string& name, const std::string& value,
          const std::string& certainty, const std::string& origin) {
    return {{"position", position},
            {"name", Pad30(name)},
            {"value", Pad30(value)},
            {"certainty", certainty},
            {"origin", origin}};
}

std::string TrimmedLeft(const json& line) {
    const std::string text = line.get<std::string>();
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

json Question(const std::string& caption, const std::string& answer) {
    return {{"event", "message"}, {"caption", caption}, {"text", "Bitte wählen Sie aus"},
            {"icon", "question"}, {"buttons", "yesno"}, {"answer", answer}};
}

class ConsultTest : public CliFolderTest {};

TEST_F(ConsultTest, SolutionPageAndTheFactsAtTheEnd) {
    const CliResult run = Consult("solution.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "page", "end"}));
    EXPECT_EQ(events[0], (json{{"event", "start"},
                               {"file", ConsultFixture("solution.txt")},
                               {"module", "programming"},
                               {"consultation", 1}}));
    const json& page = events[1];
    EXPECT_EQ(page.at("mode"), 2);
    EXPECT_EQ(page.at("answer"), "weiter");
    ASSERT_EQ(page.at("lines").size(), 25u);
    EXPECT_EQ(TrimmedLeft(page.at("lines")[3]), "Vom System ermittelte Lösungen bei denen");
    EXPECT_EQ(TrimmedLeft(page.at("lines")[7]), "Objekt    = GETRAENK");
    EXPECT_EQ(TrimmedLeft(page.at("lines")[8]), "Wert      = Tee mit Zitrone");
    EXPECT_EQ(TrimmedLeft(page.at("lines")[24]), "[Aussagewahrscheinlichkeit = 90 %]");
    const json& end = events[2];
    EXPECT_EQ(end.at("sessionKey"), 13);
    EXPECT_EQ(end.at("errorLine"), 0);
    EXPECT_EQ(end.at("restart"), false);
    EXPECT_EQ(end.at("errorReport"), false);
    EXPECT_EQ(end.at("facts"), (json{Fact(6, "WETTER", "kalt", "99", "02"),
                                     Fact(7, "GETRAENK", "Tee mit Zitrone", "90", "01"),
                                     Fact(8, "+UW", "90", "99", "02")}));
}

TEST_F(ConsultTest, NoSolutionPage) {
    const CliResult run = Consult("no_solution.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "page", "end"}));
    EXPECT_EQ(events[1].at("mode"), 3);
    EXPECT_EQ(TrimmedLeft(events[1].at("lines")[3]), "Das Expertensystem KELVO konnte");
    EXPECT_EQ(TrimmedLeft(events[1].at("lines")[4]), "keine Lösung für Sie ermitteln!");
    EXPECT_EQ(events[2].at("facts"), (json{Fact(6, "WETTER", "warm", "99", "02")}));
}

TEST_F(ConsultTest, QuestionPageContinuedThenSolution) {
    const CliResult run = Consult("question.txt", Answers("question_weiter.jsonl"));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "page", "page", "end"}));
    json lines = json::array({"Es ist kalt."});
    for (int i = 1; i < 25; ++i) {
        lines.push_back("");
    }
    EXPECT_EQ(events[1], (json{{"event", "page"},
                               {"mode", 1},
                               {"caption", "Das Wetter"},
                               {"lines", lines},
                               {"answer", "weiter"}}));
    EXPECT_EQ(events[2].at("mode"), 2);
    EXPECT_EQ(TrimmedLeft(events[2].at("lines")[24]), "[Aussagewahrscheinlichkeit = 72 %]");
    // The task copy of the "N" line lies behind the program, the facts behind it.
    EXPECT_EQ(
        events[3].at("facts"),
        (json{Fact(12, "JAHRESZEIT", "Winter", "99", "02"), Fact(13, "WETTER", "kalt", "80", "01"),
              Fact(14, "GETRAENK", "Tee", "72", "01"), Fact(15, "+UW", "72", "99", "02")}));
}

TEST_F(ConsultTest, QuestionPageAnsweredAbbruchEndsTheConsultation) {
    const CliResult run = Consult("question.txt", Answers("question_abbruch.jsonl"));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "page", "end"}));
    EXPECT_EQ(events[1].at("mode"), 1);
    EXPECT_EQ(events[1].at("answer"), "abbruch");
    EXPECT_EQ(events[2].at("sessionKey"), 27);
    EXPECT_EQ(events[2].at("facts"), (json{Fact(12, "JAHRESZEIT", "Winter", "99", "02"),
                                           Fact(13, "WETTER", "kalt", "80", "01")}));
}

TEST_F(ConsultTest, BreakOffConfirmed) {
    const CliResult run = Consult("solution.txt", Answers("breakoff_confirmed.jsonl"));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events),
              (std::vector<std::string>{"start", "breakoff", "message", "message", "end"}));
    EXPECT_EQ(events[2], Question("Programm beenden ?", "yes"));
    EXPECT_EQ(events[3], Question("Dialogfenster anzeigen ?", "no"));
    EXPECT_EQ(events[4].at("sessionKey"), 27);
    EXPECT_EQ(events[4].at("errorReport"), false);
}

TEST_F(ConsultTest, BreakOffDeclinedGoesOn) {
    const CliResult run = Consult("solution.txt", Answers("breakoff_declined.jsonl"));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events),
              (std::vector<std::string>{"start", "breakoff", "message", "message", "page", "end"}));
    EXPECT_EQ(events[2], Question("Programm beenden ?", "no"));
    EXPECT_EQ(events[4].at("mode"), 2);
    EXPECT_EQ(events[5].at("sessionKey"), 13);
}

TEST_F(ConsultTest, BreakOffInTheUserModuleAsksOnlyOnce) {
    const CliResult run =
        Consult("solution.txt", Answers("breakoff_confirmed.jsonl") + " --module user");
    // The third answer is not used: the user module does not offer the inspector.
    EXPECT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "breakoff", "message", "end"}));
    EXPECT_NE(run.err.find("1 Antwort(en) nicht verwendet"), std::string::npos) << run.err;
}

TEST_F(ConsultTest, StrictRunningOutExitsWithThree) {
    const CliResult run = Consult("question.txt", "--strict");
    EXPECT_EQ(run.status, 3) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "page", "end"}));
    EXPECT_EQ(events[1].at("answer"), "abbruch");
    EXPECT_NE(run.err.find("keine Antworten mehr"), std::string::npos) << run.err;
}

TEST_F(ConsultTest, StrictWithEnoughAnswersSucceeds) {
    const CliResult run = Consult("question.txt", Answers("question_weiter.jsonl") + " --strict");
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST_F(ConsultTest, WithoutAnswersPagesContinueAndQuestionsAreNo) {
    const CliResult run = Consult("unreachable.txt");
    EXPECT_EQ(run.status, 4) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events),
              (std::vector<std::string>{"start", "beep", "message", "message", "end"}));
    EXPECT_EQ(events[3], Question("Dialogfenster anzeigen ?", "no"));
}

TEST_F(ConsultTest, MalformedAnswersLineExitsWithTwoNamingItsLine) {
    const CliResult run = Consult("question.txt", Answers("malformed.jsonl"));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("malformed.jsonl:3:"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());  // nothing ran
}

TEST_F(ConsultTest, AnswerThatDoesNotFitIsAnErrorNamingItsLine) {
    const CliResult run = Consult("question.txt", Answers("not_fitting.jsonl"));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Antwort in Zeile 2 passt nicht"), std::string::npos) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "page", "page", "end"}));
    EXPECT_EQ(events[1].at("answer"), "weiter");
    EXPECT_EQ(events[2].at("answer"), "abbruch");  // the run stops at the faulty answer
}

TEST_F(ConsultTest, ErrorReportExitsWithFour) {
    const CliResult run = Consult("unreachable.txt", Answers("inspector_yes.jsonl"));
    EXPECT_EQ(run.status, 4) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "beep", "message", "message",
                                                       "inspector", "end"}));
    EXPECT_EQ(events[2], (json{{"event", "message"},
                               {"caption", "Fehlermeldung in Zeile: 4"},
                               {"text", "Regel konnte nicht erfüllt werden"},
                               {"icon", "warning"},
                               {"buttons", "ok"},
                               {"answer", "ok"}}));
    EXPECT_EQ(events[3], Question("Dialogfenster anzeigen ?", "yes"));
    EXPECT_EQ(events[4], (json{{"event", "inspector"}, {"why", "error"}, {"line", 4}}));
    EXPECT_EQ(events[5].at("sessionKey"), 27);
    EXPECT_EQ(events[5].at("errorLine"), 3);
    EXPECT_EQ(events[5].at("errorReport"), true);
    EXPECT_EQ(events[5].at("facts"), json::array());
}

TEST_F(ConsultTest, UserModuleOffersNoInspectorAfterAnError) {
    const CliResult run = Consult("unreachable.txt", "--module user --strict");
    EXPECT_EQ(run.status, 4) << run.err;  // --strict: no question needed an answer
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "beep", "message", "end"}));
    EXPECT_EQ(events[0].at("module"), "user");
    EXPECT_EQ(events[2].at("caption"), "Fehlermeldung in Zeile: 4");
}

TEST_F(ConsultTest, ProgramCheckErrorEight) {
    const CliResult run = Consult("goal_in_fact.txt", "--strict");
    EXPECT_EQ(run.status, 4) << run.err;
    const auto events = ParseTranscript(run.out);
    // The check's errors never offer the inspector.
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "beep", "message", "end"}));
    EXPECT_EQ(events[2].at("caption"), "Fehlermeldung in Zeile: 3");
    EXPECT_EQ(events[2].at("text"),
              "Die  Verwendung  des  Zielobjektes\r\nist in diesem Befehl nicht erlaubt");
    EXPECT_EQ(events[3].at("checkFailed"), true);
    EXPECT_EQ(events[3].at("sessionKey"), 32);
    EXPECT_EQ(events[3].at("errorLine"), 2);
    EXPECT_EQ(events[3].at("facts"), json::array());
}

TEST_F(ConsultTest, ProgramCheckErrorNine) {
    const CliResult run = Consult("rule_without_condition.txt", "--strict");
    EXPECT_EQ(run.status, 4) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "beep", "message", "end"}));
    EXPECT_EQ(events[2].at("caption"), "Fehlermeldung in Zeile: 4");
    EXPECT_EQ(events[2].at("text").get<std::string>().rfind("Ihre Wissensbasis ist Fehlerhaft.", 0),
              0u);
    EXPECT_EQ(events[3].at("checkFailed"), true);
}

TEST_F(ConsultTest, BreakpointOpensTheInspector) {
    const CliResult run = Consult("solution.txt", "--breakpoint 3");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "inspector", "page", "end"}));
    EXPECT_EQ(events[1], (json{{"event", "inspector"}, {"why", "breakpoint"}, {"line", 3}}));
}

TEST_F(ConsultTest, BreakpointOnALineNeverReachedDoesNothing) {
    const CliResult run = Consult("solution.txt", "--breakpoint 2");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Events(ParseTranscript(run.out), "inspector").empty());
}

TEST_F(ConsultTest, TimeoutStopsAnEndlessConsultation) {
    const CliResult run = Consult("jump_back.txt", "--timeout 0.5");
    EXPECT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events),
              (std::vector<std::string>{"start", "timeout", "message", "message", "end"}));
    EXPECT_EQ(events[2], Question("Programm beenden ?", "yes"));
    EXPECT_EQ(events[3], Question("Dialogfenster anzeigen ?", "no"));
    EXPECT_EQ(events[4].at("sessionKey"), 27);
    EXPECT_NE(run.err.find("Zeitlimit"), std::string::npos) << run.err;
}

TEST_F(ConsultTest, CircularRulesEndWithAMessage) {
    std::ofstream(dir_ / "circular.txt") << "K Zirkel\nZ X\nR X . a\nU A (99) . b\nR A . a\n"
                                            "U B (99) . b\nR B . a\nU A (99) . b\nK\n";
    const CliResult run = Cli("consult circular.txt --module user");
    EXPECT_EQ(run.status, 4) << run.err;
    const auto messages = Events(ParseTranscript(run.out), "message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].at("caption").get<std::string>().rfind("Fehlermeldung in Zeile: ", 0),
              0u);
}

TEST_F(ConsultTest, FaultyTextFormExitsWithOneNamingItsLines) {
    const CliResult run =
        Cli("consult '" + std::string(KELVO_TEST_DATA) + "/fixtures/two_faulty_lines.txt'");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("two_faulty_lines.txt:2: Ihre Programmzeile ist Fehlerhaft"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("two_faulty_lines.txt:4: Ihre Programmzeile ist Fehlerhaft"),
              std::string::npos)
        << run.err;
}

TEST_F(ConsultTest, FileErrorsExitWithOne) {
    EXPECT_EQ(Cli("consult missing.txt").status, 1);
    EXPECT_EQ(Cli("consult missing.WBP").status, 1);
    std::ofstream(dir_ / "kb.dat") << "K\n";
    EXPECT_EQ(Cli("consult kb.dat").status, 1);
    EXPECT_EQ(Consult("solution.txt", "--answers missing.jsonl").status, 1);
}

TEST_F(ConsultTest, WrongUsageExitsWithTwo) {
    EXPECT_EQ(Cli("consult").status, 2);
    EXPECT_EQ(Consult("solution.txt", "--module expert").status, 2);
    EXPECT_EQ(Consult("solution.txt", "--breakpoint 0").status, 2);
    EXPECT_EQ(Consult("solution.txt", "--clock '2021-02-29 10:00:00'").status, 2);
    EXPECT_EQ(Consult("solution.txt", "--clock tomorrow").status, 2);
    EXPECT_EQ(Consult("solution.txt", "--timeout -1").status, 2);
}

TEST_F(ConsultTest, TranscriptFile) {
    const CliResult run = Consult("solution.txt",
                                  "--transcript out.jsonl --clock "
                                  "'2024-03-01 08:00:00' --seed 7");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    const auto events = ParseTranscript(ReadWholeFile(dir_ / "out.jsonl"));
    EXPECT_EQ(Kinds(events), (std::vector<std::string>{"start", "page", "end"}));
}

TEST_F(ConsultTest, RecordFilesAndTheirDefaultModules) {
    ASSERT_EQ(Cli("import '" + ConsultFixture("solution.txt") + "' kb.WBP").status, 0);
    ASSERT_EQ(Cli("compile kb.WBP --seed 3").status, 0);

    const auto editable = ParseTranscript(Cli("consult kb.WBP").out);
    ASSERT_EQ(Kinds(editable), (std::vector<std::string>{"start", "page", "end"}));
    EXPECT_EQ(editable[0].at("module"), "programming");

    // The run-only file has no comment lines but the last, so its positions differ.
    const CliResult runOnly = Cli("consult kb.WBB");
    ASSERT_EQ(runOnly.status, 0) << runOnly.err;
    const auto events = ParseTranscript(runOnly.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "page", "end"}));
    EXPECT_EQ(events[0].at("module"), "user");
    EXPECT_EQ(events[1].at("mode"), 2);
    EXPECT_EQ(TrimmedLeft(events[1].at("lines")[8]), "Wert      = Tee mit Zitrone");

    const auto programming = ParseTranscript(Cli("consult kb.WBB --module programming").out);
    ASSERT_FALSE(programming.empty());
    EXPECT_EQ(programming[0].at("module"), "programming");
}

TEST_F(ConsultTest, SameRunSameTranscript) {
    const CliResult first = Consult("question.txt", Answers("question_weiter.jsonl"));
    const CliResult second = Consult("question.txt", Answers("question_weiter.jsonl"));
    EXPECT_EQ(first.out, second.out);
}

// The library under the command.

TEST(ConsultSession, AnswersAreNumberedByTheirLines) {
    auto answers = cli::ParseAnswers("{\"page\":\"weiter\"}\r\n\n  \n{\"answer\":\"no\"}", "a");
    ASSERT_TRUE(answers.ok()) << answers.error().message;
    ASSERT_EQ(answers->size(), 2u);
    EXPECT_EQ((*answers)[0].line, 1);
    EXPECT_EQ((*answers)[1].line, 4);
    EXPECT_EQ((*answers)[1].value, (json{{"answer", "no"}}));
}

TEST(ConsultSession, AnswersMustBeObjects) {
    auto answers = cli::ParseAnswers("{\"page\":\"weiter\"}\n[1]\n", "a.jsonl");
    ASSERT_FALSE(answers.ok());
    EXPECT_EQ(answers.error().message.rfind("a.jsonl:2:", 0), 0u) << answers.error().message;
}

TEST(ConsultSession, Clock) {
    auto clock = cli::ParseClock("2024-02-29 23:59:58");
    ASSERT_TRUE(clock.has_value());
    EXPECT_EQ(clock->year, 2024);
    EXPECT_EQ(clock->month, 2);
    EXPECT_EQ(clock->day, 29);
    EXPECT_EQ(clock->hour, 23);
    EXPECT_EQ(clock->minute, 59);
    EXPECT_EQ(clock->second, 58);
    EXPECT_FALSE(cli::ParseClock("2023-02-29 00:00:00").has_value());
    EXPECT_FALSE(cli::ParseClock("2023-01-01 24:00:00").has_value());
    EXPECT_FALSE(cli::ParseClock("2023-01-01T00:00:00").has_value());
}

TEST(ConsultSession, KindOfIgnoresCase) {
    EXPECT_EQ(cli::KindOf("a.wbp"), cli::KnowledgeBaseKind::Editable);
    EXPECT_EQ(cli::KindOf("A.WBB"), cli::KnowledgeBaseKind::RunOnly);
    EXPECT_EQ(cli::KindOf("a.TXT"), cli::KnowledgeBaseKind::Text);
    EXPECT_FALSE(cli::KindOf("a.wbx").has_value());
}

}  // namespace
}  // namespace kelvo
