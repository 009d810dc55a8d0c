#include "app/cli/consult_interactive.h"

#include <filesystem>
#include <ostream>

#include "app/cli/cli_command.h"
#include "commands/install_variable_commands.h"
#include "engine/consultation.h"
#include "engine/start_command.h"
#include "platform/terminal/terminal_platform.h"
#include "store/knowledge_base_image.h"
#include "store/random_source.h"
#include "store/windows1252.h"

namespace kelvo::cli {

int RunInteractiveConsultation(const LoadedKnowledgeBase& knowledgeBase,
                               const ConsultOptions& options, std::istream& in, std::ostream& out) {
    TerminalOptions terminal;
    terminal.screenWidth = options.screenWidth;
    terminal.screenHeight = options.screenHeight;
    terminal.fileFolder = std::filesystem::path(knowledgeBase.file).parent_path().string();
    TerminalPlatform platform(in, out, terminal);
    if (!options.clipboard.empty()) {
        platform.SetText(Utf8ToWindows1252(options.clipboard));
    }
    SeededRandomSource random(options.seed);
    ConsultationServices services{platform, platform, platform, random, platform};
    services.clipboard = &platform;
    services.media = &platform;

    ConsultationConfig config;
    config.programmingModule = options.programmingModule;
    config.breakpointLine = options.breakpointLine;

    KnowledgeBaseImage image(options.programmingModule);
    const ImageLoader loader = [&knowledgeBase](KnowledgeBaseImage& target) -> Status {
        auto loaded = target.LoadImage(knowledgeBase.records);
        if (!loaded) {
            return loaded.error();
        }
        return Status{};
    };
    bool errorReport = false;
    StartCommandHooks hooks;
    hooks.prepare = [&](Consultation& consultation) {
        InstallVariableCommands(consultation);
        out << "Expertensystem KELVO - Sitzung mit " << knowledgeBase.file << "\n" << std::flush;
    };
    hooks.finished = [&](Consultation& consultation) {
        errorReport = errorReport || consultation.ErrorReported();
        if (platform.InputEnded()) {
            consultation.SetRestartRequested(false);
        }
        out << "\nSitzung beendet.\n" << std::flush;
    };
    auto result = RunStartCommand(image, loader, config, services, hooks);
    if (!result) {
        out << result.error().message << "\n";
        return kExitFailure;
    }
    return errorReport ? kExitErrorReport : kExitSuccess;
}

}  // namespace kelvo::cli
