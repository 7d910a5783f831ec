// The Guide page against guides far larger than any the maker writes, all
// under the 4 MiB cap on a reply, from a stand-in service on 127.0.0.1: what
// it shows of them (and says in the log it left out), that the window keeps
// answering while they are read and laid out, that their first questions,
// like a normal guide, look as they always did, and that a guide cut short
// ends with a line saying so.
#include "common/fakeonlineservice.h"
#include "common/gapmeter.h"
#include "common/largeguides.h"
#include "common/programrunner.h"
#include "common/shownlinks.h"
#include "common/testenv.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormGuide/qacontent.h"
#include "Form/FormGuide/qasub.h"
#include "Form/FormGuide/shownguide.h"
#include "Form/FormGuide/userguide.h"
#include "dataproc/cbldataprocresourceguide.h"
#include "dataproc/cvarohomedataproc.h"
#include "dataproc/cvarohomedataprocresourcemgr.h"
#include "helper/session.h"

#include <QApplication>
#include <QJsonDocument>
#include <QLabel>
#include <QScrollArea>
#include <QTest>
#include <QTranslator>

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

// The last card the page shows.
QAsub *lastShownCard(const UserGuide &page)
{
    QAsub *last = nullptr;
    for (QAsub *card : page.cards()) {
        if (card->isVisibleTo(&page))
            last = card;
    }
    return last;
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
    void aGuideCutShortEndsWithALineSayingSo_data();
    void aGuideCutShortEndsWithALineSayingSo();
    void aGuideShownWholeAfterACutOneHasNoSuchLine();
    void theLineSpeaksTheInterfaceLanguage_data();
    void theLineSpeaksTheInterfaceLanguage();

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

void TestLargeGuide::aGuideCutShortEndsWithALineSayingSo_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<QString>("link");
    const QList<FakeOnlineService::GuideEntry> many = largeguides::numbered(300);
    const QString page = "http://127.0.0.1:1/whole guide?a=1&b=<2>";
    QTest::newRow("300 questions, with the guide's page")
        << largeguides::reply(many, page) << true << "http://127.0.0.1:1/whole%20guide?a=1&b=%3C2%3E";
    QTest::newRow("300 questions, an https page")
        << largeguides::reply(many, "https://127.0.0.1/guide") << true << "https://127.0.0.1/guide";
    QTest::newRow("300 questions, no page") << largeguides::reply(many, QJsonValue::Undefined) << true << QString();
    QTest::newRow("300 questions, an ftp page") << largeguides::reply(many, "ftp://127.0.0.1/guide") << true << QString();
    QTest::newRow("300 questions, a script") << largeguides::reply(many, "javascript:alert(1)") << true << QString();
    QTest::newRow("300 questions, a file") << largeguides::reply(many, "file:///etc/passwd") << true << QString();
    QTest::newRow("300 questions, a page that is no text") << largeguides::reply(many, 42) << true << QString();
    const QString longest = "http://127.0.0.1/" + QString(8192 - 17, 'a');
    QTest::newRow("300 questions, a page of 8,192 characters") << largeguides::reply(many, longest) << true << longest;
    QTest::newRow("300 questions, a page of 8,193 characters")
        << largeguides::reply(many, longest + "a") << true << QString();
    QTest::newRow("300 questions, markup in the page's address")
        << largeguides::reply(many, "http://127.0.0.1/g\"><b>bold</b><img src=\"x\"><a href=\"x") << true
        << "http://127.0.0.1/g%22%3E%3Cb%3Ebold%3C/b%3E%3Cimg%20src=%22x%22%3E%3Ca%20href=%22x";

    QList<QPair<QString, QString>> rows;
    for (int i = 0; i < 1500; ++i)
        rows.append({QString("Row %1").arg(i), QString()});
    QTest::newRow("1,500 answer rows") << largeguides::reply({{"Many", rows, 0}}, "http://127.0.0.1/all") << true
                                       << "http://127.0.0.1/all";
    QList<FakeOnlineService::GuideEntry> wordy;
    for (int i = 0; i < 50; ++i)
        wordy.append({QString("T%1").arg(i), {{QString(ShownGuide::kMaxAnswerChars, 'x'), QString()}}, i});
    QTest::newRow("500,000 characters") << largeguides::reply(wordy, QJsonValue::Undefined) << true << QString();
    // The guide's last answer cut at the text of the whole guide.
    QTest::newRow("text cut in the last answer") << largeguides::reply(wordy.mid(0, 40), QJsonValue::Undefined) << true
                                                 << QString();

    // Shown whole: nothing of the guide is left out.
    QTest::newRow("200 questions") << largeguides::reply(largeguides::numbered(200), "http://127.0.0.1/all") << false
                                   << QString();
    QTest::newRow("a normal guide") << largeguides::reply(largeguides::numbered(4), "http://127.0.0.1/all") << false
                                    << QString();
    QTest::newRow("only a title and an answer cut to their own limits")
        << largeguides::reply(largeguides::longTexts(100000, 200000), "http://127.0.0.1/all") << false << QString();
}

void TestLargeGuide::aGuideCutShortEndsWithALineSayingSo()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, cut);
    QFETCH(QString, link);
    m_service->answer(kGuide, FakeReply::json(reply));
    BrowserStandIn browser;

    UserGuide page;
    page.resize(680, 600);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.sltUpdateNetwork();
    QLabel *note = page.findChild<QLabel *>("labelGuideCut");
    QVERIFY(note);
    // Not before the last card is there.
    bool shownEarly = false;
    QVERIFY(waitUntil([&] {
        shownEarly = shownEarly || (!page.isLaidOut() && note->isVisibleTo(&page));
        return page.isLaidOut();
    }, 60000, 2));
    QVERIFY(!shownEarly);
    QCOMPARE(note->isVisibleTo(&page), cut);
    if (!cut)
        return;

    // Under the last card, inside what the page scrolls through.
    QAsub *last = lastShownCard(page);
    QVERIFY(last);
    QVERIFY(waitUntil([&] { return note->geometry().top() > last->geometry().bottom(); }, 5000));
    QVERIFY(note->height() >= note->fontMetrics().height());
    QVERIFY(note->parentWidget()->rect().contains(note->geometry()));
    auto *scroll = page.findChild<QScrollArea *>("scrollArea");
    scroll->ensureWidgetVisible(note);
    QVERIFY(waitUntil([&] { return note->visibleRegion().boundingRect().height() == note->height(); }, 5000));

    const ShownText shown = shownText(note);
    if (link.isEmpty()) {
        QCOMPARE(shown.words, QString("The rest of the guide is left out."));
        QCOMPARE(shown.links, QStringList());
        return;
    }
    QCOMPARE(shown.words, QString("The rest of the guide is left out. Open the whole guide"));
    QCOMPARE(shown.links, QStringList({link}));

    // The link opens the page in the browser.
    note->setFocus();
    QTest::keyClick(note, Qt::Key_Tab);
    QTest::keyClick(note, Qt::Key_Return);
    QCOMPARE(browser.opened, QList<QUrl>({QUrl(link)}));
}

void TestLargeGuide::aGuideShownWholeAfterACutOneHasNoSuchLine()
{
    m_service->answer(kGuide, FakeReply::json(largeguides::reply(largeguides::numbered(300), "http://127.0.0.1/all")));
    UserGuide page;
    page.resize(680, 600);
    page.show();
    page.sltUpdateNetwork();
    QVERIFY(waitUntil([&] { return page.isLaidOut(); }, 60000, 5));
    QLabel *note = page.findChild<QLabel *>("labelGuideCut");
    QVERIFY(note && note->isVisibleTo(&page));

    // The page built again, from a guide the service now sends whole.
    AppGlobals::release();
    m_service->answer(kGuide, FakeReply::json(largeguides::reply(largeguides::numbered(3), "http://127.0.0.1/all")));
    page.sltUpdateNetwork();
    QVERIFY(waitUntil([&] { return page.isLaidOut(); }, 10000, 5));
    QCOMPARE(lastShownCard(page), page.cards()[2]);
    QVERIFY(!note->isVisibleTo(&page));
    QTest::qWait(50);
    QVERIFY(!note->isVisibleTo(&page));
}

void TestLargeGuide::theLineSpeaksTheInterfaceLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("words");
    QTest::newRow("us") << "us" << "The rest of the guide is left out. Open the whole guide";
    QTest::newRow("de") << "de" << QString::fromUtf8("Der Rest der Anleitung wird nicht angezeigt. Ganze Anleitung öffnen");
    QTest::newRow("cn") << "cn" << QString::fromUtf8("指南的其余部分未显示。 查看完整指南");
}

void TestLargeGuide::theLineSpeaksTheInterfaceLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, words);
    // Every language has its own words for the line.
    for (const char *lang : {"zh", "en", "ja", "fr", "it", "de", "es"}) {
        QTranslator translator;
        QVERIFY(translator.load(Session::instance()->getAppFilePath("translation") + "/brontel_" + lang + ".qm"));
        for (const char *text : {"The rest of the guide is left out.", "Open the whole guide"})
            QVERIFY2(!translator.translate("UserGuide", text).isEmpty(), qPrintable(QString("%1: %2").arg(lang, text)));
    }

    QVERIFY(Session::instance()->loadTranslator(language));
    struct Release
    {
        ~Release() { Session::instance()->releaseTranslator(); }
    } release;
    m_service->answer(kGuide, FakeReply::json(largeguides::reply(largeguides::numbered(300), "http://127.0.0.1/all")));
    UserGuide page;
    page.sltUpdateNetwork();
    QVERIFY(waitUntil([&] { return page.isLaidOut(); }, 60000, 5));
    QCOMPARE(shownText(page.findChild<QLabel *>("labelGuideCut")).words, words);
}

QTEST_MAIN(TestLargeGuide)
#include "tst_largeguide.moc"
