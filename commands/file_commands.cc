// The file and folder commands "O", "I", "U", "Ö", "J", "W", "F", "1", "2", "3" and "4".
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "commands/command_handlers.h"
#include "commands/command_variables.h"
#include "commands/file_operations.h"
#include "commands/missing_service.h"
#include "commands/text_file.h"
#include "commands/variable_command.h"
#include "platform/desktop_shell.h"
#include "platform/file_dialogs.h"
#include "platform/path_lookup.h"
#include "store/fact_base.h"
#include "store/knowledge_base_image.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFileErrorName = "[+DATEIFEHLER    ]";
constexpr std::string_view kAllFilesFilter = "Alle Dateien|*.*";
constexpr std::string_view kOpenDialogTitle = "Datei ausw\xE4hlen";
constexpr std::string_view kFileDialogsService = "die Dateiauswahl";
constexpr std::string_view kErrorCaption = "Fehlermeldung";
constexpr std::string_view kOverwriteQuestion =
    "Vorhandene Textdatei \xFC"
    "berschreiben ?";
constexpr std::string_view kOverwriteCaption = "Fehlermeldung!";
constexpr std::string_view kNotSavedMessage = "Textdatei konnte nicht gespeichert werden !";
constexpr std::string_view kNotLoadedMessage = "Textdatei konnte nicht geladen werden !";

// "[+DATEIFEHLER    ]" := 0 for a success, 1 for a failure.
void ReportSuccess(VariableLine& line, bool success) {
    line.Store(kFileErrorName, FormatStoredNumber(success ? 0.0 : 1.0));
}

// The file name of a text file: `extension` (".TXT" or ".RTF") is appended unless the name
// already ends with it in any case.
std::string WithExtension(std::string name, std::string_view extension) {
    if (name.size() < extension.size() ||
        ToUpper(std::string_view(name).substr(name.size() - extension.size())) != extension) {
        name += extension;
    }
    return name;
}

void Warn(VariableLine& line, std::string_view text) {
    line.consultation().ShowMessage(text, kErrorCaption, MessageIcon::Warning, MessageButtons::Ok);
}

// After either file dialog the current folder is the running knowledge base's folder.
void EnterKnowledgeBaseFolder(VariableLine& line) {
    DesktopShell* shell = line.consultation().services().shell;
    if (shell == nullptr) {
        return;
    }
    const fs::path folder = shell->KnowledgeBasePath().parent_path();
    std::error_code error;
    if (!folder.empty()) {
        fs::current_path(folder, error);  // a folder that has gone leaves the current one
    }
}

// "W" and "F": the dialog with the operand's filter; the chosen path goes to the name variable.
void ChooseFile(VariableLine& line, bool save) {
    const HiddenSessionWindow hidden(line);
    const std::optional<std::string> operand = line.OperandValue();
    const std::vector<FileFilter> filters =
        SplitFileFilter(operand ? TrimRight(*operand) : std::string(kAllFilesFilter));
    FileDialogs* dialogs = line.consultation().services().fileDialogs;
    if (dialogs == nullptr) {
        ReportMissingService(line, kFileDialogsService);
    } else {
        const std::optional<std::string> chosen =
            save ? dialogs->SaveFileName({"", filters, ""})
                 : dialogs->OpenFileName({std::string(kOpenDialogTitle), filters, ""});
        if (chosen) {
            line.StoreName(*chosen);
        }
    }
    EnterKnowledgeBaseFolder(line);
}

// "1" and "3": the operand variable's trimmed text into the file the name variable names.
void WriteText(VariableLine& line, std::string_view extension, bool quiet) {
    const HiddenSessionWindow hidden(line);
    const std::optional<std::string> name = line.NameValue();
    if (!name) {
        return;
    }
    const fs::path file = ResolvePath(WithExtension(TrimRight(*name), extension));
    std::error_code error;
    if (!quiet && fs::exists(file, error) &&
        line.consultation().ShowMessage(kOverwriteQuestion, kOverwriteCaption,
                                        MessageIcon::Question,
                                        MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    const std::optional<std::string> text = line.OperandValue();
    if (!text) {
        return;
    }
    if (!SaveTextFile(file, TrimRight(*text), line.consultation().services().fileFaults) &&
        !quiet) {
        Warn(line, kNotSavedMessage);
    }
}

// The size of the largest file whose text could still fit into the fact base: every character
// of a value takes one of the 30 columns of a record, and a file's bytes may shrink to a
// quarter of their number as its text (UTF-16 or UTF-8 read into the code page). A larger file
// would only fill the memory before the fact base refused its text.
std::uintmax_t LargestUsableText(VariableLine& line) {
    const KnowledgeBaseImage& image = line.consultation().image();
    const auto freeRecords =
        static_cast<std::uintmax_t>(std::max(0, image.ImageCapacity() - image.LastRecord() - 1));
    return 4 * freeRecords * FactBase::kFieldWidth;
}

// "2" and "4": the text of the file the name variable names into the operand variable.
void ReadText(VariableLine& line, std::string_view extension, bool quiet) {
    const std::optional<std::string> name = line.NameValue();
    if (!name) {
        return;
    }
    const std::optional<std::string> text = LoadTextFile(
        ResolvePath(WithExtension(TrimRight(*name), extension)), LargestUsableText(line));
    if (!text) {
        if (!quiet) {
            Warn(line, kNotLoadedMessage);
        }
        return;
    }
    line.Store(line.OperandField(), TrimRight(*text));
}

}  // namespace

// "O" copy: CopyDir(name, operand), both required.
void CopyFiles(VariableLine& line) {
    const std::optional<std::string> from = line.NameValue();
    const std::optional<std::string> to = line.OperandValue();
    if (!from || !to) {
        line.Fail();
        return;
    }
    ReportSuccess(line, CopyDir(TrimRight(*from), TrimRight(*to)));
}

// "I" create the folder path with all missing parents; the name variable is required.
void CreateFolder(VariableLine& line) {
    const std::optional<std::string> name = line.NameValue();
    if (!name) {
        line.Fail();
        return;
    }
    const std::string folder = TrimRight(*name);
    bool created = false;
    if (!folder.empty()) {
        const fs::path path = ResolvePath(folder);
        std::error_code error;
        fs::create_directories(path, error);
        created = !error && fs::is_directory(path, error);
    }
    ReportSuccess(line, created);
}

// "U" move or rename; both required.
void MoveOrRename(VariableLine& line) {
    const HiddenSessionWindow hidden(line);
    const std::optional<std::string> from = line.NameValue();
    const std::optional<std::string> to = line.OperandValue();
    if (!from || !to) {
        line.Fail();
        return;
    }
    ReportSuccess(line, MoveFileOrFolder(TrimRight(*from), TrimRight(*to)));
}

// "Ö" delete; both required although only the name variable is used.
void DeleteMatchingFiles(VariableLine& line) {
    const HiddenSessionWindow hidden(line);
    const std::optional<std::string> file = line.NameValue();
    if (!file || !line.OperandValue()) {
        line.Fail();
        return;
    }
    ReportSuccess(line, DeleteFiles(TrimRight(*file)));
}

// "J" "[+SYSTEM_VAR_0001]" := 1 when a file (not a folder) of that path exists, else 0.
void FileExists(VariableLine& line) {
    const std::optional<std::string> name = line.NameValue();
    if (!name) {
        return;
    }
    std::error_code error;
    const bool exists = fs::is_regular_file(ResolvePath(TrimRight(*name)), error);
    line.Store(kSystemVar1Name, FormatStoredNumber(exists ? 1.0 : 0.0));
}

void OpenFileDialog(VariableLine& line) {
    ChooseFile(line, false);
}

void SaveFileDialog(VariableLine& line) {
    ChooseFile(line, true);
}

void SaveText(VariableLine& line) {
    WriteText(line, ".TXT", false);
}

void LoadText(VariableLine& line) {
    ReadText(line, ".TXT", false);
}

// "3" and "4" work on the plain text of a ".RTF" file, silently.
void SaveRichText(VariableLine& line) {
    WriteText(line, ".RTF", true);
}

void LoadRichText(VariableLine& line) {
    ReadText(line, ".RTF", true);
}

}  // namespace kelvo
