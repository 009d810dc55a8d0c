// QtMediaPlayer on the GStreamer backend with media files the tests write: a sound plays to its
// end, a video opens its window at the rectangle, Escape stops either, and a file that cannot
// be played is reported.

#include "platform/qt/qt_media_player.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "tests/case_name.h"
#include "tests/platform/media_files.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

// Machines without a sound card (and those with one) play into GStreamer's fallback sink: every
// real audio sink and device provider is ranked out, so autoaudiosink takes its fake sink, which
// still plays in real time.
constexpr const char* kNoRealAudio =
    "pulsesink:NONE,alsasink:NONE,jackaudiosink:NONE,oss4sink:NONE,osssink:NONE,"
    "pipewiresink:NONE,openalsink:NONE,pulsedeviceprovider:NONE,alsadeviceprovider:NONE,"
    "pipewiredeviceprovider:NONE";

// A playback longer than this has hung: Escape ends it, and the test fails on the result.
constexpr int kWatchdogMs = 20000;

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
};

class RecordingDialogs final : public Dialogs {
  public:
    MessageAnswer MessageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                             MessageButtons /*buttons*/) override {
        messages.push_back({std::string(text), std::string(caption), icon});
        return MessageAnswer::Ok;
    }
    std::vector<ShownMessage> messages;
};

/// The video windows on the screen.
std::vector<QWidget*> VisibleVideoWindows() {
    std::vector<QWidget*> found;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QtMediaPlayer::kVideoWindowName && window->isVisible()) {
            found.push_back(window);
        }
    }
    return found;
}

/// What the screen showed while a file played, looked at every 10 ms.
struct Sampled {
    std::vector<QRect> geometries;  ///< of each visible video window, in order
    bool ownedByPage = true;
    bool frameless = true;
    bool showedAFrame = false;  ///< the window's middle was not black once
};

class QtMediaPlayerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { setenv("GST_PLUGIN_FEATURE_RANK", kNoRealAudio, 0); }

    void SetUp() override {
        page_.setGeometry(0, 0, 600, 400);
        page_.show();
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout,
                         [this] { QTest::keyClick(&page_, Qt::Key_Escape); });
        sampler_.setInterval(10);
        QObject::connect(&sampler_, &QTimer::timeout, [this] {
            for (QWidget* video : VisibleVideoWindows()) {
                sampled_.geometries.push_back(video->geometry());
                sampled_.ownedByPage = sampled_.ownedByPage && video->parentWidget() == &page_;
                sampled_.frameless =
                    sampled_.frameless && video->windowFlags().testFlag(Qt::FramelessWindowHint);
                const QImage shown = video->grab().toImage();
                sampled_.showedAFrame =
                    sampled_.showedAFrame ||
                    shown.pixelColor(shown.width() / 2, shown.height() / 2) != QColor(Qt::black);
            }
        });
    }

    QtMediaPlayback Play(const MediaRequest& request) {
        watchdog_.start(kWatchdogMs);
        sampler_.start();
        const QtMediaPlayback result = player_.Play(request, &page_);
        sampler_.stop();
        watchdog_.stop();
        return result;
    }

    static MediaRequest Sound(const std::filesystem::path& file) {
        MediaRequest request;
        request.kind = MediaKind::Sound;
        request.file = file.string();
        return request;
    }
    static MediaRequest Video(const std::filesystem::path& file, MediaWindow window) {
        MediaRequest request;
        request.kind = MediaKind::Video;
        request.file = file.string();
        request.window = window;
        return request;
    }

    TempDir dir_;
    RecordingDialogs dialogs_;
    QtMediaPlayer player_{dialogs_};
    QWidget page_;
    QTimer watchdog_;
    QTimer sampler_;
    Sampled sampled_;
};

TEST_F(QtMediaPlayerTest, AWaveFilePlaysToItsEndWithoutAWindow) {
    const std::filesystem::path file = dir_ / "ton.wav";
    ASSERT_TRUE(testing::WriteToneWave(file, 400));
    const QtMediaPlayback result = Play(Sound(file));
    EXPECT_EQ(result.end, QtMediaPlayback::End::Played);
    EXPECT_NEAR(static_cast<double>(result.duration), 400.0, 20.0);
    EXPECT_EQ(result.position, result.duration);
    EXPECT_TRUE(sampled_.geometries.empty());
    EXPECT_TRUE(dialogs_.messages.empty());
}

struct WindowCase {
    std::string name;
    MediaWindow window;
    QRect shown;  ///< the window's last geometry while the video played
};

class VideoWindow : public QtMediaPlayerTest, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(VideoWindow, OpensAtTheRectangleOverThePageAndCloses) {
    const WindowCase& row = GetParam();
    const std::filesystem::path file = dir_ / "film.avi";
    ASSERT_TRUE(testing::WriteTestVideo(file, 10, 10, 80, 60));
    const QtMediaPlayback result = Play(Video(file, row.window));
    EXPECT_EQ(result.end, QtMediaPlayback::End::Played);
    EXPECT_EQ(result.duration, 1000);
    EXPECT_EQ(result.position, result.duration);
    ASSERT_FALSE(sampled_.geometries.empty());
    EXPECT_EQ(sampled_.geometries.back(), row.shown);
    EXPECT_TRUE(sampled_.ownedByPage);
    EXPECT_TRUE(sampled_.frameless);
    EXPECT_TRUE(sampled_.showedAFrame);
    EXPECT_TRUE(VisibleVideoWindows().empty());
    EXPECT_TRUE(dialogs_.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Media, VideoWindow,
    ::testing::Values(WindowCase{"AtTheRectangle", {100, 50, 160, 120}, QRect(100, 50, 160, 120)},
                      // A window without a size is the video's own size.
                      WindowCase{"WithoutSizeTheVideosOwn", {30, 40, 0, 0}, QRect(30, 40, 80, 60)}),
    CaseName{});

struct StopCase {
    std::string name;
    bool video;
};

class EscapeKey : public QtMediaPlayerTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(EscapeKey, StopsThePlaybackAndOtherInputWaits) {
    const StopCase& row = GetParam();
    const std::filesystem::path file = dir_ / (row.video ? "lang.avi" : "lang.wav");
    ASSERT_TRUE(row.video ? testing::WriteTestVideo(file, 10, 2, 80, 60)
                          : testing::WriteToneWave(file, 5000));
    auto* button = new QPushButton(QStringLiteral("Weiter"), &page_);
    button->setGeometry(10, 10, 80, 30);
    button->show();
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    QTimer::singleShot(300, [button] { QTest::mouseClick(button, Qt::LeftButton); });
    QTimer::singleShot(400, [this] { QTest::keyClick(&page_, Qt::Key_Escape); });

    const QtMediaPlayback result = Play(row.video ? Video(file, {100, 50, 160, 120}) : Sound(file));
    EXPECT_EQ(result.end, QtMediaPlayback::End::Stopped);
    EXPECT_EQ(result.duration, 5000);
    EXPECT_LT(result.position, result.duration);
    EXPECT_EQ(clicks, 0);  // the click during the playback was not taken
    EXPECT_TRUE(VisibleVideoWindows().empty());
    EXPECT_TRUE(dialogs_.messages.empty());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);  // and input reaches the page again
}

INSTANTIATE_TEST_SUITE_P(Media, EscapeKey,
                         ::testing::Values(StopCase{"Sound", false}, StopCase{"Video", true}),
                         CaseName{});

struct BrokenCase {
    std::string name;
    std::string file;
    bool video;
    bool exists;  ///< written as a few bytes that are no media file
    std::string message;
};

class UnplayableFile : public QtMediaPlayerTest,
                       public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(UnplayableFile, IsReportedAndThePageGoesOn) {
    const BrokenCase& row = GetParam();
    const std::filesystem::path file = dir_ / row.file;
    if (row.exists) {
        std::ofstream(file, std::ios::binary) << "Dies ist keine Mediendatei.\n";
    }
    const QtMediaPlayback result = Play(row.video ? Video(file, {100, 50, 160, 120}) : Sound(file));
    EXPECT_EQ(result.end, QtMediaPlayback::End::Failed);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text,
              row.message + " \"" + file.string() + "\" kann nicht abgespielt werden.");
    EXPECT_EQ(dialogs_.messages[0].caption, "Fehlermeldung");
    EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(VisibleVideoWindows().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Media, UnplayableFile,
    ::testing::Values(BrokenCase{"NoVideo", "kaputt.avi", true, true, "Die Videodatei"},
                      BrokenCase{"NoSound", "kaputt.wav", false, true, "Die Sounddatei"},
                      BrokenCase{"GoneVideo", "fehlt.mpg", true, false, "Die Videodatei"},
                      BrokenCase{"GoneSound", "fehlt.wav", false, false, "Die Sounddatei"}),
    CaseName{});

}  // namespace
}  // namespace kelvo
