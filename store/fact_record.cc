#include "store/fact_record.h"

#include <algorithm>

#include "store/text_field.h"

namespace kelvo {
namespace {

int TwoDigits(std::string_view text) {
    if (text.size() != 2) {
        return -1;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

FactNameForm FactNameFormOf(std::string_view name) {
    const std::string trimmed = TrimRight(name);
    FactNameForm form;
    form.kind = trimmed.starts_with("[") ? FactNameKind::Numeric : FactNameKind::Text;
    form.plus = trimmed.starts_with("+") || trimmed.starts_with("[+");
    form.doublePlus = trimmed.starts_with("++");
    const std::size_t open = trimmed.rfind('{');
    const std::size_t close = trimmed.rfind('}');
    if (open != std::string::npos && close != std::string::npos && close > open) {
        form.subscript = trimmed.substr(open + 1, close - open - 1);
    }
    return form;
}

FixedField<FactRecord::kLength> FactRecord::Compose(std::string_view name, std::string_view value,
                                                    std::string_view certainty,
                                                    std::string_view origin) {
    FixedField<kLength> record;
    const auto put = [&record](std::string_view text, std::size_t column, std::size_t width) {
        std::copy_n(text.begin(), std::min(text.size(), width),
                    record.begin() + static_cast<std::ptrdiff_t>(column - 1));
    };
    put(name, 1, kNameWidth);
    put(value, kValueColumn, kValueWidth);
    put(certainty, kCertaintyColumn, 2);
    put(origin, kOriginColumn, 2);
    return record;
}

int FactRecord::CertaintyNumber() const {
    return text_.size() > kCertaintyColumn ? TwoDigits(text_.substr(kCertaintyColumn - 1, 2))
                                           : TwoDigits(CertaintyField().view());
}

int FactRecord::OriginNumber() const {
    return text_.size() > kOriginColumn ? TwoDigits(text_.substr(kOriginColumn - 1, 2))
                                        : TwoDigits(OriginField().view());
}

bool FactRecord::BeginsWith(std::string_view prefix) const {
    for (std::size_t c = 0; c < prefix.size(); ++c) {
        const char have = c < text_.size() ? text_[c] : ' ';
        if (have != prefix[c]) {
            return false;
        }
    }
    return true;
}

}  // namespace kelvo
