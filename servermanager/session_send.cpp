// How a reply's bytes reach the socket: the head, and bodies made in memory
// or sent over a local socket, through the socket's own buffer within the
// send window; file bodies on a TCP connection straight from the file.
#include "servermanager/session.h"

#include "platform/sockets.h"
#include "servermanager/httpresponse.h"
#include "servermanager/tcpconnection.h"

#include <QDebug>
#include <QFile>
#include <QSocketNotifier>

namespace LanHttpServer {

namespace {

// Bodies that are not sent straight from their file (images made in memory,
// the parts of a multipart range reply, connections over a local socket)
// are read 8,192 bytes at a time and handed to the socket as the socket
// reports bytes written, never more than the send window ahead, so a long
// reply costs one window of memory per connection and a slow client slows
// only itself.
constexpr qint64 kChunkBytes = 8192;

} // namespace

void Session::sendWhole(const QByteArray &message)
{
    sendWithBody(message, nullptr, 0);
}

void Session::sendWithBody(const QByteArray &head, std::unique_ptr<QIODevice> source, qint64 bodyLength)
{
    // A HEAD request learns the body's length from the head; the body itself
    // is never read.
    if (m_headOnly)
        source.reset();
    replySource = std::move(source);
    m_sourceRemaining = replySource ? bodyLength : 0;
    m_directFile = nullptr;
    if (m_sourceRemaining > 0 && canSendFileDirectly()) {
        m_directFile = static_cast<QFile *>(replySource.get());
        m_directOffset = m_directFile->pos();
    }
    // Only what passes through the socket's own buffer is counted here; a
    // file sent directly is counted by its own offset.
    pendingBytes = head.size() + (m_directFile ? 0 : m_sourceRemaining);
    idleTimer.start();
    socket->write(head);
    sendMore();
}

void Session::sendContent(const QByteArray &contentType, const QByteArray &body)
{
    sendHeadAndBody(contentReplyHead(contentType, body.size()), body);
}

// A body held in memory, such as the listing that every "list" request gets,
// goes to a TCP connection as it is held: sending it copies nothing.
void Session::sendHeadAndBody(const QByteArray &head, const QByteArray &body)
{
    auto *tcp = qobject_cast<TcpConnection *>(socket.data());
    if (m_headOnly) {
        sendWhole(head);
        return;
    }
    if (!tcp) {
        sendWhole(head + body);
        return;
    }
    replySource.reset();
    m_sourceRemaining = 0;
    m_directFile = nullptr;
    pendingBytes = head.size() + body.size();
    idleTimer.start();
    tcp->write(head);
    tcp->writeShared(body);
}

bool Session::canSendFileDirectly() const
{
    if (!m_limits.sendFilesDirectly || !qobject_cast<QFile *>(replySource.get()))
        return false;
    const auto *tcp = qobject_cast<TcpConnection *>(socket.data());
    return tcp && tcp->isConnected();
}

// Runs only while the socket holds no bytes of its own: anything written
// directly would overtake them. The socket's write notification is off
// then, and the session's own notifier takes its place on the descriptor.
void Session::sendFileDirectly()
{
    if (m_closing || !m_directFile || !socket || socket->bytesToWrite() > 0)
        return;
    const qintptr descriptor = static_cast<TcpConnection *>(socket.data())->descriptor();
    const platform::FileSendResult result = platform::sendFileRange(descriptor, m_directFile->handle(), m_directOffset, m_sourceRemaining);
    switch (result.status) {
    case platform::FileSendResult::Sent:
        m_directOffset += result.bytes;
        m_sourceRemaining -= result.bytes;
        idleTimer.start();
        if (m_sourceRemaining == 0) {
            finish();
            return;
        }
        break;
    case platform::FileSendResult::WouldBlock:
        break;
    case platform::FileSendResult::EndOfFile:
        dropConnection("reply source ended early");
        return;
    case platform::FileSendResult::Unsupported:
        copyRestOfFile();
        return;
    case platform::FileSendResult::Failed:
        dropConnection("connection broken");
        return;
    }
    // The socket is full: go on once the client has read some of it.
    if (!m_writableNotifier) {
        m_writableNotifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Write);
        connect(m_writableNotifier.get(), &QSocketNotifier::activated, this, [this] {
            m_writableNotifier->setEnabled(false);
            sendFileDirectly();
        });
    }
    m_writableNotifier->setEnabled(true);
}

// Where the system cannot send the file itself, the rest goes the way of
// every other body, from where the direct sending stopped.
void Session::copyRestOfFile()
{
    QFile *file = m_directFile;
    stopSendingFileDirectly();
    if (!file->seek(m_directOffset)) {
        dropConnection("reply source cannot seek");
        return;
    }
    pendingBytes += m_sourceRemaining;
    sendMore();
}

// The notifier is only switched off, not deleted: this may run inside its
// own signal.
void Session::stopSendingFileDirectly()
{
    m_directFile = nullptr;
    if (m_writableNotifier)
        m_writableNotifier->setEnabled(false);
}

void Session::sendMore()
{
    if (!replySource || m_directFile)
        return;
    // The whole chunks that fit in the window go to the socket as one block,
    // which it writes with one call: on a fast network the cost of a reply is
    // in the calls, not in the bytes.
    const qint64 room = m_limits.sendWindowBytes - socket->bytesToWrite();
    const qint64 batchSize = qMin(m_sourceRemaining, room - room % kChunkBytes);
    if (batchSize <= 0)
        return;
    QByteArray batch(int(batchSize), Qt::Uninitialized);
    for (qint64 filled = 0; filled < batchSize;) {
        const qint64 got = replySource->read(batch.data() + filled, qMin(kChunkBytes, batchSize - filled));
        if (got <= 0) {
            // The file shrank under us: the promised length can no longer be
            // met, and only a broken connection tells the client so.
            dropConnection("reply source ended early");
            return;
        }
        filled += got;
    }
    socket->write(batch);
    m_sourceRemaining -= batchSize;
    if (m_sourceRemaining == 0)
        replySource.reset();
}

void Session::onBytesWritten(qint64 bytes)
{
    if (m_closing)
        return;
    pendingBytes -= bytes;
    idleTimer.start();
    if (pendingBytes > 0) {
        sendMore();
        return;
    }
    if (m_directFile) {
        // The head is out. The socket turns its write notification off only
        // after this signal, so the file follows from the event loop.
        QMetaObject::invokeMethod(this, &Session::sendFileDirectly, Qt::QueuedConnection);
        return;
    }
    finish();
}

} // namespace LanHttpServer
