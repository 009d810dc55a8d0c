#pragma once

#include <string>
#include <vector>

namespace kelvo {

/// Whether a media file plays in a window of its own or without one.
enum class MediaKind { Video, Sound };

/// The window of a video: left and top on the screen, width and height, in pixels.
struct MediaWindow {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const MediaWindow&) const = default;
};

/// One playback of a page's media file, as the page asks for it.
struct MediaRequest {
    MediaKind kind = MediaKind::Sound;
    /// The file as found (UTF-8 path).
    std::string file;
    /// Where the video's pop-up window goes; unused for a sound.
    MediaWindow window;
    /// The key that stops the playback, as a Windows virtual-key code (27 Escape); 0 none.
    int stopKey = 27;
    /// The same playback as media control commands ("open ...", "play Film wait", ...), kept
    /// for transcripts and text desktops. A player carries out the fields above, never these.
    std::vector<std::string> commands;

    bool operator==(const MediaRequest&) const = default;
};

/// Plays the media files of consultation pages. `Play` returns when the playback is over: the
/// file played to its end or was stopped with the request's key. A file that cannot be played
/// is the player's to report; the page goes on either way.
class MediaPlayer {
  public:
    virtual ~MediaPlayer() = default;
    virtual void Play(const MediaRequest& request) = 0;
};

}  // namespace kelvo
