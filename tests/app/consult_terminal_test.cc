// `kelvo-cli consult` at a terminal: the binary runs on a pseudo-terminal, so it chooses the
// interactive consultation itself, and a person's input is typed into it.

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/bitmap_fixture.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

struct TerminalRun {
    int status = -1;
    std::string output;
};

// Runs kelvo-cli with `arguments` on a new pseudo-terminal, types `input` and reads everything
// until the program ends. A program still running after a generous limit is killed, so a
// faulty run fails instead of hanging.
TerminalRun RunOnTerminal(const std::vector<std::string>& arguments, const std::string& input,
                          const std::filesystem::path& folder = {}) {
    TerminalRun run;
    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (child < 0) {
        ADD_FAILURE() << "forkpty failed";
        return run;
    }
    if (child == 0) {
        if (!folder.empty() && ::chdir(folder.c_str()) != 0) {
            ::_exit(126);
        }
        std::vector<char*> argv;
        std::string program = KELVO_CLI;
        argv.push_back(program.data());
        std::vector<std::string> copies = arguments;
        for (std::string& argument : copies) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    // Canonical input keeps the lines until the program reads them; ^D ends the input.
    const std::string typed = input + "\x04";
    EXPECT_EQ(::write(master, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
    char buffer[4096];
    int waitedMs = 0;
    for (;;) {
        pollfd ready{master, POLLIN, 0};
        const int polled = ::poll(&ready, 1, 100);
        if (polled == 0) {
            waitedMs += 100;
            if (waitedMs > 60000) {
                ::kill(child, SIGKILL);
                ADD_FAILURE() << "the program did not end";
                break;
            }
            continue;
        }
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0) {
            break;  // EIO: the program has ended and closed the terminal
        }
        run.output.append(buffer, static_cast<std::size_t>(got));
    }
    int raw = 0;
    ::waitpid(child, &raw, 0);
    ::close(master);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

std::string Example() {
    return std::string(KELVO_TEST_DATA) + "/../../examples/fahrradberater.txt";
}

TEST(ConsultTerminal, APersonRunsTheExampleToItsRecommendation) {
    // Page 1: name, two ticks, three destinations, a wish over two lines, Weiter. Page 2: the
    // first destination, the button "über 15 km". Then the two closing texts.
    const std::string input =
        "1\nErna\n2\n3\n5\nArbeit\n6\nB\xC3\xA4"
        "cker\n7\nSee\n8\nEin Korb vorne\nbitte\n.\nw\n"
        "2\n1\n5\n"
        "w\nw\n";
    const TerminalRun run = RunOnTerminal({"consult", Example()}, input);
    EXPECT_EQ(run.status, 0) << run.output;
    for (const std::string expected :
         {"=== Fahrradberater - Ihre Angaben ===", "Ihr Vorname:  [1]____",
          "2) K\xC3\xA4stchen BERGE (Ich fahre oft bergauf): angekreuzt",
          "=== Fahrradberater - Ihre Wege ===", "Hallo [1]Erna",
          "2) Liste +STRECKE{1}: 1=Arbeit(*) 2=B\xC3\xA4"
          "cker 3=See",
          "<5 \xC3\x9C"
          "BER 15 KM>",
          "=== Empfehlung: ein E-Bike ===", "Sicherheit dieser Empfehlung: [2]85 %",
          "Ihr h\xC3\xA4ufigstes Ziel: [3]Arbeit",
          "=== Empfehlung: ein Trekkingrad ===", "Sitzung beendet."}) {
        EXPECT_NE(run.output.find(expected), std::string::npos) << expected << "\n" << run.output;
    }
}

TEST(ConsultTerminal, AbbruchAsksBeforeItEnds) {
    const TerminalRun run = RunOnTerminal({"consult", Example()}, "a\nn\na\nj\nn\n");
    EXPECT_EQ(run.status, 0) << run.output;
    const std::size_t first = run.output.find("== Programm beenden ? ==");
    ASSERT_NE(first, std::string::npos) << run.output;
    EXPECT_NE(run.output.find("== Programm beenden ? ==", first + 1), std::string::npos);
    EXPECT_EQ(run.output.find("=== Fahrradberater - Ihre Wege ==="), std::string::npos);
    EXPECT_NE(run.output.find("Sitzung beendet."), std::string::npos);
}

// "p" prints the page through the terminal's printer: its text with the fields in place.
TEST(ConsultTerminal, DruckenPrintsThePage) {
    const TerminalRun run = RunOnTerminal({"consult", Example()}, "1\nErna\np\na\nj\nn\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(", p = Drucken,"), std::string::npos) << run.output;
    const std::size_t job = run.output.find("== Druckausgabe (Courier New, 10 Punkt) ==");
    ASSERT_NE(job, std::string::npos) << run.output;
    const std::size_t end = run.output.find("== Ende der Druckausgabe ==", job);
    ASSERT_NE(end, std::string::npos) << run.output;
    const std::string printed = run.output.substr(job, end - job);
    for (const std::string expected :
         {"--- Seite 1 ---", "=== Fahrradberater - Ihre Angaben ===", "Ihr Vorname:  [1]Erna"}) {
        EXPECT_NE(printed.find(expected), std::string::npos) << expected << "\n" << printed;
    }
}

// The terminal has the services of a scripted run: the database command reads an SQLite file
// and "<DRUCKEN>" prints through the terminal's printer.
TEST(ConsultTerminal, RunsTheDatabaseAndPrintCommands) {
    TempDir dir;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((dir / "kunden.db").c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                           "CREATE TABLE Kunden (Nummer INTEGER, Name TEXT);"
                           "INSERT INTO Kunden VALUES (1, 'M\xC3\xBCller');"
                           "INSERT INTO Kunden VALUES (2, 'Meier');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    WriteSmallBitmap(dir / "bild.bmp");
    {
        std::ofstream out(dir / "kunden.txt", std::ios::binary);
        out << "K Datenbank und Druck am Terminal\n"
               "Z ZIEL\nR ZIEL . ja\nU B (99) . b\nR B . b\nU A (99) . x\nF A (99) . x\n"
               "V B . b\n"
               "J ++DB . kunden.db\n"
               "J ++SQL . SELECT\nJ [+LEERZEICHEN] . (1)\nJ ++SQL - Name\n"
               "J [+LEERZEICHEN] . (1)\nJ ++SQL - FROM\nJ [+LEERZEICHEN] . (1)\n"
               "J ++SQL - Kunden\n"
               "J ++DB \xC3\x84 ++SQL\n"
               "J +BILD . bild.bmp\n"
               "C B . b\n"
               "T Erster Kunde: [++DB_1_{1}    [\n"
               "T Zweiter Kunde: [++DB_1_{2}    [\n"
               "G +BILD (20.035) (50.040)\n"
               "T <DRUCKEN>\n"
               "K\n";
    }
    const TerminalRun run =
        RunOnTerminal({"consult", "kunden.txt", "--interactive"}, "w\n", dir.path());
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("SQL-Anwei"), std::string::npos) << run.output;
    for (const std::string expected :
         {"== Druckausgabe (", "--- Seite 1 ---", "Erster Kunde: M\xC3\xBCller",
          "Zweiter Kunde: Meier", "(Bild: bild.bmp, 2x1 Bildpunkte",
          "== Ende der Druckausgabe ==", "Sitzung beendet."}) {
        EXPECT_NE(run.output.find(expected), std::string::npos) << expected << "\n" << run.output;
    }
}

}  // namespace
}  // namespace kelvo
