#include "app/cli/check_command.h"

#include <iostream>
#include <memory>
#include <string>

#include "app/cli/cli_command.h"
#include "app/cli/consult_session.h"

namespace kelvo::cli {
namespace {

/// `lintMode`: empty without --lint, "normal" with it, "strict" with --lint=strict.
int RunCheck(const std::string& file, const std::string& lintMode) {
    const bool lint = !lintMode.empty();
    const bool strict = lintMode == "strict";
    auto report = CheckKnowledgeBase(file, lint);
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
    for (const CheckProblem& warning : report->lintWarnings) {
        std::cout << file << ":" << warning.line << ": " << warning.text << "\n";
    }
    if (report->problems.empty()) {
        std::cout << file << ": keine Fehler gefunden\n";
    } else {
        std::cout << file << ": " << report->problems.size() << " Fehler gefunden\n";
    }
    if (lint) {
        const std::size_t count = report->lintWarnings.size();
        if (!report->linted) {
            std::cout << file << ": Lint nicht ausgef\xC3\xBChrt (fehlerhafte Zeilen)\n";
        } else if (count == 0) {
            std::cout << file << ": keine Warnungen\n";
        } else {
            std::cout << file << ": " << count << (count == 1 ? " Warnung\n" : " Warnungen\n");
        }
    }
    if (!report->wouldStart) {
        return kExitFailure;
    }
    // Strict asks for a clean lint: warnings, or a lint that could not run, fail.
    return strict && (!report->linted || !report->lintWarnings.empty()) ? kExitFailure
                                                                        : kExitSuccess;
}

}  // namespace

void AddCheckCommand(CLI::App& app, int& exitCode) {
    auto file = std::make_shared<std::string>();
    auto lintMode = std::make_shared<std::string>();
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
    command
        ->add_flag("--lint{normal}", *lintMode,
                   "Pr\xC3\xBC"
                   "ft zus\xC3\xA4tzlich die ganze Wissensbasis und listet Warnungen "
                   "(FILE:LINE: Warnung N: Text); --lint=strict: Exit-Status 1 bei Warnungen")
        ->check(CLI::IsMember({"normal", "strict"}));
    command->callback([file, lintMode, &exitCode] { exitCode = RunCheck(*file, *lintMode); });
}

}  // namespace kelvo::cli
