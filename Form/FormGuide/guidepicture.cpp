#include "Form/FormGuide/guidepicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QDebug>
#include <QImageReader>

#include <memory>

namespace guidepicture {

namespace {

// A reader that uses the decoder of the format named and no other: the
// bytes never get to pick one of their own.
std::unique_ptr<QImageReader> readerFor(QBuffer *buffer, const QByteArray &format)
{
    buffer->open(QIODevice::ReadOnly);
    auto reader = std::make_unique<QImageReader>(buffer, format);
    reader->setAutoDetectImageFormat(false);
    reader->setDecideFormatFromContent(false);
    return reader;
}

} // namespace

QByteArray formatOf(const QByteArray &body)
{
    if (body.startsWith(QByteArrayLiteral("\x89PNG\r\n\x1a\n")))
        return QByteArrayLiteral("png");
    if (body.startsWith(QByteArrayLiteral("\xff\xd8\xff")))
        return QByteArrayLiteral("jpeg");
    return QByteArray();
}

QSize headerSize(const QByteArray &body)
{
    const QByteArray format = formatOf(body);
    if (format.isEmpty() || body.size() > kMaxBytes)
        return QSize();
    // Within the coded data every 0xFF is followed by 0 or a restart mark,
    // so each start of a scan stands out.
    if (format == "jpeg" && body.count(QByteArrayLiteral("\xff\xda")) > kMaxJpegScans)
        return QSize();
    QBuffer buffer;
    buffer.setData(body);
    const QSize size = readerFor(&buffer, format)->size();
    if (!size.isValid() || size.isEmpty() || size.width() > kMaxSide || size.height() > kMaxSide)
        return QSize();
    return size;
}

QSize shownSize(QSize size, int maxWidth)
{
    if (maxWidth <= 0 || size.width() <= maxWidth)
        return size;
    return QSize(maxWidth, qMax(1, int(qint64(size.height()) * maxWidth / size.width())));
}

QImage decode(const QByteArray &body, int maxWidth)
{
    const QSize size = headerSize(body);
    if (!size.isValid()) {
        qDebug() << "guide picture refused:" << (formatOf(body).isEmpty() ? QByteArray("no PNG or JPEG") : formatOf(body))
                 << body.size() << "bytes";
        return QImage();
    }
    QBuffer buffer;
    buffer.setData(body);
    const std::unique_ptr<QImageReader> reader = readerFor(&buffer, formatOf(body));
    QImage image;
    if (!reader->read(&image)) {
        qDebug() << "guide picture unreadable:" << reader->errorString();
        return QImage();
    }
    // The pixels must be those the header announced, or the limits above
    // said nothing.
    if (image.size() != size)
        return QImage();
    const QSize shown = shownSize(size, maxWidth);
    if (shown != size)
        image = image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace guidepicture
