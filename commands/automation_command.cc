// The automation command "/": keys, mouse clicks, the screen and pauses.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "commands/automation_keys.h"
#include "commands/command_handlers.h"
#include "commands/command_variables.h"
#include "commands/missing_service.h"
#include "commands/variable_command.h"
#include "platform/automation.h"
#include "platform/clock.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr std::string_view kBadKeyMessage = "Tastaturk\xFCrzel Fehlerhaft !";
constexpr std::string_view kBadKeyCaption = "Fehlermeldung";
constexpr std::string_view kUnavailableMessage =
    "Tastatur- und Maussteuerung sind auf diesem Desktop nicht verf\xFC"
    "gbar (keine X11-Anzeige).\r\nDie Befehle \"/\" f\xFC"
    "r Tasten, Maus und Bildschirm werden \xFC"
    "bersprungen, die Sitzung wird fortgesetzt.";
constexpr std::string_view kUnavailableCaption = "Hinweis";

// The special words.
constexpr std::string_view kScreenSizeWord = "BILDSCHIRMAUFL\xD6SUNG";
constexpr std::string_view kPixelWord = "FARBPUNKT_ERKENNEN";
constexpr std::string_view kLeftClickWord = "MAUS_LINKS";
constexpr std::string_view kRightClickWord = "MAUS_RECHTS";
constexpr std::string_view kMiddleClickWord = "MAUS_MITTE";
constexpr std::string_view kDoubleClickWord = "MAUS_DOPPELCLICK";
constexpr std::string_view kSetPauseWord =
    "PAUSE_DR\xDC"
    "CKEN";
constexpr std::string_view kPauseWord = "PAUSE";

// A parameter: the number of the variable made positive and rounded half to even; empty when
// the variable does not exist. It is capped at the largest pause a sleep can take.
std::optional<double> Parameter(VariableLine& line, std::string_view name) {
    FactBase& facts = line.facts();
    if (!facts.LookupFact(PadRight(name, FactBase::kFieldWidth))) {
        return std::nullopt;
    }
    return std::min(RoundHalfEven(std::fabs(facts.FoundNumber())),
                    static_cast<double>(std::numeric_limits<std::uint32_t>::max()));
}

std::uint32_t Milliseconds(double parameter) {
    return static_cast<std::uint32_t>(parameter);
}

// A screen coordinate; far beyond any screen, but within an int.
int Coordinate(double parameter) {
    return static_cast<int>(std::min(parameter, static_cast<double>(1 << 30)));
}

// PointerX and PointerY from the coordinate variables that exist; a missing one keeps its
// coordinate of this block.
void TakePointer(VariableLine& line) {
    if (const std::optional<double> x = Parameter(line, kSystemVar1Name)) {
        line.block().pointerX = Coordinate(*x);
    }
    if (const std::optional<double> y = Parameter(line, kSystemVar2Name)) {
        line.block().pointerY = Coordinate(*y);
    }
}

void Click(Automation& automation, MouseButton button) {
    automation.MouseButtonEvent(button, true);
    automation.MouseButtonEvent(button, false);
}

// The desktop's input synthesis; null (after saying so once) when it is not available.
Automation* Desktop(VariableLine& line) {
    Automation* automation = line.consultation().services().automation;
    if (automation != nullptr && automation->Available()) {
        return automation;
    }
    // A desktop without the service at all says so once per block, like the other commands.
    if (automation == nullptr) {
        ReportMissingService(line, "die Tastatur- und Maussteuerung");
        return nullptr;
    }
    if (automation->TakeUnavailableNotice()) {
        line.consultation().ShowMessage(kUnavailableMessage, kUnavailableCaption,
                                        MessageIcon::Information, MessageButtons::Ok);
    }
    return nullptr;
}

}  // namespace

// "/" one key name or special word in the literal operand; the name field is not used.
void RunAutomation(VariableLine& line) {
    Consultation& consultation = line.consultation();
    VariableBlockState& block = line.block();
    const std::string name = ToUpper(TrimRight(line.OperandField()));
    const KeyStroke key = LookupKey(name);

    // Escape ends the block after this line, and the session asks whether to end.
    Automation* automation = consultation.services().automation;
    if (automation != nullptr && automation->Available() && automation->EscapePressed()) {
        consultation.SetVorgangAbbrechen(true);
        block.ended = true;
    }

    if (block.keystrokePause > 0) {
        consultation.services().clock.Sleep(static_cast<std::uint32_t>(block.keystrokePause));
    }

    if (name == kSetPauseWord) {
        const std::optional<double> pause = Parameter(line, kSystemVar1Name);
        block.keystrokePause =
            pause ? static_cast<int>(
                        std::min(*pause, static_cast<double>(std::numeric_limits<int>::max())))
                  : 0;
        return;
    }
    if (name == kPauseWord) {
        if (const std::optional<double> pause = Parameter(line, kSystemVar1Name)) {
            consultation.services().clock.Sleep(Milliseconds(*pause));
        }
        return;
    }
    const bool special = name == kScreenSizeWord || name == kPixelWord || name == kLeftClickWord ||
                         name == kRightClickWord || name == kMiddleClickWord ||
                         name == kDoubleClickWord;
    if (!special && key.code == 0) {
        consultation.ShowMessage(kBadKeyMessage, kBadKeyCaption, MessageIcon::Warning,
                                 MessageButtons::Ok);
        return;
    }
    if (name == kPixelWord || name == kLeftClickWord || name == kRightClickWord ||
        name == kMiddleClickWord || name == kDoubleClickWord) {
        TakePointer(line);
    }
    Automation* desktop = Desktop(line);
    if (desktop == nullptr) {
        return;
    }
    if (name == kScreenSizeWord) {
        const ScreenSize screen = desktop->Screen();
        if (line.Store(kSystemVar1Name, FormatStoredNumber(screen.width))) {
            line.Store(kSystemVar2Name, FormatStoredNumber(screen.height));
        }
    } else if (name == kPixelWord) {
        const PixelColour colour = desktop->Pixel(block.pointerX, block.pointerY);
        line.Store(kSystemVar1Name, FormatStoredNumber(colour.red));
    } else if (special) {
        desktop->MoveCursor(block.pointerX, block.pointerY);
        if (name == kLeftClickWord) {
            Click(*desktop, MouseButton::Left);
        } else if (name == kRightClickWord) {
            Click(*desktop, MouseButton::Right);
        } else if (name == kMiddleClickWord) {
            Click(*desktop, MouseButton::Middle);
        } else {
            Click(*desktop, MouseButton::Left);
            Click(*desktop, MouseButton::Left);
        }
    } else {
        if (key.action != KeyAction::ReleaseOnly) {
            desktop->KeyDown(key.code);
        }
        if (key.action != KeyAction::PressOnly) {
            desktop->KeyUp(key.code);
        }
    }
}

}  // namespace kelvo
