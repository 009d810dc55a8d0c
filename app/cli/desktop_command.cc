#include "app/cli/desktop_command.h"

#include <chrono>
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "app/cli/cli_command.h"
#include "app/cli/consult_session.h"
#include "engine/consultation.h"
#include "platform/database/database_files.h"
#include "platform/scripted/scripted_automation.h"
#include "platform/scripted/scripted_desktop.h"
#include "platform/scripted/scripted_platform.h"
#include "platform/scripted/scripted_printer.h"
#include "shell/main_window.h"
#include "shell/shell_services.h"
#include "shell/single_instance.h"
#include "store/random_source.h"
#include "store/windows1252.h"

namespace kelvo::cli {
namespace {

struct DesktopCommandOptions {
    std::string module;
    std::string program;
    std::string script;
    std::string transcript;
    std::optional<std::uint64_t> seed;
    std::string clock;
    std::string screen = "1024x768";
    std::string clipboard;
    std::string desktop;
    bool strict = false;
    double timeout = 0.0;
};

// The program's path as the running program knows its own: full and without "." and "..".
std::filesystem::path FullPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return (error ? std::filesystem::path(path) : full).lexically_normal();
}

bool WriteTranscript(const std::string& file, const std::vector<nlohmann::json>& events) {
    const std::string transcript = TranscriptText(events);
    if (file.empty()) {
        std::cout << transcript << std::flush;
        return true;
    }
    return WriteTranscriptFile(file, transcript, std::cerr);
}

int RunDesktop(const DesktopCommandOptions& command) {
    const bool programmingModule = command.module == "programming";
    const std::filesystem::path programPath = FullPath(command.program);

    ScriptedOptions scripted;
    scripted.strict = command.strict;
    ScriptedScreenOptions screenOptions;
    if (!ReadClockOption(command.clock, scripted.clock) ||
        !ReadScreenOption(command.screen, scripted.screenWidth, scripted.screenHeight)) {
        return kExitUsage;
    }
    screenOptions.width = scripted.screenWidth;
    screenOptions.height = scripted.screenHeight;
    if (!ReadDesktopOption(command.desktop, screenOptions)) {
        return kExitUsage;
    }
    scripted.clipboard = command.clipboard;
    scripted.programPath = programPath.string();
    scripted.timeout = TimeoutOf(command.timeout);

    std::vector<ScriptedAnswer> actions;
    if (!command.script.empty()) {
        if (const auto status = ReadScriptFile(command.script, actions)) {
            return *status;
        }
    }

    auto lock = SingleInstance::Acquire(programPath, SingleInstance::DefaultLockFolder());
    if (!lock) {
        std::cerr << lock.error().message << "\n";
        return kExitFailure;
    }

    ScriptedPlatform platform(std::move(actions), scripted);
    ScriptedAutomation automation(platform, platform, screenOptions);
    ScriptedPrinter printer(platform, ScriptedPrinterOptions{});
    DatabaseFiles database;
    SeededRandomSource random(command.seed.value_or(kDefaultSeed));
    ScriptedDesktop desktop(platform, automation, programPath);
    ShellServices services{desktop, platform, platform, platform, random, platform,
                           desktop, desktop,  platform, desktop,  desktop};
    services.printer = &printer;
    services.media = &platform;
    services.database = &database;
    services.automation = &automation;

    bool ended = true;
    if (!lock->held()) {
        // The second instance says so and ends before any window appears.
        ShowSecondInstanceMessage(platform);
    } else {
        ShellConfig config;
        config.programmingModule = programmingModule;
        config.programPath = programPath;
        config.screenWidth = scripted.screenWidth;
        config.screenHeight = scripted.screenHeight;
        TForm1 window(config, services);
        int consultations = 0;
        StartCommandHooks hooks;
        hooks.prepare = [&](Consultation&) {
            const std::string file = Windows1252ToUtf8(window.CurrentFileName());
            platform.SetFileFolder(std::filesystem::path(file).parent_path().string());
            platform.Record({{"event", "start"},
                             {"file", file},
                             {"module", programmingModule ? "programming" : "user"},
                             {"consultation", ++consultations}});
        };
        hooks.finished = [&](Consultation& consultation) {
            // A run being stopped does not start again.
            if (platform.StopRequested() || desktop.stopped()) {
                consultation.SetRestartRequested(false);
            }
            platform.Record(EndEvent(consultation, consultations));
        };
        window.SetConsultationHooks(hooks);
        window.Loaded();
        window.FormCreate();
        window.FormShow();
        desktop.RunMainWindow(window);
        ended = window.Closed();
    }
    platform.Record({{"event", "exit"}, {"stopped", !ended}});

    if (!WriteTranscript(command.transcript, platform.events())) {
        return kExitFailure;
    }
    const std::string scriptName = command.script.empty() ? "--script" : command.script;
    if (platform.scriptError()) {
        std::cerr << scriptName << ": " << *platform.scriptError() << "\n";
        return kExitUsage;
    }
    if (platform.timedOut()) {
        std::cerr << command.program << ": Zeitlimit von " << command.timeout
                  << " s erreicht; das Programm wurde beendet\n";
        return kExitNotEnded;
    }
    if (platform.ranOut()) {
        std::cerr << scriptName << ": keine Antworten mehr (--strict)\n";
        return kExitNotEnded;
    }
    if (!ended) {
        std::cerr << scriptName
                  << ": keine Aktionen mehr, das Programm lief noch; es wurde beendet\n";
        return kExitNotEnded;
    }
    if (platform.answersLeft() > 0) {
        std::cerr << scriptName << ": " << platform.answersLeft()
                  << " Aktion(en) nach dem Ende des Programms nicht verwendet\n";
    }
    return kExitSuccess;
}

}  // namespace

void AddDesktopCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<DesktopCommandOptions>();
    CLI::App* command = app.add_subcommand(
        "desktop",
        "Startet das ganze Programm mit allen Fenstern ohne Bildschirm: Aktionen und Antworten "
        "kommen aus einer JSON-Lines-Datei, jedes Fenster und jede Meldung wird als JSON-Zeile "
        "protokolliert (docs/desktop-format.md). Exit-Status: 0 Programm beendet, "
        "1 Dateifehler, 2 falscher Aufruf oder unpassende Aktion, 3 das Programm lief noch, "
        "als die Aktionen ausgingen oder das Zeitlimit erreicht war.");
    command
        ->add_option("--module", options->module,
                     "programming (Programmiermodul) oder user (Benutzermodul)")
        ->required()
        ->check(CLI::IsMember({"programming", "user"}));
    command
        ->add_option("--program", options->program,
                     "Pfad des Programms: sein Ordner enth\xC3\xA4lt die Hilfedateien, und das "
                     "Benutzermodul startet die gleichnamige .WBB-Datei daneben")
        ->required();
    command->add_option("--script", options->script,
                        "Aktionen und Antworten, eine JSON-Zeile je Aktion (ohne Angabe: keine)");
    command->add_option("--transcript", options->transcript,
                        "Protokolldatei (JSON Lines; ohne Angabe: Standardausgabe)");
    command->add_option("--seed", options->seed,
                        "Startwert des Zufallsgenerators (ohne Angabe: 1)");
    command->add_option("--clock", options->clock,
                        "Datum und Uhrzeit, \"JJJJ-MM-TT HH:MM:SS\" (ohne Angabe: "
                        "2017-07-01 14:05:09)");
    command->add_option("--screen", options->screen,
                        "Bildschirmgr\xC3\xB6\xC3\x9F"
                        "e BREITExH\xC3\x96HE (ohne Angabe: 1024x768)");
    command->add_option("--clipboard", options->clipboard, "Text der Zwischenablage zu Beginn");
    command->add_option("--desktop", options->desktop,
                        "Der gespielte Bildschirm der Tastatur- und Mausbefehle als JSON-Objekt: "
                        "available, width, height, background, pixels, escapeAtQuery");
    command->add_flag("--strict", options->strict,
                      "fehlende Antworten einer Sitzung sind ein Fehler (Exit-Status 3)");
    command
        ->add_option("--timeout", options->timeout,
                     "Zeitlimit in Sekunden; danach wird das Programm beendet (Exit-Status 3)")
        ->check(CLI::PositiveNumber);
    command->callback([options, &exitCode] { exitCode = RunDesktop(*options); });
}

}  // namespace kelvo::cli
