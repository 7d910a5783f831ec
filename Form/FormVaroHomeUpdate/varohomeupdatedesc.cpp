#include "Form/FormVaroHomeUpdate/varohomeupdatedesc.h"
#include "ui_varohomeupdatedesc.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/Dialogs/prompt.h"
#include "dataproc/cvarohomedataproc.h"
#include "dataproc/onlinerequest.h"
#include "dataproc/versioninfo.h"
#include "helper/appflags.h"
#include "helper/framelesswindow.h"
#include "helper/session.h"
#include "helper/weblinks.h"
#include "platform/installation.h"
#include "platform/storage.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTextDocumentFragment>
#include <QTimer>

#include <climits>

namespace {

// A download that receives nothing between two checks has stalled.
const int kStallCheckMs = 10000;

// What the network library may hold of the installer before it reaches the
// file: it reads no further from the server until this has been written.
const qint64 kReadAheadBytes = 1024 * 1024;

const char kBarNormal[] =
    "QProgressBar{border-radius:4px;border-image:url(:/Brontel/Skin/new/Download-progress_background.png);}"
    "QProgressBar::chunk{border-radius:4px;background-image:url(:/Brontel/Skin/new/Download-progress.png);}";
const char kBarFailed[] =
    "QProgressBar{border-radius:4px;border-image:url(:/Brontel/Skin/new/Download-progress_background.png);}"
    "QProgressBar::chunk{border-radius:4px;background-image:url(:/Brontel/Skin/new/Download-failed.png);}";
const char kLabelBusy[] = "QLabel#lbNewVersion{font:20px \"Microsoft YaHei\";color:#6d6d6d;}";
const char kLabelFailed[] = "QLabel#lbNewVersion{font:20px \"Microsoft YaHei\";color:red;}";
const char kButtonFailed[] =
    "QPushButton#BNUpdate{font:16px \"Microsoft YaHei\";color:#ffffff;"
    "border-image:url(:/Brontel/Skin/new/red-Button_press.png);}";

// Every file directly in the folder goes; subfolders stay as they are.
void removeFilesIn(const QString &folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries)
        QFile::remove(entry.absoluteFilePath());
}

// Writes the whole of the data. A disk that fills takes part of a write
// without an error; the write of the rest then fails and says why.
bool writeAll(QFile *file, const QByteArray &data)
{
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 count = file->write(data.constData() + written, data.size() - written);
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

// The log line of a failed write; a full disk is named as such.
void logWriteFailure(const QString &path, QFileDevice::FileError error, const QString &errorText)
{
    if (error == QFileDevice::ResourceError)
        qWarning() << "update: no space left on the disk for" << path << "-" << errorText;
    else
        qWarning() << "update: writing" << path << "failed:" << errorText;
}

} // namespace

VaroHomeUpdateDesc::VaroHomeUpdateDesc(QWidget *parent)
    : QDialog(parent)
    , m_ui(new Ui::VaroHomeUpdateDesc)
{
    m_ui->setupUi(this);
    setUpFramelessDialog(this, DialogModality::ApplicationModal);
    hide();
    m_timer = new QTimer(this);

    m_ui->lbNewVersion->hide();
    m_ui->progressBar->hide();
    m_ui->BNUpdate->setEnabled(true);
    for (QWidget *widget : {static_cast<QWidget *>(m_ui->labeltitle), static_cast<QWidget *>(m_ui->label_3),
                            static_cast<QWidget *>(m_ui->lbNewVersion), static_cast<QWidget *>(m_ui->label_2),
                            static_cast<QWidget *>(m_ui->BNUpdate), static_cast<QWidget *>(m_ui->BNCancel)}) {
        QFont font;
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
        widget->setFont(font);
    }
    // The title and the notes carry the service's words: shown as they are,
    // a tag or a link in them is only text.
    m_ui->labeltitle->setTextFormat(Qt::PlainText);
    m_ui->label_2->setTextFormat(Qt::PlainText);
    m_ui->label_2->setText(QTextDocumentFragment::fromHtml(m_ui->label_2->text()).toPlainText());

    connect(m_ui->pushButtonClose, SIGNAL(clicked()), this, SLOT(slotBNClose_Clicked()));
    connect(m_ui->BNCancel, SIGNAL(clicked()), this, SLOT(slotBNClose_Clicked()));
    connect(m_ui->BNUpdate, SIGNAL(clicked()), this, SLOT(slotBNUpdate_Clicked()));
    connect(m_timer, SIGNAL(timeout()), this, SLOT(timeOut()));
}

VaroHomeUpdateDesc::~VaroHomeUpdateDesc()
{
    cancelTransfer();
    delete m_ui;
}

QNetworkAccessManager *VaroHomeUpdateDesc::manager()
{
    if (!m_manager) {
        m_manager = new QNetworkAccessManager(this);
        connect(m_manager, SIGNAL(finished(QNetworkReply*)), this, SLOT(UpdateFinished(QNetworkReply*)));
    }
    return m_manager;
}

QString VaroHomeUpdateDesc::releaseNotesText(const QString &notes)
{
    QString text;
    const QStringList lines = notes.split(QStringLiteral("\\n"));
    for (const QString &line : lines)
        text += line + QLatin1Char('\n');
    return text;
}

void VaroHomeUpdateDesc::showOffer(const QString &title, const QString &notes, const QString &dismissText)
{
    m_ui->labeltitle->setText(title);
    m_ui->BNCancel->show();
    m_ui->BNCancel->setText(dismissText);
    m_ui->BNUpdate->show();
    m_ui->label_2->show();
    m_ui->labeltitle->show();
    m_ui->label_3->show();
    m_ui->lbNewVersion->hide();
    m_ui->label_2->setText(releaseNotesText(notes));
}

int VaroHomeUpdateDesc::exec()
{
    m_ui->progressBar->hide();
    manager();
    f_bytesReadNow = 0;
    m_ui->progressBar->setRange(0, 100);
    m_ui->progressBar->setValue(0);
    m_ui->progressBar->setStyleSheet(QString::fromLatin1(kBarNormal));
    m_ui->BNUpdate->setEnabled(true);
    return QDialog::exec();
}

void VaroHomeUpdateDesc::slotBNUpdate_Clicked()
{
    if (m_reply)
        return;
    f_bytesReadNow = 0;
    m_ui->progressBar->setValue(0);
    m_ui->progressBar->setStyleSheet(QString::fromLatin1(kBarNormal));

    // Without a data folder the path would start at the filesystem root.
    const QString dataFolder = Session::instance()->getAppDataPath();
    const QString folder = dataFolder + QStringLiteral("/update");
    const QFileInfo info(folder);
    bool ready = false;
    if (!dataFolder.isEmpty() && info.isDir() && !info.isSymLink()) {
        removeFilesIn(folder);
        ready = true;
    } else if (!dataFolder.isEmpty()) {
        ready = QDir().mkdir(folder);
    }
    if (!ready) {
        Prompt *prompt = AppGlobals::prompt();
        prompt->setPrompt(tr("Unable to create a new folder, update failed"));
        prompt->exec();
        return;
    }
    startDownload(folder);
}

void VaroHomeUpdateDesc::startDownload(QString folder)
{
    m_ui->label_3->hide();
    m_ui->label_2->hide();
    m_ui->lbNewVersion->show();
    m_ui->lbNewVersion->setText(tr("Updating"));
    m_ui->lbNewVersion->setStyleSheet(QString::fromLatin1(kLabelBusy));
    m_ui->BNUpdate->hide();
    m_ui->BNCancel->setText(tr("close"));
    m_ui->progressBar->setStyleSheet(QString::fromLatin1(kBarNormal));

    const VersionInfo *record = pcVersionRecord();
    m_ui->progressBar->show();
    m_ui->BNUpdate->setEnabled(false);
    cancelTransfer();
    f_DownloadedSize = 0;
    f_bytesReadNow = 0;
    m_total = 0;

    // The version names the file and the URL is fetched: neither may lead
    // anywhere but to a web server and into this folder.
    if (!record || !online::isPlainVersion(record->version)) {
        qWarning() << "update: refusing version text" << (record ? record->version : QString());
        showDownloadFailed();
        return;
    }
    const QUrl url(record->url, QUrl::TolerantMode);
    if (!online::isWebUrl(url)) {
        qWarning() << "update: refusing download URL" << record->url;
        showDownloadFailed();
        return;
    }

    m_room = online::installerRoom(platform::bytesAvailable(folder));
    m_file = new QFile(folder + QLatin1Char('/') + platform::installerFileName(record->version));
    // Unbuffered, so that a write the disk cannot take fails at once and
    // says why.
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        qWarning() << "update: cannot write" << m_file->fileName();
        delete m_file;
        m_file = nullptr;
        showDownloadFailed();
        return;
    }

    QNetworkRequest request(url);
    // The length the server announces must be the length of the file, not
    // of a compressed form of it.
    request.setRawHeader("Accept-Encoding", "identity");
    m_reply = manager()->get(request);
    m_reply->setReadBufferSize(kReadAheadBytes);
    connect(m_reply, SIGNAL(metaDataChanged()), this, SLOT(checkHead()));
    connect(m_reply, SIGNAL(readyRead()), this, SLOT(httpReadyRead()));
    connect(m_reply, SIGNAL(downloadProgress(qint64,qint64)), this, SLOT(updateDataReadProgress(qint64,qint64)));
    m_timer->start(kStallCheckMs);
}

void VaroHomeUpdateDesc::checkHead()
{
    // An error page or a redirect fails when it ends, whatever its head.
    if (!m_reply || !m_file || !isInstallerReply())
        return;
    if (!online::hasProvableLength(m_reply)) {
        qWarning() << "update: refusing a download without one plain length, Content-Length"
                   << m_reply->rawHeader("Content-Length") << "Transfer-Encoding"
                   << m_reply->rawHeader("Transfer-Encoding");
        showDownloadFailed();
        return;
    }
    const qint64 length = online::announcedLength(m_reply->rawHeader("Content-Length"));
    if (length > online::kMaxInstallerBytes) {
        qWarning() << "update: refusing an installer of" << length << "bytes, more than any build has";
        showDownloadFailed();
    } else if (length > m_room) {
        qWarning() << "update: no space left for an installer of" << length << "bytes in"
                   << QFileInfo(m_file->fileName()).path() << "(room for" << m_room << "bytes)";
        showDownloadFailed();
    }
}

void VaroHomeUpdateDesc::httpReadyRead()
{
    if (!m_reply || !m_file)
        return;
    const QByteArray data = m_reply->readAll();
    // An error page or a redirect's body is not the installer.
    if (!isInstallerReply())
        return;
    if (f_bytesReadNow + data.size() > m_room) {
        qWarning() << "update: no space left for more than" << m_room << "bytes of the installer";
        showDownloadFailed();
        return;
    }
    if (!writeAll(m_file, data)) {
        logWriteFailure(m_file->fileName(), m_file->error(), m_file->errorString());
        showDownloadFailed();
        return;
    }
    // Counted here as well: the network library reports progress at most
    // every 100 ms, and not at all for a burst followed by silence, which
    // the stall check must still see as bytes that came.
    f_bytesReadNow += data.size();
    if (m_total == 0) {
        const QVariant announced = m_reply->header(QNetworkRequest::ContentLengthHeader);
        m_total = announced.isValid() ? announced.toLongLong() : -1;
    }
    showProgress();
}

void VaroHomeUpdateDesc::updateDataReadProgress(qint64 bytesRead, qint64 totalBytes)
{
    if (!isInstallerReply())
        return;
    m_total = totalBytes == 0 ? 100 : totalBytes;
    f_bytesReadNow = qMax(f_bytesReadNow, bytesRead);
    showProgress();
    qDebug() << "bytesRead:" << bytesRead << "   totalBytes" << m_total << "   f_bytesReadNow" << f_bytesReadNow;
}

bool VaroHomeUpdateDesc::isInstallerReply() const
{
    if (!m_reply)
        return true;
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return !status.isValid() || status.toInt() == 200;
}

// The bar counts in int: sizes beyond 2 GiB are scaled down to fit. While
// bytes come without an announced length it shows that it is busy.
void VaroHomeUpdateDesc::showProgress()
{
    if (m_total < 0) {
        m_ui->progressBar->setRange(0, 0);
        return;
    }
    if (m_total == 0) {
        m_ui->progressBar->setRange(0, 100);
        m_ui->progressBar->setValue(0);
        return;
    }
    int shift = 0;
    while ((m_total >> shift) > INT_MAX)
        ++shift;
    m_ui->progressBar->setRange(0, int(m_total >> shift));
    m_ui->progressBar->setValue(int(qBound<qint64>(0, f_bytesReadNow, m_total) >> shift));
}

void VaroHomeUpdateDesc::timeOut()
{
    qDebug() << "timeOut()   f_DownloadedSize:" << f_DownloadedSize << "   f_bytesReadNow" << f_bytesReadNow;
    if (f_bytesReadNow == f_DownloadedSize)
        showDownloadFailed();
    else
        f_DownloadedSize = f_bytesReadNow;
}

void VaroHomeUpdateDesc::UpdateFinished(QNetworkReply *reply)
{
    if (!reply)
        return;
    reply->deleteLater();
    // A download given up (cancelled, stalled) reports here once more.
    if (reply != m_reply)
        return;
    m_timer->stop();
    httpReadyRead();
    m_reply = nullptr;
    if (!m_file)
        return;

    const QString path = m_file->fileName();
    const bool written = m_file->flush();
    const QFileDevice::FileError writeError = m_file->error();
    const QString writeErrorText = m_file->errorString();
    m_file->close();
    delete m_file;
    m_file = nullptr;

    const qint64 size = QFileInfo(path).size();
    if (!written || !online::isCompleteDownload(reply, size)) {
        if (!written)
            logWriteFailure(path, writeError, writeErrorText);
        else
            qWarning() << "update: download incomplete:"
                       << (reply->error() != QNetworkReply::NoError ? reply->errorString() : QStringLiteral("no error"))
                       << "status" << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() << "size"
                       << size << "Content-Length" << reply->rawHeader("Content-Length") << "Transfer-Encoding"
                       << reply->rawHeader("Transfer-Encoding");
        // Never left where it could be taken for the installer.
        QFile::remove(path);
        showDownloadFailed();
        return;
    }
    if (!platform::startInstaller(path, QFileInfo(path).path())) {
        showDownloadFailed();
        return;
    }
    // The installer replaces this build: the program makes way for it.
    endProgram();
}

void VaroHomeUpdateDesc::showDownloadFailed()
{
    cancelTransfer();
    m_ui->lbNewVersion->setText(tr("Update failed"));
    m_ui->lbNewVersion->setStyleSheet(QString::fromLatin1(kLabelFailed));
    m_ui->progressBar->setStyleSheet(QString::fromLatin1(kBarFailed));
    // Nothing moves any more, whatever was known of the length.
    if (m_total < 0)
        m_total = 0;
    showProgress();
    m_ui->BNUpdate->setText(tr("Update again"));
    m_ui->BNUpdate->setStyleSheet(QString::fromLatin1(kButtonFailed));
    m_ui->BNUpdate->setEnabled(true);
    m_ui->BNUpdate->show();
    m_ui->BNCancel->setText(tr("cancel"));
}

void VaroHomeUpdateDesc::cancelTransfer()
{
    m_timer->stop();
    if (QNetworkReply *reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
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

bool VaroHomeUpdateDesc::isForcedUpdate() const
{
    const VersionInfo *record = pcVersionRecord();
    return record && record->hasUpdate && record->forced == 1;
}

void VaroHomeUpdateDesc::endProgram()
{
    cancelTransfer();
    done(QDialog::Rejected);
    requestProgramEnd();
}

void VaroHomeUpdateDesc::slotBNClose_Clicked()
{
    if (isForcedUpdate()) {
        endProgram();
        return;
    }
    close();
}

void VaroHomeUpdateDesc::reject()
{
    // However a forced update is closed, the program does not go on without it.
    if (isForcedUpdate()) {
        endProgram();
        return;
    }
    cancelTransfer();
    QDialog::reject();
}

void VaroHomeUpdateDesc::keyPressEvent(QKeyEvent *event)
{
    // Escape would close the pop-up, and with a forced update the program.
    if (event->key() == Qt::Key_Escape && isForcedUpdate()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
