#include "platform/qt/picture_image.h"

#include <cstring>

namespace kelvo {

QImage ToQImage(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() != static_cast<std::size_t>(picture.width) *
                                  static_cast<std::size_t>(picture.height) * 3u) {
        return {};
    }
    QImage image(picture.width, picture.height, QImage::Format_RGB888);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3u;
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(image.scanLine(y), picture.rgb.data() + rowBytes * static_cast<std::size_t>(y),
                    rowBytes);
    }
    return image;
}

QImage LoadPictureImage(const std::string& utf8Path) {
    const Expected<Picture> picture = LoadPictureFile(std::filesystem::path(utf8Path));
    if (!picture) {
        return {};
    }
    return ToQImage(*picture);
}

}  // namespace kelvo
