#include "lint/page_checks.h"

#include <string>
#include <vector>

#include "lint/display_pages.h"
#include "store/text_field.h"

namespace kelvo {

LintWarnings CheckPageFieldNames(const ProgramStructure& program) {
    LintWarnings warnings;
    for (const TaskBody& body : program.bodies) {
        if (body.ownerKind != 'N') {
            continue;
        }
        for (const DisplayPage& page : SplitPages(program, body).pages) {
            for (const PageField& field : ScanPageFields(program, page)) {
                if (!field.valid) {
                    warnings.push_back(
                        {field.position, LintCode::InvalidFieldName, field.description});
                }
            }
            for (const PageField& field : CaptionFields(program, page)) {
                warnings.push_back({field.position, LintCode::InvalidFieldName,
                                    field.description + " in der Titelzeile"});
            }
        }
    }
    return warnings;
}

LintWarnings CheckPageOverflow(const ProgramStructure& program) {
    LintWarnings warnings;
    for (const TaskBody& body : program.bodies) {
        if (body.ownerKind != 'N') {
            continue;
        }
        const PageRun run = SplitPages(program, body);
        for (std::size_t k = 1; k < run.pages.size(); ++k) {
            const DisplayPage& page = run.pages[k];
            if (page.textLines.empty()) {
                continue;
            }
            warnings.push_back({page.textLines.front(), LintCode::PageOverflow,
                                "die Zeile wird Titel der " + std::to_string(k + 1) +
                                    ". Seite (eine Seite fasst 26 Textzeilen)"});
        }
    }
    return warnings;
}

LintWarnings CheckMediaLines(const ProgramStructure& program) {
    LintWarnings warnings;
    std::vector<bool> inTextBody(program.lines.size(), false);
    for (const TaskBody& body : program.bodies) {
        if (body.bodyKind != 'T') {
            continue;
        }
        for (int p : body.lines) {
            inTextBody[static_cast<std::size_t>(p)] = true;
        }
        if (!body.lines.empty() && program.Kind(body.owner) == '=' &&
            program.Kind(body.lines.front()) == 'G') {
            warnings.push_back({body.lines.front(), LintCode::MisplacedMediaLine,
                                "direkt nach der Aktionszeile; die Aktion zeigt nichts an"});
        } else if (body.ownerKind == 'N') {
            const int misplaced = SplitPages(program, body).misplacedMedia;
            if (misplaced >= 0) {
                warnings.push_back({misplaced, LintCode::MisplacedMediaLine,
                                    "nach einer vollen Seite (Fehler 13)"});
            }
        }
    }
    for (int p = 0; p < program.size(); ++p) {
        if (program.Kind(p) == 'G' && !inTextBody[static_cast<std::size_t>(p)]) {
            warnings.push_back({p, LintCode::MisplacedMediaLine,
                                "geh\xF6rt zu keiner Seite und keiner Druckausgabe"});
        }
    }
    return warnings;
}

}  // namespace kelvo
