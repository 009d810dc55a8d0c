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
class DesktopRun {
  public:
    DesktopRun(const std::vector<std::string>& lines, std::vector<nlohmann::json> answers = {},
               ScriptedOptions options = {}, DesktopOffer offer = {})
        : image_(true, 100000),
          platform_(Numbered(std::move(answers)), std::move(options)),
          random_(1),
          services_{platform_, platform_, platform_, random_, platform_} {
        if (offer.clipboard) {
            services_.clipboard = &platform_;
        }
        if (offer.fileDialogs) {
            services_.fileDialogs = &platform_;
        }
        if (offer.shell) {
            services_.shell = &platform_;
        }
        std::string text = kVariableTaskHead;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        TextImport imported = ImportKnowledgeBaseText(text + "K\n", "test.txt");
        for (const std::string& fault : imported.faults) {
            ADD_FAILURE() << fault;
        }
        if (!image_.LoadImage(std::move(imported.records)).ok()) {
            ADD_FAILURE() << "the image did not load";
        }
        consultation_ = std::make_unique<Consultation>(image_, ConsultationConfig{}, services_);
        InstallVariableCommands(*consultation_);
        consultation_->Run();
    }

    /// The untrimmed value of `name`, or "<none>".
    std::string RawValue(std::string_view name) {
        FactBase& facts = consultation_->facts();
        return facts.LookupFact(PadRight(name, FactBase::kFieldWidth)) ? facts.FoundValue()
                                                                       : "<none>";
    }
    /// The trimmed value of `name`, or "<none>".
    std::string Value(std::string_view name) {
        const std::string raw = RawValue(name);
        return raw == "<none>" ? raw : TrimRight(raw);
    }

    int ErrorCode() { return consultation_->LastErrorCode(); }

    std::vector<nlohmann::json> Events(std::string_view kind) const {
        std::vector<nlohmann::json> found;
        for (const nlohmann::json& event : platform_.events()) {
            if (event.at("event") == kind) {
                found.push_back(event);
            }
        }
        return found;
    }

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

    ScriptedPlatform& platform() { return platform_; }

  private:
    static std::vector<ScriptedAnswer> Numbered(std::vector<nlohmann::json> answers) {
        std::vector<ScriptedAnswer> numbered;
        int line = 0;
        for (nlohmann::json& answer : answers) {
            numbered.push_back({std::move(answer), ++line});
        }
        return numbered;
    }

    KnowledgeBaseImage image_;
    ScriptedPlatform platform_;
    SeededRandomSource random_;
    ConsultationServices services_;
    std::unique_ptr<Consultation> consultation_;
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
