#include "app/cli/export_command.h"

#include <iostream>
#include <memory>
#include <string>

#include "app/cli/cli_command.h"
#include "authoring/knowledge_base_text.h"
#include "store/knowledge_base_file.h"
#include "store/knowledge_base_image.h"

namespace kelvo::cli {
namespace {

struct ExportOptions {
    std::string knowledgeBase;
    bool raw = false;
};

int RunExport(const ExportOptions& options) {
    auto file = KnowledgeBaseFile::Open(options.knowledgeBase, KnowledgeBaseFile::Mode::ReadOnly);
    if (!file) {
        std::cerr << file.error().message << "\n";
        return kExitFailure;
    }
    auto records = file->ReadAll(KnowledgeBaseImage::kMaxProgramLines);
    if (!records) {
        std::cerr << records.error().message << "\n";
        return kExitFailure;
    }
    if (options.raw) {
        std::cout << ExportRawRecords(*records);
    } else {
        const TextExport exported = ExportKnowledgeBaseText(*records, options.knowledgeBase);
        std::cout << exported.utf8;
        for (const std::string& warning : exported.warnings) {
            std::cerr << warning << "\n";
        }
    }
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "Standardausgabe kann nicht geschrieben werden\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace

void AddExportCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand(
        "export",
        "Schreibt eine Wissensbasis in Textform auf die Standardausgabe (UTF-8, Blanks in "
        "Textwerten als \"$\"); ein erneutes import ergibt dieselben Datens\xC3\xA4tze. "
        "Datens\xC3\xA4tze, bei denen das nicht gilt, werden als Warnung gemeldet.");
    command->add_option("KB", options->knowledgeBase, "Wissensbasis (.WBP oder .WBB)")->required();
    command->add_flag("--raw", options->raw,
                      "jeden Datensatz unver\xC3\xA4ndert ausgeben: jedes Zeichen bis zu seiner "
                      "L\xC3\xA4nge, eine Zeile je Datensatz");
    command->callback([options, &exitCode] { exitCode = RunExport(*options); });
}

}  // namespace kelvo::cli
