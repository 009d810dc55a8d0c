#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "store/knowledge_base_file.h"
#include "store/text_field.h"
#include "tests/engine/consultation_harness.h"

namespace kelvo {

/// Values the block's "= (V)" action stores before the action under test runs: name and value.
using PresetFacts = std::vector<std::pair<std::string, std::string>>;

/// The position of the first line of the action's body in ExchangeProgram.
inline constexpr int kFirstBodyLine = 10;

/// A program whose goal needs B; concluding B runs B's task block: "= (V)" stores the preset
/// facts (through a runner the test installs), then `action` ("«", "»" or "C") runs `body`.
inline std::string ExchangeProgram(std::string_view action, const std::vector<std::string>& body) {
    std::string text =
        "Z ZIEL\nR ZIEL . ja\nU B (99) . b\nR B . b\nU A (99) . x\nF A (99) . x\n"
        "B B . b\n= (V)\nJ +X . y\n= (" +
        std::string(action) + ")\n";
    for (const std::string& line : body) {
        text += line + "\n";
    }
    return text + "K\n";
}

/// Runs ExchangeProgram with the preset facts.
inline std::unique_ptr<ConsultationHarness> RunProgram(const std::string& program,
                                                       PresetFacts facts,
                                                       ConsultationConfig config = {},
                                                       std::vector<nlohmann::json> answers = {},
                                                       Printer* printer = nullptr) {
    auto run = std::make_unique<ConsultationHarness>(program, std::move(answers), config);
    run->consultation().services().printer = printer;
    run->consultation().SetTaskRunner(
        TaskSlot::VariableCommands, [facts = std::move(facts)](Consultation& c, int) {
            for (const auto& [name, value] : facts) {
                c.facts().StoreFact(PadRight(name, 30), value, "99", "02");
            }
        });
    run->Run();
    return run;
}

/// Writes a record file with the given record texts.
inline void WriteRecordFile(const std::filesystem::path& path,
                            const std::vector<std::string>& texts) {
    auto file = KnowledgeBaseFile::Create(path);
    ASSERT_TRUE(file.ok()) << file.error().message;
    std::vector<LineRecord> records;
    for (const std::string& text : texts) {
        records.emplace_back(text);
    }
    ASSERT_TRUE(file->WriteAll(records).ok());
}

/// The record texts of a record file; one entry "<unreadable>" when it does not open.
inline std::vector<std::string> ReadRecordFile(const std::filesystem::path& path) {
    auto file = KnowledgeBaseFile::Open(path, KnowledgeBaseFile::Mode::ReadOnly);
    if (!file) {
        return {"<unreadable>"};
    }
    auto records = file->ReadAll();
    if (!records) {
        return {"<unreadable>"};
    }
    std::vector<std::string> texts;
    for (const LineRecord& record : *records) {
        texts.emplace_back(record.text());
    }
    return texts;
}

}  // namespace kelvo
