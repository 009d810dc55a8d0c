#pragma once

#include <QIcon>

namespace kelvo {

/// The pictures of the toolbar and picture buttons.
enum class ToolIcon {
    Stop,       ///< break off
    Print,      ///< print
    Database,   ///< show the fact base
    Forward,    ///< continue
    Copy,       ///< copy
    Paste,      ///< paste
    Play,       ///< play a video or sound
    NewFile,    ///< new knowledge base
    OpenFile,   ///< open a knowledge base
    CloseFile,  ///< close the knowledge base
    Edit,       ///< edit the knowledge base
    Start,      ///< start the knowledge base
    Help,       ///< help
    First,      ///< first line
    Previous,   ///< previous project line
    Next,       ///< next project line
    Last,       ///< last line
};

/// The icon of the desktop's icon theme for `icon`, or our own drawing where the desktop has
/// no theme or the theme lacks it.
QIcon ToolIconFor(ToolIcon icon);

/// Our own drawing of `icon`, independent of the desktop.
QIcon OwnToolIcon(ToolIcon icon);

}  // namespace kelvo
