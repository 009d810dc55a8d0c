// The `kelvo-cli desktop` script reader: a script of actions (JSON Lines) drives the whole
// application on the scripted desktop — main window, editor, dialogs and consultations —
// with the knowledge base WETTER.WBP of the fixtures in the current folder. A first line
// "#user" starts the user module, whose program folder holds the same knowledge base as
// KELVO.WBB. Consultations are bounded in engine steps.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/consult_session.h"
#include "authoring/knowledge_base_text.h"
#include "engine/consultation.h"
#include "engine/start_command.h"
#include "fuzz/bounded_session.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_file.h"
#include "platform/database/database_files.h"
#include "platform/scripted/scripted_automation.h"
#include "platform/scripted/scripted_desktop.h"
#include "platform/scripted/scripted_platform.h"
#include "platform/scripted/scripted_printer.h"
#include "shell/main_window.h"
#include "shell/shell_services.h"
#include "store/knowledge_base_file.h"
#include "store/random_source.h"

namespace kelvo {
namespace {

std::string FixtureBytes() {
    std::ifstream in(std::filesystem::path(KELVO_SOURCE_DIR) / "tests/app/fixtures/weather.txt",
                     std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const TextImport imported = ImportKnowledgeBaseText(text, "weather.txt");
    FuzzExpect(imported.ok() && !imported.records.empty(), "the fixture is missing",
               KELVO_SOURCE_DIR);
    std::string bytes;
    for (const LineRecord& record : imported.records) {
        bytes.append(reinterpret_cast<const char*>(record.bytes().data()), LineRecord::kSize);
    }
    return bytes;
}

}  // namespace
}  // namespace kelvo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    static const std::string fixture = FixtureBytes();
    std::string_view script(reinterpret_cast<const char*>(data), size);
    bool programmingModule = true;
    if (script.starts_with("#user")) {
        programmingModule = false;
        script.remove_prefix(5);
    }
    auto actions = cli::ParseAnswers(script, "fuzz.jsonl");
    if (!actions) {
        return 0;
    }
    // A fresh folder of our own for each input: the knowledge base and the program's run-only
    // file, which the actions may change, create or remove.
    const std::filesystem::path folder = std::filesystem::current_path() / FuzzFileName(".d");
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder, error);
    if (error || !WriteFuzzFile((folder / "WETTER.WBP").string(), fixture) ||
        !WriteFuzzFile((folder / "KELVO.WBB").string(), fixture)) {
        return 0;
    }
    const std::filesystem::path programPath = folder / "kelvo";
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder, error);

    ScriptedOptions scripted;
    scripted.programPath = programPath.string();
    ScriptedPlatform platform(std::move(*actions), scripted);
    BoundedSession session(platform);
    ScriptedAutomation automation(platform, platform, ScriptedScreenOptions{});
    ScriptedPrinter printer(platform, ScriptedPrinterOptions{});
    DatabaseFiles database;
    SeededRandomSource random(1);
    ScriptedDesktop desktop(platform, automation, programPath);
    ShellServices services{desktop, session, session,  platform, random, platform,
                           desktop, desktop, platform, desktop,  desktop};
    services.printer = &printer;
    services.media = &platform;
    services.database = &database;
    services.automation = &automation;
    {
        ShellConfig config;
        config.programmingModule = programmingModule;
        config.programPath = programPath;
        TForm1 window(config, services);
        StartCommandHooks hooks;
        hooks.finished = [&](Consultation& consultation) {
            if (session.Spent() || platform.StopRequested() || desktop.stopped()) {
                consultation.SetRestartRequested(false);
            }
        };
        window.SetConsultationHooks(hooks);
        window.Loaded();
        window.FormCreate();
        window.FormShow();
        desktop.RunMainWindow(window);
    }
    std::filesystem::current_path(previous, error);
    return 0;
}
