#pragma once

#include <QByteArray>
#include <QString>

namespace LanHttpServer {

// What tells one version of a served file from another: its entity tag and
// its modification time, written exactly as nginx writes them for the same
// file (ETag "<mtime>-<size>" in lower-case hexadecimal, Last-Modified as an
// HTTP date). A client that resumes a download with the entity tag that
// either server gave it is then answered alike by both; a date is held only
// when it is written exactly as ours, where nginx would also read it in the
// older date formats.
struct FileValidators
{
    QByteArray etag;
    QByteArray lastModified;

    static FileValidators of(qint64 modifiedSecsSinceEpoch, qint64 size);

    // Whether an If-Range value names this version of the file: an entity
    // tag equal to ours (a weak one never is), or exactly our date.
    bool ifRangeHolds(const QString &ifRange) const;

    // "ETag: ...\r\nLast-Modified: ...\r\n", for a reply head.
    QByteArray headerLines() const;
};

} // namespace LanHttpServer
