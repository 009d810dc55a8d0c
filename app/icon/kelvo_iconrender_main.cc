// kelvo-iconrender SOURCE.svg OUTPUT.png SIZE: renders an icon of our own to a square PNG of
// SIZE pixels with a transparent background, for the PNG sizes of the desktop's icon theme.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

namespace {

int Fail(const char* what, const char* file) {
    std::fprintf(stderr, "kelvo-iconrender: %s: %s\n", file, what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "Aufruf: kelvo-iconrender QUELLE.svg ZIEL.png GROESSE\n");
        return 2;
    }
    // No display is needed to draw into an image.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    }
    QGuiApplication application(argc, argv);
    bool sizeRead = false;
    const int size = QString::fromUtf8(argv[3]).toInt(&sizeRead);
    if (!sizeRead || size < 1 || size > 1024) {
        return Fail("keine Größe zwischen 1 und 1024", argv[3]);
    }
    QSvgRenderer renderer(QString::fromUtf8(argv[1]));
    if (!renderer.isValid()) {
        return Fail("kein lesbares SVG", argv[1]);
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    if (!image.save(QString::fromUtf8(argv[2]), "PNG")) {
        return Fail("kann nicht geschrieben werden", argv[2]);
    }
    return 0;
}
