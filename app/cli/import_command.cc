#include "app/cli/import_command.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>

#include "app/cli/cli_command.h"
#include "authoring/knowledge_base_text.h"
#include "authoring/knowledge_base_text_file.h"

namespace kelvo::cli {
namespace {

struct ImportOptions {
    std::string source;
    std::string target;
    bool force = false;
};

int RunImport(const ImportOptions& options) {
    const std::filesystem::path target = options.target;
    std::error_code error;
    if (std::filesystem::is_directory(target, error)) {
        std::cerr << options.target << ": ist ein Ordner, keine Datei\n";
        return kExitFailure;
    }
    if (std::filesystem::exists(target, error) && !options.force) {
        std::cerr << options.target
                  << ": Datei besteht bereits; mit --force wird sie \xC3\xBC"
                     "berschrieben\n";
        return kExitFailure;
    }
    auto text = ReadTextFile(options.source);
    if (!text) {
        std::cerr << text.error().message << "\n";
        return kExitFailure;
    }
    const TextImport imported = ImportKnowledgeBaseText(*text, options.source);
    for (const std::string& warning : imported.warnings) {
        std::cerr << warning << "\n";
    }
    for (const std::string& fault : imported.faults) {
        std::cerr << fault << "\n";
    }
    if (!imported.ok()) {
        std::cerr << options.source << ": " << imported.faults.size() << " fehlerhafte Zeile(n); "
                  << options.target << " wurde nicht geschrieben\n";
        return kExitFailure;
    }
    if (const Status written = WriteKnowledgeBaseFile(target, imported.records); !written) {
        std::cerr << written.error().message << "\n";
        return kExitFailure;
    }
    std::cout << options.target << ": " << imported.records.size()
              << " Programmzeile(n) geschrieben\n";
    return kExitSuccess;
}

}  // namespace

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
    command->callback([options, &exitCode] { exitCode = RunImport(*options); });
}

}  // namespace kelvo::cli
