#include "Form/FormHome/parseprocess.h"
#include "ui_parseprocess.h"

#include "Form/Dialogs/prompt.h"
#include "helper/appglobals.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QWindow>

ParseProcess::ParseProcess(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ParseProcess)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_ShowModal);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowIcon(QIcon(QStringLiteral(":/Brontel/Skin/ico/logo_16X16.png")));
    hide();
    for (QWidget *label : {static_cast<QWidget *>(ui->labeltitle), static_cast<QWidget *>(ui->label)}) {
        QFont font = label->font();
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
        label->setFont(font);
    }
}

ParseProcess::~ParseProcess()
{
    delete ui;
}

void ParseProcess::resetProgress()
{
    ui->progressBar->setMaximum(100);
    ui->progressBar->setValue(0);
    m_busy = false;
}

void ParseProcess::setCount(int done, int total)
{
    ui->label->setText(tr("%1/%2").arg(done).arg(total));
}

void ParseProcess::setFileName(const QString &name)
{
    // A long name keeps its start and its extension, the parts that tell
    // files apart; the whole name is in the tool tip.
    ui->label_3->ensurePolished();
    const QFontMetrics metrics(ui->label_3->font());
    ui->label_3->setText(metrics.elidedText(name, Qt::ElideMiddle, ui->widget_2->width()));
    ui->label_3->setToolTip(name);
}

void ParseProcess::slotUpdateDataReadProgress(qlonglong bytesRead, qlonglong totalBytes)
{
    ui->progressBar->setMaximum(int(totalBytes));
    ui->progressBar->setValue(int(bytesRead));
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
    ui->progressBar->setValue(0);
    ui->progressBar->setStyleSheet(QStringLiteral(
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

void ParseProcess::mousePressEvent(QMouseEvent *event)
{
    m_drag.press(this, event);
}

void ParseProcess::mouseMoveEvent(QMouseEvent *event)
{
    m_drag.move(this, event);
}

void ParseProcess::mouseReleaseEvent(QMouseEvent *event)
{
    Q_UNUSED(event);
    m_drag.release();
}
