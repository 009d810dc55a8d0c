#pragma once

#include <QPointer>
#include <QSize>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/media_player.h"
#include "platform/qt/event_pump.h"
#include "platform/session_windows.h"
#include "ui/qt/wait_cursor.h"

class QImage;
class QWidget;

namespace kelvo {

class Clipboard;
class Dialogs;
class SessionWindowView;

/// What the session windows need from the program around them.
struct SessionWindowsSetup {
    SessionWindowsSetup(Dialogs& dialogsService, Clipboard& clipboardService)
        : dialogs(dialogsService), clipboard(clipboardService) {}

    Dialogs& dialogs;
    Clipboard& clipboard;
    /// The window the session window belongs to (the main window); may return null.
    std::function<QWidget*()> owner;
    /// The main window's client size, which the inspector's size follows.
    std::function<QSize()> mainClientSize;
    /// The screen size the pages are laid out for (device-independent pixels).
    std::function<QSize()> screenSize;
    /// Prints a page's image scaled to the paper; null when there is no printing.
    std::function<void(const QImage&)> printImage;
    /// Plays a page's media file with the page's window as `owner`; returns when the playback
    /// is over. Null when there is no media player.
    std::function<void(const MediaRequest& request, QWidget* owner)> playMedia;
    /// Where a file a page names is looked for when it is not found as written (the knowledge
    /// base's folder); empty for none.
    std::function<std::filesystem::path()> fileFolder;
    bool programmingModule = true;
};

/// The windows of a consultation on Qt: the session window TForm5 with "Abbruch", the
/// consultation pages TForm6 and the runtime inspector TForm7, each modal with its own event
/// loop. The consultation itself runs in the GUI thread between Open and Close; window events
/// reach the program only through PumpOneEvent and the modal windows.
class QtSessionWindows final : public SessionWindows {
  public:
    explicit QtSessionWindows(SessionWindowsSetup setup,
                              int pumpInterval = EventPump::kDefaultInterval);
    ~QtSessionWindows() override;
    QtSessionWindows(const QtSessionWindows&) = delete;
    QtSessionWindows& operator=(const QtSessionWindows&) = delete;

    /// Creates the session window, shows it modally for the whole program and returns once it
    /// was painted for the first time (the moment a consultation starts).
    void Open();
    /// Closes and frees the session window; restores the cursor.
    void Close();
    /// Open, run `consultation`, Close.
    void RunInSessionWindow(const std::function<void()>& consultation);

    PageOutcome ShowPage(const PageRequest& page, InspectorContext& context) override;
    void ShowInspector(InspectorReason why, int line, InspectorContext& context) override;
    void SetSessionWindowVisible(bool visible) override;
    void SetCursor(CursorShape shape) override;
    void SetStatusText(std::string_view text) override;
    bool PumpOneEvent() override;

    /// The session window while it is open; null otherwise.
    SessionWindowView* view() const { return view_.get(); }

  private:
    class QtPageDesktop;

    QWidget* Parent() const;

    SessionWindowsSetup setup_;
    EventPump pump_;
    std::unique_ptr<SessionWindowView> view_;
    bool abortClicked_ = false;
    WaitCursor cursor_;
};

}  // namespace kelvo
