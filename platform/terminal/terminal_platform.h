#pragma once

// The desktop of a person at a terminal with plain line input and output: message boxes are
// printed and yes/no questions asked, a consultation page is printed as its text with its
// fields in place and numbered, and the person fills it in line by line. Texts are UTF-8 on
// the terminal and Windows-1252 inside.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_dialogs.h"
#include "platform/media_player.h"
#include "platform/printer.h"
#include "platform/session_windows.h"
#include "store/beeper.h"

namespace kelvo {

class TForm6;

struct TerminalOptions {
    /// The screen pages and the inspector are sized for.
    int screenWidth = 1024;
    int screenHeight = 768;
    /// Where a file that a page names is looked for when it is not found from the current
    /// folder (the knowledge base's folder); empty for none.
    std::string fileFolder;
};

class TerminalPlatform final : public Dialogs,
                               public SessionWindows,
                               public Clock,
                               public Beeper,
                               public Clipboard,
                               public MediaPlayer,
                               public FileDialogs {
  public:
    TerminalPlatform(std::istream& in, std::ostream& out, TerminalOptions options);

    // Dialogs
    MessageAnswer MessageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                             MessageButtons buttons) override;

    // SessionWindows
    PageOutcome ShowPage(const PageRequest& page, InspectorContext& context) override;
    void ShowInspector(InspectorReason why, int line, InspectorContext& context) override;
    void SetSessionWindowVisible(bool /*visible*/) override {}
    void SetCursor(CursorShape /*shape*/) override {}
    void SetStatusText(std::string_view /*text*/) override {}
    /// Line input cannot be interrupted: the search runs to its next page or question.
    bool PumpOneEvent() override { return false; }

    // Clock
    LocalDateTime Now() override;
    std::uint32_t TickCount() override;
    void Sleep(std::uint32_t milliseconds) override;

    // Beeper
    void Beep() override;

    // Clipboard (Windows-1252): kept by the terminal session.
    std::string Text() override { return clipboard_; }
    void SetText(std::string_view text) override { clipboard_ = std::string(text); }

    // MediaPlayer: a terminal plays nothing; the playback's media commands are shown.
    void Play(const MediaRequest& request) override;

    // FileDialogs: the dialog's title, filters and folder are printed and the path is typed;
    // an empty line cancels. A relative path is taken from the dialog's folder (else the
    // current folder).
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
    /// The terminal's printer has nothing to set up; says so.
    void PrinterSetup() override;

    /// True once standard input has ended; every page is then left with "Abbruch" and every
    /// question answered no.
    bool InputEnded() const { return ended_; }

    /// The printer a page's "Drucken" prints on; without one the terminal says that nothing
    /// was printed.
    void SetPrinter(Printer* printer) { printer_ = printer; }

  private:
    /// Reads one line (UTF-8, line end removed); false at the end of the input.
    bool ReadLine(std::string& line);
    std::string Ask(const std::string& prompt);
    /// The page as text lines (Windows-1252): its caption, then the body with the fields in
    /// place and numbered, without trailing empty lines.
    static std::vector<std::string> PageText(const TForm6& form);
    void ShowPageText(const TForm6& form);
    /// Prints the page's image through the printer.
    void PrintPageImage(const TForm6& form);
    /// Works on field `number` (from 1, in the order printed): -1 for no such field, the
    /// slot of a page button to press, else 0.
    int EditField(TForm6& form, int number);
    std::optional<std::string> AskFileName(std::string_view dialog,
                                           const FileDialogRequest& request);

    std::istream& in_;
    std::ostream& out_;
    TerminalOptions options_;
    std::string clipboard_;
    bool ended_ = false;
    Printer* printer_ = nullptr;

    friend class TerminalPageDesktop;
};

}  // namespace kelvo
