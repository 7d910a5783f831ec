#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QIODevice>

#include <deque>
#include <memory>

class QSocketNotifier;

namespace LanHttpServer {

// One accepted TCP connection, driven by the server thread's event loop.
// Unlike a QTcpSocket, it keeps a connection whose peer has only finished
// sending: a client may send its request and then close its side, and still
// waits for the reply, as HTTP allows. Writes are buffered and go out as the
// socket takes them; bytesWritten() reports them.
class TcpConnection : public QIODevice
{
    Q_OBJECT

public:
    // Takes over the descriptor of an accepted connection; received is what
    // was read from it already, which is read first.
    explicit TcpConnection(qintptr descriptor, const QByteArray &received = QByteArray(), QObject *parent = nullptr);
    ~TcpConnection() override;

    // The socket's descriptor; -1 once the connection is closed.
    qintptr descriptor() const { return m_descriptor; }
    bool isConnected() const { return m_descriptor >= 0; }
    // The peer sends no more; what it sent may still be read, and replies
    // may still be written.
    bool peerFinishedSending() const { return m_peerFinished; }
    QHostAddress peerAddress() const { return m_peerAddress; }

    // Bytes read ahead of the reader; more wait in the kernel. 0: no limit.
    void setReadBufferSize(qint64 size);
    // The peer reads the end of the stream after what has been written; its
    // own bytes may still arrive. False when the connection is closed.
    bool shutdownSending();
    // Closes at once; what is not sent yet is dropped.
    void abort();
    // Writes the bytes as they are held, without copying them: for a body
    // that many replies share. False when the connection is closed.
    bool writeShared(const QByteArray &bytes);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    qint64 bytesToWrite() const override;

signals:
    // The connection broke or was aborted; its descriptor is closed.
    void disconnected();

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    void onReadable();
    void onWritable();
    void closeDescriptor();

    qintptr m_descriptor = -1;
    QHostAddress m_peerAddress;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    void queueForWriting(const QByteArray &bytes);
    void clearWriteQueue();

    QByteArray m_readBuffer;
    // What waits to be sent, in order; the first block from m_writeOffset.
    std::deque<QByteArray> m_writeQueue;
    int m_writeOffset = 0;
    qint64 m_bytesToWrite = 0;
    qint64 m_readBufferSize = 0;
    bool m_peerFinished = false;
};

} // namespace LanHttpServer
