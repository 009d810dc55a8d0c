#pragma once

#include <bitset>
#include <optional>
#include <string>
#include <string_view>

#include "engine/consultation.h"
#include "store/fixed_field.h"

namespace kelvo {

// A variable line ("J") as the block reads it:
//
//   column  1      "J"
//   columns 3-32   name field: the name variable (numeric names "[...]" take columns 3-20)
//   column  39     command letter
//   columns 41-70  operand field: a variable name, a number (columns 41-58) or a literal text

/// Width of a variable line's text as the commands read it; shorter records are padded.
inline constexpr std::size_t kVariableLineWidth = 82;

/// The state of one block, created afresh by each call of Variablenbefehl.
struct VariableBlockState {
    /// Pause between two keystrokes of the automation commands, in milliseconds.
    int keystrokePause = 500;
    int pointerX = 0;
    int pointerY = 0;
    /// Set by a command that ends the block (the Escape check of the automation commands).
    bool ended = false;
    /// The command letters whose "service not available" message this block has shown.
    std::bitset<256> unavailableShown;
};

/// One variable line being run: its fields, the operand conventions every command follows,
/// and the status ok that a missing required variable clears.
class VariableLine {
  public:
    VariableLine(Consultation& consultation, VariableBlockState& block, int position,
                 std::string_view text);

    Consultation& consultation() { return consultation_; }
    FactBase& facts() { return consultation_.facts(); }
    VariableBlockState& block() { return block_; }
    int position() const { return position_; }

    /// Column 39.
    char Command() const { return text_[38]; }
    /// The name field (columns 3-32), 30 characters.
    std::string_view NameField() const { return text_.view().substr(2, 30); }
    /// The operand field (columns 41-70), 30 characters: the literal operand.
    std::string_view OperandField() const { return text_.view().substr(40, 30); }
    /// True when the name variable is numeric (column 3 is "[").
    bool NameIsNumeric() const { return text_[2] == '['; }
    /// True when the operand variable is numeric (column 41 is "[").
    bool OperandIsNumeric() const { return text_[40] == '['; }

    /// The value of the name variable; empty when it does not exist.
    std::optional<std::string> NameValue() { return ValueOf(NameField()); }
    /// The value of the operand variable; empty when it does not exist.
    std::optional<std::string> OperandValue() { return ValueOf(OperandField()); }
    /// The value of any variable; empty when it does not exist.
    std::optional<std::string> ValueOf(std::string_view name);

    /// The number operand: columns 41-58 padded to 30, read by FHR (which reports a missing
    /// numeric variable as error 3).
    Consultation::Operand NumberOperand();

    /// A count read from a numeric variable: its number rounded half to even, 0 when it is
    /// negative, missing or no number.
    double CountOf(std::string_view name);

    /// Stores `value` under `name` with the origin "02". Returns false
    /// when the image is full; the block then ends.
    bool Store(std::string_view name, std::string_view value, std::string_view certainty = "99");
    /// Stores `value` under the name variable.
    bool StoreName(std::string_view value) { return Store(NameField(), value); }

    /// Marks a required variable as missing: the block reports error 17 and ends.
    void Fail() { ok_ = false; }
    bool ok() const { return ok_; }

  private:
    Consultation& consultation_;
    VariableBlockState& block_;
    int position_;
    FixedField<kVariableLineWidth> text_;
    bool ok_ = true;
};

/// Runs the block of variable lines below `slotPosition` (the "V" header or the "= (V)"
/// action): every following "J" line in turn. Error 17 of a missing required variable ends
/// the block; "E", "N" and errors reported inside a command do not, the session ends after
/// the block. A full image ends the block too (the engine then ends the consultation).
void Variablenbefehl(Consultation& consultation, int slotPosition);

}  // namespace kelvo
