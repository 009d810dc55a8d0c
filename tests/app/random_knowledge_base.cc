#include "tests/app/random_knowledge_base.h"

#include <array>
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
                    Exchange();
                    break;
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

    // A block that names the other file and then reads or writes it.
    void Exchange() {
        Line("B " + Header());
        Line("= (V)");
        Line("J ++DATEI . " + exchangeFile_);
        Line("J [+WBNR] . (1)");
        Line("J ++WB_SCHREIBEN . ++T");
        Line("J ++WB_LESEN . " + (Chance(1, 2) ? std::string("++T") : std::string("K")));
        if (Chance(1, 2)) {
            Line("= (\xC2\xBB)");
            Line("W ++DATEI (1000) (1)");
            Line("W ++DATEI (1050) (1)");
        } else {
            Line("= (\xC2\xAB)");
            Line("W ++DATEI (2010) (1)");
            Line("W ++DATEI (" + std::string(Chance(1, 2) ? "2030" : "2050") + ") (1)");
        }
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
