// End-to-end tests of `kelvo-cli desktop`: the whole application runs from a script in a fresh
// folder; the transcript is parsed and compared event by event.

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "authoring/knowledge_base_text.h"
#include "shell/single_instance.h"
#include "store/knowledge_base_file.h"
#include "tests/app/cli_run.h"
#include "tests/bitmap_fixture.h"
#include "tests/case_name.h"

namespace kelvo {
namespace {

using nlohmann::json;

// A small knowledge base as an author types it, one line after the other: the goal, a rule
// and its condition, a rule for the condition, a fact, a page with a question field, and the
// closing comment line.
const std::vector<std::string> kTypedLines = {
    "z getraenk",
    "r getraenk . Tee",
    "u wetter (90) . kalt",
    "r wetter . kalt",
    "u jahreszeit (80) . Winter",
    "f jahreszeit (99) . Winter",
    "n wetter . kalt",
    "t Das Wetter",
    "t Wie heisst du? ]NAME      ]",
};

class DesktopTest : public CliFolderTest {
  protected:
    /// Writes `lines` as the script and runs `desktop` with it; the lock lives in the test's
    /// folder, so parallel runs never meet.
    CliResult Desktop(const std::vector<std::string>& lines, const std::string& arguments) {
        std::ofstream script(dir_ / "script.jsonl", std::ios::binary);
        for (const std::string& line : lines) {
            script << line << "\n";
        }
        script.close();
        return Run("--script script.jsonl " + arguments);
    }

    CliResult Run(const std::string& arguments) {
        const std::string command = "cd '" + dir_.string() + "' && XDG_RUNTIME_DIR='" +
                                    dir_.string() + "' '" KELVO_CLI "' desktop " + arguments +
                                    " > stdout.txt 2> stderr.txt";
        const int raw = std::system(command.c_str());
        CliResult run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadWholeFile(dir_ / "stdout.txt");
        run.err = ReadWholeFile(dir_ / "stderr.txt");
        return run;
    }

    std::string Program(const std::string& name = "kelvo") const {
        return "--program '" + (dir_ / name).string() + "'";
    }

    /// Writes the text form as a record file in the test folder.
    void WriteRecords(const std::string& name, const std::string& text) {
        const TextImport imported = ImportKnowledgeBaseText(text, name);
        ASSERT_TRUE(imported.ok());
        auto file = KnowledgeBaseFile::Create(dir_ / name);
        ASSERT_TRUE(file.ok());
        ASSERT_TRUE(file->WriteAll(imported.records).ok());
    }

    std::vector<std::string> RecordTexts(const std::string& name) {
        std::vector<std::string> texts;
        auto file = KnowledgeBaseFile::Open(dir_ / name, KnowledgeBaseFile::Mode::ReadOnly);
        if (!file.ok()) {
            ADD_FAILURE() << file.error().message;
            return texts;
        }
        auto records = file->ReadAll();
        EXPECT_TRUE(records.ok());
        for (const LineRecord& record : *records) {
            texts.emplace_back(record.text());
        }
        return texts;
    }

    /// The index of the first event of `kind` at or after `from` that contains every field
    /// of `fields`; fails the test when there is none.
    static std::size_t Find(const std::vector<json>& events, const std::string& kind,
                            std::size_t from, const json& fields = json::object()) {
        for (std::size_t i = from; i < events.size(); ++i) {
            if (events[i].at("event") != kind) {
                continue;
            }
            bool all = true;
            for (const auto& [key, value] : fields.items()) {
                all = all && events[i].contains(key) && events[i].at(key) == value;
            }
            if (all) {
                return i;
            }
        }
        ADD_FAILURE() << "no " << kind << " event with " << fields.dump() << " after " << from;
        return events.size();
    }
};

json Enabled(const std::string& on) {
    // The commands in the order of the table; `on` holds 1 for each enabled one.
    const char* names[] = {"Neu",  "Öffnen",     "Schließen", "Compilieren", "Beenden",
                           "Info", "Bearbeiten", "Starten",   "Hilfe"};
    json enabled = json::object();
    for (std::size_t i = 0; i < 9; ++i) {
        enabled[names[i]] = on[i] == '1';
    }
    return enabled;
}

TEST_F(DesktopTest, WriteRunEditAndDeriveANewKnowledgeBase) {
    std::vector<std::string> script = {R"({"menu":"Neu"})", R"({"file":"WETTER.wbp"})",
                                       R"({"menu":"Bearbeiten"})"};
    for (const std::string& line : kTypedLines) {
        script.push_back(json{{"type", line}}.dump());
        script.push_back(R"({"key":"Enter"})");
    }
    // The editor stands on the closing comment line that the last Enter inserted.
    script.insert(
        script.end(),
        {R"({"click":"Schliesen_Starten"})", R"({"page":{"fields":{"NAME":"Erna"}}})",
         R"({"page":"weiter"})", R"({"click":"Schliesen_1"})", R"({"menu":"Compilieren"})",
         R"({"answer":"yes"})", R"({"menu":"Schließen"})", R"({"menu":"Beenden"})"});
    const CliResult run = Desktop(script, "--module programming " + Program());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<json> events = ParseTranscript(run.out);
    ASSERT_FALSE(events.empty());

    // Start: the picture, then the closed main window.
    EXPECT_EQ(events[0].at("event"), "startwindow");
    EXPECT_EQ(events[0].at("picture"), true);
    EXPECT_GT(events[0].at("waited").get<int>(), 3000);
    EXPECT_EQ(events[1], (json{{"event", "main"},
                               {"title",
                                "Expertensystem Kelvo Version 2017 Build: 001 -   "
                                "[Programmiermodul]  [Datenbankzugriff=schnell]"},
                               {"enabled", Enabled("110011001")},
                               {"file", ""}}));

    // Neu: the save dialog opens in the current folder; the open state follows.
    std::size_t at = Find(events, "filedialog", 0,
                          {{"dialog", "save"}, {"title", "Neu"}, {"folder", dir_.string()}});
    const std::string file = (dir_ / "WETTER.wbp").string();
    at = Find(events, "main", at, {{"file", file}, {"enabled", Enabled("001101111")}});

    // The editor opens on the new file's comment line; each typed line is stored as Enter
    // inserts the next one.
    at = Find(events, "editor", at, {{"current", 0}, {"line", "K"}, {"counter", "Zeile =      1"}});
    at = Find(events, "editor", at, {{"current", 9}, {"line", "K"}, {"changed", false}});
    EXPECT_EQ(events[at].at("rows")[6], "T Wie heisst du? ]NAME      ]");

    // Starten from the editor: the main window hides while the knowledge base runs.
    at = Find(events, "mainwindow", at, {{"visible", false}});
    at = Find(events, "start", at, {{"file", file}, {"module", "programming"}});
    at = Find(events, "page", at, {{"mode", 1}, {"caption", "Das Wetter"}});
    EXPECT_EQ(events[at].at("answer"), "weiter");
    at = Find(events, "page", at, {{"mode", 2}});
    at = Find(events, "end", at, {{"sessionKey", 13}, {"errorReport", false}});
    const json& facts = events[at].at("facts");
    EXPECT_TRUE(std::any_of(facts.begin(), facts.end(), [](const json& fact) {
        return fact.at("name") == "NAME                          " &&
               fact.at("value") == "Erna                          ";
    })) << facts.dump();
    at = Find(events, "mainwindow", at, {{"visible", true}});

    // Back in the editor on the same line.
    at = Find(events, "editor", at, {{"current", 9}, {"line", "K"}});
    EXPECT_EQ(events[at - 1].at("event"), "main");

    // Compilieren with its question, the progress window and the success message.
    at = Find(events, "message", at, {{"caption", "Wissensbasis compilieren!"}, {"answer", "yes"}});
    at = Find(events, "progress", at, {{"action", "show"}});
    at = Find(events, "progress", at, {{"action", "close"}});
    at = Find(events, "message", at,
              {{"text", "Ihre Wissensbasis wurde\r\n   erfolgreich compiliert."}});
    at = Find(events, "main", at, {{"enabled", Enabled("110011001")}});
    EXPECT_EQ(events.back(), (json{{"event", "exit"}, {"stopped", false}}));

    // The file holds exactly the typed lines, normalized, and the closing comment line.
    std::string text;
    for (const std::string& line : kTypedLines) {
        text += line + "\n";
    }
    const TextImport typed = ImportKnowledgeBaseText(text + "k\n", "typed");
    ASSERT_TRUE(typed.ok());
    std::vector<std::string> expected;
    for (const LineRecord& record : typed.records) {
        expected.emplace_back(record.text());
    }
    // Enter inserts the comment line as "K" and 82 blanks.
    expected.back() = "K" + std::string(82, ' ');
    EXPECT_EQ(RecordTexts("WETTER.wbp"), expected);
    const std::vector<std::string> derived = RecordTexts("WETTER.WBB");
    ASSERT_EQ(derived.size(), expected.size());  // only the last line is a comment
    for (std::size_t i = 0; i < derived.size(); ++i) {
        EXPECT_EQ(derived[i].substr(0, 82), expected[i].substr(0, 82));
    }
}

TEST_F(DesktopTest, UserModuleRunsTheKnowledgeBaseBesideTheProgramAndEnds) {
    WriteRecords("Berater.wbb",
                 "Z GETRAENK\nR GETRAENK . Tee\nU WETTER (90) . kalt\nF WETTER (99) . kalt\nK\n");
    const CliResult run = Desktop({R"({"page":"weiter"})"}, "--module user " + Program("berater"));
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    std::vector<std::string> kinds = Kinds(events);
    EXPECT_EQ(kinds, (std::vector<std::string>{"startwindow", "main", "main", "start", "page",
                                               "end", "main", "main", "main", "exit"}));
    EXPECT_EQ(events[0].at("picture"), false);
    EXPECT_EQ(events[0].at("waited"), 0);
    const std::string file = (dir_ / "Berater.wbb").string();
    EXPECT_EQ(events[2].at("file"), file);
    EXPECT_EQ(events[2].at("enabled"), Enabled("001001011"));
    EXPECT_EQ(events[2].at("title"),
              "Expertensystem Kelvo Version 2017 Build: 001 - Berater.wbb  [Benutzermodul]"
              "  [Datenbankzugriff=schnell]");
    EXPECT_EQ(events[3].at("module"), "user");
    EXPECT_EQ(events[4].at("mode"), 2);
    EXPECT_EQ(events[8].at("enabled"), Enabled("010011001"));
    EXPECT_EQ(events[9].at("stopped"), false);
}

// A page finds its picture beside the running knowledge base, wherever the program was started.
TEST_F(DesktopTest, PagesFindTheirFilesBesideTheKnowledgeBase) {
    std::filesystem::create_directory(dir_ / "kb");
    WriteSmallBitmap(dir_ / "kb" / "bild.bmp");
    WriteRecords("kb/berater.WBB",
                 "Z ERGEBNIS\nR ERGEBNIS . fertig\nU SEITE (99) . ja\nR SEITE . ja\n"
                 "U START (99) . ja\nF START (99) . ja\nF BILD (99) . bild.bmp\nN SEITE . ja\n"
                 "T Mit Bild\nG BILD (10.020) (30.040)\nK\n");
    const CliResult run = Desktop({R"({"page":"weiter"})", R"({"page":"weiter"})"},
                                  "--module user " + Program("kb/berater"));
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    const std::size_t at = Find(events, "page", 0, {{"caption", "Mit Bild"}});
    ASSERT_LT(at, events.size());
    ASSERT_EQ(events[at].at("pictures").size(), 1u) << events[at].dump();
    EXPECT_EQ(events[at].at("pictures")[0].at("file"), (dir_ / "kb" / "bild.bmp").string());
}

TEST_F(DesktopTest, UserModuleAsksWithTheExactTitleAndEndsWhenCancelled) {
    const CliResult run = Desktop({R"({"file":null})"}, "--module user " + Program("berater"));
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    EXPECT_EQ(Kinds(events),
              (std::vector<std::string>{"filedialog", "startwindow", "main", "main", "exit"}));
    EXPECT_EQ(
        events[0],
        (json{{"event", "filedialog"},
              {"dialog", "open"},
              {"title",
               "Öffnen [Expertensystem Kelvo Version 2017 Build: 001]  "
               "[Benutzermodul]  [Datenbankzugriff=schnell]"},
              {"filters", {{{"description", "WBB -  Wissensbasen KELVO"}, {"pattern", "*.WBB"}}}},
              {"folder", dir_.string()},
              {"file", nullptr}}));
}

TEST_F(DesktopTest, ADisabledCommandIsAnActionThatDoesNotFit) {
    const CliResult run =
        Desktop({R"({"menu":"Info"})", R"({"menu":"Compilieren"})", R"({"menu":"Beenden"})"},
                "--module programming " + Program());
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("script.jsonl: Antwort in Zeile 2 passt nicht: der Befehl "
                           "\"Compilieren\" ist gesperrt"),
              std::string::npos)
        << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    EXPECT_EQ(Kinds(events),
              (std::vector<std::string>{"startwindow", "main", "about", "main", "exit"}));
    EXPECT_EQ(events.back().at("stopped"), true);
}

struct Misfit {
    std::string name;
    std::vector<std::string> script;
    int line;
    std::string why;
};

class DesktopMisfitTest : public DesktopTest, public testing::WithParamInterface<Misfit> {};

TEST_P(DesktopMisfitTest, ExitTwoNamingTheLine) {
    const Misfit& row = GetParam();
    const CliResult run = Desktop(row.script, "--module programming " + Program());
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(
        run.err.find("Antwort in Zeile " + std::to_string(row.line) + " passt nicht: " + row.why),
        std::string::npos)
        << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), (json{{"event", "exit"}, {"stopped", true}}));
}

const std::string kNew = R"({"menu":"Neu"})";
const std::string kFile = R"({"file":"A.wbp"})";
const std::string kEdit = R"({"menu":"Bearbeiten"})";

INSTANTIATE_TEST_SUITE_P(
    Actions, DesktopMisfitTest,
    testing::Values(
        Misfit{"UnknownCommand", {R"({"menu":"Drucken"})"}, 1, "das Hauptfenster hat keinen"},
        Misfit{"CommandNotAText", {R"({"menu":3})"}, 1, "das Hauptfenster hat keine Aktion"},
        Misfit{"OtherKey", {R"({"key":"F3"})"}, 1, "das Hauptfenster hat keine Aktion"},
        Misfit{"AnswerWithoutQuestion",
               {R"({"answer":"yes"})"},
               1,
               "das Hauptfenster hat keine Aktion"},
        Misfit{
            "TwoKeys", {R"({"menu":"Info","key":"F2"})"}, 1, "das Hauptfenster hat keine Aktion"},
        Misfit{
            "PointerOfText", {R"({"pointer":["1","2"]})"}, 1, "das Hauptfenster hat keine Aktion"},
        Misfit{"MenuWhileADialogAsks", {kNew, R"({"menu":"Info"})"}, 2, "erwartet"},
        Misfit{"DisabledButton",
               {kNew, kFile, kEdit, R"({"click":"Bis_1"})"},
               4,
               "der Schalter \"Bis_1\" ist gesperrt"},
        Misfit{"UnknownButton",
               {kNew, kFile, kEdit, R"({"click":"Drucken"})"},
               4,
               "der Editor hat keinen Schalter"},
        Misfit{"CloseInTheEditor",
               {kNew, kFile, kEdit, R"({"close":true})"},
               4,
               "der Editor hat keine Aktion"},
        Misfit{"RowZero", {kNew, kFile, kEdit, R"({"row":0})"}, 4, "der Editor hat keine Aktion"},
        Misfit{
            "RowOutside", {kNew, kFile, kEdit, R"({"row":8})"}, 4, "der Editor hat keine Aktion"},
        Misfit{"ScrollBeyondTheEnd",
               {kNew, kFile, kEdit, R"({"scroll":1})"},
               4,
               "der Editor hat keine Aktion"},
        Misfit{"WheelDelta",
               {kNew, kFile, kEdit, R"({"wheel":60})"},
               4,
               "der Editor hat keine Aktion"},
        Misfit{
            "TypeANumber", {kNew, kFile, kEdit, R"({"type":5})"}, 4, "der Editor hat keine Aktion"},
        Misfit{"SelectNegative",
               {kNew, kFile, kEdit, R"({"select":[-1,2]})"},
               4,
               "der Editor hat keine Aktion"},
        Misfit{"UnknownKey",
               {kNew, kFile, kEdit, R"({"key":"F2"})"},
               4,
               "der Editor hat keine Aktion"},
        Misfit{"InputNotAText",
               {kNew, kFile, kEdit, R"({"click":"Suchen"})", R"({"input":7})"},
               5,
               "erwartet"},
        Misfit{"MenuInTheEditor",
               {kNew, kFile, kEdit, R"({"menu":"Info"})"},
               4,
               "der Editor hat keine Aktion"}),
    CaseName());

TEST_F(DesktopTest, RunningOutWhileAWindowWaitsStopsTheProgram) {
    const CliResult run = Desktop({kNew, R"({"file":"A.wbp"})", kEdit, R"({"type":"z ziel"})"},
                                  "--module programming " + Program());
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("keine Aktionen mehr"), std::string::npos) << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), (json{{"event", "exit"}, {"stopped", true}}));
    // The typing was never stored: the file holds its comment line.
    EXPECT_EQ(RecordTexts("A.wbp").size(), 1u);
}

TEST_F(DesktopTest, TheSecondInstanceSaysSoAndEnds) {
    auto first = SingleInstance::Acquire(dir_ / "kelvo", dir_);
    ASSERT_TRUE(first.ok() && first->held());
    const CliResult run = Desktop({kNew}, "--module programming " + Program());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], (json{{"event", "message"},
                               {"caption", "Fehlermeldung"},
                               {"text", "Das Programm kann nur einmal gestartet werden !"},
                               {"icon", "warning"},
                               {"buttons", "ok"},
                               {"answer", "ok"}}));
    EXPECT_EQ(events[1], (json{{"event", "exit"}, {"stopped", false}}));
    EXPECT_NE(run.err.find("1 Aktion(en)"), std::string::npos) << run.err;
}

TEST_F(DesktopTest, TheCoordinateCaptureFillsTheEditorsClipboards) {
    const CliResult run =
        Desktop({R"({"key":"F2"})", R"({"pointer":[412,96]})", R"({"key":"F2"})", kNew, kFile,
                 kEdit, R"({"type":""})", R"({"click":"Aus_Ablage_2"})", R"({"key":"Enter"})",
                 R"({"type":""})", R"({"click":"Aus_Ablage_3"})", R"({"click":"Abbruch"})",
                 R"({"close":true})", R"({"answer":"yes"})"},
                "--module programming " + Program());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    std::size_t at = Find(events, "main", 0, {{"title", "x=0  y=0"}});
    at = Find(events, "main", at, {{"title", "x=412  y=96"}});
    at = Find(events, "editor", at, {{"line", "J [+SYSTEM_VAR_0001] . (412)"}});
    at = Find(events, "editor", at, {{"current", 1}});
    at = Find(events, "editor", at, {{"line", "J [+SYSTEM_VAR_0002] . (96)"}});
}

TEST_F(DesktopTest, AbortedDerivationLeavesNoRunOnlyFile) {
    WriteRecords("rat.wbp", "Z GETRAENK\nR GETRAENK . Tee\nU WETTER (90) . kalt\nK\n");
    std::ofstream(dir_ / "rat.WBB") << "an earlier one";
    const CliResult run =
        Desktop({R"({"menu":"Öffnen"})", R"({"file":"rat.wbp"})", R"({"menu":"Compilieren"})",
                 R"({"answer":"yes"})", R"({"breakoff":true})", R"({"menu":"Schließen"})",
                 R"({"menu":"Beenden"})"},
                "--module programming " + Program());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    std::size_t at = Find(events, "filedialog", 0, {{"folder", dir_.string()}});
    at = Find(events, "progress", at, {{"action", "show"}});
    EXPECT_EQ(events[at + 1].at("event"), "breakoff");
    at = Find(events, "message", at, {{"text", "Compiliervorgang wurde abgebrochen"}});
    at = Find(events, "progress", at, {{"action", "close"}});
    at = Find(events, "message", at,
              {{"text", "Die Compilierung Ihrer Wissens-\r\n     basis wurde unterbrochen."}});
    std::error_code error;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "rat.WBB", error));
}

TEST_F(DesktopTest, HelpOpensTheReadmeBesideTheProgram) {
    std::ofstream(dir_ / "liesmich.pdf") << "%PDF";
    const CliResult run = Desktop({R"({"menu":"Hilfe"})", R"({"menu":"Beenden"})"},
                                  "--module programming " + Program());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    Find(events, "open", 0,
         {{"path", (dir_ / "liesmich.pdf").string()}, {"verb", "open"}, {"opened", true}});
}

// Each kind of editor action reaches the editor: the `editor` event after it shows the change.
TEST_F(DesktopTest, EveryEditorActionReachesTheEditor) {
    std::string text;
    for (int line = 1; line <= 20; ++line) {
        text += "K Zeile " + std::to_string(line) + "\n";
    }
    WriteRecords("zeilen.wbp", text);
    const std::vector<std::pair<std::string, json>> steps = {
        {R"({"scroll":10})", {{"current", 10}}},
        {R"({"row":-3})", {{"current", 7}, {"line", "K Zeile 8"}}},
        {R"({"wheel":-120})", json::object()},
        {R"({"wheel":-120})", {{"current", 8}}},
        {R"({"key":"PageDown"})", {{"current", 18}}},
        {R"({"key":"PageDown"})", {{"current", 19}, {"counter", "Zeile =     20"}}},
        {R"({"click":"Anfang"})", {{"current", 0}}},
        {R"({"select":[2,3]})", {{"selection", {2, 3}}}},
        {R"({"click":"CheckBox1"})", {{"checkbox", true}}},
        {R"({"middle":true})", json::object()},
        {R"({"wheel":-120})", json::object()},
        // In page mode the wheel goes to the next project line; there is none: the last line.
        {R"({"wheel":-120})", {{"current", 19}}},
        {R"({"click":"Anfang"})", {{"current", 0}}},
        {R"({"click":"Von_1"})", json::object()},
        {R"({"key":"F5"})", {{"marks", "F5 = Markiert"}}},
        {R"({"click":"Ende"})", {{"current", 19}}},
        {R"({"click":"Bis_1"})", {{"block", {0, 19}}}},
        {R"({"type":"K geändert"})", {{"line", "K geändert"}, {"changed", true}}},
        {R"({"click":"Abbruch"})", json::object()},
    };
    std::vector<std::string> script = {R"({"menu":"Öffnen"})", R"({"file":"zeilen.wbp"})",
                                       R"({"menu":"Bearbeiten"})"};
    for (const auto& step : steps) {
        script.push_back(step.first);
    }
    script.insert(script.end(), {R"({"close":true})", R"({"answer":"yes"})"});
    const CliResult run = Desktop(script, "--module programming " + Program());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    std::vector<json> editor;
    for (const json& event : events) {
        if (event.at("event") == "editor") {
            editor.push_back(event);
        }
    }
    ASSERT_EQ(editor.size(), steps.size() + 1);  // the opening and one after each action
    for (std::size_t i = 0; i < steps.size(); ++i) {
        for (const auto& [key, value] : steps[i].second.items()) {
            EXPECT_EQ(editor[i + 1].at(key), value) << steps[i].first << " " << key;
        }
    }
    EXPECT_EQ(editor[14].at("enabled").at("Bis_1"), true);
    EXPECT_EQ(editor[14].at("enabled").at("Von_1"), false);
    EXPECT_EQ(RecordTexts("zeilen.wbp").size(), 20u);  // "Abbruch" stored nothing
}

// A breakpoint set in the editor stops the consultation; the inspector watches the variable
// the author copied into clipboard 2, and the editor reopens on the breakpoint's line.
TEST_F(DesktopTest, BreakpointAndTheInspectorWatchingClipboardTwo) {
    WriteRecords("halt.wbp",
                 "Z GETRAENK\nR GETRAENK . Tee\nU WETTER (90) . kalt\nF WETTER (99) . kalt\nK\n");
    const CliResult run =
        Desktop({R"({"menu":"Öffnen"})", R"({"file":"halt.wbp"})", R"({"menu":"Bearbeiten"})",
                 R"({"click":"Ende"})", R"({"key":"Up"})", R"({"select":[2,6]})",
                 R"({"click":"In_Ablage_2"})", R"({"key":"Up"})", R"({"key":"Up"})",
                 R"({"click":"Starten_Haltepunkt"})", R"({"page":"weiter"})",
                 R"({"click":"Schliesen_1"})", R"({"menu":"Schließen"})", R"({"menu":"Beenden"})"},
                "--module programming " + Program());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    std::size_t at = Find(events, "editor", 0, {{"current", 3}, {"selection", {2, 6}}});
    at = Find(events, "editor", at,
              {{"current", 1}, {"line", "R GETRAENK                            . Tee"}});
    at = Find(events, "inspector", at, {{"why", "breakpoint"}, {"line", 2}});
    EXPECT_EQ(events[at].at("watched")[1], (json{{"name", "WETTER"}, {"value", "kalt"}}))
        << events[at].dump();
    at = Find(events, "end", at);
    at = Find(events, "editor", at, {{"current", 1}});
}

TEST_F(DesktopTest, SearchAsksWithTheInputBox) {
    WriteRecords("suche.wbp",
                 "Z GETRAENK\nR GETRAENK . Tee\nU WETTER (90) . kalt\nF WETTER (99) . kalt\nK\n");
    const CliResult run =
        Desktop({R"({"menu":"Öffnen"})", R"({"file":"suche.wbp"})", R"({"menu":"Bearbeiten"})",
                 R"({"click":"Suchen"})", R"({"input":"wetter"})", R"({"click":"Weitersuchen"})",
                 R"({"click":"Weitersuchen"})", R"({"click":"Suchen"})", R"({"input":null})",
                 R"({"click":"Schliesen_1"})", R"({"close":true})", R"({"answer":"yes"})"},
                "--module programming " + Program());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<json> events = ParseTranscript(run.out);
    std::size_t at = Find(events, "input", 0,
                          {{"title", "Suchen"},
                           {"prompt", "Bitte Suchtext eingeben"},
                           {"preset", ""},
                           {"answer", "wetter"}});
    at = Find(events, "editor", at, {{"current", 2}, {"selection", {2, 6}}});
    at = Find(events, "editor", at + 1, {{"current", 3}});
    at = Find(events, "message", at, {{"text", "Keine weiteren Einträge vorhanden !"}});
    at = Find(events, "input", at, {{"preset", "WETTER"}, {"answer", nullptr}});
}

}  // namespace
}  // namespace kelvo
