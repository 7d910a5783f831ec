#include "dataproc/installerdownload.h"

#include "dataproc/onlinerequest.h"
#include "dataproc/webrequest.h"
#include "helper/weblinks.h"
#include "platform/installation.h"
#include "platform/storage.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace {

// The log line of a failed write; a full disk is named as such.
QString writeFailure(const QString &path, QFileDevice::FileError error, const QString &errorText)
{
    if (error == QFileDevice::ResourceError)
        return QStringLiteral("update: no space left on the disk for %1 - %2").arg(path, errorText);
    return QStringLiteral("update: writing %1 failed: %2").arg(path, errorText);
}

} // namespace

InstallerDownload::InstallerDownload(QObject *parent)
    : QObject(parent)
    , m_stallTimer(new QTimer(this))
{
    connect(m_stallTimer, &QTimer::timeout, this, &InstallerDownload::checkStall);
}

InstallerDownload::~InstallerDownload()
{
    discard();
}

bool InstallerDownload::prepareFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isSymLink())
        return false;
    if (!info.isDir())
        return QDir().mkdir(folder);
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries)
        QFile::remove(entry.absoluteFilePath());
    return true;
}

bool InstallerDownload::start(const QString &folder, const QString &version, const QString &url)
{
    discard();
    m_received = m_atLastCheck = m_total = 0;
    m_state = State::Failed;

    // The version names the file and the URL is fetched: neither may lead
    // anywhere but to a web server and into this folder.
    if (!online::isPlainVersion(version)) {
        qWarning() << "update: refusing version text" << version;
        return false;
    }
    const QUrl address(url, QUrl::TolerantMode);
    if (!online::isWebUrl(address)) {
        qWarning() << "update: refusing download URL" << url;
        return false;
    }
    m_room = online::installerRoom(platform::bytesAvailable(folder));
    m_fileName = folder + QLatin1Char('/') + platform::installerFileName(version);
    m_file = new QFile(m_fileName, this);
    // Unbuffered, so that a write the disk cannot take fails at once and
    // says why.
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        qWarning() << "update: cannot write" << m_fileName;
        delete m_file;
        m_file = nullptr;
        return false;
    }

    m_request = new online::WebRequest(online::kMaxInstallerBytes, this);
    m_request->setFollowRedirects(false);
    m_request->setHeadCheck([this](const online::WebRequest &request) { return checkHead(request); });
    m_request->setBodySink([this](const char *data, qint64 size) { return write(data, size); });
    connect(m_request, &online::WebRequest::progress, this, [this] { emit progress(m_received, m_total); });
    connect(m_request, &online::WebRequest::finished, this, &InstallerDownload::transferEnded);
    if (!m_request->get(address.toString())) {
        discard();
        return false;
    }
    m_state = State::Downloading;
    m_stallTimer->start(kStallCheckMs);
    return true;
}

void InstallerDownload::cancel()
{
    discard();
    if (m_state == State::Downloading)
        m_state = State::Idle;
}

bool InstallerDownload::checkHead(const online::WebRequest &request)
{
    // An error page or a redirect is not the installer, whatever its head.
    if (request.status() != 200) {
        request.setError(QStringLiteral("status %1").arg(request.status()));
        return false;
    }
    const qint64 length = request.announcedLength();
    if (request.hasCoding() || length < 0) {
        qWarning() << "update: refusing a download without one plain length, Content-Length"
                   << request.contentLength() << "Transfer-Encoding" << request.transferEncoding()
                   << "Content-Encoding" << request.contentEncoding();
        request.setError(QStringLiteral("no provable length"));
        return false;
    }
    if (length > online::kMaxInstallerBytes) {
        qWarning() << "update: refusing an installer of" << length << "bytes, more than any build has";
        request.setError(QStringLiteral("too large"));
        return false;
    }
    if (length > m_room) {
        qWarning() << "update: no space left for an installer of" << length << "bytes in"
                   << QFileInfo(m_fileName).path() << "(room for" << m_room << "bytes)";
        request.setError(QStringLiteral("no room"));
        return false;
    }
    m_total = length;
    return true;
}

bool InstallerDownload::write(const char *data, qint64 size)
{
    if (!m_file)
        return false;
    if (m_received + size > m_total || m_received + size > m_room) {
        qWarning() << "update: no space left for more than" << qMin(m_total, m_room) << "bytes of the installer";
        return false;
    }
    // A disk that fills takes part of a write without an error; the write
    // of the rest then fails and says why.
    qint64 written = 0;
    while (written < size) {
        const qint64 count = m_file->write(data + written, size - written);
        if (count <= 0) {
            qWarning().noquote() << writeFailure(m_fileName, m_file->error(), m_file->errorString());
            return false;
        }
        written += count;
    }
    m_received += size;
    return true;
}

void InstallerDownload::checkStall()
{
    qDebug() << "timeOut()   f_DownloadedSize:" << m_atLastCheck << "   f_bytesReadNow" << m_received;
    if (m_received == m_atLastCheck) {
        fail(QStringLiteral("update: no byte of the installer in %1 s").arg(kStallCheckMs / 1000));
        return;
    }
    m_atLastCheck = m_received;
    emit stallChecked(m_received);
}

void InstallerDownload::transferEnded()
{
    m_stallTimer->stop();
    // The last bytes' report would come after the end.
    emit progress(m_received, m_total);
    const online::WebRequest *request = m_request;
    if (!request->succeeded()) {
        fail(QStringLiteral("update: download incomplete: %1 after %2 of %3 bytes")
                 .arg(request->errorString()).arg(m_received).arg(m_total));
        return;
    }
    const bool flushed = m_file->flush();
    if (!flushed) {
        fail(writeFailure(m_fileName, m_file->error(), m_file->errorString()));
        return;
    }
    m_file->close();
    const qint64 size = QFileInfo(m_fileName).size();
    if (size <= 0 || size != m_total || size != request->announcedLength()) {
        fail(QStringLiteral("update: download incomplete: %1 bytes of %2").arg(size).arg(m_total));
        return;
    }
    delete m_file;
    m_file = nullptr;
    m_request->deleteLater();
    m_request = nullptr;
    if (!platform::startInstaller(m_fileName, QFileInfo(m_fileName).path())) {
        QFile::remove(m_fileName);
        fail(QStringLiteral("update: the installer %1 does not start").arg(m_fileName));
        return;
    }
    m_state = State::InstallerStarted;
    emit finished();
}

void InstallerDownload::fail(const QString &why)
{
    qWarning().noquote() << why;
    discard();
    m_state = State::Failed;
    emit finished();
}

void InstallerDownload::discard()
{
    m_stallTimer->stop();
    if (online::WebRequest *request = m_request) {
        m_request = nullptr;
        request->disconnect(this);
        request->abort();
        request->deleteLater();
    }
    if (m_file) {
        // A download that did not end well leaves no part of itself behind.
        m_file->close();
        if (!m_file->remove())
            qWarning() << "update: cannot remove" << m_file->fileName() << m_file->errorString();
        delete m_file;
        m_file = nullptr;
    }
}
