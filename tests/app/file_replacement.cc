#include "tests/app/file_replacement.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "app/cli/consult_session.h"
#include "app/cli/import_run.h"
#include "authoring/knowledge_base_text.h"
#include "commands/install_variable_commands.h"
#include "shell/main_window.h"
#include "store/file_fault_injector.h"
#include "store/line_record.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"
#include "tests/commands/command_run.h"
#include "tests/commands/desktop_run.h"
#include "tests/engine/exchange_fixture.h"
#include "tests/shell/fake_desktop.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram =
    "K Beratung\n"
    "Z GETRAENK\n"
    "R GETRAENK . Tee\n"
    "U WETTER (90) . kalt\n"
    "F WETTER (99) . kalt\n"
    "K\n";

// The bytes of a record file holding `texts`.
std::string RecordBytes(const std::vector<std::string>& texts) {
    std::string bytes;
    for (const std::string& text : texts) {
        const LineRecord record(text);
        bytes.append(reinterpret_cast<const char*>(record.bytes().data()), record.bytes().size());
    }
    return bytes;
}

// The record file of a program in the text form.
std::string ProgramBytes(const std::string& text) {
    const TextImport imported = ImportKnowledgeBaseText(text, "test.txt");
    EXPECT_TRUE(imported.ok());
    std::string bytes;
    for (const LineRecord& record : imported.records) {
        bytes.append(reinterpret_cast<const char*>(record.bytes().data()), record.bytes().size());
    }
    return bytes;
}

// The run-only file of kProgram with "#" for its random digits: every line but the comments,
// and the last line.
std::string DerivedBytes() {
    const TextImport imported = ImportKnowledgeBaseText(kProgram, "test.txt");
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < imported.records.size(); ++i) {
        const std::string_view text = imported.records[i].text();
        if (!text.starts_with('K') || i + 1 == imported.records.size()) {
            texts.push_back(std::string(text) + "#");
        }
    }
    return RecordBytes(texts);
}

// A run-only file with the random digit of every record (its 84th column) made "#".
std::string WithoutDigits(const std::string& bytes) {
    std::string out = bytes;
    for (std::size_t at = 0; at + LineRecord::kSize <= out.size(); at += LineRecord::kSize) {
        const auto length = static_cast<unsigned char>(out[at]);
        if (length > 0 && length < LineRecord::kSize) {
            out[at + length] = '#';
        }
    }
    return out;
}

// What the desktop said, message boxes only, as "CAPTION | TEXT".
std::vector<std::string> DesktopMessages(const FakeDesktop& desktop) {
    std::vector<std::string> messages;
    for (const std::string& line : desktop.Lines("message ")) {
        messages.push_back(line.substr(8));
    }
    return messages;
}

// The main window of the programming module on a fake desktop, with the program's folder
// `folder`.
struct MainWindowRun {
    MainWindowRun(const fs::path& folder, FileFaultInjector* faults)
        : services(desktop.Services()) {
        services.fileFaults = faults;
        ShellConfig config;
        config.programmingModule = true;
        config.programPath = folder / "kelvo";
        form = std::make_unique<TForm1>(config, services);
        form->Loaded();
        form->FormCreate();
        form->FormShow();
    }
    FakeDesktop desktop;
    ShellServices services;
    std::unique_ptr<TForm1> form;
};

ReplacementResult Derive(const fs::path& folder, FileFaultInjector* faults) {
    MainWindowRun run(folder, nullptr);
    run.desktop.files.push_back((folder / "rat.wbp").string());
    run.form->Click(ShellCommand::Oeffnen);
    run.desktop.log.clear();
    run.services.fileFaults = faults;  // only the derivation's write fails
    run.desktop.answers.push_back(MessageAnswer::Yes);
    run.form->Click(ShellCommand::Compilieren);
    ReplacementResult result;
    result.messages = DesktopMessages(run.desktop);
    result.succeeded =
        !result.messages.empty() && result.messages.back().find("erfolgreich") != std::string::npos;
    return result;
}

ReplacementResult CreateKnowledgeBase(const fs::path& folder, FileFaultInjector* faults) {
    MainWindowRun run(folder, faults);
    run.desktop.files.push_back((folder / "neu.WBP").string());
    run.form->Click(ShellCommand::Neu);
    ReplacementResult result;
    result.messages = DesktopMessages(run.desktop);
    result.succeeded = run.form->KnowledgeBaseOpen();
    return result;
}

// The error boxes and other messages of a consultation, as "CAPTION | TEXT".
std::vector<std::string> ConsultationMessages(const ConsultationHarness& run) {
    std::vector<std::string> messages;
    for (const nlohmann::json& event : run.Events("message")) {
        messages.push_back(event.at("caption").get<std::string>() + " | " +
                           event.at("text").get<std::string>());
    }
    return messages;
}

ReplacementResult ExchangeWrite(const fs::path& folder, FileFaultInjector* faults) {
    ConsultationConfig config;
    config.programmingModule = false;
    ConsultationHarness run(ExchangeProgram("\xC2\xBB", {"W ++DATEI (1000) (1)"}), {}, config);
    run.consultation().services().fileFaults = faults;
    const std::string file = (folder / "OTHER.WBP").string();
    run.consultation().SetTaskRunner(TaskSlot::VariableCommands, [file](Consultation& c, int) {
        c.facts().StoreFact(PadRight("++DATEI", 30), file, "99", "02");
        c.facts().StoreFact(PadRight("[+WBNR           ]", 30), FormatStoredNumber(1.0), "99",
                            "02");
    });
    run.Run();
    ReplacementResult result;
    result.messages = ConsultationMessages(run);
    result.succeeded = run.consultation().LastErrorCode() == 0;
    return result;
}

// "1" or "3" writing the text "neu" into "brief.TXT" or "brief.RTF"; "1" asks before it
// replaces a file, and is answered yes.
ReplacementResult TextWrite(const fs::path& folder, FileFaultInjector* faults, char command) {
    const CurrentFolder inFolder(folder);
    const std::string extension = command == '1' ? ".TXT" : ".RTF";
    std::vector<nlohmann::json> answers;
    if (command == '1' && fs::exists(folder / ("brief" + extension))) {
        answers.push_back({{"answer", "yes"}});
    }
    std::string text = kVariableTaskHead;
    text += "J ++D . brief\nJ ++T . neu\nJ ++D ";
    text += command;
    text += " ++T\nK\n";
    ConsultationHarness run(text, std::move(answers));
    run.consultation().services().fileFaults = faults;
    InstallVariableCommands(run.consultation());
    run.Run();
    ReplacementResult result;
    result.messages = ConsultationMessages(run);
    std::erase_if(result.messages, [](const std::string& message) {
        return message.find("berschreiben ?") != std::string::npos;  // the question asked
    });
    result.succeeded = result.messages.empty() && run.consultation().LastErrorCode() == 0;
    return result;
}

ReplacementResult Import(const fs::path& folder, FileFaultInjector* faults) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::RunImport(
        {(folder / "rat.txt").string(), (folder / "rat.WBP").string(), true}, out, err, faults);
    ReplacementResult result;
    result.succeeded = status == 0;
    if (!err.str().empty()) {
        result.messages.push_back(err.str());
    }
    return result;
}

ReplacementResult Transcript(const fs::path& folder, FileFaultInjector* faults) {
    std::ostringstream err;
    ReplacementResult result;
    result.succeeded = cli::WriteTranscriptFile((folder / "protokoll.jsonl").string(),
                                                "{\"event\":\"start\"}\n", err, faults);
    if (!err.str().empty()) {
        result.messages.push_back(err.str());
    }
    return result;
}

}  // namespace

std::vector<FileReplacement> FileReplacements() {
    std::vector<FileReplacement> all;
    all.push_back(
        {"RunOnlyDerivation", "rat.WBB", true, RecordBytes({"K ein frueherer Stand0"}),
         DerivedBytes(), WithoutDigits, "konnte nicht compiliert werden",
         [](const fs::path& folder) { WriteContent(folder / "rat.wbp", ProgramBytes(kProgram)); },
         Derive});
    all.push_back({"NewKnowledgeBase", "neu.WBP", false, "", RecordBytes({PadRight("K", 82)}),
                   nullptr, "Wissensbasis konnte nicht angelegt werden !", nullptr,
                   CreateKnowledgeBase});
    all.push_back({"DataExchangeWrite", "OTHER.WBP", true,
                   RecordBytes({PadRight("T Zeile 1", 82), PadRight("T Zeile 2", 82)}),
                   RecordBytes({PadRight("K", 82)}), nullptr, "Fehlermeldung in Zeile", nullptr,
                   ExchangeWrite});
    all.push_back({"TextFileCommand1", "brief.TXT", true, "alter Inhalt", "neu", nullptr,
                   "Textdatei konnte nicht gespeichert werden !", nullptr,
                   [](const fs::path& folder, FileFaultInjector* faults) {
                       return TextWrite(folder, faults, '1');
                   }});
    // "3" ignores every failure without a message.
    all.push_back({"TextFileCommand3", "brief.RTF", true, "alter Inhalt", "neu", nullptr, "",
                   nullptr, [](const fs::path& folder, FileFaultInjector* faults) {
                       return TextWrite(folder, faults, '3');
                   }});
    all.push_back({"CliImport", "rat.WBP", true, RecordBytes({"K alt"}), ProgramBytes(kProgram),
                   nullptr, "wurde nicht geschrieben",
                   [](const fs::path& folder) { WriteContent(folder / "rat.txt", kProgram); },
                   Import});
    all.push_back({"CliTranscript", "protokoll.jsonl", true, "{\"event\":\"alt\"}\n",
                   "{\"event\":\"start\"}\n", nullptr, "Protokoll konnte nicht geschrieben werden",
                   nullptr, Transcript});
    return all;
}

std::string FileContent(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteContent(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    ASSERT_TRUE(out) << path;
}

std::vector<std::string> PartialFiles(const fs::path& folder) {
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".partial") {
            found.push_back(entry.path().filename().string());
        }
    }
    return found;
}

}  // namespace kelvo
