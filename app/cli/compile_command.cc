#include "app/cli/compile_command.h"

#include <chrono>
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/cli/cli_command.h"
#include "store/knowledge_base_file.h"
#include "store/random_source.h"
#include "store/run_only_derivation.h"
#include "store/windows1252.h"

namespace kelvo::cli {
namespace {

// The outcome messages of the derivation, as the desktop shows them in message boxes.
constexpr std::string_view kCompiled = "Ihre Wissensbasis wurde\r\n   erfolgreich compiliert.";
constexpr std::string_view kAbortedNow = "Compiliervorgang wurde abgebrochen";
constexpr std::string_view kAborted =
    "Die Compilierung Ihrer Wissens-\r\n     basis wurde unterbrochen.";

// A message box text for the console: each "\r\n" a line end, the blanks that centre the
// next line in the box dropped.
std::string ConsoleText(std::string_view message) {
    std::string out;
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message.substr(i, 2) == "\r\n") {
            out += '\n';
            i += 2;
            while (i < message.size() && message[i] == ' ') {
                ++i;
            }
            --i;
            continue;
        }
        out += message[i];
    }
    return Windows1252ToUtf8(out) + "\n";
}

bool HasEditableExtension(const std::string& name) {
    if (name.size() < 4) {
        return false;
    }
    const std::string extension = ToUpper(name.substr(name.size() - 4));
    return extension == ".WBP";
}

struct CompileOptions {
    std::string knowledgeBase;
    std::optional<std::uint64_t> seed;
};

int RunCompile(const CompileOptions& options) {
    if (!HasEditableExtension(options.knowledgeBase)) {
        std::cerr << options.knowledgeBase
                  << ": keine bearbeitbare Wissensbasis (Endung .WBP erwartet)\n";
        return kExitFailure;
    }
    auto source = KnowledgeBaseFile::Open(options.knowledgeBase, KnowledgeBaseFile::Mode::ReadOnly);
    if (!source) {
        std::cerr << source.error().message << "\n";
        return kExitFailure;
    }
    const std::uint64_t seed =
        options.seed ? *options.seed
                     : static_cast<std::uint64_t>(
                           std::chrono::system_clock::now().time_since_epoch().count());
    SeededRandomSource random(seed);
    // The console has no abort button: the run is never asked to stop.
    const auto outcome =
        DeriveRunOnlyFile(*source, random, [](int /*position*/, int /*count*/) { return false; });
    if (!outcome) {
        std::cerr << outcome.error().message << "\n";
        return kExitFailure;
    }
    if (*outcome == DerivationOutcome::Aborted) {
        std::cout << ConsoleText(kAbortedNow) << ConsoleText(kAborted);
        return kExitFailure;
    }
    std::cout << ConsoleText(kCompiled);
    return kExitSuccess;
}

}  // namespace

void AddCompileCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<CompileOptions>();
    CLI::App* command = app.add_subcommand(
        "compile",
        "Erzeugt die Laufzeit-Wissensbasis (.WBB) neben einer .WBP-Datei: alle Zeilen au\xC3\x9F"
        "er Kommentarzeilen und die letzte Zeile, jede mit einer Zufallsziffer in Spalte 83.");
    command->add_option("KB", options->knowledgeBase, "bearbeitbare Wissensbasis (.WBP)")
        ->required();
    command->add_option("--seed", options->seed,
                        "Startwert der Zufallsziffern (ohne Angabe: aus der Uhrzeit); gleicher "
                        "Startwert, gleiche Datei");
    command->callback([options, &exitCode] { exitCode = RunCompile(*options); });
}

}  // namespace kelvo::cli
