#include "authoring/fill_characters.h"

#include <algorithm>

#include "store/text_field.h"

namespace kelvo {
namespace {

char Column(std::string_view line, std::size_t c) {
    return c <= line.size() ? line[c - 1] : ' ';
}

bool IsOneOf(char c, std::string_view set) {
    return set.find(c) != std::string_view::npos;
}

}  // namespace

bool HasTextValueField(std::string_view line) {
    const char kind = Column(line, 1);
    const char operatorColumn = Column(line, 39);
    switch (kind) {
        case 'F':
            return Column(line, 3) != '[';
        case 'O':
        case 'U':
            return IsOneOf(operatorColumn, ".|");
        case 'R':
            return operatorColumn == '.';
        case 'B':
        case '\xAB':  // «
        case 'V':
        case 'H':
        case 'C':
        case 'N':
        case '\xBB':  // »
        case 'X':
            return IsOneOf(operatorColumn, ".|");
        case 'J':
            return Column(line, 3) == '+' && IsOneOf(operatorColumn, ".-") &&
                   !IsOneOf(Column(line, 41), "([");
        default:
            return false;
    }
}

std::string Fuellzeichen_einfuegen(std::string_view line) {
    if (!HasTextValueField(line)) {
        return std::string(line);
    }
    std::string filled = PadRight(line, kTextValueLastColumn);
    std::replace(filled.begin() + (kTextValueFirstColumn - 1), filled.end(), ' ', '$');
    return filled;
}

}  // namespace kelvo
