#include "Form/FormGuide/userguide.h"
#include "ui_userguide.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormGuide/guidepictureloader.h"
#include "Form/FormGuide/qasub.h"
#include "dataproc/cvarohomedataproc.h"
#include "dataproc/guideitem.h"

#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {
const int kCardWidth = 648;
}

UserGuide::UserGuide(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::UserGuide)
{
    ui->setupUi(this);
    // A QWidget subclass paints its style-sheet background only when asked to.
    setAttribute(Qt::WA_StyledBackground);

    m_retry = new QPushButton(this);
    m_retry->setObjectName(QStringLiteral("pushButtonRetry"));
    m_retry->setGeometry(250, 180, 300, 229);
    m_retry->setStyleSheet(QStringLiteral("border-image:url(:/Brontel/Skin/new/network_unusual.png)"));
    m_retry->setFocusPolicy(Qt::NoFocus);
    m_retry->hide();

    m_noNet = new QLabel(this);
    m_noNet->setObjectName(QStringLiteral("labelNoNet"));
    m_noNet->setGeometry(150, 409, 500, 71);
    m_noNet->setText(tr("no net"));
    m_noNet->setStyleSheet(QStringLiteral("QLabel{font:20px \"Microsoft YaHei\";color:#c6c6c6;}"));
    m_noNet->setAlignment(Qt::AlignHCenter);
    m_noNet->hide();

    connect(m_retry, SIGNAL(clicked()), this, SLOT(sltUpdateNetwork()));
}

UserGuide::~UserGuide()
{
    delete ui;
}

void UserGuide::hideAllItems()
{
    for (QAsub *card : qAsConst(m_cards))
        card->hide();
}

void UserGuide::refresh()
{
    sltUpdateNetwork();
}

void UserGuide::sltUpdateNetwork()
{
    if (m_updating)
        return;
    QScopedValueRollback<bool> updating(m_updating, true);

    m_built = false;
    m_retry->hide();
    m_noNet->hide();

    const QList<GuideItem *> guide = AppGlobals::dataProc()->GetVaroHomeGuideData();
    if (guide.isEmpty()) {
        m_retry->show();
        m_retry->raise();
        m_noNet->show();
        m_noNet->raise();
        return;
    }

    hideAllItems();
    GuidePictureLoader::instance()->beginGuide();
    for (int i = 0; i < guide.size(); ++i) {
        QAsub *card;
        if (i == m_cards.size()) {
            card = new QAsub(false, kCardWidth, this);
            m_cards.append(card);
            ui->verticalLayout->addWidget(card);
        } else {
            card = m_cards[i];
            card->clear();
        }
        card->setItem(*guide[i]);
        card->build();
        card->show();
    }
    m_built = true;
}
