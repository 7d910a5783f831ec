#include "Form/FormHome/parseprocess.h"
#include "ui_parseprocess.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/Dialogs/prompt.h"
#include "helper/framelesswindow.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QWindow>

ParseProcess::ParseProcess(QWidget *parent)
    : QDialog(parent)
    , m_ui(new Ui::ParseProcess)
{
    m_ui->setupUi(this);
    setUpFramelessDialog(this, DialogModality::ApplicationModal);
    hide();
    for (QWidget *label : {static_cast<QWidget *>(m_ui->labeltitle), static_cast<QWidget *>(m_ui->label)}) {
        QFont font = label->font();
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
        label->setFont(font);
    }
}

ParseProcess::~ParseProcess()
{
    delete m_ui;
}

void ParseProcess::resetProgress()
{
    m_ui->progressBar->setMaximum(100);
    m_ui->progressBar->setValue(0);
    m_busy = false;
}

void ParseProcess::setCount(int done, int total)
{
    m_ui->label->setText(tr("%1/%2").arg(done).arg(total));
}

void ParseProcess::setFileName(const QString &name)
{
    // A long name keeps its start and its extension, the parts that tell
    // files apart; the whole name is in the tool tip.
    m_ui->label_3->ensurePolished();
    const QFontMetrics metrics(m_ui->label_3->font());
    m_ui->label_3->setText(metrics.elidedText(name, Qt::ElideMiddle, m_ui->widget_2->width()));
    m_ui->label_3->setToolTip(name);
}

void ParseProcess::slotUpdateDataReadProgress(qlonglong bytesRead, qlonglong totalBytes)
{
    m_ui->progressBar->setMaximum(int(totalBytes));
    m_ui->progressBar->setValue(int(bytesRead));
}

void ParseProcess::blockOnlyWindowOf(QWidget *widget)
{
    m_owner = widget;
}

int ParseProcess::exec()
{
    // Modal to the window it reports on, not to the whole program: an
    // application-modal dialog also shuts out the tray icon's own window,
    // whose menu must stay reachable during a long copy (its quit then says
    // why the program cannot end yet). The dialog stays a window without a
    // parent, so that the page's style does not reach it.
    if (m_owner) {
        QWidget *window = m_owner->window();
        window->winId();
        setWindowModality(Qt::WindowModal);
        winId();
        // The widget keeps an earlier native window's modality as it was.
        windowHandle()->setModality(Qt::WindowModal);
        windowHandle()->setTransientParent(window->windowHandle());
    }
    m_busy = true;
    m_ui->progressBar->setValue(0);
    m_ui->progressBar->setStyleSheet(QStringLiteral(
        "QProgressBar{border-radius:4px;border-image:url(:/Brontel/Skin/new/Download-progress_background.png);}"
        "QProgressBar::chunk{border-radius:4px;background-image:url(:/Brontel/Skin/new/Download-progress.png);}"));
    return QDialog::exec();
}

void ParseProcess::keyPressEvent(QKeyEvent *event)
{
    // Not the dialog's handling: no key may reject or accept it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ParseProcess::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        event->ignore();
        Prompt *prompt = AppGlobals::prompt();
        prompt->setPrompt(tr("File is adding , please wait for a  moment !"));
        prompt->exec();
        if (m_busy)
            return;
    }
    event->accept();
    QDialog::closeEvent(event);
}
