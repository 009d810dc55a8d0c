#pragma once

// A fact base for the views' tests: a program of comment lines (and the media lines given)
// behind which facts are stored.

#include <string>
#include <vector>

#include "authoring/program_line_check.h"
#include "store/fact_base.h"
#include "store/knowledge_base_image.h"
#include "store/text_field.h"

namespace kelvo {

class FactFixture {
  public:
    explicit FactFixture(const std::vector<std::string>& mediaLines = {}) : image_(true) {
        std::vector<LineRecord> program{LineRecord("K")};
        for (const std::string& line : mediaLines) {
            program.emplace_back(CheckProgramLine(line).line);
        }
        program.emplace_back("K");
        static_cast<void>(image_.LoadImage(std::move(program)));
        image_.SetFactBoundary(image_.LastRecord());
        image_.ResetRecentStores();
    }

    void Set(const std::string& name, const std::string& value) {
        facts_.StoreFact(PadRight(name, 30), value, "99", "02");
    }
    /// The value of a variable, right-trimmed; "<none>" when it does not exist.
    std::string Value(const std::string& name) {
        return facts_.LookupFact(PadRight(name, 30)) ? TrimRight(facts_.FoundValue()) : "<none>";
    }

    KnowledgeBaseImage image_;
    FactBase facts_{image_};
    int breakpoint_ = 0;
};

}  // namespace kelvo
