#pragma once

// Windows laid out in design pixels, shown times a scale factor. Qt's own pixels are device
// independent, so a high-resolution screen enlarges everything once more by its device pixel
// ratio and nothing moves relative to anything else.

#include <QFont>
#include <QPoint>
#include <QRect>

namespace kelvo {

class DesignScale {
  public:
    /// `factor` 1.0 shows the design pixels as they are.
    explicit DesignScale(double factor = 1.0) : factor_(factor) {}

    double factor() const { return factor_; }
    /// A length in design pixels, scaled and rounded.
    int operator()(int designPixels) const;
    QPoint Point(int left, int top) const;
    QRect Rect(int left, int top, int width, int height) const;

    /// "Courier New" (Liberation Mono, which has the same metrics, where it is missing) of
    /// `pixelSize` design pixels, with its characters exactly `cellWidth` design pixels apart,
    /// so that column c of a text starts at (c - 1) * cellWidth whatever the font's hinting.
    QFont Courier(int pixelSize, double cellWidth, bool bold = false) const;
    /// The width of `characters` characters of a Courier font of this scale.
    int CourierWidth(int characters, double cellWidth) const;
    /// The windows' own font ("System"): a bold sans-serif of `pixelSize` design pixels.
    QFont System(int pixelSize, bool bold = true) const;
    /// A sans-serif font for captions of buttons and labels of `pixelSize` design pixels.
    QFont Sans(int pixelSize, bool bold = false) const;

  private:
    double factor_;
};

}  // namespace kelvo
