#pragma once

#include <QImage>
#include <QSize>
#include <QtGlobal>

class QByteArray;

// The pictures of the novice guide come from the maker's service, which the
// program cannot vouch for: a picture is taken only in the formats a guide
// uses, told from its bytes (never from its name or the server's word), and
// its size is read from its own header before a pixel is decoded. Nothing
// in a picture can make the program load anything else.
namespace guidepicture {

// A guide picture's largest body and decoded sides; a row is at most 648
// pixels wide, so nothing larger has a use on the page.
constexpr qint64 kMaxBytes = 10 * 1024 * 1024;
constexpr int kMaxSide = 4096;
// A progressive JPEG is read once per scan; a real one has about ten, a
// hostile one thousands of tiny ones, each costing a pass over the picture.
constexpr int kMaxJpegScans = 100;

// "png" or "jpeg" by the body's signature; empty for anything else (a
// drawing, an icon, an animation, a page).
QByteArray formatOf(const QByteArray &body);

// The picture's size as its header gives it; invalid for a body that is no
// picture of those formats, or one beyond the limits.
QSize headerSize(const QByteArray &body);

// The size a picture is shown at in a row this wide: its own, or scaled down
// to the width when it is wider.
QSize shownSize(QSize size, int maxWidth);

// The picture, decoded and fitted to the width; a null image for a body
// that is refused or cannot be read. Runs on any thread.
QImage decode(const QByteArray &body, int maxWidth);

} // namespace guidepicture
