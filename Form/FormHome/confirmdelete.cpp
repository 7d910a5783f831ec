#include "Form/FormHome/confirmdelete.h"
#include "ui_confirmdelete.h"

#include "helper/framelesswindow.h"

#include <QCloseEvent>

ConfirmDelete::ConfirmDelete(QWidget *parent)
    : QWidget(parent)
    , m_ui(new Ui::frmConfirmDelete)
{
    m_ui->setupUi(this);
    // Application-modal whenever shown: while the question is open the home
    // page's selection must not change under it.
    setWindowFlags(windowFlags() | Qt::Window);
    setUpFramelessDialog(this, DialogModality::ApplicationModal);
    for (QWidget *widget : {static_cast<QWidget *>(m_ui->label_title), static_cast<QWidget *>(m_ui->label_hint),
                            static_cast<QWidget *>(m_ui->pb_delete), static_cast<QWidget *>(m_ui->pb_cancel)}) {
        QFont font = widget->font();
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
        widget->setFont(font);
    }
    connect(m_ui->pb_cancel, SIGNAL(clicked()), this, SLOT(slotCancel()));
    connect(m_ui->pb_delete, SIGNAL(clicked()), this, SLOT(slotDelete()));
    connect(m_ui->tb_close, SIGNAL(clicked()), this, SLOT(slotClose()));
}

ConfirmDelete::~ConfirmDelete()
{
    delete m_ui;
}

void ConfirmDelete::slotCancel()
{
    close();
    emit sglCancelDelVideoFile();
}

void ConfirmDelete::slotDelete()
{
    // The home page deletes while the question is still on screen, so the
    // user sees the window go only when the work is done.
    emit sglDoDelVideoFile();
    close();
}

void ConfirmDelete::slotClose()
{
    slotCancel();
}

// A close that the window system asks for (a keyboard shortcut, the task bar)
// is the user's answer too. Treated as cancel: otherwise the home page would
// go on waiting for an answer with its select buttons still shown.
void ConfirmDelete::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->spontaneous() && isVisible()) {
        hide();
        emit sglCancelDelVideoFile();
    }
}
