#include "Form/FromExit/myexit.h"
#include "ui_myexit.h"

#include "Form/Dialogs/prompt.h"
#include "helper/appflags.h"
#include "helper/appglobals.h"
#include "helper/session.h"

#include <QCoreApplication>
#include <QIcon>

myExit::myExit(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::frmExit)
{
    ui->setupUi(this);
    // Application-modal whenever shown: the choice must be made (or the window
    // closed) before anything else happens.
    setAttribute(Qt::WA_ShowModal);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowIcon(QIcon(QStringLiteral(":/Brontel/Skin/ico/logo_16X16.png")));
    for (QWidget *widget : {static_cast<QWidget *>(ui->label_title), static_cast<QWidget *>(ui->label_hint),
                            static_cast<QWidget *>(ui->pb_background), static_cast<QWidget *>(ui->pb_Exit)}) {
        QFont font = widget->font();
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
        widget->setFont(font);
    }
    connect(ui->pb_background, SIGNAL(clicked()), this, SLOT(slotBackground()));
    connect(ui->pb_Exit, SIGNAL(clicked()), this, SLOT(slotExit()));
    connect(ui->tb_close, SIGNAL(clicked()), this, SLOT(slotClose()));
}

myExit::~myExit()
{
    delete ui;
}

void myExit::slotBackground()
{
    close();
    emit sglRunBack();
}

void myExit::slotExit()
{
    // Quitting in the middle of a copy would leave half a video in the
    // library; the user is told to wait instead, as every other quit path does.
    if (g_fileAdding) {
        Prompt *prompt = AppGlobals::prompt();
        prompt->setPrompt(QCoreApplication::translate("frmExit", "File is adding , please wait for a  moment !"));
        prompt->exec();
        return;
    }
    // nginx first: the headset must not go on streaming from a program that
    // has ended.
    Session::instance()->StopNginx();
    QCoreApplication::quit();
}

void myExit::slotClose()
{
    close();
}

void myExit::mousePressEvent(QMouseEvent *event)
{
    m_drag.press(this, event);
}

void myExit::mouseMoveEvent(QMouseEvent *event)
{
    m_drag.move(this, event);
}

void myExit::mouseReleaseEvent(QMouseEvent *event)
{
    Q_UNUSED(event);
    m_drag.release();
}
