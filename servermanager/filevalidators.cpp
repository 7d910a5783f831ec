#include "servermanager/filevalidators.h"

#include <QDateTime>
#include <QLocale>

namespace LanHttpServer {

FileValidators FileValidators::of(qint64 modifiedSecsSinceEpoch, qint64 size)
{
    FileValidators validators;
    validators.etag = '"' + QByteArray::number(modifiedSecsSinceEpoch, 16) + '-' + QByteArray::number(size, 16) + '"';
    // HTTP dates are in English whatever the user's language.
    validators.lastModified = QLocale::c()
                                  .toString(QDateTime::fromSecsSinceEpoch(modifiedSecsSinceEpoch, Qt::UTC),
                                            QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"))
                                  .toLatin1();
    return validators;
}

bool FileValidators::ifRangeHolds(const QString &ifRange) const
{
    const QByteArray value = ifRange.trimmed().toLatin1();
    if (value.isEmpty())
        return true;
    // An entity tag begins with a quote (or W/ for a weak one, which HTTP
    // never lets stand for a range); anything else is a date.
    if (value.startsWith('"') || value.startsWith("W/"))
        return value == etag;
    return value == lastModified;
}

QByteArray FileValidators::headerLines() const
{
    return "ETag: " + etag + "\r\nLast-Modified: " + lastModified + "\r\n";
}

} // namespace LanHttpServer
