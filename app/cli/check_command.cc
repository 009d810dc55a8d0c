#include "app/cli/check_command.h"

#include <iostream>
#include <memory>
#include <string>

#include "app/cli/cli_command.h"
#include "app/cli/consult_session.h"

namespace kelvo::cli {
namespace {

int RunCheck(const std::string& file) {
    auto report = CheckKnowledgeBase(file);
    if (!report) {
        std::cerr << report.error().message << "\n";
        return kExitFailure;
    }
    for (const std::string& warning : report->warnings) {
        std::cerr << warning << "\n";
    }
    for (const CheckProblem& problem : report->problems) {
        std::cout << file << ":" << problem.line << ": " << problem.text << "\n";
    }
    if (report->problems.empty()) {
        std::cout << file << ": keine Fehler gefunden\n";
    } else {
        std::cout << file << ": " << report->problems.size() << " Fehler gefunden\n";
    }
    return report->wouldStart ? kExitSuccess : kExitFailure;
}

}  // namespace

void AddCheckCommand(CLI::App& app, int& exitCode) {
    auto file = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand(
        "check",
        "Pr\xC3\xBC"
        "ft jede Zeile einer Wissensbasis (.WBP, .WBB oder .txt) mit der "
        "Zeilengrammatik und f\xC3\xBC"
        "hrt die Programmpr\xC3\xBC"
        "fung aus (Fehler 8 und 9); "
        "listet jedes Problem mit seiner Zeilennummer. Exit-Status 0, wenn die Wissensbasis "
        "starten w\xC3\xBC"
        "rde, sonst 1.");
    command->add_option("KB", *file, "Wissensbasis (.WBP, .WBB oder .txt)")->required();
    command->callback([file, &exitCode] { exitCode = RunCheck(*file); });
}

}  // namespace kelvo::cli
