#pragma once

#include <string>
#include <vector>

#include "commands/install_variable_commands.h"
#include "platform/database_service.h"
#include "platform/scripted/scripted_automation.h"
#include "tests/commands/command_run.h"
#include "tests/engine/consultation_harness.h"

namespace kelvo {

/// What a ServiceCommandRun offers its commands: a database service (none when null) and the
/// scripted automation with its screen, or no automation service at all.
struct CommandRunServices {
    DatabaseService* database = nullptr;
    ScriptedScreenOptions screen;
    bool automation = true;
};

/// Runs "J" lines as the block of a "V" task, like CommandRun, with the database and
/// automation services in place.
class ServiceCommandRun : public ConsultationHarness {
  public:
    ServiceCommandRun(const std::vector<std::string>& lines, CommandRunServices services,
                      std::vector<nlohmann::json> answers = {})
        : ConsultationHarness(Text(lines), std::move(answers)),
          automation_(platform(), platform(), std::move(services.screen)) {
        consultation().services().database = services.database;
        consultation().services().automation = services.automation ? &automation_ : nullptr;
        InstallVariableCommands(consultation());
        Run();
    }

    /// The texts of every message box, in order (UTF-8).
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const nlohmann::json& event : Events("message")) {
            texts.push_back(event.at("text"));
        }
        return texts;
    }

    int ErrorCode() { return consultation().LastErrorCode(); }

  private:
    static std::string Text(const std::vector<std::string>& lines) {
        std::string text = kVariableTaskHead;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        return text + "K\n";
    }

    ScriptedAutomation automation_;
};

/// The "J" lines that give the "++" variable `name` the value `text` (UTF-8, words separated
/// by single blanks): a literal holds one word of at most 30 characters, so the words are
/// appended one by one with "-", and "[+LEERZEICHEN    ]" puts the blank before each.
inline std::vector<std::string> AssignLongText(const std::string& name, const std::string& text) {
    constexpr std::size_t kPiece = 30;
    std::vector<std::string> lines;
    bool blankBefore = false;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t blank = std::min(text.find(' ', start), text.size());
        std::string word = text.substr(start, blank - start);
        start = blank + 1;
        do {  // a word longer than a literal (a path) in pieces without blanks
            const std::string piece = word.substr(0, kPiece);
            word.erase(0, piece.size());
            if (lines.empty()) {
                lines.push_back("J " + name + " . " + piece);
                continue;
            }
            if (blankBefore) {
                lines.push_back("J [+LEERZEICHEN] . (1)");
            }
            lines.push_back("J " + name + " - " + piece);
            blankBefore = false;
        } while (!word.empty());
        blankBefore = true;
    }
    return lines;
}

}  // namespace kelvo
