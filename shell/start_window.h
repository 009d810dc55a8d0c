#pragma once

#include <string>

#include "authoring/editor_layout.h"
#include "shell/shell_config.h"

namespace kelvo {

struct ShellServices;

/// TForm4, the start window: a picture for three seconds in the programming module; in the
/// user module an invisible window that chooses the knowledge base to run.
class TForm4 {
  public:
    /// Loaded: the window's place and size, and whether the picture is to be shown.
    TForm4(const ShellConfig& config, ShellServices& services);

    /// What the window procedure does after the first paint: the hourglass, the three-second
    /// wait on the clock while the picture is marked, the arrow, and closing the window (which
    /// runs FormClose).
    void WndProcPaint();

    /// FormClose: chooses StartFileName — in the user module the file named on the command
    /// line, else the knowledge base beside the program, else the one the open dialog gives. Run by
    /// WndProcPaint; a view that closes the window in another way calls it itself.
    void FormClose();

    /// Where the window is: (100, 100) 200 × 250 in the programming module, (0, 0) 1 × 1 in
    /// the user module.
    WindowRect Bounds() const { return bounds_; }
    /// True while the picture is to be shown (from Loaded to the end of the wait).
    bool PictureMarked() const { return pictureMarked_; }
    bool Closed() const { return closed_; }

    /// The knowledge base chosen (Windows-1252 path); empty in the programming module and when
    /// none was found or chosen.
    const std::string& StartFileName() const { return startFileName_; }

  private:
    const ShellConfig& config_;
    ShellServices& services_;
    WindowRect bounds_;
    bool pictureMarked_ = false;
    bool closed_ = false;
    std::string startFileName_;
};

/// The time the start picture stays on screen, in milliseconds.
inline constexpr unsigned kStartPictureMilliseconds = 3000;

}  // namespace kelvo
