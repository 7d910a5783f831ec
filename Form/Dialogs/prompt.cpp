#include "Form/Dialogs/prompt.h"
#include "ui_prompt.h"

#include "Form/Dialogs/dialogplacement.h"
#include "helper/framelesswindow.h"

#include <QFontMetrics>
#include <QTimer>

namespace {
// One character further every half second: slow enough to read.
const int kMarqueeStepMs = 500;
// A text this little wider than the label still reads whole.
const int kMarqueeSlack = 5;
}

Prompt::Prompt(QWidget *parent)
    : QDialog(parent)
    , m_ui(new Ui::dlgPrompt)
{
    m_ui->setupUi(this);
    setUpFramelessDialog(this, DialogModality::Modeless);
    setFixedSize(380, 220);
    setWindowTitle(QCoreApplication::translate("dlgPrompt", "Varo helper"));
    m_ui->lbPromptText->setWordWrap(true);

    m_marqueeTimer = new QTimer(this);
    connect(m_marqueeTimer, SIGNAL(timeout()), this, SLOT(scrollCaption()));
}

Prompt::~Prompt()
{
    delete m_ui;
}

void Prompt::setPrompt(const QString &text)
{
    m_marqueeTimer->stop();
    m_text = text;
    m_ui->lbPromptText->setText(text);
    centreSharedDialog(this);
}

void Prompt::on_btnClose_clicked()
{
    m_marqueeTimer->stop();
    reject();
}

void Prompt::on_btnOk_clicked()
{
    m_marqueeTimer->stop();
    accept();
}

void Prompt::scrollCaption()
{
    if (m_marqueeIndex > m_marqueeBound)
        m_marqueeIndex = 0;
    m_ui->lbPromptText->setText(m_text.mid(m_marqueeIndex));
    ++m_marqueeIndex;
}

void Prompt::enterEvent(QEvent *event)
{
    QDialog::enterEvent(event);
    m_ui->lbPromptText->ensurePolished();
    const QFontMetrics metrics(m_ui->lbPromptText->font());
    if (metrics.horizontalAdvance(m_text) > m_ui->lbPromptText->width() + kMarqueeSlack) {
        m_marqueeIndex = 0;
        m_marqueeBound = m_text.length();
        m_marqueeTimer->start(kMarqueeStepMs);
    }
}

void Prompt::leaveEvent(QEvent *event)
{
    QDialog::leaveEvent(event);
    m_marqueeTimer->stop();
    m_ui->lbPromptText->setText(m_text);
}

// However the dialog goes (a button, Escape), the marquee must not go on
// behind it and the next showing starts from the whole text.
void Prompt::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    m_marqueeTimer->stop();
    m_ui->lbPromptText->setText(m_text);
}
