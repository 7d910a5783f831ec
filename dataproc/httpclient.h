#pragma once

#include "dataproc/httpreplyreader.h"
#include "dataproc/onlinerequest.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QSslSocket;

namespace online {

// One request to the maker's service and its reply (a form-encoded POST, or
// a GET of a picture), on a connection of its own: https verified as Qt verifies by default (the URL's
// host is the name the certificate must bear), or plain http.
//
// What it holds is bounded by construction, not by a check after the fact:
// the socket takes at most kReadBufferBytes from the system before we have
// read them, and every read goes straight into the reader, which refuses a
// body past its cap at once. While the thread is busy elsewhere nothing is
// read, and TCP holds the server back; once it reads, a reply past the cap
// is cut there. (The network library's own HTTP thread reads on regardless
// of its consumer, gigabytes of an endless reply in a few seconds.)
class HttpClient : public QObject
{
    Q_OBJECT

public:
    // Large enough that a reply of a few KiB comes in one read.
    static constexpr qint64 kReadBufferBytes = 64 * 1024;

    explicit HttpClient(qint64 maxBodyBytes = kMaxJsonBytes, QObject *parent = nullptr);
    ~HttpClient() override;

    // Sends the body to the URL, or asks for it, once per client. False,
    // without a name look-up and without finished(), for an address the
    // program does not fetch from (online::isWebUrl).
    bool post(const QString &url, const QByteArray &body);
    bool get(const QString &url);
    // Gives the request up and closes its connection; finished() does not
    // come (any more).
    void abort();

    // Finished, or aborted.
    bool isFinished() const { return m_finished; }
    // Status 200 and the whole body.
    bool succeeded() const;
    int status() const { return m_reader.status(); }
    QByteArray body() const;
    // Why it did not succeed; empty when it did.
    QString errorString() const;
    QString url() const { return m_url.toString(); }

    // The request as it goes out: the path and query fully encoded, the
    // host (with a port other than the scheme's), for a POST the form's
    // content type and length, one request per connection, and no
    // Accept-Encoding, so that no compressed body can unfold past the cap.
    static QByteArray requestBytes(const QByteArray &method, const QUrl &url, const QByteArray &body = QByteArray());

signals:
    // Once per post, unless aborted; never from inside post(). Delete the
    // client later (deleteLater), not from a slot of this signal.
    void finished();

private:
    bool start(const QByteArray &method, const QString &url, const QByteArray &body);
    void sendRequest();
    void readReply();
    void connectionClosed();
    void finish(const QString &error);
    void closeSocket();

    HttpReplyReader m_reader;
    QSslSocket *m_socket = nullptr;
    QUrl m_url;
    QByteArray m_request;
    QString m_error;
    bool m_finished = false;
    bool m_aborted = false;
    bool m_starting = false;
};

} // namespace online
