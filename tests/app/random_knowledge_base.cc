#include "tests/app/random_knowledge_base.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <set>
#include <string_view>
#include <vector>

namespace kelvo {
namespace {

// The building blocks: a few objects and values, so that rules meet each other often.
// The goal may stand only in rules, pages and print texts: conditions and the other tasks name
// the objects below it.
constexpr std::array<std::string_view, 5> kObjects = {"A", "B", "C", "D", "E"};
constexpr std::array<std::string_view, 4> kValues = {"x", "y", "ja", "lang$wert"};
constexpr std::array<std::string_view, 4> kNumbers = {"[N]", "[M]", "[+I]", "[+K]"};
constexpr std::array<std::string_view, 6> kPlusNames = {
    "+P", "+Q", "+S{+I}", "++T", "++U{2}", "+KELVO_SCHALTER_VARIABLENNAME"};
constexpr std::array<std::string_view, 5> kNumericOperators = {"=", "\xC2\xAB", "<", "\xC2\xBB",
                                                               ">"};

class Generator {
  public:
    Generator(std::uint64_t seed, std::string exchangeFile)
        : random_(seed), exchangeFile_(std::move(exchangeFile)) {}

    RandomRun Run() {
        RandomRun run;
        run.programmingModule = Chance(3, 4);
        Line("K zufaellige Wissensbasis");
        if (Chance(9, 10)) {
            Line("Z ZIEL");
        }
        // The counter that bounds every jump-back: set by the task of the first fact the search
        // concludes, so no jump drops it (no jump names that fact).
        Line("R ZIEL . start");
        Line("U ANFANG (0) . ja");
        Line("R ANFANG . ja");
        Line("U START (99) . ja");
        Line("F START (99) . ja");
        Line("V ANFANG . ja");
        Line("J [+R] . (0)");
        Line("J [+I] . (1)");
        Line("J [+K] . (2)");
        Line("J +P . x");
        // What the exchange tasks of their own ("«", "»") read and write with.
        Line("J ++DATEI . " + exchangeFile_);
        Line("J [+WBNR] . (1)");
        Line("J ++WB_LESEN . " + Pick(kReadTexts));
        Line("J ++WB_SCHREIBEN . " + Pick(kWriteTexts));
        facts_.insert("START");
        for (int i = Between(1, 4); i > 0; --i) {
            Fact();
        }
        const int parts = Between(3, 14);
        for (int i = 0; i < parts; ++i) {
            switch (Between(0, 9)) {
                case 0:
                case 1:
                case 2:
                    Rule();
                    break;
                case 3:
                    Fact();
                    break;
                case 4:
                    Block();
                    break;
                case 5:
                    VariableTask();
                    break;
                case 6:
                    ComputationTask();
                    break;
                case 7:
                    TextTask(Chance(1, 2) ? "N" : "C");
                    break;
                case 8:
                    JumpBack();
                    break;
                default:
                    if (Chance(2, 3)) {
                        Exchange();
                    } else {
                        ExchangeTask();
                    }
                    break;
            }
        }
        // Data exchange in most knowledge bases, in some more than once.
        for (int i = Chance(2, 3) ? Between(1, 2) : 0; i > 0; --i) {
            if (Chance(3, 4)) {
                Exchange();
            } else {
                ExchangeTask();
            }
        }
        // Most objects can be concluded somehow, so that searches get deep before they end.
        for (const std::string_view object : kObjects) {
            if (!facts_.contains(std::string(object)) && Chance(3, 4)) {
                Line("R " + std::string(object) + " . " + Pick(kValues));
                Line("U START (" + std::to_string(Between(0, 99)) + ") . ja");
            }
        }
        Line("K");
        run.text = std::move(text_);
        if (Chance(1, 5)) {
            run.breakpointLine = Between(1, lines_);
        }
        static constexpr std::array<std::string_view, 5> kAnswers = {
            R"({"breakoff":true})", R"({"answer":"no"})", R"({"answer":"yes"})",
            R"({"page":"weiter"})", R"({"page":"weiter"})"};
        for (int i = Chance(1, 2) ? Between(1, 8) : 0; i > 0; --i) {
            run.answers.push_back(Pick(kAnswers));
        }
        run.files = OtherFiles();
        return run;
    }

  private:
    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool Chance(int n, int d) { return Between(1, d) <= n; }
    template <class Array>
    std::string Pick(const Array& items) {
        return std::string(items[static_cast<std::size_t>(Between(0, int(items.size()) - 1))]);
    }
    std::string Certainty() {
        static constexpr std::array<std::string_view, 7> kCertainties = {
            "(99)", "(0)", "(50)", "(80)", "(5)", "(30)", "(70)"};
        return Pick(kCertainties);
    }
    std::string Number() {
        static constexpr std::array<std::string_view, 6> kLiterals = {"(0)",   "(1)",  "(2)",
                                                                      "(2.5)", "(-3)", "(40)"};
        return Pick(kLiterals);
    }
    void Line(const std::string& line) {
        text_ += line + "\n";
        ++lines_;
    }
    std::string Header(bool goalAllowed = false) {
        static constexpr std::array<std::string_view, 4> kOperators = {".", ".", "|", "="};
        const std::string op = Pick(kOperators);
        const std::string object =
            goalAllowed && Chance(1, 2) ? std::string("ZIEL") : Pick(kObjects);
        return object + " " + op + " " + (op == "=" ? std::string("W") : Pick(kValues));
    }

    void Condition(const char* kind) {
        if (Chance(1, 4)) {
            Line(std::string(kind) + " " + Pick(kNumbers) + " " + Certainty() + " " +
                 Pick(kNumericOperators) + " " + (Chance(1, 2) ? Number() : Pick(kNumbers)));
            return;
        }
        static constexpr std::array<std::string_view, 5> kOperators = {".", ".", "|", "=", "#"};
        const std::string op = Pick(kOperators);
        const std::string object = Chance(1, 6) ? std::string("+P") : Pick(kObjects);
        Line(std::string(kind) + " " + object + " " + Certainty() + " " + op + " " +
             (op == "=" || op == "#" ? Pick(kObjects) : Pick(kValues)));
    }

    void Rule() {
        const std::string object = Chance(1, 3) ? std::string("ZIEL") : Pick(kObjects);
        if (Chance(1, 8)) {
            Line("R " + object + " = " + Pick(kObjects));
        } else {
            Line("R " + object + " . " + Pick(kValues));
        }
        const int groups = Between(1, 3);
        for (int g = 0; g < groups; ++g) {
            Condition("U");
            for (int o = Between(0, 2); o > 0; --o) {
                Condition("O");
            }
        }
    }

    // A fact line for a name that has none yet (a second one would be error 6).
    void Fact() {
        const std::string name =
            Chance(1, 3) ? std::string(Chance(1, 2) ? "[N]" : "[M]") : Pick(kObjects);
        if (!facts_.insert(name).second) {
            return;
        }
        if (name.starts_with("[")) {
            Line("F " + name + " (99) . " + Number());
        } else {
            Line("F " + name + " " + Certainty() + " . " + Pick(kValues));
        }
    }

    void VariableLines(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string name = Pick(kPlusNames);
            switch (Between(0, 8)) {
                case 0:
                    Line("J " + name + " . " + Pick(kValues));
                    break;
                case 1:
                    Line("J " + name + " - " + Pick(kValues) + "$und$noch$mehr$text");
                    break;
                case 2:
                    Line("J " + name + " + " + Pick(kPlusNames));
                    break;
                case 3:
                    Line("J [+I] . " + Number());
                    break;
                case 4:
                    Line("J " + name + " = " + Pick(kNumbers));
                    break;
                case 5:
                    Line("J " + name + " C " + Number());
                    break;
                case 6:
                    Line("J [+K] L " + Pick(kPlusNames));
                    break;
                case 7:
                    Line("J " + name + " G " + Pick(kPlusNames));
                    break;
                default:
                    Line("J [+A{+I}] . " + Number());
                    break;
            }
        }
    }

    void ComputationLines(int count) {
        for (int i = 0; i < count; ++i) {
            static constexpr std::array<std::string_view, 3> kOperators = {"+", "-", "*"};
            Line("M " + Pick(kNumbers) + " = (" + Pick(kNumbers) + " " + Pick(kOperators) + " " +
                 Number() + ")");
        }
    }

    void Block() {
        Line("B " + Header());
        if (Chance(1, 2)) {
            Line("= (V)");
            Line("J [+LS] . (" + std::to_string(Between(1, 3)) + ")");
            VariableLines(Between(1, 4));
        }
        if (Chance(1, 2)) {
            Line("= (H)");
            ComputationLines(Between(1, 2));
        }
        if (Chance(1, 3)) {
            Line("= (N)");
            TextLines();
        }
        Line("= (V)");
        VariableLines(1);
    }

    void VariableTask() {
        Line("V " + Header());
        VariableLines(Between(1, 6));
    }

    void ComputationTask() {
        Line("H " + Header());
        ComputationLines(Between(1, 3));
    }

    void TextLines() {
        Line("T Seite$[" + Pick(kObjects) + "$$$$$$$$$$[$und$[+P$$$$[");
        for (int i = Between(0, 3); i > 0; --i) {
            Line("T Zeile$[++T$$$$$$$$$$$$$$$$$$[$[+UW[");
        }
    }

    void TextTask(const char* kind) {
        Line(std::string(kind) + " " + Header(true));
        TextLines();
        if (kind == std::string("C")) {
            Line("T <DRUCKEN>");
        }
    }

    // SPRUNG jumps back when it is concluded; only its own rules conclude it, each at most
    // three times through the counter.
    void JumpBack() {
        Line("R ZIEL . sprung");
        Line("U SPRUNG (50) . ja");
        Line("R SPRUNG . ja");
        Line("U [+R] (99) < (3)");
        Condition("U");
        Line("H SPRUNG . ja");
        Line("M [+R] = ([+R] + (1))");
        Line("X SPRUNG . ja");
        Line("Y " + (Chance(1, 4) ? std::string("+P") : Pick(kObjects)));
    }

    // --- data exchange ---------------------------------------------------------------------

    // What "++WB_LESEN" holds: texts to search for and names of variables to fetch (2050 takes
    // them in upper case).
    static constexpr std::array<std::string_view, 8> kReadTexts = {
        "x", "ja", "K", "+P", "++t", "A", "lang$wert", "+FREMD"};
    // What "++WB_SCHREIBEN" holds: names of variables to write (1015, 1050) and lines to write
    // (1020, 1025), a faulty one among them.
    static constexpr std::array<std::string_view, 7> kWriteTexts = {
        "++T", "+p", "A", "+KELVO_SCHALTER_VARIABLENNAME", "K$geschrieben", "J$+P$.$neu", "R$"};

    // One exchange line: mostly a command of its block, now and then a faulty one (a missing
    // file-name variable, a code of the other block or none at all, a kind that is no kind).
    void ExchangeLine(bool write) {
        static constexpr std::array<int, 6> kReads = {2000, 2010, 2020, 2030, 2040, 2050};
        static constexpr std::array<int, 7> kWrites = {1000, 1010, 1015, 1020, 1025, 1030, 1050};
        auto code = [&](bool writing) {
            return "(" +
                   std::to_string(writing ? kWrites[static_cast<std::size_t>(Between(0, 6))]
                                          : kReads[static_cast<std::size_t>(Between(0, 5))]) +
                   ")";
        };
        std::string file = "++DATEI";
        std::string codeField = Chance(1, 5) ? std::string("[+CODE]") : code(write);
        static constexpr std::array<std::string_view, 7> kKinds = {"(1)", "(1)",    "(1)",  "(2)",
                                                                   "(2)", "[+ART]", "(1.4)"};
        std::string kind = Pick(kKinds);
        if (Chance(1, 8)) {
            switch (Between(0, 4)) {
                case 0:
                    file = "++KEINE";
                    break;
                case 1:
                    codeField = code(!write);
                    break;
                case 2:
                    codeField = "(2999)";
                    break;
                case 3:
                    codeField = "[M]";  // a numeric variable that may not exist
                    break;
                default:
                    kind = Chance(1, 2) ? "(3)" : "(0)";
                    break;
            }
        }
        Line("W " + file + " " + codeField + " " + kind);
    }

    std::string RecordNumber() {
        static constexpr std::array<std::string_view, 10> kRecordNumbers = {
            "(1)", "(1)", "(1)", "(2)", "(2)", "(3)", "(3)", "(2.6)", "(1.2)", "(4)"};
        return Chance(1, 20) ? std::string(Chance(1, 2) ? "(0)" : "(40)") : Pick(kRecordNumbers);
    }

    // The code and kind variables, the file-name variable (whose extension the kind replaces),
    // the record number and the two texts.
    void ExchangeVariables(bool write) {
        const std::string name = exchangeFile_.substr(0, exchangeFile_.size() - 4);
        Line("J [+CODE] . (" + std::to_string(write ? 1015 : 2050) + ")");
        Line("J [+ART] . (" + std::to_string(Between(1, 2)) + ")");
        Line("J ++DATEI . " + (Chance(1, 5) ? name + ".DAT" : exchangeFile_));
        Line("J [+WBNR] . " + RecordNumber());
        Line("J ++WB_LESEN . " + Pick(kReadTexts));
        Line("J ++WB_SCHREIBEN . " + Pick(kWriteTexts));
    }

    // A task block that names the other file and then reads or writes it; half of them are
    // tasks of the first fact the search concludes, so that they run before anything can end
    // the consultation.
    void Exchange() {
        Line("B " + (Chance(1, 2) ? std::string("ANFANG . ja") : Header()));
        Line("= (V)");
        if (Chance(1, 3)) {
            Line("J [+LS] . (" + std::to_string(Between(1, 3)) + ")");
        }
        const bool write = Chance(1, 2);
        ExchangeVariables(write);
        Line(write ? "= (\xC2\xBB)" : "= (\xC2\xAB)");
        for (int i = Between(1, 4); i > 0; --i) {
            ExchangeLine(write);
        }
        if (Chance(1, 2)) {
            Line("= (V)");
            VariableLines(1);
        }
    }

    // A read or write task of its own, on the variables the start set and the blocks change.
    void ExchangeTask() {
        const bool write = Chance(1, 2);
        Line(std::string(write ? "\xC2\xBB " : "\xC2\xAB ") + Header());
        for (int i = Between(1, 3); i > 0; --i) {
            // The task's lines are exchange lines only: a numeric code stays a literal here.
            static constexpr std::array<int, 6> kReads = {2000, 2010, 2020, 2030, 2040, 2050};
            static constexpr std::array<int, 7> kWrites = {1010, 1015, 1020, 1025,
                                                           1030, 1050, 1000};
            const int code = write ? kWrites[static_cast<std::size_t>(Between(0, 6))]
                                   : kReads[static_cast<std::size_t>(Between(0, 5))];
            Line("W ++DATEI (" + std::to_string(code) + ") " + (Chance(3, 4) ? "(1)" : "(2)"));
        }
    }

    // "J " + name + a piece of 30 characters, as 1015 writes them, with blank-count records.
    static void VariableRecords(std::vector<std::string>& records, const std::string& name,
                                const std::string& value) {
        std::string trimmed = value;
        while (!trimmed.empty() && trimmed.back() == ' ') {
            trimmed.pop_back();
        }
        std::vector<std::string> pieces;
        for (std::size_t at = 0; at < trimmed.size() || pieces.empty(); at += 30) {
            pieces.push_back(Padded(trimmed.substr(std::min(at, trimmed.size()), 30), 30));
        }
        int blanks = 0;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            records.push_back(Padded(
                "J " + Padded(name, 30) + (i == 0 ? "      . " : "      - ") + pieces[i], 82));
            std::string piece = pieces[i];
            while (!piece.empty() && piece.back() == ' ') {
                piece.pop_back();
            }
            blanks += static_cast<int>(30 - piece.size());
            if (blanks > 0 && i + 1 < pieces.size()) {
                char count[40];
                std::snprintf(count, sizeof count, "(%16.3f)", static_cast<double>(blanks));
                records.push_back(
                    Padded("J [+LEERZEICHEN    ]                  . " + std::string(count), 82));
                if (pieces[i + 1] != std::string(30, ' ')) {
                    blanks = 0;
                }
            }
        }
    }

    static std::string Padded(std::string text, std::size_t width) {
        text.resize(std::max(text.size(), width), ' ');
        return text;
    }

    // The other knowledge base as it is before the run: a comment line first, then variables
    // the program's names meet (several pieces, inner blanks, an upper-case umlaut), lines the
    // searches find, and lines of other kinds; the run-only twin has a "1" in column 83.
    std::vector<RandomFile> OtherFiles() {
        std::vector<std::string> records{Padded("K", 82)};
        static constexpr std::array<std::string_view, 7> kNames = {
            "+P", "++T", "A", "B", "[N]", "+FREMD", "+KELVO_SCHALTER_VARIABLENNAME"};
        static constexpr std::array<std::string_view, 6> kOtherLines = {
            "K Kommentar",
            "R A                              . x",
            "U B                         (80) . ja",
            "T Seite mit lang wert und x",
            "F C                         (99) . y",
            "K"};
        for (int i = Between(2, 9); i > 0; --i) {
            if (Chance(1, 2)) {
                const std::string name = Pick(kNames);
                std::string value;
                if (name == "[N]") {
                    value = "(" + std::to_string(Between(-3, 40)) + ")";
                } else {
                    for (int words = Between(1, 6); words > 0; --words) {
                        static constexpr std::array<std::string_view, 6> kWords = {
                            "x",
                            "ja",
                            "lang wert",
                            "M\xC4RZ",
                            "                              ",
                            "ein recht langer Text"};
                        value += Pick(kWords);
                        if (Chance(1, 2)) {
                            value += " ";
                        }
                    }
                }
                VariableRecords(records, name, value);
            } else {
                records.push_back(Padded(Pick(kOtherLines), 82));
            }
        }
        std::vector<std::string> runOnly = records;
        for (std::string& record : runOnly) {
            record += "1";
        }
        const std::string name = exchangeFile_.substr(0, exchangeFile_.size() - 4);
        return {{exchangeFile_, std::move(records)}, {name + ".WBB", std::move(runOnly)}};
    }

    std::mt19937_64 random_;
    std::string exchangeFile_;
    std::string text_;
    int lines_ = 0;
    std::set<std::string> facts_;  ///< names that have a fact line
};

}  // namespace

RandomRun GenerateKnowledgeBase(std::uint64_t seed, const std::string& exchangeFile) {
    return Generator(seed, exchangeFile).Run();
}

}  // namespace kelvo
