#include "Form/FormAbout/aboutus.h"
#include "ui_aboutus.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/Dialogs/prompt.h"
#include "Form/FormVaroHomeUpdate/varohomeupdatedesc.h"
#include "dataproc/cvarohomedataproc.h"
#include "dataproc/versioninfo.h"
#include "helper/iniconfig.h"
#include "helper/weblinks.h"
#include "ui_varohomeupdatedesc.h"

#include <QScopedValueRollback>

namespace {

const char kUpdateButtonStyle[] =
    "QPushButton#BNUpdate{font:16px \"Microsoft YaHei\";color:#959595;"
    "border-image:url(:/Brontel/Skin/new/Button_normal.png);}"
    "QPushButton#BNUpdate:hover{border-image:url(:/Brontel/Skin/new/Button_selected.png);}"
    "QPushButton#BNUpdate:pressed{color:#ffffff;border-image:url(:/Brontel/Skin/new/Button_press.png);}";

void spaceLetters(QWidget *widget)
{
    QFont font = widget->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2.0);
    widget->setFont(font);
}

} // namespace

AboutUs::AboutUs(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::AboutUs)
{
    ui->setupUi(this);
    connect(ui->pushButtonVersionDetect, SIGNAL(clicked()), this, SLOT(slotVersionDetect()));
    m_localVersion = IniConfig::instance()->getLocalVersion();

    ui->labelGameTitle2->setText(tr("Current version:") + m_localVersion);
    // The maker's paragraph comes from the translation, in the page's own
    // paragraph style.
    ui->labelMain->setText(QStringLiteral("<p style='line-height:120% '>") + tr("company") + QStringLiteral("</p>"));
    spaceLetters(ui->labelMain);
    spaceLetters(ui->label_2);
    ui->labelMain->setStyleSheet(QStringLiteral("QLabel{color:#454545; font:14px  \"Microsoft YaHei\";}"));
    ui->label_2->setStyleSheet(QStringLiteral("QLabel{color:#454545; font:14px \"Microsoft YaHei\";}"));
    openWebLinksOnly(ui->lb_web);
}

AboutUs::~AboutUs()
{
    delete m_updateDesc;
    delete ui;
}

void AboutUs::slotVersionDetect()
{
    if (m_checking)
        return;
    QScopedValueRollback<bool> checking(m_checking, true);

    if (!m_updateDesc)
        m_updateDesc = new VaroHomeUpdateDesc;
    if (!m_version)
        m_version = AppGlobals::dataProc()->GetVaroHomeVersionData();

    if (!m_version) {
        Prompt *prompt = AppGlobals::prompt();
        prompt->setPrompt(tr("net error"));
        prompt->exec();
        return;
    }
    if (!m_version->hasUpdate) {
        Prompt *prompt = AppGlobals::prompt();
        prompt->setPrompt(tr("it is the latest version"));
        prompt->exec();
        return;
    }

    // Dismissing a mandatory update ends the program, so its button says so.
    const QString dismiss = m_version->forced == 1 ? tr("quit") : tr("cancel");
    m_updateDesc->showOffer(tr("latest version: %1").arg(m_version->version), m_version->notes, dismiss);
    // The pop-up is kept between checks: a failed download left its button
    // red and worded for a retry.
    Ui::VaroHomeUpdateDesc *form = m_updateDesc->getUi();
    form->BNUpdate->setText(tr("Update"));
    form->BNUpdate->setStyleSheet(QString::fromLatin1(kUpdateButtonStyle));
    m_updateDesc->exec();
}
