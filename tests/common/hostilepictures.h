#pragma once

#include <QByteArray>

// Pictures a hostile guide may hold, as bytes, for the tests and the
// hostile-service bench alike.
namespace hostilepictures {

// An icon whose directory names a 16 by 16 picture, holding the PNG given
// (which may be far larger).
QByteArray iconWrapping(const QByteArray &png);

// An SVG document of 300 by 200 with the given elements inside.
QByteArray svg(const QByteArray &inside);

// A whole, decodable black PNG of one bit a pixel: at 22000 by 22000, 58 KB
// of deflate that decode to 60 MB (and to 1.9 GB as the 32-bit pixels a
// window shows).
QByteArray bitmapPng(int width, int height);

} // namespace hostilepictures
