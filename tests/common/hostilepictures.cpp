#include "common/hostilepictures.h"

#include <QtGlobal>

namespace hostilepictures {

namespace {

QByteArray bigEndian(quint32 value)
{
    const char bytes[] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    return QByteArray(bytes, 4);
}

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : data) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    return bigEndian(quint32(data.size())) + type + data + bigEndian(crc32(type + data));
}

} // namespace

QByteArray iconWrapping(const QByteArray &png)
{
    QByteArray icon("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0", 14);
    for (const quint32 value : {quint32(png.size()), quint32(22)}) {
        for (int shift = 0; shift < 32; shift += 8)
            icon += char((value >> shift) & 0xff);
    }
    return icon + png;
}

QByteArray svg(const QByteArray &inside)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "width=\"300\" height=\"200\">" + inside + "</svg>";
}

QByteArray bitmapPng(int width, int height)
{
    const QByteArray header = bigEndian(quint32(width)) + bigEndian(quint32(height)) + QByteArray("\x01\0\0\0\0", 5);
    const QByteArray pixels = QByteArray(1 + (width + 7) / 8, '\0').repeated(height);
    return QByteArray("\x89PNG\r\n\x1a\n") + pngChunk("IHDR", header) + pngChunk("IDAT", qCompress(pixels, 9).mid(4))
        + pngChunk("IEND", QByteArray());
}

} // namespace hostilepictures
