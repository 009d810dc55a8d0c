#include "commands/command_variables.h"

#include "store/stored_number.h"
#include "store/text_field.h"

namespace kelvo {

std::optional<double> ReadNumberText(std::string_view text) {
    const std::optional<double> number = ParseDecimalNumber(TrimLeft(TrimRight(text)));
    if (!number || !(*number > -99999999999.9991 && *number < 999999999999.9991)) {
        return std::nullopt;
    }
    return number;
}

}  // namespace kelvo
