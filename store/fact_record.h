#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "store/fixed_field.h"

namespace kelvo {

// A fact record of the fact base (82 characters):
//
//   columns  1-30  name in stored form, blank-padded
//   column   31    blank
//   columns 32-61  value, blank-padded and cut to 30
//   columns 62-63  certainty "00" to "99"
//   columns 64-65  origin: "01" concluded by a rule, "02" set in any other way
//   columns 66-82  blanks
//
// Stored names: a text name ("ZIEL"), a numeric name ("[" + inner name padded to 16 + "]");
// a plus name begins with "+" or "[+", a double-plus name with "++"; a plus name may end in a
// subscript "{...}" (inside the brackets of a numeric name).

/// Whether a name holds a text or a number.
enum class FactNameKind { Text, Numeric };

/// The form of a stored name.
struct FactNameForm {
    FactNameKind kind = FactNameKind::Text;
    bool plus = false;        ///< "+..." or "[+..." (double-plus names included)
    bool doublePlus = false;  ///< "++..."
    /// The text between the last "{" and the "}" after it; empty when the name has none.
    std::optional<std::string> subscript;
};

/// The form of `name` (stored form, trailing blanks allowed).
FactNameForm FactNameFormOf(std::string_view name);

/// A read-only view over the text of a fact record. A text shorter than a record reads as if
/// padded with blanks; the text must outlive the view.
class FactRecord {
  public:
    static constexpr std::size_t kNameWidth = 30;
    static constexpr std::size_t kValueColumn = 32;
    static constexpr std::size_t kValueWidth = 30;
    static constexpr std::size_t kCertaintyColumn = 62;
    static constexpr std::size_t kOriginColumn = 64;
    static constexpr std::size_t kLength = 82;

    explicit FactRecord(std::string_view text) : text_(text) {}

    /// The record of `name` and `value` (each padded and cut to 30) with `certainty` and
    /// `origin` (padded and cut to 2), 82 characters.
    static FixedField<kLength> Compose(std::string_view name, std::string_view value,
                                       std::string_view certainty, std::string_view origin);

    /// Columns 1-30.
    std::string Name() const { return std::string(NameField().view()); }
    /// Columns 32-61.
    std::string Value() const { return std::string(ValueField().view()); }
    /// Columns 1-30, held in place.
    FixedField<kNameWidth> NameField() const { return FixedField<kNameWidth>::Columns(text_, 1); }
    /// Columns 32-61, held in place.
    FixedField<kValueWidth> ValueField() const {
        return FixedField<kValueWidth>::Columns(text_, kValueColumn);
    }
    /// Columns 62-63.
    std::string Certainty() const { return std::string(CertaintyField().view()); }
    /// Columns 64-65.
    std::string Origin() const { return std::string(OriginField().view()); }
    /// Columns 62-63, held in place.
    FixedField<2> CertaintyField() const { return FixedField<2>::Columns(text_, kCertaintyColumn); }
    /// Columns 64-65, held in place.
    FixedField<2> OriginField() const { return FixedField<2>::Columns(text_, kOriginColumn); }
    /// The certainty as a number; -1 when its columns are not two digits.
    int CertaintyNumber() const;
    /// The origin as a number; -1 when its columns are not two digits.
    int OriginNumber() const;
    /// True when columns 1-30 equal `name` (30 characters). Allocates nothing.
    bool NameEquals(std::string_view name) const {
        return name.size() == kNameWidth && BeginsWith(name);
    }
    /// True when the columns from 1 on equal `prefix` (an 18-character numeric name, a name
    /// with its value). Allocates nothing: lookups call it for every record.
    bool BeginsWith(std::string_view prefix) const;
    FactNameForm NameForm() const { return FactNameFormOf(Name()); }

  private:
    std::string_view text_;
};

}  // namespace kelvo
