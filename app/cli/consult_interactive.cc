#include "app/cli/consult_interactive.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "app/cli/cli_command.h"
#include "engine/consultation.h"
#include "platform/database/database_files.h"
#include "platform/desktop/linux_desktop_shell.h"
#include "platform/terminal/terminal_platform.h"
#include "platform/terminal/terminal_printer.h"
#include "platform/x11/x11_automation.h"
#include "shell/consultation_run.h"
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
    services.fileDialogs = &platform;
    TerminalPrinter printer(out);
    services.printer = &printer;
    platform.SetPrinter(&printer);
    DatabaseFiles database;
    services.database = &database;
    std::error_code pathError;
    const std::filesystem::path knowledgeBasePath =
        std::filesystem::absolute(knowledgeBase.file, pathError);
    LinuxDesktopShell shell(
        (pathError ? std::filesystem::path(knowledgeBase.file) : knowledgeBasePath)
            .lexically_normal());
    services.shell = &shell;
    // Keys and mouse reach the X11 display when one is reachable; otherwise the commands say
    // that they are unavailable here.
    X11Automation automation;
    services.automation = &automation;

    ConsultationConfig config;
    config.programmingModule = options.programmingModule;
    config.breakpointLine = options.breakpointLine;
    config.ablage2Text = Utf8ToWindows1252(options.ablage2);
    config.ablage3Text = Utf8ToWindows1252(options.ablage3);

    KnowledgeBaseImage image(options.programmingModule);
    bool errorReport = false;
    StartCommandHooks hooks;
    hooks.prepare = [&](Consultation& /*consultation*/) {
        out << "Expertensystem KELVO - Sitzung mit " << knowledgeBase.file << "\n" << std::flush;
    };
    hooks.finished = [&](Consultation& consultation) {
        errorReport = errorReport || consultation.ErrorReported();
        if (platform.InputEnded()) {
            consultation.SetRestartRequested(false);
        }
        out << "\nSitzung beendet.\n" << std::flush;
    };
    auto result = RunKnowledgeBase(knowledgeBase.records, image, config, services, hooks);
    if (!result) {
        out << result.error().message << "\n";
        return kExitFailure;
    }
    return errorReport ? kExitErrorReport : kExitSuccess;
}

}  // namespace kelvo::cli
