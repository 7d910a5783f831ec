#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkAddressEntry>
#include <QNetworkInterface>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPair>
#include <QString>

#include <functional>

// A small HTTP client with callbacks or blocking calls, and the look-ups of
// this machine's name and LAN address.
namespace LanNet {

// One network access manager and the requests made through it. Callbacks run
// on the thread that owns this object; exactly one of them runs per request:
// onFinished with the body of a successful reply (2xx, redirects followed
// unless they lead from https to http), or onError with the reason, a
// time-out being QNetworkReply::TimeoutError. A timed-out request is
// aborted. Nothing is called after this object is destroyed. Certificates
// are always verified.
class HTTP
{
public:
    using FinishedCallback = std::function<void(const QByteArray &)>;
    using ErrorCallback = std::function<void(QNetworkReply::NetworkError)>;
    using TimeoutCallback = std::function<void()>;
    using Result = QPair<bool, QByteArray>;

    HTTP();
    ~HTTP();
    HTTP(const HTTP &) = delete;
    HTTP &operator=(const HTTP &) = delete;

    // A time-out of 0 ms waits for as long as the request takes.
    void get(const QNetworkRequest &request, FinishedCallback onFinished, ErrorCallback onError, int timeoutMs = 0);
    void post(const QNetworkRequest &request, const QByteArray &body, FinishedCallback onFinished,
              ErrorCallback onError, int timeoutMs = 0);

    // Blocking forms: run an event loop on the calling thread until the
    // reply is in. True with the body in target on success; false (target
    // empty) on an error or a time-out.
    bool get(const QNetworkRequest &request, QByteArray &target, int timeoutMs = 0);
    bool post(const QNetworkRequest &request, const QByteArray &body, QByteArray &target, int timeoutMs = 0);

    // Blocking, with a manager of their own for the one call.
    static Result get(const QNetworkRequest &request, int timeoutMs = 0);
    static Result get(const QString &url, int timeoutMs = 0);
    static Result post(const QNetworkRequest &request, const QByteArray &body, int timeoutMs = 0);
    // Sends the body as a form ("application/x-www-form-urlencoded").
    static Result post(const QString &url, const QByteArray &body, int timeoutMs = 0);

    // Wires one reply to the callbacks as described above and frees it
    // when it is done. onTimeout runs instead of onError on a time-out.
    static void handle(QNetworkReply *reply, int timeoutMs, FinishedCallback onFinished, ErrorCallback onError,
                       TimeoutCallback onTimeout);

private:
    static bool blocking(QNetworkReply *reply, QByteArray &target, int timeoutMs);
    static void prepare(QNetworkAccessManager &manager);

    QNetworkAccessManager m_manager;
};

QString localHostName();

// The first IPv4 entry (not 0.0.0.0) of the first interface that is exactly
// up, running, broadcast- and multicast-capable (so neither loopback nor
// point-to-point), with interfaces whose name begins with "vm" skipped when
// asked. An empty entry and interface when there is none.
QPair<QNetworkAddressEntry, QNetworkInterface> firstIPv4AddressEntryWithInterface(bool skipVirtualMachines);
QNetworkAddressEntry firstIPv4AddressEntry();

} // namespace LanNet
