#include "servermanager/tcpconnection.h"

#include "platform/sockets.h"

#include <QPointer>
#include <QSocketNotifier>

namespace LanHttpServer {

namespace {

// What one read from the kernel takes at most.
constexpr qint64 kReceiveBytes = 64 * 1024;

} // namespace

TcpConnection::TcpConnection(qintptr descriptor, const QByteArray &received, QObject *parent)
    : QIODevice(parent)
    , m_descriptor(descriptor)
    , m_readBuffer(received)
{
    if (m_descriptor < 0)
        return;
    if (!platform::prepareConnection(m_descriptor)) {
        closeDescriptor();
        return;
    }
    m_peerAddress = platform::peerAddressOf(m_descriptor);
    m_readNotifier = std::make_unique<QSocketNotifier>(m_descriptor, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, [this] { onReadable(); });
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_descriptor, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, [this] { onWritable(); });
    open(QIODevice::ReadWrite | QIODevice::Unbuffered);
}

TcpConnection::~TcpConnection()
{
    closeDescriptor();
}

void TcpConnection::setReadBufferSize(qint64 size)
{
    m_readBufferSize = qMax<qint64>(0, size);
}

bool TcpConnection::shutdownSending()
{
    return isConnected() && platform::shutdownSending(m_descriptor);
}

void TcpConnection::abort()
{
    if (!isConnected())
        return;
    clearWriteQueue();
    closeDescriptor();
    emit disconnected();
}

qint64 TcpConnection::bytesAvailable() const
{
    return m_readBuffer.size() + QIODevice::bytesAvailable();
}

qint64 TcpConnection::bytesToWrite() const
{
    return m_bytesToWrite;
}

qint64 TcpConnection::readData(char *data, qint64 maxSize)
{
    if (m_readBuffer.isEmpty())
        return 0;
    const int size = int(qMin<qint64>(maxSize, m_readBuffer.size()));
    memcpy(data, m_readBuffer.constData(), size_t(size));
    m_readBuffer.remove(0, size);
    // Room again for what waits in the kernel.
    if (isConnected() && !m_peerFinished && m_readNotifier)
        m_readNotifier->setEnabled(true);
    return size;
}

qint64 TcpConnection::writeData(const char *data, qint64 size)
{
    if (!isConnected())
        return -1;
    queueForWriting(QByteArray(data, int(size)));
    return size;
}

bool TcpConnection::writeShared(const QByteArray &bytes)
{
    if (!isConnected() || !isWritable())
        return false;
    queueForWriting(bytes);
    return true;
}

void TcpConnection::queueForWriting(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    m_writeQueue.push_back(bytes);
    m_bytesToWrite += bytes.size();
    // Sent from the event loop, like a QTcpSocket does, so that no writer
    // sees bytesWritten() from inside its own write().
    m_writeNotifier->setEnabled(true);
}

void TcpConnection::clearWriteQueue()
{
    m_writeQueue.clear();
    m_writeOffset = 0;
    m_bytesToWrite = 0;
}

void TcpConnection::onReadable()
{
    qint64 received = 0;
    bool ended = false;
    for (;;) {
        const qint64 room = m_readBufferSize > 0 ? m_readBufferSize - m_readBuffer.size() : kReceiveBytes;
        if (room <= 0) {
            // The reader has not taken what it has; the rest waits in the
            // kernel until it does.
            m_readNotifier->setEnabled(false);
            break;
        }
        const qint64 want = qMin(room, kReceiveBytes);
        const int old = m_readBuffer.size();
        m_readBuffer.resize(old + int(want));
        const platform::SocketIoResult result = platform::receiveBytes(m_descriptor, m_readBuffer.data() + old, want);
        m_readBuffer.resize(old + int(result.status == platform::SocketIoResult::Done ? result.bytes : 0));
        if (result.status == platform::SocketIoResult::Done) {
            received += result.bytes;
            if (result.bytes < want)
                break;
            continue;
        }
        if (result.status == platform::SocketIoResult::EndOfStream) {
            ended = true;
            m_peerFinished = true;
            m_readNotifier->setEnabled(false);
        } else if (result.status == platform::SocketIoResult::Failed) {
            closeDescriptor();
            emit disconnected();
            return;
        }
        break;
    }
    QPointer<TcpConnection> alive(this);
    if (received > 0)
        emit readyRead();
    if (ended && alive)
        emit readChannelFinished();
}

void TcpConnection::onWritable()
{
    qint64 sent = 0;
    while (!m_writeQueue.empty()) {
        const QByteArray &block = m_writeQueue.front();
        const platform::SocketIoResult result =
            platform::sendBytes(m_descriptor, block.constData() + m_writeOffset, block.size() - m_writeOffset);
        if (result.status == platform::SocketIoResult::Done) {
            sent += result.bytes;
            m_bytesToWrite -= result.bytes;
            m_writeOffset += int(result.bytes);
            if (m_writeOffset == block.size()) {
                m_writeQueue.pop_front();
                m_writeOffset = 0;
            }
            continue;
        }
        if (result.status == platform::SocketIoResult::WouldBlock)
            break;
        clearWriteQueue();
        closeDescriptor();
        emit disconnected();
        return;
    }
    if (m_writeQueue.empty())
        m_writeNotifier->setEnabled(false);
    if (sent > 0)
        emit bytesWritten(sent);
}

// The notifiers are switched off before the descriptor goes (the number may
// be handed out again at once), and deleted only with the connection: this
// may run inside their own signal.
void TcpConnection::closeDescriptor()
{
    if (m_readNotifier)
        m_readNotifier->setEnabled(false);
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(false);
    if (m_descriptor >= 0)
        platform::closeSocket(m_descriptor);
    m_descriptor = -1;
}

} // namespace LanHttpServer
