#include "Form/FormVaroHomeUpdate/varohomeupdatedesc.h"
#include "ui_varohomeupdatedesc.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/Dialogs/prompt.h"
#include "dataproc/cvarohomedataproc.h"
#include "dataproc/installerdownload.h"
#include "dataproc/versioninfo.h"
#include "helper/appflags.h"
#include "helper/framelesswindow.h"
#include "helper/session.h"

#include <QDebug>
#include <QKeyEvent>
#include <QTextDocumentFragment>

#include <climits>

namespace {

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

} // namespace

VaroHomeUpdateDesc::VaroHomeUpdateDesc(QWidget *parent)
    : QDialog(parent)
    , m_ui(new Ui::VaroHomeUpdateDesc)
{
    m_ui->setupUi(this);
    setUpFramelessDialog(this, DialogModality::ApplicationModal);
    hide();
    m_download = new InstallerDownload(this);

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
    connect(m_download, SIGNAL(finished()), this, SLOT(UpdateFinished()));
    connect(m_download, SIGNAL(progress(qint64,qint64)), this, SLOT(updateDataReadProgress(qint64,qint64)));
    connect(m_download, SIGNAL(stallChecked(qint64)), this, SLOT(timeOut()));
}

VaroHomeUpdateDesc::~VaroHomeUpdateDesc()
{
    m_download->cancel();
    delete m_ui;
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
    f_bytesReadNow = 0;
    m_ui->progressBar->setRange(0, 100);
    m_ui->progressBar->setValue(0);
    m_ui->progressBar->setStyleSheet(QString::fromLatin1(kBarNormal));
    m_ui->BNUpdate->setEnabled(true);
    return QDialog::exec();
}

void VaroHomeUpdateDesc::slotBNUpdate_Clicked()
{
    if (isDownloading())
        return;
    f_bytesReadNow = 0;
    m_ui->progressBar->setValue(0);
    m_ui->progressBar->setStyleSheet(QString::fromLatin1(kBarNormal));

    // Without a data folder the path would start at the filesystem root.
    const QString dataFolder = Session::instance()->getAppDataPath();
    const QString folder = dataFolder + QStringLiteral("/update");
    if (dataFolder.isEmpty() || !InstallerDownload::prepareFolder(folder)) {
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
    f_DownloadedSize = 0;
    f_bytesReadNow = 0;
    m_total = 0;
    showProgress();
    if (!record || !m_download->start(folder, record->version, record->url))
        showDownloadFailed();
}

void VaroHomeUpdateDesc::updateDataReadProgress(qint64 bytesRead, qint64 totalBytes)
{
    m_total = totalBytes == 0 ? 100 : totalBytes;
    f_bytesReadNow = bytesRead;
    showProgress();
    qDebug() << "bytesRead:" << bytesRead << "   totalBytes" << m_total << "   f_bytesReadNow" << f_bytesReadNow;
}

// The bar counts in int: sizes beyond 2 GiB are scaled down to fit.
void VaroHomeUpdateDesc::showProgress()
{
    if (m_total <= 0) {
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
    f_DownloadedSize = m_download->bytesAtLastCheck();
}

void VaroHomeUpdateDesc::UpdateFinished()
{
    if (m_download->state() == InstallerDownload::State::InstallerStarted) {
        // The installer replaces this build: the program makes way for it.
        endProgram();
        return;
    }
    showDownloadFailed();
}

void VaroHomeUpdateDesc::showDownloadFailed()
{
    m_download->cancel();
    m_ui->lbNewVersion->setText(tr("Update failed"));
    m_ui->lbNewVersion->setStyleSheet(QString::fromLatin1(kLabelFailed));
    m_ui->progressBar->setStyleSheet(QString::fromLatin1(kBarFailed));
    showProgress();
    m_ui->BNUpdate->setText(tr("Update again"));
    m_ui->BNUpdate->setStyleSheet(QString::fromLatin1(kButtonFailed));
    m_ui->BNUpdate->setEnabled(true);
    m_ui->BNUpdate->show();
    m_ui->BNCancel->setText(tr("cancel"));
}

bool VaroHomeUpdateDesc::isDownloading() const
{
    return m_download->state() == InstallerDownload::State::Downloading;
}

bool VaroHomeUpdateDesc::isForcedUpdate() const
{
    const VersionInfo *record = pcVersionRecord();
    return record && record->hasUpdate && record->forced == 1;
}

void VaroHomeUpdateDesc::endProgram()
{
    m_download->cancel();
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
    m_download->cancel();
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
