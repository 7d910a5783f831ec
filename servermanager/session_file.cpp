// The replies that send a file of the shared folder: a poster whole, a video
// as the ranges asked of it, with the validators that tell its versions apart.
#include "servermanager/session.h"

#include "platform/servedfile.h"
#include "servermanager/filevalidators.h"
#include "servermanager/httpresponse.h"
#include "servermanager/multipartbody.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>

namespace LanHttpServer {

namespace {

// Of the file as opened (not of whatever its name leads to now).
FileValidators validatorsOf(const QFile &file, qint64 size)
{
    return FileValidators::of(file.fileTime(QFileDevice::FileModificationTime).toSecsSinceEpoch(), size);
}

} // namespace

// Begins the reply, then opens the file to send (null when the reply is
// over already). A file that cannot be read as a whole, seekable file is
// "not found" for the client, and the error route tells the library that it
// is out of date.
//
// The file is opened once, and the checks are made on what was opened: a name
// in the shared folder swapped for a link to a file elsewhere between a look
// at it and the open would otherwise send that file.
std::unique_ptr<QFile> Session::openForReply(const QString &filePath, const char *operation)
{
    if (!beginReply(operation))
        return nullptr;
    auto file = std::make_unique<QFile>(filePath);
    const int handle = platform::openRegularFileInside(filePath, m_servedFolder);
    if (handle >= 0) {
        if (file->open(handle, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
            return file;
        platform::closeFile(handle);
    }
    qDebug().noquote() << QStringLiteral("LanHttpServer::Session::%1: open file error:").arg(QLatin1String(operation))
                       << filePath;
    sendWhole(errorReply(404));
    emit sglErrorcode(404);
    return nullptr;
}

void Session::replyFile(const QString &filePath, const ByteRange &range)
{
    std::unique_ptr<QFile> file = openForReply(filePath, "replyFile");
    if (!file)
        return;
    const qint64 size = file->size();
    const FileValidators validators = validatorsOf(*file, size);
    const ByteRange::Answer answer = range.answerFor(size, validators.ifRangeHolds(range.ifRange()));
    const QByteArray lines = validators.headerLines();

    switch (answer.kind) {
    case ByteRange::Answer::NotSatisfiable:
        sendWhole(rangeNotSatisfiableReply(size));
        return;
    case ByteRange::Answer::WholeFile:
        sendWithBody(wholeFileReplyHead(size, lines), std::move(file), size);
        return;
    case ByteRange::Answer::WholeAsRange:
    case ByteRange::Answer::Parts:
        break;
    }

    if (answer.parts.size() > 1) {
        const QByteArray boundary = MultipartBody::newBoundary();
        auto body = std::make_unique<MultipartBody>(std::move(file), answer.parts, size, boundary);
        const qint64 length = body->length();
        sendWithBody(multipartReplyHead(boundary, length, lines), std::move(body), length);
        return;
    }
    const ByteRange::Span part = answer.parts.first();
    if (!file->seek(part.first)) {
        qDebug().noquote() << "LanHttpServer::Session::replyFile: seek error:" << filePath << part.first;
        sendWhole(errorReply(500));
        return;
    }
    sendWithBody(rangeReplyHead(part.first, part.last, size, lines), std::move(file), part.last - part.first + 1);
}

void Session::replyImageFile(const QString &filePath)
{
    std::unique_ptr<QFile> file = openForReply(filePath, "replyImageFile");
    if (!file)
        return;
    const qint64 size = file->size();
    const QByteArray lines = validatorsOf(*file, size).headerLines();
    sendWithBody(imageReplyHead(imageContentType(filePath), size, lines), std::move(file), size);
}

} // namespace LanHttpServer
