// Build-time tool: renders one SVG drawing to the image file the program embeds
// or ships. The output size is the drawing's own size (its width and height),
// the format follows the output file's extension (png, ico...).
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Rendering needs no display; the build may run on a machine without one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 3) {
        std::fprintf(stderr, "usage: skinrender INPUT.svg OUTPUT.png|OUTPUT.ico\n");
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);

    QSvgRenderer renderer(input);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "skinrender: %s is not a valid SVG drawing\n", argv[1]);
        return 1;
    }
    const QSize size = renderer.defaultSize();
    if (size.isEmpty()) {
        std::fprintf(stderr, "skinrender: %s has no size\n", argv[1]);
        return 1;
    }

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter);
    }

    const QByteArray format = QFileInfo(output).suffix().toLower().toLatin1();
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "skinrender: cannot write %s\n", argv[2]);
        return 1;
    }
    QImageWriter writer(&file, format);
    if (!writer.write(image.convertToFormat(QImage::Format_ARGB32)) || !file.commit()) {
        std::fprintf(stderr, "skinrender: writing %s failed: %s\n", argv[2],
                     qPrintable(writer.errorString()));
        return 1;
    }
    return 0;
}
