#include "app/cli/import_run.h"

#include <filesystem>
#include <system_error>

#include "app/cli/cli_command.h"
#include "authoring/knowledge_base_text.h"
#include "authoring/knowledge_base_text_file.h"

namespace kelvo::cli {

int RunImport(const ImportOptions& options, std::ostream& out, std::ostream& err,
              FileFaultInjector* faults) {
    const std::filesystem::path target = options.target;
    std::error_code error;
    if (std::filesystem::is_directory(target, error)) {
        err << options.target << ": ist ein Ordner, keine Datei\n";
        return kExitFailure;
    }
    if (std::filesystem::exists(target, error) && !options.force) {
        err << options.target
            << ": Datei besteht bereits; mit --force wird sie \xC3\xBC"
               "berschrieben\n";
        return kExitFailure;
    }
    auto text = ReadTextFile(options.source);
    if (!text) {
        err << text.error().message << "\n";
        return kExitFailure;
    }
    const TextImport imported = ImportKnowledgeBaseText(*text, options.source);
    for (const std::string& warning : imported.warnings) {
        err << warning << "\n";
    }
    for (const std::string& fault : imported.faults) {
        err << fault << "\n";
    }
    if (!imported.ok()) {
        err << options.source << ": " << imported.faults.size() << " fehlerhafte Zeile(n); "
            << options.target << " wurde nicht geschrieben\n";
        return kExitFailure;
    }
    std::string warning;
    if (const Status written = WriteKnowledgeBaseFile(target, imported.records, faults, &warning);
        !written) {
        err << written.error().message << "\n";
        return kExitFailure;
    }
    if (!warning.empty()) {
        // The file is complete; only its folder entry may not survive a crash of the machine.
        err << warning << "\n";
    }
    out << options.target << ": " << imported.records.size() << " Programmzeile(n) geschrieben\n";
    return kExitSuccess;
}

}  // namespace kelvo::cli
