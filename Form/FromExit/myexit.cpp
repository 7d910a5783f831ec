#include "Form/FromExit/myexit.h"
#include "ui_myexit.h"

#include "helper/framelesswindow.h"
#include "helper/quitprogram.h"

#include <QCoreApplication>

myExit::myExit(QWidget *parent)
    : QWidget(parent)
    , m_ui(new Ui::frmExit)
{
    m_ui->setupUi(this);
    // Application-modal whenever shown: the choice must be made (or the window
    // closed) before anything else happens.
    setUpFramelessDialog(this, DialogModality::ApplicationModal);
    for (QWidget *widget : {static_cast<QWidget *>(m_ui->label_title), static_cast<QWidget *>(m_ui->label_hint),
                            static_cast<QWidget *>(m_ui->pb_background), static_cast<QWidget *>(m_ui->pb_Exit)}) {
        QFont font = widget->font();
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
        widget->setFont(font);
    }
    connect(m_ui->pb_background, SIGNAL(clicked()), this, SLOT(slotBackground()));
    connect(m_ui->pb_Exit, SIGNAL(clicked()), this, SLOT(slotExit()));
    connect(m_ui->tb_close, SIGNAL(clicked()), this, SLOT(slotClose()));
}

myExit::~myExit()
{
    delete m_ui;
}

void myExit::slotBackground()
{
    close();
    emit sglRunBack();
}

void myExit::slotExit()
{
    quitProgram(QCoreApplication::translate("frmExit", "File is adding , please wait for a  moment !"));
}

void myExit::slotClose()
{
    close();
}
