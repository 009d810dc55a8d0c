#include "platform/scripted/scripted_desktop.h"

#include <system_error>
#include <utility>

#include "authoring/program_editor.h"
#include "platform/scripted/scripted_automation.h"
#include "platform/scripted/scripted_platform.h"
#include "shell/main_window.h"
#include "shell/start_window.h"
#include "shell/version_text.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

std::string Utf8(std::string_view bytes) {
    return Windows1252ToUtf8(bytes);
}

// The one key of an action object; empty when it has none or more than one.
std::string ActionKey(const nlohmann::json& action) {
    if (!action.is_object() || action.size() != 1) {
        return {};
    }
    return action.begin().key();
}

// A whole number of the JSON value; nothing for any other value.
std::optional<int> WholeNumber(const nlohmann::json& value) {
    if (value.is_number_integer()) {
        const auto number = value.get<std::int64_t>();
        if (number >= -1000000000 && number <= 1000000000) {
            return static_cast<int>(number);
        }
    }
    return std::nullopt;
}

std::string Parent(std::string_view windows1252Path) {
    return Utf8ToWindows1252(std::filesystem::path(Utf8(windows1252Path)).parent_path().string());
}

std::string CurrentFolder() {
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return error ? std::string() : Utf8ToWindows1252(current.string());
}

}  // namespace

ScriptedDesktop::ScriptedDesktop(ScriptedPlatform& platform, ScriptedAutomation& automation,
                                 std::filesystem::path programPath)
    : platform_(platform), automation_(automation), programPath_(std::move(programPath)) {}

// ---- Actions ------------------------------------------------------------------------------------

std::optional<ScriptedAnswer> ScriptedDesktop::NextAction() {
    if (stopped_ || platform_.StopRequested()) {
        stopped_ = true;
        return std::nullopt;
    }
    if (platform_.PeekAnswer() == nullptr) {
        stopped_ = true;
        ranOut_ = true;
        return std::nullopt;
    }
    return platform_.TakeAnswer();
}

void ScriptedDesktop::Misfit(const ScriptedAnswer& action, const std::string& why) {
    platform_.ReportMisfit(action.line, why);
    stopped_ = true;
}

void ScriptedDesktop::RunMainWindow(TForm1& window) {
    while (!window.Closed()) {
        std::optional<ScriptedAnswer> action = NextAction();
        if (!action) {
            return;
        }
        MainWindowAction(window, *action);
        // The capture's timer ticks once while the user does the next thing.
        if (!stopped_ && window.TimerRunning()) {
            window.Timer1Timer();
        }
    }
}

void ScriptedDesktop::MainWindowAction(TForm1& window, const ScriptedAnswer& action) {
    const std::string key = ActionKey(action.value);
    const nlohmann::json* value = key.empty() ? nullptr : &action.value.at(key);
    if (key == "menu" && value->is_string()) {
        const std::string name = value->get<std::string>();
        const std::optional<ShellCommand> command = ShellCommandNamed(Utf8ToWindows1252(name));
        if (!command) {
            Misfit(action, "das Hauptfenster hat keinen Befehl \"" + name + "\"");
        } else if (!window.Click(*command)) {
            Misfit(action, "der Befehl \"" + name + "\" ist gesperrt");
        }
    } else if (key == "key" && *value == "F2") {
        window.FormKeyDown(kVirtualKeyF2);
    } else if (key == "close" && *value == true) {
        window.CanClose();
    } else if (key == "pointer" && value->is_array() && value->size() == 2 &&
               WholeNumber((*value)[0]) && WholeNumber((*value)[1])) {
        automation_.SetPointer(*WholeNumber((*value)[0]), *WholeNumber((*value)[1]));
    } else {
        Misfit(action, "das Hauptfenster hat keine Aktion " + action.value.dump());
    }
}

void ScriptedDesktop::ShowEditor(TForm2& editor) {
    platform_.Record(EditorEvent(editor));
    while (!editor.Closed()) {
        std::optional<ScriptedAnswer> action = NextAction();
        if (!action) {
            return;  // the program is being stopped: the editor goes without closing
        }
        EditorAction(editor, *action);
        if (stopped_) {
            return;
        }
        platform_.Record(EditorEvent(editor));
    }
}

void ScriptedDesktop::EditorAction(TForm2& editor, const ScriptedAnswer& action) {
    const std::string key = ActionKey(action.value);
    const nlohmann::json* value = key.empty() ? nullptr : &action.value.at(key);
    if (key == "type" && value->is_string()) {
        editor.TypeText(Utf8ToWindows1252(value->get<std::string>()));
        return;
    }
    if (key == "key" && value->is_string()) {
        if (const std::optional<EditorKey> editorKey = EditorKeyNamed(value->get<std::string>())) {
            editor.PressKey(*editorKey);
            return;
        }
    }
    if (key == "click" && value->is_string()) {
        const std::string name = value->get<std::string>();
        const std::optional<EditorButton> button = EditorButtonNamed(name);
        if (!button) {
            Misfit(action, "der Editor hat keinen Schalter \"" + name + "\"");
        } else if (!editor.Click(*button)) {
            Misfit(action, "der Schalter \"" + name + "\" ist gesperrt");
        }
        return;
    }
    if (key == "row") {
        const std::optional<int> offset = WholeNumber(*value);
        if (offset && *offset != 0 && *offset >= -TForm2::kRowsAround &&
            *offset <= TForm2::kRowsAround) {
            editor.Text1Click(*offset);
            return;
        }
    }
    if (key == "scroll") {
        const std::optional<int> position = WholeNumber(*value);
        const TForm2::ScrollBarState bar = editor.ScrollBar();
        if (position && *position >= bar.minimum && *position <= bar.maximum) {
            editor.ScrollBar1Scroll(*position);
            return;
        }
    }
    if (key == "wheel") {
        const std::optional<int> delta = WholeNumber(*value);
        if (delta && (*delta == 120 || *delta == -120)) {
            editor.MouseWheelHandler(*delta);
            return;
        }
    }
    if (key == "middle" && *value == true) {
        editor.FormMouseDown(MouseButton::Middle);
        return;
    }
    if (key == "select" && value->is_array() && value->size() == 2) {
        const std::optional<int> start = WholeNumber((*value)[0]);
        const std::optional<int> length = WholeNumber((*value)[1]);
        if (start && length && *start >= 0 && *length >= 0) {
            editor.SetSelection(*start, *length);
            return;
        }
    }
    Misfit(action, "der Editor hat keine Aktion " + action.value.dump());
}

// ---- Windows ------------------------------------------------------------------------------------

void ScriptedDesktop::ShowStartWindow(TForm4& window) {
    const std::uint32_t before = platform_.TickCount();
    const WindowRect bounds = window.Bounds();
    nlohmann::json event{{"event", "startwindow"}, {"picture", window.PictureMarked()},
                         {"left", bounds.left},    {"top", bounds.top},
                         {"width", bounds.width},  {"height", bounds.height}};
    window.WndProcPaint();
    event["waited"] = platform_.TickCount() - before;
    platform_.Record(std::move(event));
}

void ScriptedDesktop::ShowAboutBox(const AboutBox& about) {
    platform_.Record({{"event", "about"},
                      {"caption", Utf8(about.caption)},
                      {"product", Utf8(about.productName)},
                      {"version", Utf8(about.version)}});
}

void ScriptedDesktop::SetMainWindowVisible(bool visible) {
    platform_.Record({{"event", "mainwindow"}, {"visible", visible}});
}

void ScriptedDesktop::MainWindowChanged(const TForm1& window) {
    platform_.Record(MainEvent(window));
}

nlohmann::json ScriptedDesktop::MainEvent(const TForm1& window) {
    nlohmann::json enabled = nlohmann::json::object();
    for (const ShellCommandView& view : kShellCommands) {
        enabled[Utf8(view.name)] = window.Enabled(view.command);
    }
    return {{"event", "main"},
            {"title", Utf8(window.Title())},
            {"enabled", std::move(enabled)},
            {"file", Utf8(window.CurrentFileName())}};
}

nlohmann::json ScriptedDesktop::EditorEvent(const TForm2& editor) {
    nlohmann::json rows = nlohmann::json::array();
    for (int offset = -TForm2::kRowsAround; offset <= TForm2::kRowsAround; ++offset) {
        if (offset != 0) {
            rows.push_back(Utf8(TrimRight(editor.Row(offset).text)));
        }
    }
    nlohmann::json enabled = nlohmann::json::object();
    for (const EditorButton button : AllEditorButtons()) {
        enabled[std::string(EditorButtonName(button))] = editor.Enabled(button);
    }
    const TForm2::TextSelection selection = editor.Selection();
    return {{"event", "editor"},
            {"current", editor.CurrentLine()},
            {"line", Utf8(editor.Edit8Text())},
            {"changed", editor.Edit8Changed()},
            {"rows", std::move(rows)},
            {"counter", Utf8(editor.Counter())},
            {"marks", Utf8(editor.Label7().text)},
            {"block", {editor.BlockStart(), editor.BlockEnd()}},
            {"enabled", std::move(enabled)},
            {"selection", {selection.start, selection.length}},
            {"checkbox", editor.Markierungszeichen()}};
}

// ---- Dialogs ------------------------------------------------------------------------------------

std::optional<std::string> ScriptedDesktop::InputQuery(std::string_view title,
                                                       std::string_view prompt,
                                                       std::string_view preset) {
    nlohmann::json event{{"event", "input"},
                         {"title", Utf8(title)},
                         {"prompt", Utf8(prompt)},
                         {"preset", Utf8(preset)}};
    std::optional<std::string> answer;
    if (!stopped_ && !platform_.StopRequested()) {
        const ScriptedAnswer* next = platform_.PeekAnswer();
        if (next == nullptr) {
            platform_.NoteRanOut();  // cancelled
        } else {
            const std::string key = ActionKey(next->value);
            const nlohmann::json* value = key == "input" ? &next->value.at(key) : nullptr;
            if (value != nullptr && (value->is_string() || value->is_null())) {
                const ScriptedAnswer taken = platform_.TakeAnswer();
                if (taken.value.at("input").is_string()) {
                    answer = Utf8ToWindows1252(taken.value.at("input").get<std::string>());
                }
            } else {
                const std::string found = next->value.dump();
                Misfit(platform_.TakeAnswer(),
                       "erwartet {\"input\":\"TEXT\"} oder {\"input\":null} f\xC3\xBCr das "
                       "Eingabefenster, gefunden " +
                           found);
            }
        }
    }
    event["answer"] = answer ? nlohmann::json(Utf8(*answer)) : nlohmann::json(nullptr);
    platform_.Record(std::move(event));
    return answer;
}

void ScriptedDesktop::Show() {
    platform_.Record({{"event", "progress"}, {"action", "show"}});
}

void ScriptedDesktop::Close() {
    platform_.Record({{"event", "progress"}, {"action", "close"}});
}

bool ScriptedDesktop::PumpOneEvent() {
    return platform_.PumpOneEvent();
}

std::optional<std::string> ScriptedDesktop::Choose(bool save, FileDialogRequest request) {
    std::string& last = save ? lastSaveFolder_ : lastOpenFolder_;
    if (request.folder.empty()) {
        request.folder = last.empty() ? CurrentFolder() : last;
    }
    std::optional<std::string> chosen =
        save ? platform_.SaveFileName(request) : platform_.OpenFileName(request);
    if (chosen) {
        last = Parent(*chosen);
    }
    return chosen;
}

std::optional<std::string> ScriptedDesktop::OpenFileName(const FileDialogRequest& request) {
    return Choose(false, request);
}

std::optional<std::string> ScriptedDesktop::SaveFileName(const FileDialogRequest& request) {
    return Choose(true, request);
}

void ScriptedDesktop::PrinterSetup() {
    platform_.PrinterSetup();
}

bool ScriptedDesktop::OpenDocument(std::string_view target) {
    std::error_code error;
    const bool opened =
        !target.empty() && (target.find("://") != std::string_view::npos ||
                            std::filesystem::exists(std::filesystem::path(target), error));
    platform_.Record(
        {{"event", "open"}, {"path", std::string(target)}, {"verb", "open"}, {"opened", opened}});
    return opened;
}

bool ScriptedDesktop::StartProcess(const std::vector<std::string>& arguments,
                                   const std::filesystem::path& workingFolder) {
    return platform_.StartProcess(arguments, workingFolder);
}

}  // namespace kelvo
