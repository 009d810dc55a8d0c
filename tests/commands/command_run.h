#pragma once

#include <string>
#include <vector>

#include "commands/install_variable_commands.h"
#include "tests/engine/consultation_harness.h"

namespace kelvo {

// A knowledge base whose fact B runs the variable task "V B . b"; its "J" lines start at line
// 8 (position 7) and a comment line "K" ends the block.
inline constexpr const char* kVariableTaskHead =
    "Z ZIEL\nR ZIEL . ja\nU B (99) . b\nR B . b\nU A (99) . x\nF A (99) . x\nV B . b\n";

/// Line number (from 1) of the first "J" line of a CommandRun.
inline constexpr int kFirstCommandLine = 8;

/// Runs the given "J" lines (typed as in the editor, one per entry) as the block of a "V" task
/// with the variable commands installed.
class CommandRun : public ConsultationHarness {
  public:
    explicit CommandRun(const std::vector<std::string>& lines,
                        std::vector<nlohmann::json> answers = {})
        : ConsultationHarness(Text(lines), std::move(answers)) {
        InstallVariableCommands(consultation());
        Run();
    }

    /// The newest record of `name` as "VALUE/CERTAINTY/ORIGIN" (value trimmed), or "<none>".
    std::string Record(std::string_view name) {
        if (!facts().LookupFact(PadRight(name, FactBase::kFieldWidth))) {
            return "<none>";
        }
        auto twoDigits = [](int n) {
            return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
        };
        return TrimRight(facts().FoundValue()) + "/" + twoDigits(facts().FoundCertainty()) + "/" +
               twoDigits(facts().FoundOrigin());
    }

    /// The untrimmed value of `name`, or "<none>".
    std::string RawValue(std::string_view name) {
        return facts().LookupFact(PadRight(name, FactBase::kFieldWidth)) ? facts().FoundValue()
                                                                         : "<none>";
    }

    int ErrorCode() { return consultation().LastErrorCode(); }

    /// The caption of the error box, "" when there was none.
    std::string ErrorCaption() const {
        for (const std::string& caption : MessageCaptions()) {
            if (caption.starts_with("Fehlermeldung in Zeile")) {
                return caption;
            }
        }
        return "";
    }

  private:
    static std::string Text(const std::vector<std::string>& lines) {
        std::string text = kVariableTaskHead;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        return text + "K\n";
    }
};

/// One expected record: the variable's name (stored form) and "VALUE/CERTAINTY/ORIGIN".
struct ExpectedRecord {
    std::string name;
    std::string record;
};

/// A table row: "J" lines, the records they must leave, and the error code expected (0 none).
struct CommandCase {
    std::string name;
    std::vector<std::string> lines;
    std::vector<ExpectedRecord> records;
    int error = 0;

    friend void PrintTo(const CommandCase& row, std::ostream* out) { *out << row.name; }
};

inline void CheckCommandCase(const CommandCase& row) {
    CommandRun run(row.lines);
    for (const ExpectedRecord& expected : row.records) {
        EXPECT_EQ(run.Record(expected.name), expected.record) << expected.name;
    }
    EXPECT_EQ(run.ErrorCode(), row.error);
}

}  // namespace kelvo
