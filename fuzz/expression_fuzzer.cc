// The expression evaluator over arbitrary texts and variable values. The input is the
// expression, then after each "\n" a value the variables are read from in turn.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/expression.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> parts = SplitLines(input);
    std::size_t next = 1;
    const ExpressionLookup lookup = [&](std::string_view name) -> std::optional<std::string> {
        if (name.empty() || parts.size() < 2) {
            return std::nullopt;
        }
        // A name beginning "X" is missing; the others take the values in turn.
        if (name.front() == 'X') {
            return std::nullopt;
        }
        const std::string_view value = parts[next];
        next = next + 1 < parts.size() ? next + 1 : 1;
        return std::string(value);
    };
    const std::string result = EvaluateExpression(parts.front(), lookup);
    if (!parts.front().empty() && parts.front().front() == '=') {
        FuzzExpect(result == kExpressionError || result.size() >= 16, "result width", result);
    }
    return 0;
}
