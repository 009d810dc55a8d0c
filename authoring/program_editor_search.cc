// The search of the program editor.

#include <string>

#include "authoring/program_editor.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr int kLastSearchColumn = 82;

}  // namespace

void TForm2::SuchenClick(EditorButton sender) {
    Search(sender == EditorButton::Weitersuchen);
}

void TForm2::Search(bool continued) {
    if (!CheckCurrentLine()) {
        return;
    }
    if (!continued) {
        if (auto answer =
                services_.inputBox.InputQuery("Suchen", "Bitte Suchtext eingeben", suchString_)) {
            suchString_ = ToUpper(*answer);
        }
        state_.lastFoundLine = -1;
        state_.lastFoundColumn = -1;
    }
    weitersuchenEnabled_ = !suchString_.empty();

    int line = currentLine_;
    int column = 1;
    if (continued && state_.lastFoundLine != -1) {
        if (currentLine_ == state_.lastFoundLine) {
            column = state_.lastFoundColumn + 1;
        } else {
            state_.lastFoundColumn = -1;
        }
    }

    const int count = RecordCount();
    const std::size_t length = suchString_.size();
    for (; line < count; ++line, column = 1) {
        const std::string text = ToUpper(RecordText(line));
        for (int c = column; c <= kLastSearchColumn; ++c) {
            // The piece of the search text's length at column c; shorter near the end.
            const auto from = static_cast<std::size_t>(c - 1);
            const std::string_view piece = from <= text.size()
                                               ? std::string_view(text).substr(from, length)
                                               : std::string_view();
            if (piece == suchString_) {
                state_.lastFoundLine = line;
                state_.lastFoundColumn = c;
                currentLine_ = line;
                Programmzeilen_aktualisieren();
                SetSelection(c - 1, static_cast<int>(length));
                return;
            }
        }
    }
    Fehlermeldung(
        static_cast<int>(continued ? EditorMessage::NoMoreEntries : EditorMessage::NotFound));
}

}  // namespace kelvo
