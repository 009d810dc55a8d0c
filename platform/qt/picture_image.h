#pragma once

#include <QImage>
#include <string>

#include "forms/picture_file.h"

namespace kelvo {

/// A decoded picture as a QImage (RGB, 8 bits a component); a null image for an empty one.
QImage ToQImage(const Picture& picture);

/// Decodes a JPEG or bitmap file (told by its name's ending) with our own decoders; a null
/// image when it does not decode. `utf8Path` is a path of this system.
QImage LoadPictureImage(const std::string& utf8Path);

}  // namespace kelvo
