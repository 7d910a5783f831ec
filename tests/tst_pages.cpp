// The About and Guide pages against a stand-in for the maker's service on
// 127.0.0.1: the update check's three answers, the novice guide with its
// pictures, the retry view, and how the page container visits the guide.
#include "common/fakeonlineservice.h"
#include "common/hostilepictures.h"
#include "common/modalanswerer.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormAbout/aboutus.h"
#include "Form/FormGuide/guidepictureloader.h"
#include "Form/FormGuide/qacontent.h"
#include "Form/FormGuide/qasub.h"
#include "Form/FormGuide/userguide.h"
#include "Form/FormMainWidget/mainwidget.h"
#include "Form/FormVaroHomeUpdate/varohomeupdatedesc.h"
#include "dataproc/cbldataprocresourceguide.h"
#include "dataproc/curlmulti.h"
#include "dataproc/cvarohomedataproc.h"
#include "dataproc/cvarohomedataprocresourcemgr.h"

#include <QApplication>
#include <QBuffer>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

using hostilepictures::iconWrapping;
using hostilepictures::svg;

const QByteArray kGuide = FakeOnlineService::kGuidePath;
const QByteArray kCheck = FakeOnlineService::kCheckUpdatePath;

QByteArray png(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray encoded(QSize size, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QLabel *picture(QWidget *row)
{
    return row->findChild<QLabel *>("label_image");
}

// What a row shows: its picture's size, or an empty size when the picture
// area is collapsed.
QSize shownPicture(QAContent *row)
{
    QLabel *label = picture(row);
    if (label->isHidden() || label->pixmap(Qt::ReturnByValue).isNull())
        return QSize();
    return label->size();
}

} // namespace

class TestPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void aboutAnswersNetErrorThenTheLatestVersion();
    void aboutOffersTheUpdateWithItsNotes_data();
    void aboutOffersTheUpdateWithItsNotes();
    void aboutChecksOnceWhileACheckRuns();
    void aboutOpensOnlyWebLinks();
    void guideShowsSortedEntriesAsTextWithBoundedPictures();
    void guideShowsItsMarkupAndOpensOnlyWebLinks();
    void guideRetriesUntilTheServiceAnswers();
    void newContentDropsTheRowsEarlierPicture();
    void containerBuildsTheGuideOnce();
    void guideTakesOnlyPngAndJpegToldByTheirBytes();
    void guideShowsAtMostItsShareOfPictures();
    void slowPicturesAreGivenUpAtTheirTimeOut();
    void picturesShareConnectionsAndLetThemGo();

private:
    void clickLater(QAbstractButton *button, int delayMs);
    // A page showing one card with a row per picture URL, built once every
    // picture has been shown or given up.
    void buildGuideOfPictures(UserGuide &page, const QStringList &urls, int timeoutMs = 10000);
    void waitForGuideDownload();

    std::unique_ptr<TestUser> m_user;
    std::unique_ptr<FakeOnlineService> m_service;
};

void TestPages::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestPages::init()
{
    m_user.reset(new TestUser);
    m_service.reset(new FakeOnlineService);
    QVERIFY(m_service->isListening());
    m_service->configure(*m_user, {{"outTime", 2}, {"language", "us"}});
}

void TestPages::cleanup()
{
    // The online-data object keeps what this test's service answered.
    AppGlobals::release();
    m_service.reset();
    m_user.reset();
}

void TestPages::clickLater(QAbstractButton *button, int delayMs)
{
    QTimer::singleShot(delayMs, button, [button] { button->click(); });
}

// The guide's background download, which the online-data object starts when
// it is made, has ended: every later guide request is the page's.
void TestPages::waitForGuideDownload()
{
    CBLDataProcResourceGuide *guide = AppGlobals::dataProc()->resourceManager()->guideResource();
    QVERIFY(waitUntil([guide] { return guide->downloadDone(); }, 10000));
    m_service->clearRequests();
}

void TestPages::aboutAnswersNetErrorThenTheLatestVersion()
{
    AboutUs page;
    QCOMPARE(page.findChild<QLabel *>("labelGameTitle2")->text(), QString("Current version:2.1.0.0"));
    auto *check = page.findChild<QPushButton *>("pushButtonVersionDetect");
    ModalAnswerer answers;

    m_service->setDown(true);
    check->click();
    QCOMPARE(answers.prompts, QStringList({"net error"}));

    // A record once fetched is kept: the third click asks nobody.
    m_service->setDown(false);
    m_service->answer(kCheck, FakeReply::json(FakeOnlineService::errorReply("10004")));
    check->click();
    check->click();
    QCOMPARE(answers.prompts, QStringList({"net error", "it is the latest version", "it is the latest version"}));
    QCOMPARE(m_service->requestsFor(kCheck).size(), 1);
    QVERIFY(answers.popups.isEmpty());
}

void TestPages::aboutOffersTheUpdateWithItsNotes_data()
{
    QTest::addColumn<int>("forced");
    QTest::addColumn<QString>("dismiss");
    QTest::newRow("optional") << 0 << "cancel";
    // Dismissing a mandatory update ends the program; its button says so.
    QTest::newRow("forced") << 1 << "quit";
}

void TestPages::aboutOffersTheUpdateWithItsNotes()
{
    QFETCH(int, forced);
    QFETCH(QString, dismiss);
    m_service->answer(kCheck, FakeReply::json(FakeOnlineService::versionReply(
                                  "2.3.0", "first\\nsecond \\n\\nlast", m_service->url("/setup"), forced)));
    AboutUs page;
    ModalAnswerer answers;
    const QString offer = "latest version: 2.3.0|first\nsecond \n\nlast\n|" + dismiss + "|Update";

    page.slotVersionDetect();
    QCOMPARE(answers.offers, QStringList({offer}));
    QCOMPARE(answers.prompts, QStringList());
    // The same pop-up, offering the same record, after its download failed.
    page.updatePopup()->showDownloadFailed();
    page.slotVersionDetect();
    QCOMPARE(answers.offers, QStringList({offer, offer}));
    QCOMPARE(answers.prompts, QStringList());
    QCOMPARE(answers.popups.size(), 2);
    QCOMPARE(answers.popups[0], page.updatePopup());
    QCOMPARE(answers.popups[1], page.updatePopup());
    QCOMPARE(m_service->requestsFor(kCheck).size(), 1);
}

// The check waits for the service in a loop that still takes clicks.
void TestPages::aboutChecksOnceWhileACheckRuns()
{
    m_service->answer(kCheck, FakeReply::json(FakeOnlineService::errorReply("10004")).late(500));
    AboutUs page;
    auto *check = page.findChild<QPushButton *>("pushButtonVersionDetect");
    ModalAnswerer answers;
    clickLater(check, 150);
    check->click();
    QCOMPARE(answers.prompts, QStringList({"it is the latest version"}));
    QCOMPARE(m_service->requestsFor(kCheck).size(), 1);
}

// Receives the links that the desktop would open.
class LinkCatcher : public QObject
{
    Q_OBJECT

public:
    QStringList opened;

public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

void TestPages::aboutOpensOnlyWebLinks()
{
    LinkCatcher catcher;
    for (const char *scheme : {"http", "https", "file", "ftp"})
        QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    AboutUs page;
    auto *web = page.findChild<QLabel *>("lb_web");
    for (const char *link : {"file:///etc/passwd", "https://127.0.0.1/contact", "ftp://127.0.0.1/x", "http://www.varovr.invalid/"})
        QMetaObject::invokeMethod(web, "linkActivated", Q_ARG(QString, link));
    for (const char *scheme : {"http", "https", "file", "ftp"})
        QDesktopServices::unsetUrlHandler(scheme);
    QCOMPARE(catcher.opened, QStringList({"https://127.0.0.1/contact"}));
    QVERIFY(!web->openExternalLinks());
}

void TestPages::guideShowsSortedEntriesAsTextWithBoundedPictures()
{
    const QString small = m_service->servePicture("/pic/small.png", QSize(120, 80));
    const QString medium = m_service->servePicture("/pic/medium.png", QSize(300, 200));
    const QString wide = m_service->servePicture("/pic/wide.png", QSize(5000, 8));
    m_service->answer("/pic/big.png", FakeReply::file(png(QSize(8, 8)) + randomBytes(11 << 20, 7), "image/png"));
    m_service->answer("/pic/page.png", FakeReply::file("<html>not a picture</html>", "text/html"));
    m_service->answer(kGuide, FakeReply::json(FakeOnlineService::guideReply({
        {"Second <b>bold</b>", {{"two & <i>x</i> <a href='file:///etc/passwd'>y</a>", medium},
                                {"gone", m_service->url("/pic/missing.png")}}, 2},
        {"First", {{"one", small}, {"ftp", "ftp://127.0.0.1/x.png"}, {"wide", wide},
                   {"big", m_service->url("/pic/big.png")}, {"page", m_service->url("/pic/page.png")},
                   {"", small}, {"text only", ""}}, 1}})));

    UserGuide page;
    page.sltUpdateNetwork();
    QVERIFY(page.isBuilt());
    QVERIFY(waitUntil([&] { return page.isLaidOut(); }, 10000));
    QCOMPARE(page.cards().size(), 2);
    QCOMPARE(page.cards()[0]->title(), QString("First"));
    QCOMPARE(page.cards()[1]->title(), QString("Second <b>bold</b>"));
    QVERIFY(!page.findChild<QPushButton *>("pushButtonRetry")->isVisibleTo(&page));

    // The service's own markup is shown; a link to a file keeps only its words.
    QAsub *second = page.cards()[1];
    QCOMPARE(second->findChild<QLabel *>("label_title")->text(),
             QString("<p style='line-height:120% '>Second <b>bold</b></p>"));
    QCOMPARE(second->rows()[0]->findChild<QLabel *>("label_desc")->text(),
             QString("<p style='line-height:120% '>two &amp; <i>x</i> y</p>"));

    const QVector<QAContent *> first = page.cards()[0]->rows();
    QCOMPARE(first.size(), 7);
    QVERIFY(waitUntil([&] {
        for (QAsub *card : page.cards()) {
            for (QAContent *row : card->rows()) {
                if (row->pictureRequested())
                    return false;
            }
        }
        return true;
    }, 10000));
    QCOMPARE(shownPicture(first[0]), QSize(120, 80));
    QCOMPARE(shownPicture(second->rows()[0]), QSize(300, 200));
    // Refused, failed or no picture at all: the picture area is collapsed.
    for (QAContent *row : {first[1], first[2], first[3], first[4], first[6], second->rows()[1]}) {
        QVERIFY2(shownPicture(row).isEmpty(), qPrintable(row->imageUrl()));
        QCOMPARE(picture(row)->height(), 0);
    }
    QVERIFY(!first[5]->findChild<QLabel *>("label_desc")->isVisibleTo(first[5]));
    QCOMPARE(shownPicture(first[5]), QSize(120, 80));
    QCOMPARE(m_service->requestsFor("/pic/small.png").size(), 2);
}

// A guide answer with a link and with picture tags: the link is shown and
// opens in the browser, the picture tags load nothing, from this machine or
// from the service, and a link to anything but a web page is only words.
void TestPages::guideShowsItsMarkupAndOpensOnlyWebLinks()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString localPicture = dir.filePath("local.png");
    QVERIFY(writeWholeFile(localPicture, png(QSize(50, 50))));
    const QString tracked = m_service->servePicture("/pic/tracked.png", QSize(60, 60));
    const QString shown = m_service->servePicture("/pic/shown.png", QSize(70, 40));
    const QString help = m_service->url("/help");
    m_service->answer(kGuide, FakeReply::json(FakeOnlineService::guideReply({
        {"<b>Pair</b> the <a href='" + help + "'>headset</a>",
         {{"Scan <img src='" + QUrl::fromLocalFile(localPicture).toString() + "'><img src=\"" + tracked
               + "\"> the <span style='color:#00ecf6;background-image:url(" + tracked + ")'>code</span>, "
               "<a href='file:///etc/passwd'>passwd</a> <a href=\"" + help + "?page=2&amp;x=1\">more</a>",
           shown}},
         0}})));

    LinkCatcher catcher;
    for (const char *scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    UserGuide page;
    page.resize(680, 600);
    page.show();
    page.sltUpdateNetwork();
    QVERIFY(page.isBuilt());
    QVERIFY(waitUntil([&] { return page.isLaidOut(); }, 10000));
    QAsub *card = page.cards().value(0);
    QVERIFY(card);
    auto *title = card->findChild<QLabel *>("label_title");
    QAContent *row = card->rows().value(0);
    QVERIFY(row);
    auto *answer = row->findChild<QLabel *>("label_desc");
    QCOMPARE(title->text(), QString("<p style='line-height:120% '><b>Pair</b> the <a href=\"%1\">headset</a></p>").arg(help));
    QCOMPARE(answer->text(), QString("<p style='line-height:120% '>Scan  the <span style=\"color:#00ecf6\">code</span>, "
                                     "passwd <a href=\"%1?page=2&amp;x=1\">more</a></p>").arg(help));
    QCOMPARE(answer->textFormat(), Qt::RichText);
    QVERIFY(!title->openExternalLinks() && !answer->openExternalLinks());

    // The row's own picture arrives; the tags' pictures were never asked for.
    QVERIFY(waitUntil([&] { return shownPicture(row) == QSize(70, 40); }, 10000));
    QTest::qWait(200);
    QCOMPARE(m_service->requestsFor("/pic/tracked.png").size(), 0);
    QCOMPARE(m_service->requestsFor("/pic/shown.png").size(), 1);

    // The links open through the program's check: web pages only.
    for (QLabel *label : {title, answer}) {
        for (const QString &link : {help, help + "?page=2&x=1", QString("file:///etc/passwd")})
            QMetaObject::invokeMethod(label, "linkActivated", Q_ARG(QString, link));
    }
    for (const char *scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(scheme);
    QCOMPARE(catcher.opened, QStringList({help, help + "?page=2&x=1", help, help + "?page=2&x=1"}));
}

void TestPages::guideRetriesUntilTheServiceAnswers()
{
    m_service->setDown(true);
    UserGuide page;
    auto *retry = page.findChild<QPushButton *>("pushButtonRetry");
    auto *noNet = page.findChild<QLabel *>("labelNoNet");
    page.sltUpdateNetwork();
    QVERIFY(!page.isBuilt());
    QVERIFY(retry->isVisibleTo(&page));
    QVERIFY(noNet->isVisibleTo(&page));
    QCOMPARE(noNet->text(), QString("no net"));
    waitForGuideDownload();

    // A second press while the first one waits for the service is ignored.
    m_service->setDown(false);
    m_service->answer(kGuide, FakeReply::json(FakeOnlineService::guideReply({{"Only", {{"text", ""}}, 0}})).late(500));
    clickLater(retry, 150);
    retry->click();
    QVERIFY(page.isBuilt());
    QVERIFY(waitUntil([&] { return page.isLaidOut(); }, 10000));
    QCOMPARE(m_service->requestsFor(kGuide).size(), 1);
    QCOMPARE(page.cards().size(), 1);
    QVERIFY(page.cards()[0]->isVisibleTo(&page));
    QVERIFY(!retry->isVisibleTo(&page));
    QVERIFY(!noNet->isVisibleTo(&page));
}

void TestPages::newContentDropsTheRowsEarlierPicture()
{
    m_service->answer("/pic/slow.png", FakeReply::file(png(QSize(50, 50)), "image/png").late(1500));
    const QString fast = m_service->servePicture("/pic/fast.png", QSize(120, 80));
    QAContent row(true, 648, false, nullptr);
    row.setContent("before", m_service->url("/pic/slow.png"));
    QVERIFY(m_service->waitForRequests("/pic/slow.png", 1, 5000));
    row.setContent("after", fast);

    QVERIFY(waitUntil([&] { return !row.pictureRequested(); }, 5000));
    QCOMPARE(shownPicture(&row), QSize(120, 80));
    // The earlier request was given up, long before its answer was due.
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 1000));
    QTest::qWait(1700);
    QCOMPARE(shownPicture(&row), QSize(120, 80));

    // A cleared row shows nothing, not even a picture that comes later.
    row.setContent("again", m_service->url("/pic/slow.png"));
    row.clearPicture();
    QTest::qWait(1700);
    QCOMPARE(shownPicture(&row), QSize());
}

void TestPages::containerBuildsTheGuideOnce()
{
    m_service->setDown(true);
    const QString pictureUrl = m_service->servePicture("/pic/a.png", QSize(40, 30));
    m_service->answer(kGuide, FakeReply::json(FakeOnlineService::guideReply({{"A", {{"a", pictureUrl}}, 0}, {"B", {}, 1}})));
    m_service->answer(kCheck, FakeReply::json(FakeOnlineService::errorReply("10004")));
    MainWidget container(nullptr, nullptr);
    UserGuide *guide = container.guidePage();
    auto *stack = container.findChild<QStackedWidget *>("stackedWidget");

    // Not found on the first visit: the next visit asks again.
    container.slotToUserGuide();
    QCOMPARE(container.currentPage(), int(MainWidget::GuidePageCode));
    QCOMPARE(stack->currentWidget(), guide);
    QVERIFY(!guide->isBuilt());
    waitForGuideDownload();
    m_service->setDown(false);
    container.slotToHomePage();
    container.slotToUserGuide();
    QVERIFY(guide->isBuilt());
    QVERIFY(waitUntil([&] { return guide->isLaidOut(); }, 10000));
    const QVector<QAsub *> cards = guide->cards();
    QCOMPARE(cards.size(), 2);
    QCOMPARE(m_service->requestsFor(kGuide).size(), 1);

    QVERIFY(waitUntil([&] { return shownPicture(guide->cards()[0]->rows()[0]) == QSize(40, 30); }, 5000));

    // Built once: later visits show the same cards and ask nobody, not even
    // for their pictures.
    container.slotToAboutUs();
    QCOMPARE(stack->currentWidget(), container.aboutPage());
    container.slotToUserGuide();
    container.slotToUserGuide();
    QCOMPARE(guide->cards(), cards);
    for (QAsub *card : cards)
        QVERIFY(card->isVisibleTo(guide));
    QCOMPARE(shownPicture(cards[0]->rows()[0]), QSize(40, 30));
    QCOMPARE(m_service->requestsFor(kGuide).size(), 1);
    QCOMPARE(m_service->requestsFor("/pic/a.png").size(), 1);

    // The container's update request reaches the About page.
    ModalAnswerer answers;
    container.slotToCheckUpdate();
    QCOMPARE(answers.prompts, QStringList({"it is the latest version"}));
}

void TestPages::buildGuideOfPictures(UserGuide &page, const QStringList &urls, int timeoutMs)
{
    QList<QPair<QString, QString>> rows;
    for (const QString &url : urls)
        rows.append({QString(), url});
    m_service->answer(kGuide, FakeReply::json(FakeOnlineService::guideReply({{"Pictures", rows, 0}})));
    waitForGuideDownload();
    page.sltUpdateNetwork();
    QVERIFY(page.isBuilt());
    QVERIFY(waitUntil([&] { return page.isLaidOut(); }, timeoutMs));
    QVERIFY(waitUntil([&] {
        for (QAContent *row : page.cards()[0]->rows()) {
            if (row->pictureRequested())
                return false;
        }
        return true;
    }, timeoutMs));
}

// Formats a guide does not use are refused by their bytes, whatever they
// claim: an icon or a drawing wrapping a larger picture, a drawing that
// names a file of this machine, an animation, a JPEG of endless scans.
void TestPages::guideTakesOnlyPngAndJpegToldByTheirBytes()
{
    const QString local = m_user->root() + "/local.png";
    QVERIFY(writeWholeFile(local, png(QSize(40, 40))));
    QByteArray circles;
    for (int i = 0; i < 2000; ++i)
        circles += "<circle cx=\"150\" cy=\"100\" r=\"" + QByteArray::number(i % 100) + "\" fill-opacity=\"0.1\"/>";
    QByteArray scans("\xff\xd8\xff\xe0\0\x10JFIF\0\1\1\0\0\1\0\1\0\0", 20);
    for (int i = 0; i <= 100; ++i)
        scans += QByteArray("\xff\xda\0\x08\1\1\0\0\x3f\0\x55", 11);
    const QList<QPair<QByteArray, QByteArray>> refused = {
        {"/pic/icon.ico", iconWrapping(png(QSize(600, 300)))},
        {"/pic/data.svg", svg("<image width=\"300\" height=\"200\" xlink:href=\"data:image/png;base64,"
                              + png(QSize(300, 200)).toBase64() + "\"/>")},
        {"/pic/file.svg", svg("<image width=\"40\" height=\"40\" xlink:href=\"file://" + local.toUtf8() + "\"/>")},
        {"/pic/circles.svg", svg(circles)},
        {"/pic/still.gif", QByteArray("GIF89a\1\0\1\0\x80\0\0\0\0\0\xff\xff\xff!\xf9\4\1\0\0\0\0"
                                      ",\0\0\0\0\1\0\1\0\0\2\2D\1\0;", 42)},
        {"/pic/scans.jpg", scans},
        // A PNG's signature before the icon: the header that counts is the PNG's.
        {"/pic/disguised.png", "\x89PNG\r\n\x1a\n" + iconWrapping(png(QSize(600, 300)))},
    };
    QStringList urls;
    for (const auto &picture : refused) {
        m_service->answer(picture.first, FakeReply::file(picture.second, "image/png"));
        urls << m_service->url(picture.first);
    }
    m_service->answer("/pic/photo.jpg", FakeReply::file(encoded(QSize(100, 60), "JPG"), "image/jpeg"));
    urls << m_service->url("/pic/photo.jpg") << m_service->servePicture("/pic/plain.png", QSize(300, 200));

    UserGuide page;
    buildGuideOfPictures(page, urls);
    const QVector<QAContent *> rows = page.cards()[0]->rows();
    QCOMPARE(rows.size(), refused.size() + 2);
    for (int i = 0; i < refused.size(); ++i)
        QVERIFY2(shownPicture(rows[i]).isEmpty(), refused[i].first.constData());
    QCOMPARE(shownPicture(rows[refused.size()]), QSize(100, 60));
    QCOMPARE(shownPicture(rows[refused.size() + 1]), QSize(300, 200));
}

// A guide of 1,100 pictures: a few are fetched at a time over a few
// connections, and the guide shows its share; the rest are left out.
void TestPages::guideShowsAtMostItsShareOfPictures()
{
    const QString first = m_service->servePicture("/pic/0.png", QSize(20, 10));
    QStringList urls{first};
    for (int i = 1; i < 1100; ++i) {
        const QByteArray path = "/pic/" + QByteArray::number(i) + ".png";
        m_service->answer(path, FakeReply::file(png(QSize(20, 10)), "image/png"));
        urls << m_service->url(path);
    }
    UserGuide page;
    buildGuideOfPictures(page, urls, 30000);
    int shown = 0;
    for (QAContent *row : page.cards()[0]->rows())
        shown += shownPicture(row) == QSize(20, 10) ? 1 : 0;
    QCOMPARE(shown, GuidePictureLoader::kMaxPictures);
    QCOMPARE(m_service->requests().size(), GuidePictureLoader::kMaxPictures);
    QVERIFY2(m_service->mostOpenConnections() <= GuidePictureLoader::kMaxBusy,
             qPrintable(QString::number(m_service->mostOpenConnections())));
    QCOMPARE(GuidePictureLoader::instance()->busy(), 0);
}

// Pictures sent a byte a second hold their connections for `outTime` (2 s)
// and no longer; the ones waiting behind them then get their turn.
void TestPages::slowPicturesAreGivenUpAtTheirTimeOut()
{
    QStringList urls;
    for (int i = 0; i < 2 * GuidePictureLoader::kMaxBusy; ++i) {
        const QByteArray path = "/pic/drip" + QByteArray::number(i) + ".png";
        m_service->answer(path, FakeReply::drip(png(QSize(20, 10)), 1000));
        urls << m_service->url(path);
    }
    urls << m_service->servePicture("/pic/after.png", QSize(30, 20));
    UserGuide page;
    QElapsedTimer clock;
    clock.start();
    buildGuideOfPictures(page, urls, 15000);
    // Two rounds of the time-out, with room for a loaded machine.
    QVERIFY2(clock.elapsed() < 9000, qPrintable(QString::number(clock.elapsed())));
    const QVector<QAContent *> rows = page.cards()[0]->rows();
    for (int i = 0; i < rows.size() - 1; ++i)
        QVERIFY(shownPicture(rows[i]).isEmpty());
    QCOMPARE(shownPicture(rows.last()), QSize(30, 20));
    // Hung up on, long before the last byte would have come (80 s). (The
    // shared manager may keep a spare connection of its own open, with no
    // request on it.)
    QVERIFY(waitUntil([&] { return m_service->openAnsweringConnections() == 0; }, 5000));
}

// A service that keeps its connections open for more requests finds them
// closed once the guide's pictures are in: the guide asks for nothing more.
void TestPages::picturesShareConnectionsAndLetThemGo()
{
    QStringList urls;
    for (int i = 0; i < GuidePictureLoader::kMaxBusy + 2; ++i) {
        const QByteArray path = "/pic/kept" + QByteArray::number(i) + ".png";
        m_service->answer(path, FakeReply::file(png(QSize(20, 10)), "image/png").keptAlive());
        urls << m_service->url(path);
    }
    UserGuide page;
    buildGuideOfPictures(page, urls);
    for (QAContent *row : page.cards()[0]->rows())
        QCOMPARE(shownPicture(row), QSize(20, 10));
    QCOMPARE(GuidePictureLoader::instance()->busy(), 0);
    // They shared the connections the server kept open, and the program
    // lets those go once it has been idle a while.
    QVERIFY2(m_service->mostOpenConnections() <= GuidePictureLoader::kMaxBusy,
             qPrintable(QString::number(m_service->mostOpenConnections())));
    QVERIFY2(waitUntil([&] { return m_service->openConnections() == 0; }, online::CurlMulti::kIdleCloseMs + 5000),
             qPrintable(QString::number(m_service->openConnections())));
}

QTEST_MAIN(TestPages)
#include "tst_pages.moc"
