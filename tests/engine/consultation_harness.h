#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "authoring/knowledge_base_text.h"
#include "engine/consultation.h"
#include "platform/scripted/scripted_platform.h"
#include "store/random_source.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {

/// Runs a knowledge base written in the text form on the scripted platform and keeps the
/// consultation, its image (with the fact base) and the recorded events for the checks.
class ConsultationHarness {
  public:
    explicit ConsultationHarness(std::string_view text, std::vector<nlohmann::json> answers = {},
                                 ConsultationConfig config = {}, int factRecordReserve = 100000,
                                 ScriptedOptions options = {})
        : image_(config.programmingModule, factRecordReserve),
          platform_(Numbered(std::move(answers)), std::move(options)),
          random_(1),
          services_{platform_, platform_, platform_, random_, platform_} {
        TextImport imported = ImportKnowledgeBaseText(text, "test.txt");
        for (const std::string& fault : imported.faults) {
            ADD_FAILURE() << fault;
        }
        if (!image_.LoadImage(std::move(imported.records)).ok()) {
            ADD_FAILURE() << "the image did not load";
        }
        consultation_ = std::make_unique<Consultation>(image_, config, services_);
    }

    void Run() { consultation_->Run(); }

    Consultation& consultation() { return *consultation_; }
    FactBase& facts() { return consultation_->facts(); }
    KnowledgeBaseImage& image() { return image_; }
    ScriptedPlatform& platform() { return platform_; }

    /// The events of one kind, in order.
    std::vector<nlohmann::json> Events(std::string_view kind) const {
        std::vector<nlohmann::json> found;
        for (const nlohmann::json& event : platform_.events()) {
            if (event.at("event") == kind) {
                found.push_back(event);
            }
        }
        return found;
    }

    /// The captions of every message box, in order (UTF-8).
    std::vector<std::string> MessageCaptions() const {
        std::vector<std::string> captions;
        for (const nlohmann::json& event : Events("message")) {
            captions.push_back(event.at("caption"));
        }
        return captions;
    }

    /// The trimmed value of the newest fact of `name`, or "<none>".
    std::string Value(std::string_view name) {
        if (!facts().LookupFact(PadRight(name, FactBase::kFieldWidth))) {
            return "<none>";
        }
        return TrimRight(facts().FoundValue());
    }

    /// The certainty of the newest fact of `name`, or -1.
    int Certainty(std::string_view name) {
        return facts().LookupFact(PadRight(name, FactBase::kFieldWidth)) ? facts().FoundCertainty()
                                                                         : -1;
    }

    /// Every fact record as "NAME=VALUE/CERTAINTY/ORIGIN", oldest first.
    std::vector<std::string> FactList() {
        std::vector<std::string> list;
        for (int p = image_.FactBoundary() + 1; p <= image_.LastRecord(); ++p) {
            const std::string record = PadRight(image_.Text(p), 82);
            list.push_back(TrimRight(record.substr(0, 30)) + "=" +
                           TrimRight(record.substr(31, 30)) + "/" + record.substr(61, 2) + "/" +
                           record.substr(63, 2));
        }
        return list;
    }

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

}  // namespace kelvo
