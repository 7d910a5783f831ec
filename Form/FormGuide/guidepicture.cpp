#include "Form/FormGuide/guidepicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QDebug>
#include <QImageReader>

namespace guidepicture {

QImage decode(const QByteArray &body)
{
    if (body.isEmpty() || body.size() > kMaxBytes)
        return QImage();
    QBuffer buffer;
    buffer.setData(body);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The header tells the size; the pixels are read only when it fits.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide) {
        qDebug() << "guide picture refused, size" << size;
        return QImage();
    }
    QImage image;
    if (!reader.read(&image))
        qDebug() << "guide picture unreadable:" << reader.errorString();
    return image;
}

} // namespace guidepicture
