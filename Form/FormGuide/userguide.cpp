#include "Form/FormGuide/userguide.h"
#include "ui_userguide.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormGuide/guidemarkup.h"
#include "Form/FormGuide/guidepictureloader.h"
#include "Form/FormGuide/qasub.h"
#include "dataproc/cvarohomedataproc.h"
#include "dataproc/guideitem.h"
#include "helper/weblinks.h"

#include <QDebug>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>

namespace {
const int kCardWidth = 648;
// The work of one slice of the layout: a row is never split, and one of the
// longest answers takes a few tens of milliseconds, so with the layout pass
// that follows each slice the window answers well within 100 ms.
const int kSliceMs = 20;
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

    // Under the cards, which are put before it. The page's grey (#c6c6c6)
    // is too light for a sentence to read on its background.
    m_cutNote = new QLabel(this);
    m_cutNote->setObjectName(QStringLiteral("labelGuideCut"));
    m_cutNote->setStyleSheet(QStringLiteral("QLabel{font:14px \"Microsoft YaHei\";color:#454545;}"));
    m_cutNote->setFixedWidth(kCardWidth);
    m_cutNote->setWordWrap(true);
    m_cutNote->setAlignment(Qt::AlignHCenter);
    m_cutNote->setTextFormat(Qt::RichText);
    m_cutNote->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    // The address is the service's: only a web page opens.
    openWebLinksOnly(m_cutNote);
    m_cutNote->hide();
    ui->verticalLayout->addWidget(m_cutNote);

    connect(m_retry, SIGNAL(clicked()), this, SLOT(sltUpdateNetwork()));

    // Each slice waits for the events that came meanwhile (a click, a
    // paint, the system asking the program to end).
    m_sliceTimer = new QTimer(this);
    m_sliceTimer->setSingleShot(true);
    m_sliceTimer->setInterval(0);
    connect(m_sliceTimer, SIGNAL(timeout()), this, SLOT(layOutSlice()));
}

UserGuide::~UserGuide()
{
    delete ui;
}

void UserGuide::hideAllItems()
{
    for (QAsub *card : qAsConst(m_cards))
        card->hide();
    m_cutNote->hide();
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

    // A guide still being laid out is given up for the one fetched now.
    m_sliceTimer->stop();
    m_laying = false;
    m_card = nullptr;
    m_built = false;
    m_retry->hide();
    m_noNet->hide();
    m_cutNote->hide();

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
    m_shown = ShownGuide::of(guide);
    for (const QString &cut : qAsConst(m_shown.cuts))
        qDebug().noquote() << cut;
    if (m_shown.endsEarly) {
        QString note = tr("The rest of the guide is left out.").toHtmlEscaped();
        const QString link =
            guidemarkup::webLink(AppGlobals::dataProc()->GetVaroHomeGuidePageUrl(), tr("Open the whole guide"));
        if (!link.isEmpty())
            note += QLatin1Char(' ') + link;
        m_cutNote->setText(note);
    }
    m_nextQuestion = 0;
    m_card = nullptr;
    m_laying = true;
    m_layoutClock.start();
    m_built = true;
    // A guide of a handful of entries is done in this first slice.
    layOutSlice();
}

void UserGuide::layOutSlice()
{
    QElapsedTimer slice;
    slice.start();
    while (slice.elapsed() < kSliceMs) {
        if (!m_card) {
            if (m_nextQuestion == m_shown.questions.size()) {
                m_laying = false;
                m_cutNote->setVisible(m_shown.endsEarly);
                qDebug() << "guide shown:" << m_shown.questions.size() << "questions," << m_shown.rows
                         << "answer rows, laid out in" << m_layoutClock.elapsed() << "ms";
                // The cards keep their own copies.
                m_shown = ShownGuide();
                return;
            }
            m_card = startCard(m_nextQuestion++);
        }
        if (!m_card->buildNextRow())
            m_card = nullptr;
    }
    m_sliceTimer->start();
}

QAsub *UserGuide::startCard(int i)
{
    QAsub *card;
    if (i == m_cards.size()) {
        card = new QAsub(false, kCardWidth, this);
        m_cards.append(card);
        ui->verticalLayout->insertWidget(i, card);
    } else {
        card = m_cards[i];
        card->clear();
    }
    const ShownGuide::Question &question = m_shown.questions[i];
    card->setItem(question.title, question.content);
    card->beginBuild();
    card->show();
    return card;
}
