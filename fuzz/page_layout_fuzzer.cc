// The page layout: FormCreate over arbitrary page lines and fact bases, then the page's
// commands. The input is the page (lines of up to 80 characters, the first the caption), then
// after the last "\n\x01\n" the knowledge base behind it: lines beginning "G" are media lines
// of the program, every other line "NAME=VALUE" a fact.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "forms/consultation_form.h"
#include "fuzz/fuzz_input.h"
#include "store/fact_base.h"
#include "store/knowledge_base_image.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

void BuildAndUse(const PageRequest& page, FactBase& facts, bool programmingModule) {
    FormEnvironment environment;
    environment.programmingModule = programmingModule;
    // Every name whose first letter is "X" exists; of those, the ones with a "Y" load.
    environment.findFile = [](std::string_view name) {
        return !name.empty() && (name.front() == 'X' || name.front() == 'x')
                   ? "/fuzz/" + std::string(name)
                   : std::string();
    };
    environment.pictureLoads = [](const std::string& path) {
        return path.find('Y') != std::string::npos;
    };
    environment.reportButtonPicture = [] {};
    TForm6 form(page, facts, environment);
    (void)form.FormActivate();
    form.Focus_Setzen();
    (void)form.Video_Sound();
    (void)form.In_AblageClick();
    form.Aus_AblageClick("Einf\xFCgung");
    for (int slot = 1; slot <= 3; ++slot) {
        (void)form.SetFieldText({Pool::Edit, slot}, "Eingabe");
        form.SetChecked(slot, true);
        (void)form.Select(slot, 1);
    }
    form.WeiterClick(form.Pos_Schalter() > 0 ? std::optional<int>(1) : std::nullopt);
}

}  // namespace
}  // namespace kelvo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto [pageText, baseText] = SplitAtLast(input, "\n\x01\n");

    std::vector<LineRecord> program{LineRecord("K")};
    std::vector<std::pair<std::string, std::string>> facts;
    int firstMediaLine = 0;
    for (const std::string_view line : SplitLines(baseText)) {
        if (!line.empty() && line.front() == 'G') {
            if (firstMediaLine == 0) {
                firstMediaLine = static_cast<int>(program.size());
            }
            program.emplace_back(line);
        } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
            facts.emplace_back(line.substr(0, equals), line.substr(equals + 1));
        }
    }
    KnowledgeBaseImage image(true, 10000);
    if (!image.LoadImage(std::move(program)).ok()) {
        return 0;
    }
    image.SetProgramEnd(image.LastRecord());
    image.SetFactBoundary(image.LastRecord());
    FactBase base(image);
    for (const auto& [name, value] : facts) {
        (void)base.StoreFact(PadRight(name, FactBase::kFieldWidth), value, "99", "02");
    }

    PageRequest page;
    page.firstMediaLine = firstMediaLine;
    const std::vector<std::string_view> lines = SplitLines(pageText);
    for (std::size_t i = 0; i < page.formPage.size(); ++i) {
        page.formPage[i] = i < lines.size() ? std::string(lines[i].substr(0, 80)) : std::string();
    }
    for (const int mode : {1, 2, 3}) {
        page.formMode = mode;
        page.solutionRecord = image.LastRecord() > image.FactBoundary()
                                  ? std::string(image.Text(image.FactBoundary() + 1))
                                  : std::string();
        BuildAndUse(page, base, mode != 3);
    }
    return 0;
}
