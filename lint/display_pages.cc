#include "lint/display_pages.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "authoring/line_tokens.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr int kLastPageLine = 25;
constexpr int kColumns = 80;

struct Marker {
    char character;
    PageFieldKind kind;
};

// ORDER: the order in which a page places its fields.
constexpr std::array<Marker, 7> kMarkers{{
    {'\xAB', PageFieldKind::MemoInput},
    {'\xBB', PageFieldKind::MemoDisplay},
    {']', PageFieldKind::Input},
    {'[', PageFieldKind::Display},
    {'<', PageFieldKind::Button},
    {'>', PageFieldKind::CheckBox},
    {'|', PageFieldKind::ListBox},
}};

/// Upper-case words with blanks between them: what an author writes as a variable name.
bool LooksLikeNameWithBlank(std::string_view name) {
    bool letter = false;
    for (char c : name) {
        const bool upper = c != ToLowerByte(c);
        if (upper) {
            letter = true;
        } else if (!(c == ' ' || c == '+' || c == '_' || c == '-' || c == '{' || c == '}' ||
                     (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return letter;
}

}  // namespace

PageRun SplitPages(const ProgramStructure& program, const TaskBody& body) {
    PageRun run;
    const int count = program.size();
    int p = body.owner;
    while (true) {
        DisplayPage page;
        int filled = -1;
        int q = p + 1;
        for (; q < count; ++q) {
            const char kind = program.Kind(q);
            if (kind == 'G') {
                page.mediaLines.push_back(q);
            } else if (kind == 'T') {
                ++filled;
                page.textLines.push_back(q);
            } else {
                break;
            }
            if (filled == kLastPageLine) {
                ++q;
                break;
            }
        }
        run.pages.push_back(std::move(page));
        p = q - 1;
        if (p + 1 >= count) {
            break;
        }
        if (program.Kind(p + 1) == 'T') {
            continue;
        }
        if (program.Kind(p + 1) == 'G') {
            run.misplacedMedia = p + 1;
        }
        break;
    }
    return run;
}

std::vector<PageField> CaptionFields(const ProgramStructure& program, const DisplayPage& page) {
    std::vector<PageField> fields;
    if (page.textLines.empty()) {
        return fields;
    }
    const int caption = page.textLines.front();
    const std::string text = program.Field(caption, 3, 82);
    for (const Marker& marker : kMarkers) {
        if (marker.kind == PageFieldKind::Display) {
            continue;
        }
        for (std::size_t j = text.find(marker.character); j != std::string::npos;
             j = text.find(marker.character, j + 1)) {
            const std::size_t close = text.find(marker.character, j + 1);
            if (close == std::string::npos) {
                break;
            }
            const std::string name = TrimRight(text.substr(j + 1, close - j - 1));
            if (name.empty() || name.find(' ') != std::string::npos || ToUpper(name) != name ||
                !NormalizeTextName(name, NameRule::DoublePlus).ok()) {
                continue;
            }
            fields.push_back({marker.kind, caption, false, {}, text.substr(j, close - j + 1)});
        }
    }
    return fields;
}

std::vector<PageField> ScanPageFields(const ProgramStructure& program, const DisplayPage& page) {
    // rows[r] is body line r (1 to 25): columns 3-82 of the page's text line r.
    std::array<std::string, kLastPageLine + 1> rows;
    std::array<int, kLastPageLine + 1> positions{};
    for (std::size_t r = 1; r <= kLastPageLine; ++r) {
        if (r < page.textLines.size()) {
            positions[r] = page.textLines[r];
            rows[r] = program.Field(page.textLines[r], 3, 82);
        } else {
            positions[r] = -1;
            rows[r] = std::string(kColumns, ' ');
        }
    }
    std::vector<PageField> fields;
    for (const Marker& marker : kMarkers) {
        const char bv = marker.character;
        for (std::size_t r = 1; r <= kLastPageLine; ++r) {
            for (std::size_t j = 0; j < kColumns; ++j) {
                if (rows[r][j] != bv) {
                    continue;
                }
                const std::size_t close = rows[r].find(bv, j + 1);
                if (close == std::string::npos) {
                    continue;
                }
                // The field goes on over the rows that repeat its markers with blanks between.
                std::size_t h = 1;
                for (std::size_t m = r + 1; m <= kLastPageLine; ++m) {
                    if (rows[m][j] != bv || rows[m][close] != bv ||
                        rows[m].substr(j + 1, close - j - 1).find_first_not_of(' ') !=
                            std::string::npos) {
                        break;
                    }
                    ++h;
                }
                const std::string between = rows[r].substr(j + 1, close - j - 1);
                const std::string name = TrimRight(between);
                PageField field;
                field.kind = marker.kind;
                field.position = positions[r];
                field.description = rows[r].substr(j, close - j + 1);
                if (name.empty() || name[0] == ' ') {
                    continue;  // no name, or text between two marker characters
                }
                if (name.find(' ') != std::string::npos) {
                    if (LooksLikeNameWithBlank(name)) {
                        fields.push_back(field);
                    }
                    continue;
                }
                const TokenStep step = NormalizeTextName(name, NameRule::DoublePlus);
                if (!step.ok()) {
                    fields.push_back(field);
                    continue;
                }
                field.valid = true;
                field.name = PadRight(step.stored, kTextNameWidth);
                fields.push_back(field);
                for (std::size_t m = r; m < r + h; ++m) {
                    for (std::size_t c = j; c <= close; ++c) {
                        rows[m][c] = ' ';
                    }
                }
            }
        }
    }
    return fields;
}

}  // namespace kelvo
