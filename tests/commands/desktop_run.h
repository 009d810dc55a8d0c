#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "authoring/knowledge_base_text.h"
#include "commands/install_variable_commands.h"
#include "engine/consultation.h"
#include "platform/scripted/scripted_platform.h"
#include "store/random_source.h"
#include "store/text_field.h"
#include "tests/commands/command_run.h"
#include "tests/engine/consultation_harness.h"

namespace kelvo {

/// Makes `folder` the current folder for as long as it lives, then goes back.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::filesystem::path& folder) {
        std::error_code error;
        previous_ = std::filesystem::current_path(error);
        std::filesystem::current_path(folder, error);
        EXPECT_FALSE(error) << folder;
    }
    ~CurrentFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

  private:
    std::filesystem::path previous_;
};

/// Which desktop services a DesktopRun offers.
struct DesktopOffer {
    bool clipboard = true;
    bool fileDialogs = true;
    bool shell = true;
};

/// Runs "J" lines like CommandRun, with the scripted platform also serving as clipboard, file
/// dialogs and desktop shell (as `offer` says) and with `options` (paths of the program and of
/// the knowledge base, the clipboard's text).
class DesktopRun : public ConsultationHarness {
  public:
    DesktopRun(const std::vector<std::string>& lines, std::vector<nlohmann::json> answers = {},
               ScriptedOptions options = {}, DesktopOffer offer = {})
        : ConsultationHarness(Text(lines), std::move(answers), ConsultationConfig{}, 100000,
                              std::move(options)) {
        ConsultationServices& services = consultation().services();
        services.clipboard = offer.clipboard ? &platform() : nullptr;
        services.fileDialogs = offer.fileDialogs ? &platform() : nullptr;
        services.shell = offer.shell ? &platform() : nullptr;
        InstallVariableCommands(consultation());
        Run();
    }

    /// The untrimmed value of `name`, or "<none>".
    std::string RawValue(std::string_view name) {
        return facts().LookupFact(PadRight(name, FactBase::kFieldWidth)) ? facts().FoundValue()
                                                                         : "<none>";
    }

    int ErrorCode() { return consultation().LastErrorCode(); }

    /// The texts of the message boxes other than the error box, in order (UTF-8).
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const nlohmann::json& event : Events("message")) {
            const std::string caption = event.at("caption");
            if (!caption.starts_with("Fehlermeldung in Zeile")) {
                texts.push_back(event.at("text"));
            }
        }
        return texts;
    }

  private:
    static std::string Text(const std::vector<std::string>& lines) {
        std::string text = kVariableTaskHead;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        return text + "K\n";
    }
};

/// The whole content of a file, or "<missing>".
inline std::string FileText(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return "<missing>";
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::string text;
    if (file != nullptr) {
        char buffer[4096];
        std::size_t read = 0;
        while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            text.append(buffer, read);
        }
        std::fclose(file);
    }
    return text;
}

/// Writes `text` to `path` as it is.
inline void WriteFile(const std::filesystem::path& path, std::string_view text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

}  // namespace kelvo
