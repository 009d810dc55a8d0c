#pragma once

#include <QString>
#include <QtGlobal>

#include "platform/media_player.h"

class QWidget;

namespace kelvo {

class Dialogs;

/// How one playback ended.
struct QtMediaPlayback {
    enum class End {
        Played,   ///< played to its end
        Stopped,  ///< stopped with the request's key
        Failed,   ///< the file could not be played; the message was shown
    };
    End end = End::Failed;
    /// Position and duration at the end, in milliseconds (0 when unknown).
    qint64 position = 0;
    qint64 duration = 0;
};

/// Media playback on Qt Multimedia: a video plays in a frameless pop-up window at the request's
/// screen rectangle (the window named kVideoWindowName), owned by the page it belongs to, a
/// sound without a window. Each playback
/// opens the file, plays it in a local event loop until it ends or the stop key is pressed, and
/// closes it again. Meanwhile the program takes no other input, as the page waits for the
/// playback. A file that cannot be played is reported through the dialogs, and Play returns.
class QtMediaPlayer final : public MediaPlayer {
  public:
    static inline const QString kVideoWindowName = QStringLiteral("kelvo-video");

    explicit QtMediaPlayer(Dialogs& dialogs) : dialogs_(dialogs) {}

    /// Plays with the topmost modal window (the page) as the video window's owner.
    void Play(const MediaRequest& request) override;
    /// Plays with `owner` (may be null) as the video window's owner.
    QtMediaPlayback Play(const MediaRequest& request, QWidget* owner);

  private:
    void ReportFailure(const MediaRequest& request);

    Dialogs& dialogs_;
};

}  // namespace kelvo
