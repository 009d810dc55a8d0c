#pragma once

#include <string_view>

namespace kelvo {

/// The media control interface: text commands that open, place, play and close video and sound
/// files ("open NAME type avivideo alias Film style popup", "play Film wait", ...). A command
/// returns when it is done ("play ... wait" when the file has played or Escape was pressed);
/// no result is reported, so a failing command does not stop the next one. File names in the
/// commands are UTF-8 paths.
class MediaPlayer {
  public:
    virtual ~MediaPlayer() = default;
    virtual void SendCommand(std::string_view command) = 0;
};

}  // namespace kelvo
