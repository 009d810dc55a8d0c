#include "app/cli/consult_command.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include <unistd.h>

#include "app/cli/cli_command.h"
#include "app/cli/consult_interactive.h"
#include "app/cli/consult_session.h"

namespace kelvo::cli {
namespace {

struct ConsultCommandOptions {
    std::string knowledgeBase;
    std::string answers;
    std::string transcript;
    std::string module;
    int breakpoint = 0;
    std::optional<std::uint64_t> seed;
    std::string clock;
    bool strict = false;
    double timeout = 0.0;
    std::string screen = "1024x768";
    std::string clipboard;
    std::string ablage2;
    std::string ablage3;
    bool interactive = false;
    std::string printerPageMm;
    std::string printerPagePixels;
    int printerLines = 0;
    std::string desktop;
    bool explain = false;
};

int RunConsult(const ConsultCommandOptions& command) {
    ConsultOptions options;
    auto loaded = LoadKnowledgeBase(command.knowledgeBase);
    if (!loaded) {
        std::cerr << loaded.error().message << "\n";
        return kExitFailure;
    }
    for (const std::string& warning : loaded->warnings) {
        std::cerr << warning << "\n";
    }
    // The module: as asked, otherwise the user module for a run-only knowledge base and the
    // programming module for the editable forms.
    options.programmingModule = command.module.empty() ? loaded->kind != KnowledgeBaseKind::RunOnly
                                                       : command.module == "programming";
    if (!ReadClockOption(command.clock, options.clock) ||
        !ReadScreenOption(command.screen, options.screenWidth, options.screenHeight)) {
        return kExitUsage;
    }
    options.clipboard = command.clipboard;
    options.ablage2 = command.ablage2;
    options.ablage3 = command.ablage3;
    if (!command.printerPageMm.empty()) {
        const auto mm = ParseNumberPair(command.printerPageMm);
        if (!mm) {
            std::cerr << "--printer-page-mm: \"" << command.printerPageMm
                      << "\" ist keine Seitengr\xC3\xB6\xC3\x9F"
                         "e BREITE,H\xC3\x96HE in Millimetern\n";
            return kExitUsage;
        }
        options.printer.page.widthMillimetres = mm->first;
        options.printer.page.heightMillimetres = mm->second;
    }
    if (!command.printerPagePixels.empty()) {
        const auto pixels = ParseNumberPair(command.printerPagePixels);
        if (!pixels || pixels->first != static_cast<int>(pixels->first) ||
            pixels->second != static_cast<int>(pixels->second) || pixels->first > 1e6 ||
            pixels->second > 1e6) {
            std::cerr << "--printer-page-pixels: \"" << command.printerPagePixels
                      << "\" ist keine Seitengr\xC3\xB6\xC3\x9F"
                         "e BREITE,H\xC3\x96HE in Bildpunkten\n";
            return kExitUsage;
        }
        options.printer.page.widthPixels = static_cast<int>(pixels->first);
        options.printer.page.heightPixels = static_cast<int>(pixels->second);
    }
    if (command.printerLines > 0) {
        options.printer.linesPerPage = command.printerLines;
    }
    options.desktop.width = options.screenWidth;
    options.desktop.height = options.screenHeight;
    if (!ReadDesktopOption(command.desktop, options.desktop)) {
        return kExitUsage;
    }
    options.breakpointLine = command.breakpoint;
    options.seed = command.seed.value_or(kDefaultSeed);
    options.strict = command.strict;
    options.timeout = TimeoutOf(command.timeout);
    options.explain = command.explain;
    options.evidenceInTranscript = command.explain;

    // A person at a terminal consults interactively unless a script answers.
    const bool interactive =
        command.interactive || (command.answers.empty() && command.transcript.empty() &&
                                ::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1);
    if (interactive) {
        if (command.explain) {
            std::cerr << "--explain: nicht zusammen mit --interactive\n";
            return kExitUsage;
        }
        if (!command.answers.empty() || !command.transcript.empty()) {
            std::cerr << "--interactive: nicht zusammen mit --answers oder --transcript\n";
            return kExitUsage;
        }
        return RunInteractiveConsultation(*loaded, options, std::cin, std::cout);
    }

    std::vector<ScriptedAnswer> answers;
    if (!command.answers.empty()) {
        if (const auto status = ReadScriptFile(command.answers, answers)) {
            return *status;
        }
    }

    // The events become transcript lines as they happen, and the consultations share the
    // loaded records: a long run holds neither twice.
    std::string transcript;
    options.transcript = &transcript;
    const ConsultOutcome outcome =
        RunScriptedConsultation(std::move(*loaded), std::move(answers), options);
    if (command.transcript.empty()) {
        std::cout << transcript << std::flush;
    } else {
        if (!WriteTranscriptFile(command.transcript, transcript, std::cerr)) {
            return kExitFailure;
        }
    }

    if (outcome.internalError) {
        std::cerr << command.knowledgeBase << ": " << *outcome.internalError << "\n";
    }
    if (outcome.scriptError) {
        std::cerr << command.answers << ": " << *outcome.scriptError << "\n";
    }
    if (outcome.ranOut) {
        std::cerr << (command.answers.empty() ? std::string("--strict") : command.answers)
                  << ": keine Antworten mehr (--strict)\n";
    }
    if (outcome.timedOut) {
        std::cerr << command.knowledgeBase << ": Zeitlimit von " << command.timeout
                  << " s erreicht; die Sitzung wurde abgebrochen\n";
    }
    if (outcome.answersLeft > 0 && !outcome.scriptError && !outcome.timedOut) {
        std::cerr << command.answers << ": " << outcome.answersLeft
                  << " Antwort(en) nicht verwendet\n";
    }
    return outcome.exitCode;
}

}  // namespace

void AddConsultCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<ConsultCommandOptions>();
    CLI::App* command = app.add_subcommand(
        "consult",
        "F\xC3\xBC"
        "hrt eine Sitzung mit einer Wissensbasis (.WBP, .WBB oder .txt) ohne "
        "Fenster: Antworten kommen aus einer JSON-Lines-Datei, jedes Ereignis wird als "
        "JSON-Zeile protokolliert (docs/consult-format.md). Exit-Status: 0 Sitzung zu Ende, "
        "1 Dateifehler, 2 falscher Aufruf oder fehlerhafte Antwortdatei, 3 --strict ohne "
        "Antworten, 4 Sitzung durch eine Fehlermeldung beendet.");
    command->add_option("KB", options->knowledgeBase, "Wissensbasis (.WBP, .WBB oder .txt)")
        ->required();
    command->add_option("--answers", options->answers,
                        "Antworten, eine JSON-Zeile je Antwort (ohne Angabe: keine)");
    command->add_option("--transcript", options->transcript,
                        "Protokolldatei (JSON Lines; ohne Angabe: Standardausgabe)");
    command
        ->add_option("--module", options->module,
                     "programming oder user (ohne Angabe: user f\xC3\xBC"
                     "r .WBB, sonst "
                     "programming)")
        ->check(CLI::IsMember({"programming", "user"}));
    command->add_option("--breakpoint", options->breakpoint, "Zeilennummer (ab 1) des Haltepunkts")
        ->check(CLI::PositiveNumber);
    command->add_option("--seed", options->seed,
                        "Startwert des Zufallsgenerators (ohne Angabe: 1)");
    command->add_option("--clock", options->clock,
                        "Datum und Uhrzeit der Sitzung, \"JJJJ-MM-TT HH:MM:SS\" (ohne Angabe: "
                        "2017-07-01 14:05:09)");
    command->add_flag("--strict", options->strict,
                      "fehlende Antworten sind ein Fehler (Exit-Status 3)");
    command
        ->add_option("--timeout", options->timeout,
                     "Zeitlimit in Sekunden; danach wird die Sitzung wie nach einem "
                     "best\xC3\xA4tigten Abbruch beendet")
        ->check(CLI::PositiveNumber);
    command->add_option("--screen", options->screen,
                        "Bildschirmgr\xC3\xB6\xC3\x9F"
                        "e BREITExH\xC3\x96HE, nach der Seiten und das "
                        "Datenbasis-Fenster bemessen werden (ohne Angabe: 1024x768)");
    command->add_option("--clipboard", options->clipboard,
                        "Text der Zwischenablage zu Beginn (die erste beobachtete Variable "
                        "des Datenbasis-Fensters)");
    command->add_option("--ablage2", options->ablage2,
                        "Text der Ablage 2 des Editors (die zweite beobachtete Variable des "
                        "Datenbasis-Fensters; ohne Angabe: leer)");
    command->add_option("--ablage3", options->ablage3,
                        "Text der Ablage 3 des Editors (die dritte beobachtete Variable des "
                        "Datenbasis-Fensters; ohne Angabe: leer)");
    command->add_option("--printer-page-mm", options->printerPageMm,
                        "Seitengr\xC3\xB6\xC3\x9F"
                        "e des Druckers BREITE,H\xC3\x96HE in Millimetern (ohne Angabe: "
                        "210,297)");
    command->add_option("--printer-page-pixels", options->printerPagePixels,
                        "Seitengr\xC3\xB6\xC3\x9F"
                        "e des Druckers BREITE,H\xC3\x96HE in Bildpunkten (ohne Angabe: "
                        "4961,7016)");
    command
        ->add_option("--printer-lines", options->printerLines,
                     "Zeilen je Druckseite (ohne Angabe: 67)")
        ->check(CLI::PositiveNumber);
    command->add_option("--desktop", options->desktop,
                        "Der gespielte Bildschirm der Tastatur- und Mausbefehle als JSON-Objekt: "
                        "available, width, height, background, pixels, escapeAtQuery");
    command->add_flag("--interactive", options->interactive,
                      "Sitzung im Terminal: Seiten werden angezeigt und ausgef\xC3\xBC"
                      "llt, "
                      "Fragen beantwortet (ohne Angabe: wenn Ein- und Ausgabe ein Terminal sind "
                      "und weder --answers noch --transcript gegeben ist)");
    command->add_flag("--explain", options->explain,
                      "jedem Fakt des end-Ereignisses seine Begr\xC3\xBC"
                      "ndung beif\xC3\xBCgen (evidence, removedFacts)");
    command->callback([options, &exitCode] { exitCode = RunConsult(*options); });
}

}  // namespace kelvo::cli
