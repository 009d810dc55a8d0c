// The program, message, clipboard and system-value commands "H", "X", "M", "R", "»", "«"
// and "V".
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "commands/command_handlers.h"
#include "commands/missing_service.h"
#include "commands/variable_command.h"
#include "platform/clipboard.h"
#include "platform/desktop_shell.h"
#include "platform/file_dialogs.h"
#include "platform/path_lookup.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kErrorCaption = "Fehlermeldung";
constexpr std::string_view kNotOpenedMessage = "Programmdatei konnte nicht aufgerufen werden !";
constexpr std::string_view kNotStartedMessage =
    "Externes Programm konnte nicht ausgef\xFChrt werden !";
constexpr std::string_view kNoMessageBoxMessage = "Meldungsfenster kann nicht angezeigt werden !";
constexpr std::string_view kShellService = "die Programmumgebung des Desktops";
constexpr std::string_view kClipboardService = "die Zwischenablage";
constexpr std::string_view kPrinterSetupService = "die Druckereinrichtung";

// Folder separators of the paths "V" takes apart: those of the knowledge base's own system
// and "/" of this one.
constexpr std::string_view kSeparators = "\\:/";

void Warn(VariableLine& line, std::string_view text) {
    line.consultation().ShowMessage(text, kErrorCaption, MessageIcon::Warning, MessageButtons::Ok);
}

// The words of a command line: blanks and tabs separate them, double quotes group blanks into
// a word and are dropped. A "\" is an ordinary character (a folder separator).
std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (const char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

bool IsAddress(std::string_view target) {
    return target.find("://") != std::string_view::npos;
}

// A folder of this system as "V" gives it: with a final separator.
std::string FolderText(const fs::path& folder) {
    if (folder.empty()) {
        return "";
    }
    std::string text = Utf8ToWindows1252(folder.string());
    if (text.back() != '/') {
        text += '/';
    }
    return text;
}

}  // namespace

// "H" opens the name variable's path with the desktop's opener; the name variable is
// required, but the shell is asked even without it (to open an empty name).
void OpenDocument(VariableLine& line) {
    const std::optional<std::string> name = line.NameValue();
    const std::string path = TrimRight(name.value_or(""));
    if (DesktopShell* shell = line.consultation().services().shell) {
        std::string target;
        if (IsAddress(path)) {
            target = Windows1252ToUtf8(path);
        } else if (!path.empty()) {
            target = ResolvePath(path).string();
        }
        if (!shell->OpenDocument(target)) {
            Warn(line, kNotOpenedMessage);
        }
    } else {
        ReportMissingService(line, kShellService);
    }
    if (!name) {
        line.Fail();
    }
}

// "X" starts the command line of the name variable in the operand variable's folder, without
// waiting; both are required.
void StartProgram(VariableLine& line) {
    const std::optional<std::string> commandLine = line.NameValue();
    const std::optional<std::string> folder = line.OperandValue();
    if (!commandLine || !folder) {
        line.Fail();
        return;
    }
    const HiddenSessionWindow hidden(line);
    DesktopShell* shell = line.consultation().services().shell;
    if (shell == nullptr) {
        ReportMissingService(line, kShellService);
        return;
    }
    std::vector<std::string> arguments;
    for (const std::string& word : SplitCommandLine(TrimRight(*commandLine))) {
        // The program itself is a path like any other when it names a folder; the
        // arguments are the program's own business.
        if (arguments.empty() && word.find_first_of("\\/") != std::string::npos) {
            arguments.push_back(ResolvePath(word).string());
        } else {
            arguments.push_back(Windows1252ToUtf8(word));
        }
    }
    const std::string workingFolder = TrimRight(*folder);
    const bool started =
        !arguments.empty() &&
        shell->StartProcess(arguments,
                            workingFolder.empty() ? fs::path() : ResolvePath(workingFolder));
    if (!started) {
        Warn(line, kNotStartedMessage);
    }
}

// "M" a warning box titled with the name variable's value showing the operand variable's
// value, both untrimmed.
void ShowMessageBox(VariableLine& line) {
    const HiddenSessionWindow hidden(line);
    const std::optional<std::string> title = line.NameValue();
    const std::optional<std::string> text = line.OperandValue();
    if (title && text) {
        line.consultation().ShowMessage(*text, *title, MessageIcon::Warning, MessageButtons::Ok);
    } else {
        Warn(line, kNoMessageBoxMessage);
    }
}

// "R" the printer set-up dialog.
void PrinterSetup(VariableLine& line) {
    const HiddenSessionWindow hidden(line);
    if (FileDialogs* dialogs = line.consultation().services().fileDialogs) {
        dialogs->PrinterSetup();
    } else {
        ReportMissingService(line, kPrinterSetupService);
    }
}

// "»" the name variable's trimmed value onto the clipboard.
void CopyToClipboard(VariableLine& line) {
    const std::optional<std::string> value = line.NameValue();
    if (!value) {
        return;
    }
    if (Clipboard* clipboard = line.consultation().services().clipboard) {
        clipboard->SetText(TrimRight(*value));
    } else {
        ReportMissingService(line, kClipboardService);
    }
}

// "«" name variable := the clipboard's text.
void PasteFromClipboard(VariableLine& line) {
    std::string text;
    if (Clipboard* clipboard = line.consultation().services().clipboard) {
        text = clipboard->Text();
    } else {
        ReportMissingService(line, kClipboardService);
    }
    line.StoreName(text);
}

// "V" the system value the name field selects, taken from the operand variable's path or
// from the desktop; the empty text without the operand variable.
void SystemValue(VariableLine& line) {
    std::string value;
    if (const std::optional<std::string> operand = line.OperandValue()) {
        const std::string& path = *operand;
        const std::size_t separator = path.find_last_of(kSeparators);
        const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
        const std::string selector = TrimRight(line.NameField());
        DesktopShell* shell = line.consultation().services().shell;
        const bool needsShell = selector == "++KELVO_QUELLPFAD" ||
                                selector == "++KELVO_QUELLPFAD_WB" ||
                                selector == "++KELVO_QUELLPFAD+WB";
        if (selector == "++KELVO_EXT") {
            const std::size_t dot = path.rfind('.');
            if (dot != std::string::npos && dot >= nameStart) {
                value = path.substr(dot);
            }
        } else if (selector == "++KELVO_NAME") {
            value = path.substr(nameStart);
        } else if (selector == "++KELVO_VERZEICHNISS") {
            value = path.substr(0, nameStart);
        } else if (needsShell && shell == nullptr) {
            ReportMissingService(line, kShellService);
        } else if (selector == "++KELVO_QUELLPFAD") {
            value = FolderText(shell->ProgramPath().parent_path());
        } else if (selector == "++KELVO_QUELLPFAD_WB") {
            value = FolderText(shell->KnowledgeBasePath().parent_path());
        } else if (selector == "++KELVO_QUELLPFAD+WB") {
            value = Utf8ToWindows1252(shell->KnowledgeBasePath().string());
        }
    }
    line.StoreName(value);
}

}  // namespace kelvo
