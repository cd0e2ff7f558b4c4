// Renders the application icon's SVG into a square PNG of the given size, so the
// build makes every icon size from the one drawing; or into a Windows icon file
// holding the sizes Windows shows (16 to 256, each stored as a PNG, which Windows
// reads since Vista), for the Windows programs' resources.
//
//   tavisto-render-icon ICON.svg SIZE OUT.png
//   tavisto-render-icon ICON.svg ico OUT.ico

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string_view>

namespace {

QImage render(QSvgRenderer& renderer, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image;
}

// An ICO file: a 6-byte header, a 16-byte entry per image, then the images.
QByteArray iconFile(QSvgRenderer& renderer) {
    const int sizes[] = {16, 24, 32, 48, 64, 128, 256};
    const int count = static_cast<int>(std::size(sizes));
    QByteArray header(6 + 16 * count, '\0');
    QByteArray images;
    auto put16 = [&](int at, int value) {
        qToLittleEndian<quint16>(value, header.data() + at);
    };
    auto put32 = [&](int at, int value) {
        qToLittleEndian<quint32>(value, header.data() + at);
    };
    put16(2, 1); // an icon, not a cursor
    put16(4, count);
    for (int i = 0; i < count; ++i) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        render(renderer, sizes[i]).save(&buffer, "PNG");
        const int entry = 6 + 16 * i;
        header[entry] = static_cast<char>(sizes[i] & 0xFF); // 256 is written as 0
        header[entry + 1] = static_cast<char>(sizes[i] & 0xFF);
        put16(entry + 4, 1);  // colour planes
        put16(entry + 6, 32); // bits per pixel
        put32(entry + 8, static_cast<int>(png.size()));
        put32(entry + 12, static_cast<int>(header.size() + images.size()));
        images += png;
    }
    return header + images;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: tavisto-render-icon ICON.svg SIZE OUT.png\n");
        return 2;
    }
    // No display needed: painting into an image works on the offscreen platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const bool ico = std::string_view(argv[2]) == "ico";
    const int size = ico ? 256 : std::atoi(argv[2]);
    QSvgRenderer renderer{QString::fromLocal8Bit(argv[1])};
    if (!renderer.isValid() || size < 8 || size > 1024) {
        std::fprintf(stderr, "tavisto-render-icon: cannot render %s at size %s\n", argv[1],
                     argv[2]);
        return 1;
    }
    bool written = false;
    if (ico) {
        QFile out(QString::fromLocal8Bit(argv[3]));
        const QByteArray bytes = iconFile(renderer);
        written = out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
    } else {
        written = render(renderer, size).save(QString::fromLocal8Bit(argv[3]), "PNG");
    }
    if (!written) {
        std::fprintf(stderr, "tavisto-render-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
