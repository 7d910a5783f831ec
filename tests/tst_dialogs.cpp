// The shared dialogs on their own: the prompt's text, marquee and placement,
// the message dialog's 37-character lines and its escaping, dragging them and
// the other frameless windows by hand, running them modally, and the holder
// that owns them.
// Mouse events travel the way a real mouse's do: through the window system
// interface to the window, which picks the receiving widget.
#define QTEST_QPA_MOUSE_HANDLING

#include "common/modalanswerer.h"
#include "common/mouseinput.h"
#include "common/testenv.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/Dialogs/formmessage.h"
#include "Form/Dialogs/prompt.h"
#include "Form/FormHome/parseprocess.h"
#include "Form/FormMainWidget/mainwidget.h"
#include "Form/FormVaroHomeUpdate/varohomeupdatedesc.h"
#include "Form/FromExit/myexit.h"
#include "dataproc/cvarohomedataproc.h"
#include "helper/appflags.h"
#include "helper/framelessdrag.h"
#include "helper/quitprogram.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>

namespace {

// The paragraphs a rich text shows, as plain text, empty ones left out.
QStringList shownParagraphs(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (!block.text().isEmpty())
            paragraphs << block.text();
    }
    return paragraphs;
}

bool hasLink(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isAnchor())
                return true;
        }
    }
    return false;
}

void hover(QWidget *widget, bool enter)
{
    QEvent event(enter ? QEvent::Enter : QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void promptShowsTextAsPlainText();
    void promptCentresOnTheScreenBeforeTheWindowExists();
    void dialogsCentreOverThePageArea();
    void shortPromptNeverScrolls();
    void longPromptScrollsWhileHovered();
    void promptButtonsEndTheModalRunAndStopTheMarquee();
    void messageBodyIsCutIntoPiecesOf37();
    void messageEscapesTitleAndBody();
    void messageWithFewerThanTwoLines();
    void dialogsDragByHand();
    void dragLeavesPressesOnButtonsToTheButtons();
    void holderReleasesItsDialogs();
    void refusalsGoThroughTheSharedPromptOrTheLog();
};

void TestDialogs::cleanup()
{
    g_fileAdding = false;
    AppGlobals::release();
}

void TestDialogs::promptShowsTextAsPlainText()
{
    Prompt *prompt = AppGlobals::prompt();
    QVERIFY(prompt);
    QCOMPARE(AppGlobals::prompt(), prompt);
    QVERIFY(prompt->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(prompt->testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(prompt->size(), QSize(380, 220));

    // A file name that looks like markup is shown as it is, not rendered.
    const QString text = "<b>clip</b> <a href=\"http://example.invalid/\">x</a>.mp4";
    prompt->setPrompt(text);
    auto *label = prompt->findChild<QLabel *>("lbPromptText");
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->text(), text);
    QCOMPARE(prompt->promptText(), text);

    prompt->setPrompt("second");
    QCOMPARE(label->text(), QString("second"));
}

void TestDialogs::promptCentresOnTheScreenBeforeTheWindowExists()
{
    QVERIFY(!AppGlobals::mainWidget());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    Prompt *prompt = AppGlobals::prompt();
    prompt->setPrompt("hello");
    QCOMPARE(prompt->pos(), screen.topLeft() + QPoint((screen.width() - 380) / 2, (screen.height() - 220) / 2));

    FormMessage *message = AppGlobals::formMessage();
    message->setMessage({"title", "body"});
    QCOMPARE(message->pos(),
             screen.topLeft() + QPoint((screen.width() - message->width()) / 2, (screen.height() - message->height()) / 2));
}

void TestDialogs::dialogsCentreOverThePageArea()
{
    // The page container in its holder, as the main window places it.
    QWidget holder;
    holder.resize(782, 715);
    holder.move(200, 100);
    auto *layout = new QVBoxLayout(&holder);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *pages = new MainWidget(nullptr, nullptr);
    layout->addWidget(pages);
    holder.show();
    QVERIFY(QTest::qWaitForWindowExposed(&holder));
    QCOMPARE(AppGlobals::mainWidget(), pages);

    const QPoint topLeft = holder.mapToGlobal(QPoint(0, 0));
    Prompt *prompt = AppGlobals::prompt();
    prompt->setPrompt("centred");
    QCOMPARE(prompt->pos(), topLeft + QPoint((782 - 380) / 2, (715 - 220) / 2));

    FormMessage *message = AppGlobals::formMessage();
    message->setMessage({"title", "body"});
    QCOMPARE(message->pos(), topLeft + QPoint((782 - message->width()) / 2, (715 - message->height()) / 2));

    // Once the container is gone the dialogs fall back to the screen.
    delete pages;
    QVERIFY(!AppGlobals::mainWidget());
}

void TestDialogs::shortPromptNeverScrolls()
{
    Prompt *prompt = AppGlobals::prompt();
    prompt->setPrompt("ok");
    prompt->show();
    QVERIFY(QTest::qWaitForWindowExposed(prompt));
    hover(prompt, true);
    auto *timer = prompt->findChild<QTimer *>();
    QVERIFY(timer);
    QVERIFY(!timer->isActive());
    QTest::qWait(600);
    QCOMPARE(prompt->findChild<QLabel *>("lbPromptText")->text(), QString("ok"));
    prompt->hide();
}

void TestDialogs::longPromptScrollsWhileHovered()
{
    Prompt *prompt = AppGlobals::prompt();
    auto *label = prompt->findChild<QLabel *>("lbPromptText");
    // 40 characters, far wider than the 301-pixel label.
    const QString text = QString("WXYZ").repeated(10);
    QCOMPARE(text.size(), 40);
    prompt->setPrompt(text);
    prompt->show();
    QVERIFY(QTest::qWaitForWindowExposed(prompt));

    QElapsedTimer clock;
    clock.start();
    hover(prompt, true);
    auto *timer = prompt->findChild<QTimer *>();
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 500);
    // Step 1 shows the whole text, step 2 from the second character (at about
    // a second), step 3 from the third.
    QTRY_COMPARE_WITH_TIMEOUT(label->text(), text.mid(1), 3000);
    QVERIFY2(clock.elapsed() >= 900, qPrintable(QString::number(clock.elapsed())));
    QTRY_COMPARE_WITH_TIMEOUT(label->text(), text.mid(2), 3000);

    // The rest step by step, to see the wrap without waiting 20 seconds: the
    // 41st step shows nothing left, the next one the whole text again.
    timer->stop();
    int steps = 0;
    while (!label->text().isEmpty() && steps < 50) {
        QVERIFY(QMetaObject::invokeMethod(prompt, "scrollCaption"));
        ++steps;
    }
    QCOMPARE(steps, 38);
    QVERIFY(QMetaObject::invokeMethod(prompt, "scrollCaption"));
    QCOMPARE(label->text(), text);
    QVERIFY(QMetaObject::invokeMethod(prompt, "scrollCaption"));
    QCOMPARE(label->text(), text.mid(1));
    timer->start();

    // Leaving shows the whole text at once and stops.
    hover(prompt, false);
    QVERIFY(!timer->isActive());
    QCOMPARE(label->text(), text);
    prompt->hide();
}

void TestDialogs::promptButtonsEndTheModalRunAndStopTheMarquee()
{
    Prompt *prompt = AppGlobals::prompt();
    const QString text = QString("a very long message that scrolls ").repeated(3);
    prompt->setPrompt(text);
    auto *timer = prompt->findChild<QTimer *>();

    ModalAnswerer answers;
    bool scrolledWhileModal = false;
    answers.setPromptAnswer([&](Prompt *shown) {
        if (shown != prompt)
            return;
        hover(prompt, true);
        scrolledWhileModal = timer->isActive();
        QTest::mouseClick(prompt->findChild<QPushButton *>("btnOk"), Qt::LeftButton);
    });
    QCOMPARE(prompt->exec(), int(QDialog::Accepted));
    QVERIFY(scrolledWhileModal);
    QVERIFY(!timer->isActive());

    answers.setPromptAnswer([prompt](Prompt *shown) {
        if (shown == prompt)
            QTest::mouseClick(prompt->findChild<QPushButton *>("btnClose"), Qt::LeftButton);
    });
    QCOMPARE(prompt->exec(), int(QDialog::Rejected));

    // Escape also ends it, and the marquee does not go on behind it.
    answers.setPromptAnswer([prompt](Prompt *shown) {
        if (shown != prompt)
            return;
        hover(prompt, true);
        QTest::keyClick(prompt, Qt::Key_Escape);
    });
    QCOMPARE(prompt->exec(), int(QDialog::Rejected));
    QVERIFY(!timer->isActive());
    QCOMPARE(answers.prompts, QStringList({text, text, text}));
    QCOMPARE(prompt->findChild<QLabel *>("lbPromptText")->text(), text);
}

void TestDialogs::messageBodyIsCutIntoPiecesOf37()
{
    QString body;
    for (int i = 0; i < 80; ++i)
        body += QChar('a' + i % 26);
    QCOMPARE(FormMessage::bodyPieces(body), (QStringList{body.mid(0, 37), body.mid(37, 37), body.mid(74)}));
    QCOMPARE(FormMessage::bodyPieces(body.left(37)), QStringList{body.left(37)});
    QCOMPARE(FormMessage::bodyPieces(QString()), QStringList());

    FormMessage *message = AppGlobals::formMessage();
    message->setMessage({"Copy finished", body});
    auto *label = message->findChild<QLabel *>("lbPromptText");
    const QString html = label->text();
    QCOMPARE(html, FormMessage::bodyHtml(body));
    QCOMPARE(html.count("<p style=\"margin-top:0px;"), 3);
    QCOMPARE(shownParagraphs(html), (QStringList{body.mid(0, 37), body.mid(37, 37), body.mid(74)}));
    QCOMPARE(message->findChild<QLabel *>("label")->text(), QString("Copy finished"));

    // A character outside the basic plane is never cut in half.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x8E\xAC");
    const QString wide = QString(36, 'x') + emoji + "tail";
    const QStringList pieces = FormMessage::bodyPieces(wide);
    QCOMPARE(pieces.size(), 2);
    QCOMPARE(pieces.first(), QString(36, 'x') + emoji);
    QCOMPARE(pieces.last(), QString("tail"));
}

void TestDialogs::messageEscapesTitleAndBody()
{
    FormMessage *message = AppGlobals::formMessage();
    const QString title = "<i>release</i>";
    const QString body = "<a href='http://example.invalid/'>get</a> & <b>more</b>";
    message->setMessage({title, body});

    auto *titleLabel = message->findChild<QLabel *>("label");
    QCOMPARE(titleLabel->textFormat(), Qt::PlainText);
    QCOMPARE(titleLabel->text(), title);

    const QString html = message->findChild<QLabel *>("lbPromptText")->text();
    QVERIFY(!html.contains("<a href"));
    QVERIFY(!hasLink(html));
    QCOMPARE(shownParagraphs(html).join(QString()), body);
}

void TestDialogs::messageWithFewerThanTwoLines()
{
    FormMessage *message = AppGlobals::formMessage();
    auto *title = message->findChild<QLabel *>("label");
    auto *bodyLabel = message->findChild<QLabel *>("lbPromptText");

    message->setMessage({"only a title"});
    QCOMPARE(title->text(), QString("only a title"));
    QCOMPARE(shownParagraphs(bodyLabel->text()), QStringList());

    message->setMessage({});
    QCOMPARE(title->text(), QString());
    QCOMPARE(shownParagraphs(bodyLabel->text()), QStringList());

    // OK closes it.
    ModalAnswerer answers;
    message->exec();
    QVERIFY(!message->isVisible());
    QCOMPARE(answers.messages, QStringList({"|"}));
}

void TestDialogs::dialogsDragByHand()
{
    myExit exitWindow(nullptr);
    ParseProcess progress(nullptr);
    VaroHomeUpdateDesc updatePopup(nullptr);
    // Each window with its background.
    const QList<QPair<QWidget *, const char *>> windows{{AppGlobals::prompt(), "widget"},
                                                        {AppGlobals::formMessage(), "widget"},
                                                        {&exitWindow, "widget_del_bj"},
                                                        {&progress, "widget"},
                                                        {&updatePopup, "widget"}};
    for (const auto &[window, backgroundName] : windows) {
        window->move(100, 80);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // Grab it on its background (a child that lets the press through).
        QWidget *background = window->findChild<QWidget *>(backgroundName);
        QVERIFY2(background, qPrintable(window->objectName()));
        const QPoint start = window->pos();
        const QPoint grab = background->mapToGlobal(QPoint(60, 20));
        mouseAt(QTest::MousePress, window, grab);
        mouseAt(QTest::MouseMove, window, grab + QPoint(30, 40));
        QCOMPARE(window->pos(), start + QPoint(30, 40));
        mouseAt(QTest::MouseRelease, window, grab + QPoint(30, 40));
        const QPoint dropped = window->pos();
        mouseAt(QTest::MouseMove, window, grab + QPoint(-20, -10));
        QCOMPARE(window->pos(), dropped);
        window->hide();
    }
}

// What a window's children do with a press decides whether it drags: the
// filter sees only what they leave to the window.
void TestDialogs::dragLeavesPressesOnButtonsToTheButtons()
{
    auto owner = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
    QWidget *window = owner.get();
    window->resize(300, 200);
    auto *button = new QPushButton("ok", window);
    button->setGeometry(20, 20, 100, 40);
    auto *label = new QLabel("grab here", window);
    label->setGeometry(20, 100, 100, 40);
    QPointer<FramelessDrag> drag = FramelessDrag::attach(window);
    QSignalSpy clicks(button, &QPushButton::clicked);
    window->move(100, 80);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QPoint start = window->pos();

    // Pressed on the button and moved across it: the button is clicked and
    // the window stays where it was.
    const QPoint onButton = button->mapToGlobal(QPoint(30, 20));
    mouseAt(QTest::MousePress, window, onButton);
    mouseAt(QTest::MouseMove, window, onButton + QPoint(40, 10));
    QCOMPARE(window->pos(), start);
    mouseAt(QTest::MouseRelease, window, onButton + QPoint(40, 10));
    QCOMPARE(window->pos(), start);
    QCOMPARE(clicks.size(), 1);

    // Pressed on the label, which leaves the press to the window: it drags.
    const QPoint onLabel = label->mapToGlobal(QPoint(30, 20));
    mouseAt(QTest::MousePress, window, onLabel);
    mouseAt(QTest::MouseMove, window, onLabel + QPoint(40, 10));
    QCOMPARE(window->pos(), start + QPoint(40, 10));
    mouseAt(QTest::MouseRelease, window, onLabel + QPoint(40, 10));
    QCOMPARE(clicks.size(), 1);

    // A disabled window takes no mouse, so it does not drag either.
    window->setEnabled(false);
    const QPoint dropped = window->pos();
    const QPoint again = label->mapToGlobal(QPoint(30, 20));
    mouseAt(QTest::MousePress, window, again);
    mouseAt(QTest::MouseMove, window, again + QPoint(40, 10));
    QCOMPARE(window->pos(), dropped);
    mouseAt(QTest::MouseRelease, window, again + QPoint(40, 10));

    // The filter goes with its window.
    QVERIFY(drag);
    owner.reset();
    QVERIFY(drag.isNull());
}

void TestDialogs::holderReleasesItsDialogs()
{
    QPointer<Prompt> prompt = AppGlobals::prompt();
    QPointer<FormMessage> message = AppGlobals::formMessage();
    QVERIFY(prompt && message);
    AppGlobals::release();
    QVERIFY(prompt.isNull());
    QVERIFY(message.isNull());
    QVERIFY(!AppGlobals::mainWidget());
    // The next use makes them afresh.
    QVERIFY(AppGlobals::prompt());

    // The online-data object it hands out is dataproc's shared one, and goes
    // with the dialogs.
    QPointer<CVaroHomeDataProc> data = AppGlobals::dataProc();
    QVERIFY(data);
    QCOMPARE(data.data(), CVaroHomeDataProc::instance());
    AppGlobals::release();
    QVERIFY(data.isNull());
}

// The core refuses while videos are being added and tells the user through
// the shared prompt once the holder has been made; with no prompt installed
// it refuses all the same and says so in the log.
void TestDialogs::refusalsGoThroughTheSharedPromptOrTheLog()
{
    setRefusalNotifier(nullptr);
    g_fileAdding = true;
    QTest::ignoreMessage(QtDebugMsg, "refused while videos are being added: \"wait\"");
    QVERIFY(refuseWhileAdding("wait"));
    QTest::ignoreMessage(QtDebugMsg, "refused while videos are being added: \"no quitting\"");
    QVERIFY(!quitProgram("no quitting"));

    QVERIFY(AppGlobals::prompt());
    ModalAnswerer answers;
    QVERIFY(refuseWhileAdding("wait"));
    QCOMPARE(answers.prompts, QStringList{"wait"});
    QVERIFY(!AppGlobals::prompt()->isVisible());

    // Not adding: nothing is refused and nothing is shown.
    g_fileAdding = false;
    QVERIFY(!refuseWhileAdding("wait"));
    QCOMPARE(answers.prompts, QStringList{"wait"});
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
