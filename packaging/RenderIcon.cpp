// Renders the application icon's SVG into a square PNG of the given size, so the
// build makes every icon size from the one drawing.
//
//   tavisto-render-icon ICON.svg SIZE OUT.png

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: tavisto-render-icon ICON.svg SIZE OUT.png\n");
        return 2;
    }
    // No display needed: painting into an image works on the offscreen platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int size = std::atoi(argv[2]);
    QSvgRenderer renderer{QString::fromLocal8Bit(argv[1])};
    if (!renderer.isValid() || size < 8 || size > 1024) {
        std::fprintf(stderr, "tavisto-render-icon: cannot render %s at size %s\n", argv[1],
                     argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "tavisto-render-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
