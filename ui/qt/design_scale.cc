#include "ui/qt/design_scale.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace kelvo {

int DesignScale::operator()(int designPixels) const {
    return static_cast<int>(std::lround(designPixels * factor_));
}

QPoint DesignScale::Point(int left, int top) const {
    return {(*this)(left), (*this)(top)};
}

QRect DesignScale::Rect(int left, int top, int width, int height) const {
    // Edges are scaled, not sizes, so that neighbouring controls stay neighbours.
    const int x = (*this)(left);
    const int y = (*this)(top);
    return {x, y, (*this)(left + width) - x, (*this)(top + height) - y};
}

QFont DesignScale::Courier(int pixelSize, double cellWidth, bool bold) const {
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setKerning(false);
    font.setBold(bold);
    font.setPixelSize(std::max(1, (*this)(pixelSize)));
    const double advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
    font.setLetterSpacing(QFont::AbsoluteSpacing, cellWidth * factor_ - advance);
    return font;
}

int DesignScale::CourierWidth(int characters, double cellWidth) const {
    return static_cast<int>(std::ceil(characters * cellWidth * factor_));
}

QFont DesignScale::System(int pixelSize, bool bold) const {
    return Sans(pixelSize, bold);
}

QFont DesignScale::Sans(int pixelSize, bool bold) const {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    font.setPixelSize(std::max(1, (*this)(pixelSize)));
    return font;
}

}  // namespace kelvo
