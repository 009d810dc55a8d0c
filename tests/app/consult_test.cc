// End-to-end tests of `kelvo-cli consult`: fixture knowledge bases in the text form run with
// answer scripts; the transcript is parsed and compared event by event.

#include <algorithm>
#include <string>
#include <vector>

#include "app/cli/consult_session.h"
#include "tests/app/cli_run.h"
#include "tests/case_name.h"

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
    EXPECT_EQ(events[1].at("mode"), 1);
    EXPECT_EQ(events[1].at("caption"), "Das Wetter");
    EXPECT_EQ(events[1].at("lines"), lines);
    EXPECT_EQ(events[1].at("answer"), "weiter");
    EXPECT_EQ(events[1].at("fields"), json::array());
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
    // "Abbruch" asks its question, answered by the next answer.
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "page", "message", "end"}));
    EXPECT_EQ(events[1].at("mode"), 1);
    EXPECT_EQ(events[1].at("answer"), "abbruch");
    EXPECT_EQ(events[2], Question("Programm beenden ?", "yes"));
    EXPECT_EQ(events[3].at("sessionKey"), 27);
    EXPECT_EQ(events[3].at("facts"), (json{Fact(12, "JAHRESZEIT", "Winter", "99", "02"),
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
    EXPECT_EQ(events[4].at("why"), "error");
    EXPECT_EQ(events[4].at("line"), 4);
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
    EXPECT_EQ(events[1].at("why"), "breakpoint");
    EXPECT_EQ(events[1].at("line"), 3);
    EXPECT_EQ(events[1].at("title"), "Datenbasis...Letzten 20 Speicherungen");
    EXPECT_EQ(events[1].at("breakpointButton"), true);
    EXPECT_FALSE(events[1].contains("deleteBreakpoint"));
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

// Question pages with fields: fixtures/consult/form_page.txt asks three colours on its first
// page and shows every field kind on its second, which is ended by its button "JA".

json Field(const json& page, const std::string& name) {
    for (const json& field : page.at("fields")) {
        if (field.at("name") == name) {
            return field;
        }
    }
    ADD_FAILURE() << "no field " << name;
    return json::object();
}

TEST_F(ConsultTest, PageAnswersBecomeFacts) {
    const CliResult run = Consult("form_page.txt", Answers("form_page.jsonl") + " --strict");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "page", "page", "page", "end"}));
    const json& facts = events[4].at("facts");
    // Behind the 18 program lines and their 2 task copies: the fact lines, SEITE1, the three
    // colours of the first page, SEITE2, then the second page's answers in the order of Weiter.
    json expected{
        Fact(36, "SEITE1", "ja", "99", "01"),
        Fact(37, "+FARBE{1}", "rot", "99", "02"),
        Fact(38, "+FARBE{2}", "grün", "99", "02"),
        Fact(39, "+FARBE{3}", "blau", "99", "02"),
        Fact(40, "SEITE2", "ja", "99", "01"),
        Fact(41, "NAME", "Erna", "99", "02"),  // shown and stored unchanged
        Fact(42, "ALTER", "42", "99", "02"),
        Fact(43, "+KELVO_SCHALTER_VARIABLENNAME", "JA", "99", "02"),
        Fact(44, "++KELVO_SCHALTER1", "ja", "99", "02"),
        Fact(45, "RAUCHER:", "FALSCH", "99", "02"),
        Fact(46, "[+LR{1}          ]", "(           3.000)", "99", "02"),
        Fact(47, "++LR{1}1", "blau", "99", "02"),
        Fact(48, "BEMERKUNG", "keine", "99", "02"),
        Fact(49, "ERGEBNIS", "fertig", "99", "01"),
        Fact(50, "+UW", "99", "99", "02"),
    };
    expected[2]["value"] = "grün" + std::string(26, ' ');  // Pad30 counts UTF-8 bytes
    ASSERT_GE(facts.size(), expected.size());
    EXPECT_EQ(
        json(std::vector<json>(facts.end() - static_cast<long>(expected.size()), facts.end())),
        expected);
}

TEST_F(ConsultTest, ThePageEventDescribesItsFields) {
    const CliResult run = Consult("form_page.txt", Answers("form_page.jsonl"));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto pages = Events(ParseTranscript(run.out), "page");
    ASSERT_EQ(pages.size(), 3u);
    const json& page = pages[1];
    EXPECT_EQ(page.at("caption"), "Fragebogen");
    EXPECT_EQ(page.at("answer"), "JA");
    EXPECT_EQ(Field(page, "NAME"), (json{{"kind", "input"},
                                         {"slot", 1},
                                         {"name", "NAME"},
                                         {"line", 1},
                                         {"column", 7},
                                         {"width", 16},
                                         {"height", 1},
                                         {"value", "Erna"}}));
    EXPECT_EQ(Field(page, "BEMERKUNG").at("kind"), "memo");
    EXPECT_EQ(Field(page, "BEMERKUNG").at("height"), 2);
    EXPECT_EQ(Field(page, "JA").at("kind"), "button");
    EXPECT_EQ(Field(page, "JA").at("value"), "JA");
    EXPECT_EQ(Field(page, "RAUCHER").at("checked"), true);
    const json list = Field(page, "+FARBE{2}");
    EXPECT_EQ(list.at("items"), (json{"rot", "grün", "blau"}));
    EXPECT_EQ(list.at("selected"), 2);
    // The invalid description stays in the text; the fields are blanked.
    EXPECT_EQ(page.at("lines")[7], "         ]VOR NAME]");
    EXPECT_EQ(page.at("lines")[0], "Name:");
    // A page with a button of its own has no "Weiter".
    json names = json::array();
    for (const json& tool : page.at("toolbar")) {
        names.push_back(tool.at("name"));
    }
    EXPECT_EQ(names, (json{"Abbruch_Schalter", "Drucken_Schalter", "Datenbasis_Schalter",
                           "Kopieren_Schalter", "Einfuegen_Schalter"}));
    EXPECT_EQ(page.at("window"),
              (json{{"width", 830}, {"height", 640}, {"level", 3}, {"scale", {14286, 10000}}}));
}

TEST_F(ConsultTest, ScreenSizeOption) {
    const CliResult run =
        Consult("form_page.txt", Answers("form_page.jsonl") + " --screen 800x600");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto pages = Events(ParseTranscript(run.out), "page");
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages[0].at("window"),
              (json{{"width", 590}, {"height", 465}, {"level", 1}, {"scale", {10000, 10000}}}));
    EXPECT_EQ(Consult("solution.txt", "--screen 800").status, 2);
    EXPECT_EQ(Consult("solution.txt", "--screen 0x600").status, 2);
}

TEST_F(ConsultTest, RunningOutOnAPageWithAButtonPressesIt) {
    std::ofstream(dir_ / "first.jsonl") << "{\"page\":{\"fields\":{\"+FARBE{1}\":\"rot\"}}}\n";
    const CliResult run = Consult("form_page.txt", "--answers first.jsonl");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto pages = Events(ParseTranscript(run.out), "page");
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[1].at("answer"), "JA");  // Enter presses the focused button S1
}

struct FaultyPageAnswer {
    std::string name;
    std::string answer;
    std::string message;
};

class PageAnswerFaults : public CliFolderTest,
                         public testing::WithParamInterface<FaultyPageAnswer> {};

TEST_P(PageAnswerFaults, AreErrorsNamingTheirLine) {
    std::ofstream(dir_ / "answers.jsonl") << "{\"page\":\"weiter\"}\n" << GetParam().answer << "\n";
    const CliResult run = Consult("form_page.txt", "--answers answers.jsonl");
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("Antwort in Zeile 2 passt nicht: " + GetParam().message),
              std::string::npos)
        << run.err;
    const auto events = ParseTranscript(run.out);
    const auto pages = Events(events, "page");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1].at("answer"), "abbruch");
    EXPECT_EQ(events.back().at("sessionKey"), 27);
}

INSTANTIATE_TEST_SUITE_P(
    ConsultTest, PageAnswerFaults,
    testing::Values(
        FaultyPageAnswer{"UnknownField", R"({"page":{"fields":{"ALTR":"1"},"press":"JA"}})",
                         "kein Eingabefeld \"ALTR\""},
        FaultyPageAnswer{"UnknownCheckBox", R"({"page":{"checks":{"NICHTDA":true},"press":"JA"}})",
                         "kein Kontrollkästchen \"NICHTDA\""},
        FaultyPageAnswer{"ListItemOutOfRange", R"({"page":{"lists":{"+FARBE{2}":4},"press":"JA"}})",
                         "die Liste \"+FARBE{2}\" hat keinen Eintrag 4"},
        FaultyPageAnswer{"UnknownButton", R"({"page":{"press":"NEIN"}})", "kein Schalter \"NEIN\""},
        FaultyPageAnswer{"WeiterOnAPageWithAButton", R"({"page":"weiter"})",
                         "die Seite hat keinen Weiter-Schalter"},
        FaultyPageAnswer{"UnknownKey", R"({"page":{"drücken":"JA"}})",
                         "unbekannter Schlüssel \"drücken\""}),
    CaseName{});

// Every key of every answer kind with a value of the wrong type (or shape) is an answer that
// does not fit: exit 2 naming its line, never an uncaught exception.
struct MalformedAnswer {
    std::string name;
    std::string fixture;
    std::string arguments;             ///< besides --answers
    std::vector<std::string> answers;  ///< the answers file, one line each
    int line = 0;                      ///< the line named
    std::string message;               ///< a part of the text after "passt nicht: "

    friend void PrintTo(const MalformedAnswer& row, std::ostream* out) { *out << row.name; }
};

class MalformedAnswers : public CliFolderTest,
                         public testing::WithParamInterface<MalformedAnswer> {};

TEST_P(MalformedAnswers, ExitWithTwoNamingTheirLine) {
    const MalformedAnswer& row = GetParam();
    {
        std::ofstream answers(dir_ / "answers.jsonl");
        for (const std::string& answer : row.answers) {
            answers << answer << "\n";
        }
    }
    const CliResult run = Consult(row.fixture, "--answers answers.jsonl " + row.arguments);
    EXPECT_EQ(run.status, 2) << run.err;
    const std::string named = "Antwort in Zeile " + std::to_string(row.line) + " passt nicht: ";
    const std::size_t at = run.err.find(named);
    ASSERT_NE(at, std::string::npos) << run.err;
    EXPECT_NE(run.err.substr(at + named.size(), run.err.find('\n', at) - at - named.size())
                  .find(row.message),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("terminate"), std::string::npos) << run.err;
    ASSERT_FALSE(run.out.empty());  // the transcript up to the stop is written
    EXPECT_EQ(ParseTranscript(run.out).back().at("event"), "end");
}

// Page answers go to the second page of form_page.txt (line 2); a question follows
// "abbruch"; the file dialog is the first interaction of file_dialog.txt; the inspector opens
// at the breakpoint before anything else.
const std::string kFirst = R"({"page":"weiter"})";
const std::string kAbbruch = R"({"page":{"press":"abbruch"}})";

INSTANTIATE_TEST_SUITE_P(
    ConsultTest, MalformedAnswers,
    testing::Values(
        MalformedAnswer{"PageNumber",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":5})"},
                        2,
                        "5 ist keine Seitenantwort"},
        MalformedAnswer{"PageNull",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":null})"},
                        2,
                        "null ist keine Seitenantwort"},
        MalformedAnswer{"PageArray",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":["weiter"]})"},
                        2,
                        "keine Seitenantwort"},
        MalformedAnswer{"FieldsNotAnObject",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"fields":["ALTER"],"press":"JA"}})"},
                        2,
                        "\"fields\" ist kein Objekt"},
        MalformedAnswer{"FieldValueNumber",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"fields":{"ALTER":42},"press":"JA"}})"},
                        2,
                        "der Wert von \"ALTER\" ist kein Text"},
        MalformedAnswer{"ChecksNotAnObject",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"checks":true,"press":"JA"}})"},
                        2,
                        "\"checks\" ist kein Objekt"},
        MalformedAnswer{"CheckValueText",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"checks":{"RAUCHER":"ja"},"press":"JA"}})"},
                        2,
                        "der Wert von \"RAUCHER\" ist weder true noch false"},
        MalformedAnswer{"ListsNotAnObject",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"lists":2,"press":"JA"}})"},
                        2,
                        "\"lists\" ist kein Objekt"},
        MalformedAnswer{"ListItemText",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"lists":{"+FARBE{2}":"2"},"press":"JA"}})"},
                        2,
                        "die Liste \"+FARBE{2}\" hat keinen Eintrag \"2\""},
        MalformedAnswer{"ListItemFraction",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"lists":{"+FARBE{2}":1.5},"press":"JA"}})"},
                        2,
                        "hat keinen Eintrag 1.5"},
        // Beyond the range of a whole number of the form: not taken for another item.
        MalformedAnswer{"ListItemHuge",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"lists":{"+FARBE{2}":4294967297},"press":"JA"}})"},
                        2,
                        "hat keinen Eintrag 4294967297"},
        MalformedAnswer{"ListItemNegative",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"lists":{"+FARBE{2}":-1},"press":"JA"}})"},
                        2,
                        "hat keinen Eintrag -1"},
        MalformedAnswer{"PressNumber",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"press":1}})"},
                        2,
                        "\"press\" ist kein Text"},
        MalformedAnswer{"PrintText",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"print":"ja","press":"JA"}})"},
                        2,
                        "\"print\" ist weder true noch false"},
        MalformedAnswer{"PrintNumber",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"print":1,"press":"JA"}})"},
                        2,
                        "\"print\" ist weder true noch false"},
        MalformedAnswer{"InspectorText",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"inspector":"ja","press":"JA"}})"},
                        2,
                        "\"inspector\" ist weder true noch false"},
        MalformedAnswer{"CopyNumber",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"copy":1,"press":"JA"}})"},
                        2,
                        "kein Feld 1 zum Kopieren"},
        MalformedAnswer{"PasteArray",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"paste":["ALTER"],"press":"JA"}})"},
                        2,
                        "kein Eingabefeld [\"ALTER\"] zum Einf\xC3\xBCgen"},
        // The wrong type of a later key changes nothing before it is found.
        MalformedAnswer{"PrintWrongAfterCopy",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":{"copy":"NAME","print":"ja","press":"JA"}})"},
                        2,
                        "\"print\" ist weder true noch false"},
        MalformedAnswer{"TwoKeys",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"page":"weiter","answer":"yes"})"},
                        2,
                        "eine Antwort hat genau einen Schl\xC3\xBCssel"},
        MalformedAnswer{"AnswerNumber",
                        "form_page.txt",
                        "",
                        {kFirst, kAbbruch, R"({"answer":1})"},
                        3,
                        "1 ist weder yes noch no"},
        MalformedAnswer{"AnswerTrue",
                        "form_page.txt",
                        "",
                        {kFirst, kAbbruch, R"({"answer":true})"},
                        3,
                        "true ist weder yes noch no"},
        MalformedAnswer{"AnswerNull",
                        "form_page.txt",
                        "",
                        {kFirst, kAbbruch, R"({"answer":null})"},
                        3,
                        "null ist weder yes noch no"},
        MalformedAnswer{"AnswerGerman",
                        "form_page.txt",
                        "",
                        {kFirst, kAbbruch, R"({"answer":"ja"})"},
                        3,
                        "\"ja\" ist weder yes noch no"},
        MalformedAnswer{"FileNumber",
                        "file_dialog.txt",
                        "",
                        {R"({"file":1})"},
                        1,
                        "1 ist weder ein Dateiname noch null"},
        MalformedAnswer{"FileTrue",
                        "file_dialog.txt",
                        "",
                        {R"({"file":true})"},
                        1,
                        "true ist weder ein Dateiname noch null"},
        MalformedAnswer{"FileObject",
                        "file_dialog.txt",
                        "",
                        {R"({"file":{"name":"a"}})"},
                        1,
                        "ist weder ein Dateiname noch null"},
        MalformedAnswer{"BreakoffText",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"breakoff":"ja"})"},
                        2,
                        "\"breakoff\" ist nicht true, gefunden \"ja\""},
        MalformedAnswer{"BreakoffFalse",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"breakoff":false})"},
                        2,
                        "\"breakoff\" ist nicht true, gefunden false"},
        MalformedAnswer{"BreakoffNumber",
                        "form_page.txt",
                        "",
                        {kFirst, R"({"breakoff":1})"},
                        2,
                        "\"breakoff\" ist nicht true, gefunden 1"},
        MalformedAnswer{"InspectorNotAnObject",
                        "solution.txt",
                        "--breakpoint 3",
                        {R"({"inspector":true})"},
                        1,
                        "true ist keine Antwort des Datenbasis-Fensters"},
        MalformedAnswer{"DeleteBreakpointText",
                        "solution.txt",
                        "--breakpoint 3",
                        {R"({"inspector":{"deleteBreakpoint":"ja"}})"},
                        1,
                        "\"deleteBreakpoint\" ist weder true noch false"},
        MalformedAnswer{"DeleteBreakpointNull",
                        "solution.txt",
                        "--breakpoint 3",
                        {R"({"inspector":{"deleteBreakpoint":null}})"},
                        1,
                        "\"deleteBreakpoint\" ist weder true noch false"},
        MalformedAnswer{"InspectorUnknownKey",
                        "solution.txt",
                        "--breakpoint 3",
                        {R"({"inspector":{"loeschen":true}})"},
                        1,
                        "unbekannte Antwort \"loeschen\" des Datenbasis-Fensters"}),
    CaseName{});

// An answer nested too deeply to be shown is refused before anything runs, naming its line.
TEST_F(ConsultTest, ADeeplyNestedAnswerIsAMalformedFile) {
    std::ofstream(dir_ / "answers.jsonl")
        << "{\"page\":\"weiter\"}\n"
        << "{\"page\":" << std::string(100000, '[') << std::string(100000, ']') << "}\n";
    const CliResult run = Consult("form_page.txt", "--answers answers.jsonl");
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("answers.jsonl:2: zu tief verschachtelt"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
}

TEST_F(ConsultTest, CopyAndPasteGoThroughTheClipboard) {
    std::ofstream(dir_ / "answers.jsonl")
        << "{\"page\":\"weiter\"}\n"
        << "{\"page\":{\"copy\":\"name\",\"paste\":\"ALTER\",\"press\":\"JA\"}}\n";
    const CliResult run = Consult("form_page.txt", "--answers answers.jsonl");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    const auto clipboard = Events(events, "clipboard");
    ASSERT_EQ(clipboard.size(), 2u);
    EXPECT_EQ(clipboard[0], (json{{"event", "clipboard"}, {"action", "write"}, {"text", "Erna"}}));
    EXPECT_EQ(clipboard[1], (json{{"event", "clipboard"}, {"action", "read"}, {"text", "Erna"}}));
    bool stored = false;
    for (const json& fact : events.back().at("facts")) {
        stored = stored || fact == Fact(42, "ALTER", "Erna", "99", "02");
    }
    EXPECT_TRUE(stored) << events.back().dump();
}

TEST_F(ConsultTest, AbbruchAnsweredNoKeepsThePageWithWhatWasTyped) {
    std::ofstream(dir_ / "answers.jsonl")
        << "{\"page\":\"weiter\"}\n"
        << "{\"page\":{\"fields\":{\"ALTER\":\"42\"},\"press\":\"abbruch\"}}\n"
        << "{\"answer\":\"no\"}\n"
        << "{\"page\":{\"press\":\"ja\"}}\n"
        << "{\"page\":\"weiter\"}\n";
    const CliResult run = Consult("form_page.txt", "--answers answers.jsonl --strict");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "page", "page", "message", "page",
                                                       "page", "end"}));
    EXPECT_EQ(events[3], Question("Programm beenden ?", "no"));
    EXPECT_EQ(Field(events[4], "ALTER").at("value"), "42");  // the page stayed as it was
    EXPECT_EQ(events[4].at("answer"), "JA");
    EXPECT_EQ(events[6].at("sessionKey"), 13);
}

TEST_F(ConsultTest, TheInspectorListsItsRowsAndDeletesTheBreakpoint) {
    std::ofstream(dir_ / "answers.jsonl") << "{\"inspector\":{\"deleteBreakpoint\":true}}\n";
    const CliResult run =
        Consult("solution.txt", "--breakpoint 3 --answers answers.jsonl --clipboard ' WETTER '");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");  // the answer was used
    const auto inspectors = Events(ParseTranscript(run.out), "inspector");
    ASSERT_EQ(inspectors.size(), 1u);
    const json& inspector = inspectors[0];
    EXPECT_EQ(inspector.at("deleteBreakpoint"), true);
    ASSERT_EQ(inspector.at("rows").size(), 17u);
    EXPECT_EQ(inspector.at("rows")[7], "");
    EXPECT_EQ(inspector.at("rows")[8], "  GETRAENK                       (90) . Tee mit Zitrone");
    EXPECT_EQ(inspector.at("rows")[9], "  WETTER                         (99) . kalt");
    EXPECT_EQ(inspector.at("watched"), (json{{{"name", "WETTER"}, {"value", "kalt"}},
                                             {{"name", "?"}, {"value", "Fehler"}},
                                             {{"name", "?"}, {"value", "Fehler"}}}));
}

// The inspector watches the clipboard and the editor's clipboards 2 and 3, at a breakpoint as
// well as when a page opens it.
TEST_F(ConsultTest, TheInspectorWatchesTheEditorsClipboards) {
    std::ofstream(dir_ / "answers.jsonl") << "{\"page\":{\"inspector\":true}}\n";
    const CliResult run =
        Consult("solution.txt",
                "--breakpoint 3 --answers answers.jsonl --clipboard WETTER --ablage2 ' GETRAENK' "
                "--ablage3 'K\xC3\x84LTE'");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto inspectors = Events(ParseTranscript(run.out), "inspector");
    ASSERT_EQ(inspectors.size(), 2u);
    const json expected{{{"name", "WETTER"}, {"value", "kalt"}},
                        {{"name", "GETRAENK"}, {"value", "Tee mit Zitrone"}},
                        {{"name", "K\xC3\x84LTE"}, {"value", "Fehler"}}};
    EXPECT_EQ(inspectors[0].at("why"), "breakpoint");
    EXPECT_EQ(inspectors[0].at("watched"), expected);
    EXPECT_EQ(inspectors[1].at("why"), "page");
    EXPECT_EQ(inspectors[1].at("watched"), expected);
}

TEST_F(ConsultTest, AnInspectorAnswerIsOptional) {
    const CliResult run = Consult("solution.txt", "--breakpoint 3 " + Answers("one_page.jsonl"));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "inspector", "page", "end"}));
    EXPECT_FALSE(events[1].contains("deleteBreakpoint"));
}

TEST_F(ConsultTest, MediaPlaysOnActivationAndAgainAfterTheInspector) {
    const CliResult run = Consult("media.txt", Answers("media.jsonl") + " --strict");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    const std::string sound = ConsultFixture("ton.wav");
    const std::vector<std::string> play{"open " + sound + " type waveaudio alias Lied",
                                        "break Lied on 27", "play Lied wait", "close Lied"};
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "media", "media", "media", "media",
                                                       "page", "inspector", "media", "media",
                                                       "media", "media", "page", "end"}));
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(events[1 + i].at("command"), play[i]);
        EXPECT_EQ(events[7 + i].at("command"), play[i]);
    }
    const json& page = events[5];
    EXPECT_EQ(page.at("media").at("file"), "TON.WAV");
    EXPECT_EQ(page.at("pictures"), (json{{{"box", 1},
                                          {"file", ConsultFixture("bild.bmp")},
                                          {"left", 10},
                                          {"top", 20},
                                          {"width", 30},
                                          {"height", 40}}}));
    EXPECT_EQ(page.at("toolbar").back(), (json{{"name", "VideoSound_Schalter"}, {"left", 136}}));
    EXPECT_EQ(events[6].at("why"), "page");
    EXPECT_EQ(events[11].at("mode"), 2);  // the closing page has no media
}

TEST_F(ConsultTest, TheUserModuleHasNoDatenbasisButton) {
    const CliResult run = Consult("media.txt", Answers("media.jsonl") + " --module user");
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("keinen Datenbasis-Schalter"), std::string::npos) << run.err;
}

// The demonstration knowledge base of examples/ runs from end to end.

std::string Example() {
    return std::string(KELVO_TEST_DATA) + "/../../examples/fahrradberater.txt";
}

struct BikeCase {
    std::string name;
    std::string answers;
    std::vector<std::string> captions;                       ///< of every page, in order
    std::vector<std::pair<std::string, std::string>> bikes;  ///< value and certainty
    std::string points;
};

class ExampleKnowledgeBase : public CliFolderTest, public testing::WithParamInterface<BikeCase> {};

TEST_P(ExampleKnowledgeBase, RecommendsABike) {
    const BikeCase& row = GetParam();
    const CliResult run = Cli("consult '" + Example() + "' --strict " + Answers(row.answers));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto events = ParseTranscript(run.out);
    std::vector<std::string> captions;
    for (const json& page : Events(events, "page")) {
        captions.push_back(page.at("caption"));
    }
    EXPECT_EQ(captions, row.captions);
    std::vector<std::pair<std::string, std::string>> bikes;
    std::string points;
    for (const json& fact : events.back().at("facts")) {
        const std::string name = fact.at("name");
        const std::string value = fact.at("value");
        if (name.rfind("FAHRRAD ", 0) == 0) {
            bikes.emplace_back(value.substr(0, value.find_last_not_of(' ') + 1),
                               fact.at("certainty"));
        } else if (name.rfind("[+PUNKTE", 0) == 0) {
            points = value.substr(0, 18);
        }
    }
    EXPECT_EQ(bikes, row.bikes);
    EXPECT_EQ(points, row.points);
}

INSTANTIATE_TEST_SUITE_P(
    ConsultTest, ExampleKnowledgeBase,
    testing::Values(BikeCase{"HillsLuggageAndLongWays",
                             "fahrradberater_ebike.jsonl",
                             {"Fahrradberater - Ihre Angaben", "Fahrradberater - Ihre Wege",
                              "Empfehlung: ein E-Bike", "Empfehlung: ein Trekkingrad"},
                             {{"E-Bike", "85"}, {"Trekkingrad", "70"}},
                             "(           7.000)"},
                    BikeCase{"ShortWaysOnly",
                             "fahrradberater_stadtrad.jsonl",
                             {"Fahrradberater - Ihre Angaben", "Fahrradberater - Ihre Wege",
                              "Empfehlung: ein Stadtrad"},
                             {{"Stadtrad", "90"}},
                             "(           0.000)"}),
    CaseName{});

TEST_F(ConsultTest, TheExampleShowsTheAnswersInItsClosingText) {
    const CliResult run =
        Cli("consult '" + Example() + "' " + Answers("fahrradberater_ebike.jsonl"));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto pages = Events(ParseTranscript(run.out), "page");
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(Field(pages[2], "VORNAME").at("value"), "Erna");
    EXPECT_EQ(Field(pages[2], "+UW").at("value"), "85");
    EXPECT_EQ(Field(pages[2], "++LR{1}").at("value"), "Arbeit");
    EXPECT_EQ(Field(pages[2], "WUNSCH").at("kind"), "memo-display");
    EXPECT_EQ(Field(pages[2], "WUNSCH").at("value"), "Ein Korb vorne");
    EXPECT_EQ(Field(pages[1], "+STRECKE{1}").at("items"), (json{"Arbeit", "Bäcker", "See"}));
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

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

// The variable commands and the printer are wired into kelvo-cli: a "V" task sets and joins a
// text, and a "C" task prints it.
TEST_F(ConsultTest, VariableCommandsAndPrintOutputRunInAConsultation) {
    const CliResult run = Consult("commands_and_print.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "print", "page", "end"}));
    const json& print = events[1];
    EXPECT_EQ(print.at("aborted"), false);
    EXPECT_EQ(print.at("pages"), (json{{"", "", "", "", "     Hallo ErnaErna       !"}}));
    const json& facts = events[3].at("facts");
    EXPECT_TRUE(std::find(facts.begin(), facts.end(), Fact(18, "+NAME", "ErnaErna", "99", "02")) !=
                facts.end());
}

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

// The scripted desktop of the key and mouse commands is wired into kelvo-cli, and --desktop
// sets it up.
TEST_F(ConsultTest, KeyCommandsReachTheScriptedDesktop) {
    const CliResult run = Consult("keys.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<int> codes;
    for (const json& event : ParseTranscript(run.out)) {
        if (event.at("event") == "key" && event.at("action") == "down") {
            codes.push_back(event.at("code"));
        }
    }
    EXPECT_EQ(codes, (std::vector<int>{65, 66}));
}

TEST_F(ConsultTest, WithoutADesktopTheKeyCommandsSayItOnce) {
    const CliResult run = Consult("keys.txt", "--desktop '{\"available\":false}'");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    EXPECT_EQ(Kinds(events), (std::vector<std::string>{"start", "message", "page", "end"}));
}

TEST_F(ConsultTest, AMalformedDesktopIsWrongUsage) {
    const CliResult run = Consult("keys.txt", "--desktop '{\"width\":\"breit\"}'");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--desktop: \"width\" ist keine ganze Zahl von 1 bis 100000"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(run.out.empty());
}

TEST(DesktopOptions, ReadEveryKey) {
    const auto read = cli::ParseDesktopOptions(
        R"({"available":false,"width":800,"height":600,"background":{"red":1,"green":2},)"
        R"("pixels":[{"x":-5,"y":7,"blue":255}],"escapeAtQuery":[2,3]})",
        ScriptedScreenOptions{});
    ASSERT_TRUE(read.ok()) << read.error().message;
    EXPECT_FALSE(read->available);
    EXPECT_EQ(read->width, 800);
    EXPECT_EQ(read->height, 600);
    EXPECT_EQ(read->background.red, 1);
    EXPECT_EQ(read->background.green, 2);
    EXPECT_EQ(read->background.blue, 0);
    ASSERT_EQ(read->pixels.size(), 1u);
    EXPECT_EQ(read->pixels[0].x, -5);
    EXPECT_EQ(read->pixels[0].y, 7);
    EXPECT_EQ(read->pixels[0].colour.red, 0);
    EXPECT_EQ(read->pixels[0].colour.blue, 255);
    EXPECT_EQ(read->escapeAtQuery, (std::vector<int>{2, 3}));
    // Keys not given keep the base.
    ScriptedScreenOptions base;
    base.width = 1280;
    const auto kept = cli::ParseDesktopOptions("{}", base);
    ASSERT_TRUE(kept.ok());
    EXPECT_EQ(kept->width, 1280);
}

struct DesktopFault {
    std::string name;
    std::string json;
    std::string message;

    friend void PrintTo(const DesktopFault& row, std::ostream* out) { *out << row.name; }
};

class DesktopFaults : public testing::TestWithParam<DesktopFault> {};

TEST_P(DesktopFaults, AreRefusedNamingTheKey) {
    const auto read = cli::ParseDesktopOptions(GetParam().json, ScriptedScreenOptions{});
    ASSERT_FALSE(read.ok());
    EXPECT_NE(read.error().message.find(GetParam().message), std::string::npos)
        << read.error().message;
}

INSTANTIATE_TEST_SUITE_P(
    ConsultTest, DesktopFaults,
    testing::Values(
        DesktopFault{"NotJson", "{", "kein JSON-Objekt"},
        DesktopFault{"NotAnObject", "[1]", "kein JSON-Objekt"},
        DesktopFault{"UnknownKey", R"({"avaliable":false})", "unbekannter Schl\xC3\xBCssel"},
        DesktopFault{"AvailableText", R"({"available":"nein"})", "\"available\""},
        DesktopFault{"WidthText", R"({"width":"breit"})", "\"width\""},
        DesktopFault{"WidthFraction", R"({"width":800.5})", "\"width\""},
        DesktopFault{"WidthHuge", R"({"width":1e12})", "\"width\""},
        DesktopFault{"HeightZero", R"({"height":0})", "\"height\""},
        DesktopFault{"HeightUnsignedHuge", R"({"height":18446744073709551615})", "\"height\""},
        DesktopFault{"BackgroundText", R"({"background":"weiss"})",
                     "\"background\" ist kein Objekt"},
        DesktopFault{"ColourAbove255", R"({"background":{"red":256}})", "\"red\""},
        DesktopFault{"ColourNegative", R"({"background":{"green":-1}})", "\"green\""},
        DesktopFault{"PixelsObject", R"({"pixels":{"x":1}})", "\"pixels\" ist keine Liste"},
        DesktopFault{"PixelNumber", R"({"pixels":[5]})", "ein Bildpunkt ist kein Objekt"},
        DesktopFault{"PixelXText", R"({"pixels":[{"x":"links"}]})", "\"x\""},
        DesktopFault{"PixelYHuge", R"({"pixels":[{"y":4294967296}]})", "\"y\""},
        DesktopFault{"PixelUnknownKey", R"({"pixels":[{"z":1}]})", "unbekannter Schl\xC3\xBCssel"},
        DesktopFault{"EscapeNotAList", R"({"escapeAtQuery":3})", "keine Liste"},
        DesktopFault{"EscapeFraction", R"({"escapeAtQuery":[2.5]})", "\"escapeAtQuery\""},
        DesktopFault{"EscapeZero", R"({"escapeAtQuery":[0]})", "\"escapeAtQuery\""},
        DesktopFault{"TooDeep", "{\"pixels\":" + std::string(50, '[') + std::string(50, ']') + "}",
                     "zu tief verschachtelt"}),
    CaseName{});

// A timeout too long to mean anything is no limit; it does not overflow the clock.
TEST_F(ConsultTest, AnEnormousTimeoutIsNoLimit) {
    const CliResult run = Consult("solution.txt", "--timeout 1e300");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

// The file dialog of "W" takes its answer from the script and is recorded with its filters.
TEST_F(ConsultTest, AFileDialogIsAnsweredFromTheScript) {
    const CliResult run = Consult("file_dialog.txt", Answers("file_dialog.jsonl"));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto events = ParseTranscript(run.out);
    ASSERT_EQ(Kinds(events), (std::vector<std::string>{"start", "filedialog", "page", "end"}));
    EXPECT_EQ(events[1],
              (json{{"event", "filedialog"},
                    {"dialog", "open"},
                    {"title", "Datei auswählen"},
                    {"filters", json::array({{{"description", "Texte"}, {"pattern", "*.TXT"}},
                                             {{"description", "Alle"}, {"pattern", "*.*"}}})},
                    {"file", "/daten/brief.txt"}}));
    const json& facts = events[3].at("facts");
    EXPECT_TRUE(std::find(facts.begin(), facts.end(),
                          Fact(15, "++DATEI1", "/daten/brief.txt", "99", "02")) != facts.end())
        << facts.dump();
}

}  // namespace
}  // namespace kelvo
