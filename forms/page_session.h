#pragma once

// One consultation page from its request to its outcome, the same on every desktop: the form
// model is built, activated (with its media), and the user's commands are carried out until
// the page closes. A desktop only obtains the user's next command and shows what the page
// asks it to show.

#include <string>
#include <string_view>

#include "forms/consultation_form.h"
#include "platform/dialogs.h"
#include "platform/session_windows.h"

namespace kelvo {

/// A command the user gave a page, as a desktop obtained it. Typing into fields, ticking,
/// selecting, copy and paste are the desktop's own work on the form before it returns one.
struct PageAction {
    enum class Kind {
        Weiter,      ///< `Weiter_Schalter` / `Weiter_Menue`
        PageButton,  ///< page button `S`n, n in `button`
        Abbruch,     ///< `Abbruch_Schalter` / `Abbruch_Menue`
        Close,       ///< the window's close button
        Drucken,     ///< `Drucken_Schalter` / `Drucken_Menue`
        Datenbasis,  ///< `Datenbasis_Schalter` / `Datenbasis_Menue`
        VideoSound,  ///< `VideoSound_Schalter` / `VideoSound_Menue`
        Stop,        ///< no one is left to answer: the page ends as a confirmed break-off
    };
    Kind kind = Kind::Weiter;
    int button = 0;
};

/// What a page needs from the desktop it is shown on.
class PageDesktop {
  public:
    virtual ~PageDesktop() = default;

    /// The user's next command on `form` (shown as it is now).
    virtual PageAction NextAction(TForm6& form) = 0;
    /// Plays the media file of `form` (the page as it is now, which a desktop with windows
    /// shows complete first) and returns when the playback is over.
    virtual void PlayMedia(TForm6& form, const MediaRequest& request) = 0;
    /// Prints the window's current image, scaled to the page, without a printer dialog.
    virtual void PrintPage(const TForm6& form) = 0;
    /// Shows the runtime inspector on the page's context, modally.
    virtual void OpenInspector(InspectorContext& context) = 0;
};

/// Where and on what screen a page is shown.
struct PageSessionOptions {
    int screenWidth = 1024;
    int screenHeight = 768;
    /// Where a file that a page names is looked for when it is not found from the current
    /// folder (the knowledge base's folder, UTF-8); empty for none.
    std::string fileFolder;
};

/// The existing file a page names (Windows-1252, `\` or `/` as separator, any case) as a
/// path: first as written, then, for a relative name, inside `fallbackFolder` (UTF-8). Empty
/// when there is none.
std::string FindPageFile(std::string_view name, const std::string& fallbackFolder);

/// One page shown until it closes.
class PageSession {
  public:
    /// Builds the form of `page`; a closing page (mode 2 or 3) never reads media lines. The
    /// message of a button picture that does not load is shown through `dialogs` right away.
    PageSession(const PageRequest& page, InspectorContext& context, PageDesktop& desktop,
                Dialogs& dialogs, const PageSessionOptions& options);

    /// Activates the page and carries out the user's commands until it closes. Continue when
    /// it was left with Weiter or a page button; Abort after a confirmed break-off or Stop.
    PageOutcome Run();

    TForm6& form() { return form_; }

  private:
    void Activate();
    bool AskQuit();

    InspectorContext& context_;
    PageDesktop& desktop_;
    Dialogs& dialogs_;
    TForm6 form_;
};

}  // namespace kelvo
