// The program editor's commands on the line field (special characters, clipboards), help,
// closing and starting, and the dispatch of button clicks.

#include <filesystem>
#include <string>

#include "authoring/program_editor.h"

namespace kelvo {
namespace {

constexpr std::string_view kWarningCaption = "Fehlermeldung";

}  // namespace

// ---- The check box, clipboards and special characters --------------------------------------

void TForm2::CheckBox1Click(bool checked) {
    markierungszeichen_ = checked;
    if (checked) {
        Fuellzeichen_einfuegen();
    }
}

void TForm2::So_Zei_P1Click(EditorButton sender) {
    static constexpr std::string_view kCharacters = ">\xBB=\xAB<.|=#";
    const auto selected = [&] {
        return edit8_.substr(static_cast<std::size_t>(selection_.start),
                             static_cast<std::size_t>(selection_.length));
    };
    switch (sender) {
        case EditorButton::In_Ablage_1:
            if (selection_.length > 0) {
                services_.clipboard.SetText(selected());
            }
            return;
        case EditorButton::In_Ablage_2:
            state_.ablage2Text = selected();
            return;
        case EditorButton::In_Ablage_3:
            state_.ablage3Text = selected();
            return;
        case EditorButton::Aus_Ablage_1:
            InsertIntoEdit8(services_.clipboard.Text());
            return;
        case EditorButton::Aus_Ablage_2:
            InsertIntoEdit8(state_.ablage2Text);
            return;
        case EditorButton::Aus_Ablage_3:
            InsertIntoEdit8(state_.ablage3Text);
            return;
        default:
            break;
    }
    const int index = static_cast<int>(sender) - static_cast<int>(EditorButton::So_Zei_P1);
    if (index >= 0 && index < static_cast<int>(kCharacters.size())) {
        InsertIntoEdit8(kCharacters.substr(static_cast<std::size_t>(index), 1));
    }
}

// ---- Help ----------------------------------------------------------------------------------

void TForm2::Hilfe_1Click() {
    OpenHelp(kGeneralHelpTopic);
}

void TForm2::Button1Click() {
    OpenHelp(HelpTopicFor(edit8_));
}

void TForm2::OpenHelp(std::string_view topic) {
    const std::filesystem::path document = services_.helpFolder / (std::string(topic) + ".pdf");
    if (!services_.shell.OpenDocument(document.string())) {
        services_.dialogs.MessageBox("Hilfedatei konnte nicht aufgerufen werden !", kWarningCaption,
                                     MessageIcon::Warning, MessageButtons::Ok);
    }
}

// ---- Closing and starting ------------------------------------------------------------------

void TForm2::ClearMarks() {
    state_.markF5 = -1;
    state_.markF6 = -1;
}

void TForm2::Close() {
    closed_ = true;
}

void TForm2::Schliesen_1Click() {
    ClearMarks();
    state_.breakpointLine = 0;
    if (!CheckCurrentLine()) {
        return;
    }
    state_.errorLine = currentLine_;
    Close();
}

void TForm2::AbbruchClick() {
    ClearMarks();
    state_.breakpointLine = 0;
    state_.errorLine = currentLine_;
    Close();
}

void TForm2::Schliesen_StartenClick() {
    state_.breakpointLine = 0;
    if (!CheckCurrentLine()) {
        return;
    }
    state_.errorLine = currentLine_;
    state_.editorStartRequested = true;
    Close();
}

void TForm2::Starten_HaltepunktClick() {
    state_.breakpointLine = currentLine_ + 1;
    if (!IsBreakpointAllowed(edit8_)) {
        services_.dialogs.MessageBox("Kein zul\xE4ssiger Haltepunkt !", kWarningCaption,
                                     MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    if (!CheckCurrentLine()) {
        return;
    }
    state_.errorLine = currentLine_;
    state_.editorStartRequested = true;
    Close();
}

// ---- Buttons -------------------------------------------------------------------------------

bool TForm2::Click(EditorButton button) {
    if (closed_ || !Enabled(button)) {
        return false;
    }
    switch (button) {
        case EditorButton::Einfuegen:
            EinfuegenClick();
            break;
        case EditorButton::Verschieben_1:
            Verschieben_1Click();
            break;
        case EditorButton::Loeschen_1:
            Loeschen_1Click();
            break;
        case EditorButton::Kopieren_1:
            Kopieren_1Click();
            break;
        case EditorButton::Ueb_1:
            Ueb_1Click();
            break;
        case EditorButton::Drucken_1:
            Drucken_1Click();
            break;
        case EditorButton::Suchen:
        case EditorButton::Weitersuchen:
            SuchenClick(button);
            break;
        case EditorButton::Hilfe_1:
            Hilfe_1Click();
            break;
        case EditorButton::Button1:
            Button1Click();
            break;
        case EditorButton::Von_1:
            Von_1Click();
            break;
        case EditorButton::Bis_1:
            Bis_1Click();
            break;
        case EditorButton::Aus_1:
            Aus_1Click();
            break;
        case EditorButton::Schliesen_Starten:
            Schliesen_StartenClick();
            break;
        case EditorButton::Starten_Haltepunkt:
            Starten_HaltepunktClick();
            break;
        case EditorButton::Schliesen_1:
            Schliesen_1Click();
            break;
        case EditorButton::Abbruch:
            AbbruchClick();
            break;
        case EditorButton::Anfang:
            AnfangClick();
            break;
        case EditorButton::Minus_1:
            Minus_1Click();
            break;
        case EditorButton::Plus_1:
            Plus_1Click();
            break;
        case EditorButton::Ende:
            EndeClick();
            break;
        case EditorButton::CheckBox1:
            CheckBox1Click(!markierungszeichen_);
            break;
        default:  // the clipboard and special-character buttons
            So_Zei_P1Click(button);
            break;
    }
    return true;
}

}  // namespace kelvo
