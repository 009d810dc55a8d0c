#include "platform/qt/qt_media_player.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMediaPlayer>
#include <QPainter>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/dialogs.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_text.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr int kEscapeKey = 27;        // the Windows virtual-key code of Escape
constexpr QSize kSizeless(320, 240);  // a window without size until the video's size is known

// The pop-up window of a video: frameless, showing the frames of its sink scaled to its size.
// It paints the frames itself; a video widget would render them through OpenGL, where the
// second video of a program can stall before its first frame.
class VideoWindow final : public QWidget {
  public:
    explicit VideoWindow(QWidget* owner) : QWidget(owner, Qt::Window | Qt::FramelessWindowHint) {
        setObjectName(QtMediaPlayer::kVideoWindowName);
        setAttribute(Qt::WA_OpaquePaintEvent);
        QObject::connect(
            &sink_, &QVideoSink::videoFrameChanged, this,
            [this](const QVideoFrame& frame) {
                frame_ = frame.toImage();
                update();
            },
            Qt::QueuedConnection);
    }

    QVideoSink* sink() { return &sink_; }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        if (frame_.isNull()) {
            painter.fillRect(rect(), Qt::black);
        } else {
            painter.drawImage(rect(), frame_);
        }
    }

  private:
    QVideoSink sink_;
    QImage frame_;
};

// Holds the program's input while a file plays: the stop key ends the playback; every other
// key, click and wheel turn is dropped, so nothing queues up behind the playback.
class PlaybackInput final : public QObject {
  public:
    PlaybackInput(int stopKey, std::function<void()> stop)
        : stopKey_(stopKey), stop_(std::move(stop)) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~PlaybackInput() override { QCoreApplication::instance()->removeEventFilter(this); }
    PlaybackInput(const PlaybackInput&) = delete;
    PlaybackInput& operator=(const PlaybackInput&) = delete;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
                if (stopKey_ == kEscapeKey &&
                    static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                    stop_();
                }
                return true;
            case QEvent::ShortcutOverride:
                // Accepted, so that no shortcut of the page fires; the key press that follows
                // is dropped above.
                event->accept();
                return true;
            case QEvent::KeyRelease:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
                return true;
            default:
                return false;
        }
    }

  private:
    int stopKey_;
    std::function<void()> stop_;
};

}  // namespace

void QtMediaPlayer::Play(const MediaRequest& request) {
    Play(request, DialogParent());
}

QtMediaPlayback QtMediaPlayer::Play(const MediaRequest& request, QWidget* owner) {
    QtMediaPlayback result;
    QMediaPlayer player;
    QAudioOutput audio;
    player.setAudioOutput(&audio);

    // The video's pop-up window at the rectangle on the screen, over its owner. A width or
    // height that is not positive is the video's own.
    std::unique_ptr<VideoWindow> window;
    if (request.kind == MediaKind::Video) {
        window = std::make_unique<VideoWindow>(owner);
        window->setWindowTitle(Utf8ToQString(request.file));
        const MediaWindow& place = request.window;
        const bool ownWidth = place.width <= 0;
        const bool ownHeight = place.height <= 0;
        window->setGeometry(place.left, place.top, ownWidth ? kSizeless.width() : place.width,
                            ownHeight ? kSizeless.height() : place.height);
        if (ownWidth || ownHeight) {
            VideoWindow* shown = window.get();
            QObject::connect(
                shown->sink(), &QVideoSink::videoSizeChanged, shown,
                [shown, ownWidth, ownHeight] {
                    const QSize size = shown->sink()->videoSize();
                    if (size.isValid()) {
                        shown->resize(ownWidth ? size.width() : shown->width(),
                                      ownHeight ? size.height() : shown->height());
                    }
                },
                // The sink signals while it holds its own lock, which videoSize() takes
                // again: read the size once the signal has returned.
                Qt::QueuedConnection);
        }
        player.setVideoSink(window->sink());
    }

    QEventLoop loop;
    bool over = false;
    auto finish = [&](QtMediaPlayback::End end) {
        if (!over) {
            over = true;
            result.end = end;
            loop.quit();
        }
    };
    QObject::connect(&player, &QMediaPlayer::mediaStatusChanged, &loop,
                     [&](QMediaPlayer::MediaStatus status) {
                         if (status == QMediaPlayer::EndOfMedia) {
                             finish(QtMediaPlayback::End::Played);
                         } else if (status == QMediaPlayer::InvalidMedia) {
                             finish(QtMediaPlayback::End::Failed);
                         }
                     });
    QObject::connect(&player, &QMediaPlayer::errorOccurred, &loop,
                     [&](QMediaPlayer::Error error, const QString& /*text*/) {
                         if (error != QMediaPlayer::NoError) {
                             finish(QtMediaPlayback::End::Failed);
                         }
                     });
    {
        PlaybackInput input(request.stopKey, [&] { finish(QtMediaPlayback::End::Stopped); });
        if (!player.isAvailable()) {
            finish(QtMediaPlayback::End::Failed);
        } else {
            if (window != nullptr) {
                window->show();
                window->raise();
            }
            player.setSource(QUrl::fromLocalFile(Utf8ToQString(request.file)));
            player.play();
            // A failure can be reported before the loop runs; the loop must not wait then.
            if (!over) {
                loop.exec();
            }
        }
        result.position = player.position();
        result.duration = player.duration();
        player.stop();
    }
    player.setVideoSink(nullptr);
    if (window != nullptr) {
        window->hide();
        window.reset();
    }
    if (result.end == QtMediaPlayback::End::Failed) {
        ReportFailure(request);
    }
    return result;
}

void QtMediaPlayer::ReportFailure(const MediaRequest& request) {
    const std::string what = request.kind == MediaKind::Video ? "Die Videodatei" : "Die Sounddatei";
    dialogs_.MessageBox(
        what + " \"" + Utf8ToWindows1252(request.file) + "\" kann nicht abgespielt werden.",
        "Fehlermeldung", MessageIcon::Warning, MessageButtons::Ok);
}

}  // namespace kelvo
