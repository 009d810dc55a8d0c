#include "app/cli/import_command.h"

#include <iostream>
#include <memory>

#include "app/cli/cli_command.h"
#include "app/cli/import_run.h"

namespace kelvo::cli {

void AddImportCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<ImportOptions>();
    CLI::App* command = app.add_subcommand(
        "import",
        "Liest eine Wissensbasis in Textform (UTF-8, eine Programmzeile je Zeile), pr\xC3\xBC"
        "ft jede Zeile und schreibt die normalisierten Zeilen als .WBP-Datei. Bei einer "
        "fehlerhaften Zeile wird nichts geschrieben.");
    command->add_option("SOURCE", options->source, "Textdatei der Wissensbasis")->required();
    command->add_option("TARGET", options->target, "zu schreibende Wissensbasis (.WBP)")
        ->required();
    command->add_flag("-f,--force", options->force,
                      "eine bestehende Zieldatei \xC3\xBC"
                      "berschreiben");
    command->callback(
        [options, &exitCode] { exitCode = RunImport(*options, std::cout, std::cerr); });
}

}  // namespace kelvo::cli
