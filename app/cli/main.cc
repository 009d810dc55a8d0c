// kelvo-cli: work with knowledge bases from a console. One subcommand per file; each is
// registered here with one line.

#include <CLI/CLI.hpp>

#include "app/cli/check_command.h"
#include "app/cli/cli_command.h"
#include "app/cli/compile_command.h"
#include "app/cli/consult_command.h"
#include "app/cli/desktop_command.h"
#include "app/cli/explain_command.h"
#include "app/cli/export_command.h"
#include "app/cli/import_command.h"

int main(int argc, char** argv) {
    CLI::App app{"kelvo-cli: Wissensbasen des Expertensystems KELVO bearbeiten.", "kelvo-cli"};
    app.require_subcommand(1);
    app.footer(
        "Exit-Status: 0 Erfolg, 1 fehlerhafte Zeile oder Dateifehler, 2 falscher Aufruf; "
        "consult zus\xC3\xA4tzlich 3 (--strict ohne Antworten) und 4 (Fehlermeldung), "
        "desktop 3 (das Programm lief noch, als die Aktionen ausgingen).");

    int exitCode = kelvo::cli::kExitSuccess;
    kelvo::cli::AddImportCommand(app, exitCode);
    kelvo::cli::AddExportCommand(app, exitCode);
    kelvo::cli::AddCompileCommand(app, exitCode);
    kelvo::cli::AddConsultCommand(app, exitCode);
    kelvo::cli::AddCheckCommand(app, exitCode);
    kelvo::cli::AddDesktopCommand(app, exitCode);
    kelvo::cli::AddExplainCommand(app, exitCode);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int printed = app.exit(error);  // prints the help or the usage error
        return printed == 0 ? kelvo::cli::kExitSuccess : kelvo::cli::kExitUsage;
    }
    return exitCode;
}
