#include "shell/main_window.h"

#include <cmath>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "authoring/editor_services.h"
#include "authoring/program_editor.h"
#include "engine/consultation.h"
#include "platform/automation.h"
#include "platform/clock.h"
#include "platform/desktop_shell.h"
#include "platform/dialogs.h"
#include "platform/file_dialogs.h"
#include "platform/progress_window.h"
#include "shell/consultation_run.h"
#include "shell/program_location.h"
#include "shell/running_desktop_shell.h"
#include "shell/shell_services.h"
#include "shell/shell_windows.h"
#include "shell/version_text.h"
#include "store/beeper.h"
#include "store/knowledge_base_file.h"
#include "store/knowledge_base_image.h"
#include "store/line_record.h"
#include "store/run_only_derivation.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr std::string_view kWbpFilter = "WBP -  Wissensbasen KELVO|*.wbp";
constexpr std::string_view kWbbFilter = "WBB -  Wissensbasen KELVO|*.wbb";
constexpr std::string_view kErrorCaption = "Fehlermeldung";

// The extension of a file name as the desktop's file functions take it: from the last "."
// of the name behind its folder, upper-cased; empty when there is none.
std::string UpperExtension(std::string_view windows1252Name) {
    const std::size_t slash = windows1252Name.find_last_of("/\\");
    const std::string_view name =
        slash == std::string_view::npos ? windows1252Name : windows1252Name.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : ToUpper(name.substr(dot));
}

std::filesystem::path PathOf(std::string_view windows1252Name) {
    return std::filesystem::path(Windows1252ToUtf8(windows1252Name));
}

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

TForm1::TForm1(ShellConfig config, ShellServices& services)
    : config_(std::move(config)), services_(services) {}

TForm1::~TForm1() = default;

void TForm1::Loaded() {
    SetOpenState(false);
    TForm4 startWindow(config_, services_);
    services_.windows.ShowStartWindow(startWindow);
    startWindow.FormClose();  // a view that closed it without its paint
    startFileName_ = startWindow.StartFileName();
}

void TForm1::FormCreate() {
    bounds_ = {0, 0, static_cast<int>(std::lround(config_.screenWidth * 0.95)),
               static_cast<int>(std::lround(config_.screenHeight * 0.9))};
    timerRunning_ = false;
    editorState_.ablage2Text.clear();
    editorState_.ablage3Text.clear();
}

void TForm1::FormShow() {
    Changed();  // the window shows
    if (config_.programmingModule) {
        firstOpen_ = true;
        if (!config_.commandLineFile.empty()) {
            OpenCommandLineFile();
        }
        return;
    }
    if (!startFileName_.empty()) {
        if (config_.commandLineFile.empty()) {
            OeffnenClick();
        } else {
            OpenCommandLineFile();
        }
        // After a failed open there is nothing to run or close: the program just ends.
        if (knowledgeBaseOpen_) {
            StartenClick();
        }
        if (knowledgeBaseOpen_) {
            SchliesenClick();
        }
    }
    BeendenClick();
}

bool TForm1::Enabled(ShellCommand command) const {
    return CommandEnabled(command, knowledgeBaseOpen_, config_.programmingModule);
}

bool TForm1::Click(ShellCommand command) {
    if (closed_ || !Enabled(command)) {
        return false;
    }
    switch (command) {
        case ShellCommand::Neu:
            NeuClick();
            break;
        case ShellCommand::Oeffnen:
            OeffnenClick();
            break;
        case ShellCommand::Schliesen:
            SchliesenClick();
            break;
        case ShellCommand::Compilieren:
            CompilierenClick();
            break;
        case ShellCommand::Beenden:
            BeendenClick();
            break;
        case ShellCommand::Info:
            InfoClick();
            break;
        case ShellCommand::Bearbeiten:
            BearbeitenClick();
            break;
        case ShellCommand::Starten:
            StartenClick();
            break;
        case ShellCommand::Hilfe:
            HilfeClick();
            break;
    }
    return true;
}

void TForm1::SetOpenState(bool open) {
    knowledgeBaseOpen_ = open;
    RefreshTitle();
}

void TForm1::RefreshTitle() {
    title_ = MainWindowTitle(knowledgeBaseOpen_ ? std::string_view(currentFileName_) : "",
                             config_.programmingModule, config_.databaseAccess);
}

void TForm1::Changed() {
    services_.windows.MainWindowChanged(*this);
}

void TForm1::ShowMessage(std::string_view text) {
    services_.dialogs.MessageBox(text, kShellMessageCaption, MessageIcon::None, MessageButtons::Ok);
}

void TForm1::Refuse(std::string_view text) {
    services_.beeper.Beep();
    ShowMessage(text);
}

void TForm1::ShowFault(std::string_view windows1252Text) {
    services_.beeper.Beep();
    services_.dialogs.MessageBox(windows1252Text, kErrorCaption, MessageIcon::Warning,
                                 MessageButtons::Ok);
}

void TForm1::NeuClick() {
    FileDialogRequest request;
    request.title = "Neu";
    request.filters = SplitFileFilter(kWbpFilter);
    auto chosen = services_.fileDialogs.SaveFileName(request);
    if (!chosen) {
        Changed();
        return;
    }
    currentFileName_ = *chosen;
    const std::filesystem::path path = PathOf(currentFileName_);
    if (UpperExtension(currentFileName_) != ".WBP") {
        Refuse("Falsche Programmextention !");
    } else if (Exists(path)) {
        Refuse("Name schon vergeben !");
    } else {
        // The file appears with its first line or not at all; one that has appeared in the
        // meantime under that name is not replaced.
        const ReplaceOutcome created = KnowledgeBaseFile::CreateWith(
            path, {LineRecord(PadRight("K", 82))}, services_.fileFaults);
        auto opened = created.replaced
                          ? KnowledgeBaseFile::Open(path, KnowledgeBaseFile::Mode::ReadWrite)
                          : Expected<KnowledgeBaseFile>(created.status.error());
        if (!opened) {
            Refuse("Wissensbasis konnte nicht angelegt werden !");
        } else {
            file_ = std::make_unique<KnowledgeBaseFile>(std::move(*opened));
            SetOpenState(true);
        }
    }
    Changed();
}

void TForm1::OeffnenClick() {
    Open(std::nullopt);
}

void TForm1::Open(const std::optional<std::string>& named) {
    FileDialogRequest request;
    request.title =
        "\xD6"
        "ffnen";
    request.filters = SplitFileFilter(config_.programmingModule ? kWbpFilter : kWbbFilter);
    currentFileName_.clear();
    if (firstOpen_) {
        openDialogFolder_ = Utf8ToWindows1252(ProgramFolder(config_.programPath).string());
        firstOpen_ = false;
    }
    if (named) {
        currentFileName_ = *named;
    } else if (config_.programmingModule) {
        request.folder = openDialogFolder_;
        if (auto chosen = services_.fileDialogs.OpenFileName(request)) {
            currentFileName_ = *chosen;
        }
    } else {
        currentFileName_ = startFileName_;
    }
    if (currentFileName_.empty()) {
        Changed();
        return;
    }
    openDialogFolder_ = Utf8ToWindows1252(PathOf(currentFileName_).parent_path().string());
    const char* wanted = config_.programmingModule ? ".WBP" : ".WBB";
    if (UpperExtension(currentFileName_) != wanted) {
        Refuse("Falsche Programmextention !");
        Changed();
        return;
    }
    auto opened = KnowledgeBaseFile::Open(
        PathOf(currentFileName_), config_.programmingModule ? KnowledgeBaseFile::Mode::ReadWrite
                                                            : KnowledgeBaseFile::Mode::ReadOnly);
    if (!opened) {
        Refuse("Name der Wissensbasis unkorrekt !");
        Changed();
        return;
    }
    file_ = std::make_unique<KnowledgeBaseFile>(std::move(*opened));
    SetOpenState(true);
    Changed();
}

void TForm1::OpenCommandLineFile() {
    std::size_t unmappable = 0;
    std::string name = Utf8ToWindows1252(config_.commandLineFile.string(), &unmappable);
    if (unmappable != 0) {
        // The name has characters the shell's file names cannot hold; with them replaced it
        // would name another file, or none.
        currentFileName_.clear();
        Refuse("Name der Wissensbasis unkorrekt !");
        Changed();
        return;
    }
    Open(std::move(name));
}

void TForm1::SchliesenClick() {
    editorState_.errorLine = 0;
    file_.reset();
    SetOpenState(false);
    Changed();
}

void TForm1::CompilierenClick() {
    if (!file_) {
        return;
    }
    if (services_.dialogs.MessageBox("Ihre Wissensbasis wird\r\n           compiliert.",
                                     "Wissensbasis compilieren!", MessageIcon::Question,
                                     MessageButtons::YesNo) != MessageAnswer::Yes) {
        Changed();
        return;
    }
    compileAbort_ = false;
    services_.progress.Show();
    const DerivationProgress progress = [this](int, int) {
        if (services_.progress.PumpOneEvent()) {
            compileAbort_ = true;  // TForm3.Button1Click
        }
        if (!compileAbort_) {
            return false;
        }
        services_.beeper.Beep();
        services_.dialogs.MessageBox("Compiliervorgang wurde abgebrochen", kShellMessageCaption,
                                     MessageIcon::Information, MessageButtons::Ok);
        return true;
    };
    auto outcome = DeriveRunOnlyFile(*file_, services_.random, progress, services_.fileFaults);
    services_.progress.Close();
    if (!outcome) {
        ShowFault(Utf8ToWindows1252(
            "Die Wissensbasis konnte nicht compiliert werden; eine vorhandene .WBB-Datei ist "
            "unverändert.\r\n" +
            outcome.error().message));
    } else if (*outcome == DerivationOutcome::Aborted) {
        services_.beeper.Beep();
        services_.dialogs.MessageBox(
            "Die Compilierung Ihrer Wissens-\r\n     basis wurde "
            "unterbrochen.",
            kShellMessageCaption, MessageIcon::Information, MessageButtons::Ok);
    } else {
        services_.dialogs.MessageBox("Ihre Wissensbasis wurde\r\n   erfolgreich compiliert.",
                                     kShellMessageCaption, MessageIcon::Information,
                                     MessageButtons::Ok);
    }
    Changed();
}

void TForm1::BeendenClick() {
    CanClose();
}

bool TForm1::CanClose() {
    if (closed_) {
        return true;
    }
    if (knowledgeBaseOpen_) {
        if (services_.dialogs.MessageBox("Wissensbasis schlie\xDF"
                                         "en ?",
                                         "Best\xE4tigen", MessageIcon::Question,
                                         MessageButtons::YesNo) != MessageAnswer::Yes) {
            Changed();
            return false;
        }
        file_.reset();
        SetOpenState(false);
    }
    timerRunning_ = false;
    closed_ = true;
    Changed();
    return true;
}

void TForm1::InfoClick() {
    services_.windows.ShowAboutBox(InfoAboutBox());
    Changed();
}

void TForm1::BearbeitenClick() {
    do {
        editorState_.editorStartRequested = false;
        if (!file_) {
            break;  // the file could not be reopened after the last consultation
        }
        {
            EditorServices editorServices{
                services_.dialogs,
                services_.fileDialogs,
                services_.inputBox,
                services_.clipboard,
                services_.desktopShell,
                services_.progress,
                services_.beeper,
                services_.clock,
                services_.printer,
                [this](CursorShape shape) { services_.windows.SetCursor(shape); },
                ProgramFolder(config_.programPath),
                config_.screenWidth,
                config_.screenHeight,
                services_.fileFaults};
            TForm2 editor(*file_, editorState_, editorServices);
            services_.windows.ShowEditor(editor);
        }
        if (editorState_.editorStartRequested) {
            StartenClick();
        }
    } while (editorState_.editorStartRequested);
    Changed();
}

void TForm1::StartenClick() {
    if (!file_) {
        return;
    }
    auto records = file_->ReadAll(KnowledgeBaseImage::kMaxProgramLines);
    if (!records) {
        ShowFault(Utf8ToWindows1252(records.error().message));
        Changed();
        return;
    }
    const std::filesystem::path path = file_->path();
    const KnowledgeBaseFile::Mode mode = file_->mode();
    file_.reset();  // a consultation works on the image only
    if (config_.programmingModule) {
        visible_ = false;
        services_.windows.SetMainWindowVisible(false);
    }

    ConsultationConfig consultationConfig;
    consultationConfig.programmingModule = config_.programmingModule;
    consultationConfig.breakpointLine = editorState_.breakpointLine;
    consultationConfig.errorLine = editorState_.errorLine;
    consultationConfig.ablage2Text = editorState_.ablage2Text;
    consultationConfig.ablage3Text = editorState_.ablage3Text;
    // The programming module's inspector shows the evidence of each fact.
    consultationConfig.explain = config_.programmingModule;
    RunningDesktopShell desktopShell(services_.desktopShell, config_.programPath, path);
    ConsultationServices consultationServices{services_.dialogs, services_.sessionWindows,
                                              services_.clock, services_.random, services_.beeper};
    consultationServices.printer = services_.printer;
    consultationServices.clipboard = &services_.clipboard;
    consultationServices.media = services_.media;
    consultationServices.fileDialogs = &services_.fileDialogs;
    consultationServices.shell = &desktopShell;
    consultationServices.database = services_.database;
    consultationServices.automation = services_.automation;
    consultationServices.fileFaults = services_.fileFaults;
    KnowledgeBaseImage image(config_.programmingModule);
    auto result =
        RunKnowledgeBase(*records, image, consultationConfig, consultationServices, hooks_);

    if (config_.programmingModule) {
        visible_ = true;
        services_.windows.SetMainWindowVisible(true);
    }
    if (result) {
        // The editor reopens on the line of an error report; the inspector may have deleted
        // the breakpoint.
        editorState_.errorLine = result->errorLine;
        editorState_.breakpointLine = result->breakpointLine;
    } else {
        ShowFault(Utf8ToWindows1252(result.error().message));
    }
    auto reopened = KnowledgeBaseFile::Open(path, mode);
    if (reopened) {
        file_ = std::make_unique<KnowledgeBaseFile>(std::move(*reopened));
    } else {
        // The file went away while it ran (a variable command may move or delete files): the
        // knowledge base is closed rather than left open without its file.
        Refuse("Name der Wissensbasis unkorrekt !");
        editorState_.errorLine = 0;
        SetOpenState(false);
    }
    Changed();
}

void TForm1::HilfeClick() {
    if (config_.programmingModule) {
        const std::filesystem::path help = ProgramFolder(config_.programPath) / "liesmich.pdf";
        if (!services_.desktopShell.OpenDocument(help.string())) {
            services_.dialogs.MessageBox("Hilfedatei konnte nicht aufgerufen werden !",
                                         kErrorCaption, MessageIcon::Warning, MessageButtons::Ok);
        }
    } else {
        ShowMessage(
            "Innerhalb des Benutzermodules kann der\r\nHilfemodus nicht aktiviert "
            "werden !");
    }
    Changed();
}

void TForm1::FormKeyDown(int virtualKey) {
    if (virtualKey != kVirtualKeyF2 || closed_) {
        return;
    }
    if (!timerRunning_) {
        timerRunning_ = true;
    } else {
        timerRunning_ = false;
        RefreshTitle();
        editorState_.ablage2Text = "J [+SYSTEM_VAR_0001] . (" + std::to_string(pointerX_) + ")";
        editorState_.ablage3Text = "J [+SYSTEM_VAR_0002] . (" + std::to_string(pointerY_) + ")";
    }
    Changed();
}

void TForm1::Timer1Timer() {
    if (!timerRunning_ || closed_) {
        return;
    }
    if (services_.automation != nullptr) {
        if (const std::optional<ScreenPoint> point = services_.automation->CursorPosition()) {
            pointerX_ = point->x;
            pointerY_ = point->y;
        }
    }
    title_ = "x=" + std::to_string(pointerX_) + "  y=" + std::to_string(pointerY_);
    Changed();
}

}  // namespace kelvo
