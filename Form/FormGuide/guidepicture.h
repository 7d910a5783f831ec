#pragma once

#include <QImage>
#include <QtGlobal>

class QByteArray;

// The pictures of the novice guide come from the maker's service and are
// decoded in memory on the GUI thread: a picture too large to send or to
// hold in memory is refused before it is decoded.
namespace guidepicture {

// A guide picture's largest body and decoded sides; a row is at most 648
// pixels wide, so nothing larger has a use on the page.
constexpr qint64 kMaxBytes = 10 * 1024 * 1024;
constexpr int kMaxSide = 4096;

// The picture of a reply body; a null image for a body that is no picture
// of a known format, or is larger than the limits.
QImage decode(const QByteArray &body);

} // namespace guidepicture
