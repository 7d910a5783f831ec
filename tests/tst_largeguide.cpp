// The Guide page against guides far larger than any the maker writes, all
// under the 4 MiB cap on a reply, from a stand-in service on 127.0.0.1: what
// it shows of them (and says in the log it left out), that the window keeps
// answering while they are read and laid out, and that their first
// questions, like a normal guide, look as they always did.
#include "common/fakeonlineservice.h"
#include "common/gapmeter.h"
#include "common/largeguides.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormGuide/qacontent.h"
#include "Form/FormGuide/qasub.h"
#include "Form/FormGuide/shownguide.h"
#include "Form/FormGuide/userguide.h"
#include "dataproc/cbldataprocresourceguide.h"
#include "dataproc/cvarohomedataproc.h"
#include "dataproc/cvarohomedataprocresourcemgr.h"

#include <QApplication>
#include <QJsonDocument>
#include <QLabel>
#include <QTest>

#include <memory>

namespace {

const QByteArray kGuide = FakeOnlineService::kGuidePath;

// The window must answer within 100 ms; the test allows for a loaded
// machine and the sanitizers. Laid out at once, these guides block it for
// seconds to minutes.
const qint64 kAnswerBoundMs = 400;

QStringList g_messages;

void keepMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_messages << message;
}

QString titleText(QAsub *card)
{
    return card->findChild<QLabel *>("label_title")->text();
}

QString answerText(QAContent *row)
{
    return row->findChild<QLabel *>("label_desc")->text();
}

// A guide entry with owned paragraphs, as the guide client keeps them.
struct OwnedGuide
{
    ~OwnedGuide()
    {
        for (GuideItem *item : qAsConst(items)) {
            qDeleteAll(item->content);
            delete item;
        }
    }
    void add(const QString &title, const QList<QPair<QString, QString>> &rows)
    {
        auto *item = new GuideItem;
        item->title = title;
        for (const auto &row : rows)
            item->content.append(new GuideContent{row.first, row.second});
        items.append(item);
    }
    QList<GuideItem *> items;
};

int shownChars(const ShownGuide &shown)
{
    int chars = 0;
    for (const ShownGuide::Question &question : shown.questions) {
        chars += question.title.size();
        for (const GuideContent &row : question.content)
            chars += row.desc.size();
    }
    return chars;
}

} // namespace

class TestLargeGuide : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void largeGuideIsCutAtItsLimits();
    void cutsNeverSplitACharacterOrATag_data();
    void cutsNeverSplitACharacterOrATag();
    void windowKeepsAnsweringWhileALargeGuideIsBuilt_data();
    void windowKeepsAnsweringWhileALargeGuideIsBuilt();
    void aGuideFetchedAgainReplacesTheOneBeingLaidOut();

private:
    std::unique_ptr<TestUser> m_user;
    std::unique_ptr<FakeOnlineService> m_service;
};

void TestLargeGuide::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    qInstallMessageHandler(keepMessage);
}

void TestLargeGuide::init()
{
    g_messages.clear();
    m_user.reset(new TestUser);
    m_service.reset(new FakeOnlineService);
    QVERIFY(m_service->isListening());
    m_service->configure(*m_user, {{"outTime", 5}, {"language", "us"}});
}

void TestLargeGuide::cleanup()
{
    AppGlobals::release();
    m_service.reset();
    m_user.reset();
}

void TestLargeGuide::largeGuideIsCutAtItsLimits()
{
    // Questions: the first 200, in order.
    OwnedGuide many;
    for (int i = 0; i < 20000; ++i)
        many.add(QString("Q%1").arg(i), {{"A", ""}});
    ShownGuide shown = ShownGuide::of(many.items);
    QCOMPARE(shown.questions.size(), ShownGuide::kMaxQuestions);
    QCOMPARE(shown.questions.last().title, QString("Q199"));
    QCOMPARE(shown.cuts.size(), 1);
    QVERIFY2(shown.cuts[0].contains("200 of its 20000 questions shown"), qPrintable(shown.cuts[0]));

    // Rows: 1,000 in all; the guide ends with the question that reached them.
    OwnedGuide rows;
    QList<QPair<QString, QString>> long1;
    for (int i = 0; i < 600; ++i)
        long1.append(qMakePair(QString("row"), QString()));
    rows.add("first", long1);
    rows.add("second", long1);
    rows.add("third", {{"row", ""}});
    shown = ShownGuide::of(rows.items);
    QCOMPARE(shown.rows, ShownGuide::kMaxRows);
    QCOMPARE(shown.questions.size(), 2);
    QCOMPARE(shown.questions[1].content.size(), 400);
    QCOMPARE(shown.cuts, QStringList({"guide: 2 of its 3 questions shown, the rest left out (at most 200 questions, "
                                      "1000 answer rows and 400000 characters in all)",
                                      "guide: 200 answer rows of the last question shown left out"}));

    // Texts: a title and an answer cut to theirs, a picture address too long
    // for any server left out.
    OwnedGuide texts;
    texts.add(largeguides::words(100000), {{largeguides::words(2 * 1024 * 1024), "http://127.0.0.1/" + QString(9000, 'p')},
                                            {"short", "http://127.0.0.1/kept.png"}});
    shown = ShownGuide::of(texts.items);
    QCOMPARE(shown.questions.size(), 1);
    const ShownGuide::Question &question = shown.questions[0];
    QCOMPARE(question.title.size(), ShownGuide::kMaxTitleChars);
    QVERIFY(question.title.endsWith(QChar(0x2026)));
    QVERIFY(question.title.startsWith("word word "));
    QCOMPARE(question.content[0].desc.size(), ShownGuide::kMaxAnswerChars);
    QVERIFY(question.content[0].desc.endsWith(QChar(0x2026)));
    QCOMPARE(question.content[0].image, QString());
    QCOMPARE(question.content[1].desc, QString("short"));
    QCOMPARE(question.content[1].image, QString("http://127.0.0.1/kept.png"));
    QCOMPARE(shown.cuts, QStringList({"guide: 1 titles cut to 2000 characters", "guide: 1 answers cut to 10000 characters",
                                      "guide: 1 pictures left out, their addresses longer than 8192 characters"}));

    // The whole guide's text: the question that reaches the limit is cut
    // there and is the last one shown.
    OwnedGuide wordy;
    for (int i = 0; i < 100; ++i)
        wordy.add(QString("T%1").arg(i), {{QString(ShownGuide::kMaxAnswerChars, 'x'), ""}});
    shown = ShownGuide::of(wordy.items);
    QCOMPARE(shownChars(shown), ShownGuide::kMaxTextChars);
    QCOMPARE(shown.questions.size(), 40);
    QVERIFY(shown.questions.last().content[0].desc.endsWith(QChar(0x2026)));
    QVERIFY(shown.cuts.contains("guide: its text cut at 400000 characters in all"));
}

void TestLargeGuide::cutsNeverSplitACharacterOrATag_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxChars");
    QTest::addColumn<QString>("kept");
    const QString smile = QString::fromUcs4(U"\U0001F600");
    QTest::newRow("plain") << "abcdefghij" << 5 << "abcd";
    QTest::newRow("surrogate pair") << "abc" + smile + "defg" << 5 << "abc";
    QTest::newRow("inside a tag") << "ab<span style='color:red'>x</span>" << 8 << "ab";
    QTest::newRow("after a tag") << "<b>abcdefgh</b>" << 8 << "<b>abcd";
    QTest::newRow("inside a reference") << "ab&amp;cdefgh" << 5 << "ab";
    QTest::newRow("after a reference") << "ab&amp;cdefgh" << 10 << "ab&amp;cd";
}

void TestLargeGuide::cutsNeverSplitACharacterOrATag()
{
    QFETCH(QString, text);
    QFETCH(int, maxChars);
    QFETCH(QString, kept);
    QCOMPARE(ShownGuide::cut(text, maxChars), kept + QChar(0x2026));
    QCOMPARE(ShownGuide::cut(text, text.size()), text);
}

void TestLargeGuide::windowKeepsAnsweringWhileALargeGuideIsBuilt_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("cards");
    QTest::addColumn<int>("rowsOfFirst");
    const auto json = [](const QList<FakeOnlineService::GuideEntry> &entries) {
        return QJsonDocument(FakeOnlineService::guideReply(entries)).toJson(QJsonDocument::Compact);
    };
    QTest::newRow("20,000 questions") << json(largeguides::numbered(20000)) << 200 << 1;
    QTest::newRow("100,000 empty questions") << json(largeguides::empty(100000)) << 200 << 0;
    QTest::newRow("a 100,000-character title and a 2 MB answer")
        << json(largeguides::longTexts(100000, 2 * 1024 * 1024)) << 1 << 1;
    QList<QPair<QString, QString>> rows;
    for (int i = 0; i < 1500; ++i)
        rows.append({QString("Row %1").arg(i), QString()});
    QTest::newRow("a question of 1,500 answers") << json({{"Many", rows, 0}}) << 1 << ShownGuide::kMaxRows;
}

// The reply is read and the page laid out while a timer on the GUI thread
// notes the longest the window went without answering; then the first
// questions are compared with a page showing only them.
void TestLargeGuide::windowKeepsAnsweringWhileALargeGuideIsBuilt()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, cards);
    QFETCH(int, rowsOfFirst);
    QVERIFY(reply.size() < 4 * 1024 * 1024);
    m_service->answer(kGuide, FakeReply::json(reply));

    GapMeter gaps;
    CBLDataProcResourceGuide *client = AppGlobals::dataProc()->resourceManager()->guideResource();
    QVERIFY(waitUntil([client] { return client->downloadDone(); }, 30000, 5));
    const qint64 readingMs = gaps.longestMs();

    UserGuide page;
    page.resize(680, 600);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    gaps.restart();
    page.sltUpdateNetwork();
    QVERIFY(page.isBuilt());
    QVERIFY(waitUntil([&] { return page.isLaidOut(); }, 60000, 5));
    const qint64 layingMs = gaps.longestMs();
    QVERIFY2(readingMs <= kAnswerBoundMs && layingMs <= kAnswerBoundMs,
             qPrintable(QString("reading %1 ms, laying out %2 ms").arg(readingMs).arg(layingMs)));

    QCOMPARE(page.cards().size(), cards);
    QCOMPARE(page.cards()[0]->rows().size(), rowsOfFirst);
    QVERIFY(g_messages.filter("guide shown: ").size() == 1);
    if (reply.size() > 1024 * 1024)
        QVERIFY2(!g_messages.filter(QRegularExpression("^guide: .*(left out|cut)")).isEmpty(),
                 qPrintable(g_messages.join('\n')));

    // The first questions as a normal guide of only them shows them.
    const QList<GuideItem *> all = AppGlobals::dataProc()->GetVaroHomeGuideData();
    QList<FakeOnlineService::GuideEntry> firstOnes;
    const int compared = qMin(3, cards);
    for (int i = 0; i < compared; ++i) {
        FakeOnlineService::GuideEntry entry{ShownGuide::cut(all[i]->title, ShownGuide::kMaxTitleChars), {}, i};
        for (int j = 0; j < qMin(3, all[i]->content.size()); ++j)
            entry.content.append({ShownGuide::cut(all[i]->content[j]->desc, ShownGuide::kMaxAnswerChars), QString()});
        firstOnes.append(entry);
    }
    AppGlobals::release();
    m_service->answer(kGuide, FakeReply::json(FakeOnlineService::guideReply(firstOnes)));
    UserGuide normal;
    normal.resize(680, 600);
    normal.show();
    normal.sltUpdateNetwork();
    QVERIFY(waitUntil([&] { return normal.isLaidOut(); }, 10000));
    QCOMPARE(normal.cards().size(), compared);
    QTest::qWait(50);
    for (int i = 0; i < compared; ++i) {
        QAsub *large = page.cards()[i];
        QAsub *plain = normal.cards()[i];
        QCOMPARE(titleText(large), titleText(plain));
        QCOMPARE(large->findChild<QLabel *>("label_title")->isVisibleTo(large),
                 plain->findChild<QLabel *>("label_title")->isVisibleTo(plain));
        for (int j = 0; j < plain->rows().size(); ++j) {
            QCOMPARE(answerText(large->rows()[j]), answerText(plain->rows()[j]));
            QCOMPARE(large->rows()[j]->size(), plain->rows()[j]->size());
        }
        if (plain->rows().size() == large->rows().size())
            QCOMPARE(large->size(), plain->size());
        QCOMPARE(large->pos(), plain->pos());
    }
}

void TestLargeGuide::aGuideFetchedAgainReplacesTheOneBeingLaidOut()
{
    m_service->answer(kGuide, FakeReply::json(FakeOnlineService::guideReply(largeguides::numbered(20000))));
    UserGuide page;
    page.sltUpdateNetwork();
    QVERIFY(!page.isLaidOut());
    const int early = page.cards().size();
    QVERIFY(early < ShownGuide::kMaxQuestions);
    page.refresh();
    QVERIFY(waitUntil([&] { return page.isLaidOut(); }, 60000, 5));
    QCOMPARE(page.cards().size(), ShownGuide::kMaxQuestions);
    for (int i = 0; i < page.cards().size(); ++i) {
        QAsub *card = page.cards()[i];
        QCOMPARE(card->title(), QString("Question %1").arg(i));
        QCOMPARE(card->rows().size(), 1);
        QCOMPARE(answerText(card->rows()[0]), QString("<p style='line-height:120% '>Answer %1.</p>").arg(i));
    }
    QCOMPARE(g_messages.filter("guide shown: ").size(), 1);
}

QTEST_MAIN(TestLargeGuide)
#include "tst_largeguide.moc"
