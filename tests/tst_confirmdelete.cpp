// The delete confirmation on its own and as the page container shows it: its
// form and look, the three answers and their order relative to the window
// closing (the home page relies on it), modality, dragging by hand, its texts
// in every language, and its life inside the page container.
// Mouse events travel the way a real mouse's do: through the window system
// interface to the window, which picks the receiving widget.
#define QTEST_QPA_MOUSE_HANDLING

#include "common/mouseinput.h"
#include "common/testenv.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormHome/confirmdelete.h"
#include "Form/FormMainWidget/mainwidget.h"
#include "Form/FromExit/myexit.h"
#include "helper/appflags.h"
#include "helper/session.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>

namespace {

// A real click in the middle of a widget of a shown window.
void clickOn(QWidget *widget)
{
    QWidget *window = widget->window();
    const QPoint centre = widget->mapToGlobal(widget->rect().center());
    mouseAt(QTest::MouseMove, window, centre);
    mouseAt(QTest::MousePress, window, centre);
    mouseAt(QTest::MouseRelease, window, centre);
}

void showAndWait(QWidget *window)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

// Stands in for the home page: the same slot signatures, connected by text as
// the page container does, noting each answer and whether the window was
// still up when it arrived.
class AnswerRecorder : public QObject
{
    Q_OBJECT

public:
    explicit AnswerRecorder(QWidget *window)
        : m_window(window)
    {
    }

    QStringList answers;

public slots:
    void slotDoDelVideoFile() { note("delete"); }
    void slotCancelDelVideoFile() { note("cancel"); }

private:
    void note(const QString &answer) { answers << answer + (m_window->isVisible() ? " open" : " closed"); }

    QWidget *m_window;
};

// Stands in for the home page's request to show the window.
class ConfirmRequester : public QObject
{
    Q_OBJECT

signals:
    void sglShowConfirmDel();
};

void connectAnswers(ConfirmDelete *window, AnswerRecorder *recorder)
{
    QVERIFY(QObject::connect(window, SIGNAL(sglDoDelVideoFile()), recorder, SLOT(slotDoDelVideoFile())));
    QVERIFY(QObject::connect(window, SIGNAL(sglCancelDelVideoFile()), recorder, SLOT(slotCancelDelVideoFile())));
}

QColor pixelOf(QWidget *widget, QPoint at)
{
    return widget->grab().toImage().pixelColor(at);
}

} // namespace

class TestConfirmDelete : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void formAsDesigned();
    void buttonsShowTheirStates();
    void yesDeletesWhileOpenThenCloses();
    void cancelAndCloseCloseFirstThenCancel_data();
    void cancelAndCloseCloseFirstThenCancel();
    void windowSystemCloseCountsAsCancel();
    void blocksOtherWindowsWhileShown();
    void dragsByHandWithTheLeftButtonOnly();
    void textsInEveryLanguage_data();
    void textsInEveryLanguage();
    void containerShowsItForEveryConfirmation();
    void containerDeletesItUnlessAdding();
};

void TestConfirmDelete::cleanup()
{
    Session::instance()->releaseTranslator();
    g_fileAdding = false;
    AppGlobals::release();
}

void TestConfirmDelete::formAsDesigned()
{
    ConfirmDelete window(nullptr);
    QCOMPARE(window.objectName(), QString("frmConfirmDelete"));
    QCOMPARE(window.windowTitle(), QString("Varo helper"));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(window.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(window.minimumSize(), QSize(510, 330));
    QCOMPARE(window.maximumSize(), QSize(510, 330));
    QVERIFY(!window.windowIcon().isNull());
    showAndWait(&window);
    QVERIFY(window.isWindow());
    QCOMPARE(window.size(), QSize(510, 330));

    struct Expected {
        const char *name;
        const char *className;
        QRect geometry;
        QString text;
    };
    const QList<Expected> expected{
        {"widget_del_bj", "QWidget", {0, 0, 510, 330}, QString()},
        {"label_title", "QLabel", {41, 15, 191, 41}, QString()},
        {"label_hint", "QLabel", {10, 127, 491, 51}, "do you confirm to delete?"},
        {"pb_delete", "QPushButton", {81, 237, 150, 40}, "yes"},
        {"pb_cancel", "QPushButton", {280, 237, 150, 40}, "cancel"},
        {"tb_close", "QToolButton", {430, 13, 50, 20}, QString()},
    };
    for (const Expected &e : expected) {
        auto *widget = window.findChild<QWidget *>(e.name);
        QVERIFY2(widget, e.name);
        QCOMPARE(widget->metaObject()->className(), e.className);
        QCOMPARE(widget->geometry(), e.geometry);
        if (auto *label = qobject_cast<QLabel *>(widget))
            QCOMPARE(label->text(), e.text);
        if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            QCOMPARE(button->text(), e.text);
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
            QCOMPARE(button->minimumSize(), e.geometry.size());
            QCOMPARE(button->maximumSize(), e.geometry.size());
        }
    }
    auto *hint = window.findChild<QLabel *>("label_hint");
    QCOMPARE(hint->alignment(), Qt::AlignHCenter | Qt::AlignTop);

    // The style sheet reached each widget: sizes and colours as designed, and
    // the 1.5-pixel letter spacing survives the style sheet's font.
    struct Look {
        const char *name;
        int pixelSize;
        QColor colour;
        QPalette::ColorRole role;
    };
    const QList<Look> looks{
        {"label_title", 16, QColor("#ffffff"), QPalette::WindowText},
        {"label_hint", 20, QColor("#959595"), QPalette::WindowText},
        {"pb_delete", 16, QColor("#959595"), QPalette::ButtonText},
        {"pb_cancel", 16, QColor("#959595"), QPalette::ButtonText},
    };
    for (const Look &look : looks) {
        auto *widget = window.findChild<QWidget *>(look.name);
        QCOMPARE(widget->font().pixelSize(), look.pixelSize);
        QCOMPARE(widget->font().letterSpacingType(), QFont::AbsoluteSpacing);
        QCOMPARE(widget->font().letterSpacing(), 1.5);
        QCOMPARE(widget->palette().color(look.role), look.colour);
    }

    // Every image the form names is in the program's resources.
    QStringList images{":/Brontel/Skin/ico/icon16X16.ico", ":/Brontel/Skin/ico/logo_16X16.png"};
    const QRegularExpression url(R"(url\((:/[^)]+)\))");
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        auto it = url.globalMatch(widget->styleSheet());
        while (it.hasNext())
            images << it.next().captured(1);
    }
    images.removeDuplicates();
    QCOMPARE(images.size(), 2 + 7);
    for (const QString &image : images)
        QVERIFY2(!QImage(image).isNull(), qPrintable(image));

    // The background art fills the window, so the translucent window shows
    // the dialog's own body and not whatever lies behind it.
    const QImage shot = window.grab().toImage();
    QCOMPARE(shot.pixelColor(255, 200), QColor("#141a22"));
    QCOMPARE(shot.pixelColor(255, 30), QColor("#0d1117"));
}

void TestConfirmDelete::buttonsShowTheirStates()
{
    ConfirmDelete window(nullptr);
    AnswerRecorder recorder(&window);
    connectAnswers(&window, &recorder);
    window.move(100, 80);
    showAndWait(&window);
    auto *yes = window.findChild<QPushButton *>("pb_delete");
    auto *close = window.findChild<QToolButton *>("tb_close");
    // Inside the left rounded end of the pill, away from the text.
    const QPoint pill(20, 20);
    QCOMPARE(pixelOf(yes, pill), QColor("#1c2530"));

    // Into the window first, then onto the button, as a real mouse arrives.
    const QPoint away = window.mapToGlobal(QPoint(255, 100));
    mouseAt(QTest::MouseMove, &window, away);
    const QPoint overYes = yes->mapToGlobal(QPoint(20, 20));
    mouseAt(QTest::MouseMove, &window, overYes);
    QTRY_VERIFY(yes->underMouse());
    QCOMPARE(pixelOf(yes, pill), QColor("#2a3644"));
    QCOMPARE(yes->palette().color(QPalette::ButtonText), QColor("#959595"));

    mouseAt(QTest::MousePress, &window, overYes);
    QVERIFY(yes->isDown());
    QCOMPARE(pixelOf(yes, pill), QColor("#123440"));
    // Released away from the button: no answer, the window stays.
    mouseAt(QTest::MouseMove, &window, away);
    mouseAt(QTest::MouseRelease, &window, away);
    QVERIFY(!yes->isDown());
    QVERIFY(window.isVisible());
    QCOMPARE(recorder.answers, QStringList());

    // The close button: a glyph on a transparent ground, red while pressed.
    const QImage idle = close->grab().toImage();
    QCOMPARE(idle.pixelColor(2, 2).alpha(), 0);
    const QPoint overClose = close->mapToGlobal(QPoint(25, 10));
    mouseAt(QTest::MouseMove, &window, overClose);
    mouseAt(QTest::MousePress, &window, overClose);
    QCOMPARE(pixelOf(close, QPoint(2, 10)), QColor("#c0392b"));
    mouseAt(QTest::MouseMove, &window, away);
    mouseAt(QTest::MouseRelease, &window, away);
    QCOMPARE(recorder.answers, QStringList());
}

void TestConfirmDelete::yesDeletesWhileOpenThenCloses()
{
    ConfirmDelete window(nullptr);
    AnswerRecorder recorder(&window);
    connectAnswers(&window, &recorder);
    QSignalSpy deletes(&window, SIGNAL(sglDoDelVideoFile()));
    QSignalSpy cancels(&window, SIGNAL(sglCancelDelVideoFile()));
    showAndWait(&window);

    clickOn(window.findChild<QPushButton *>("pb_delete"));
    QCOMPARE(deletes.count(), 1);
    QCOMPARE(cancels.count(), 0);
    QCOMPARE(recorder.answers, QStringList{"delete open"});
    QVERIFY(!window.isVisible());

    // Hidden, not gone: the next confirmation reuses it.
    showAndWait(&window);
    clickOn(window.findChild<QPushButton *>("pb_delete"));
    QCOMPARE(deletes.count(), 2);
    QCOMPARE(cancels.count(), 0);
}

void TestConfirmDelete::cancelAndCloseCloseFirstThenCancel_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("cancel") << "pb_cancel";
    QTest::newRow("close button") << "tb_close";
}

void TestConfirmDelete::cancelAndCloseCloseFirstThenCancel()
{
    QFETCH(QString, button);
    ConfirmDelete window(nullptr);
    AnswerRecorder recorder(&window);
    connectAnswers(&window, &recorder);
    QSignalSpy deletes(&window, SIGNAL(sglDoDelVideoFile()));
    QSignalSpy cancels(&window, SIGNAL(sglCancelDelVideoFile()));
    showAndWait(&window);

    clickOn(window.findChild<QAbstractButton *>(button));
    QCOMPARE(cancels.count(), 1);
    QCOMPARE(deletes.count(), 0);
    QCOMPARE(recorder.answers, QStringList{"cancel closed"});
    QVERIFY(!window.isVisible());
}

void TestConfirmDelete::windowSystemCloseCountsAsCancel()
{
    ConfirmDelete window(nullptr);
    AnswerRecorder recorder(&window);
    connectAnswers(&window, &recorder);
    showAndWait(&window);

    // As a keyboard shortcut or the task bar would close it.
    window.windowHandle()->close();
    QCoreApplication::processEvents();
    QVERIFY(!window.isVisible());
    QCOMPARE(recorder.answers, QStringList{"cancel closed"});

    // Closing it from code (the program's own answers do so) adds nothing.
    window.close();
    QCOMPARE(recorder.answers, QStringList{"cancel closed"});
}

void TestConfirmDelete::blocksOtherWindowsWhileShown()
{
    QWidget other;
    other.resize(300, 200);
    other.move(700, 500);
    auto *otherButton = new QPushButton("other", &other);
    otherButton->setGeometry(50, 50, 120, 40);
    QSignalSpy otherClicks(otherButton, &QPushButton::clicked);
    showAndWait(&other);

    ConfirmDelete window(nullptr);
    window.move(100, 80);
    showAndWait(&window);
    QVERIFY(window.isModal());
    QCOMPARE(QApplication::activeModalWidget(), &window);

    clickOn(otherButton);
    QCOMPARE(otherClicks.count(), 0);

    clickOn(window.findChild<QPushButton *>("pb_cancel"));
    QVERIFY(!QApplication::activeModalWidget());
    clickOn(otherButton);
    QCOMPARE(otherClicks.count(), 1);
}

void TestConfirmDelete::dragsByHandWithTheLeftButtonOnly()
{
    ConfirmDelete window(nullptr);
    window.move(100, 80);
    showAndWait(&window);
    // On the background, between the title band and the question.
    const QPoint grab = window.findChild<QWidget *>("widget_del_bj")->mapToGlobal(QPoint(60, 90));
    const QPoint start = window.pos();

    mouseAt(QTest::MousePress, &window, grab);
    mouseAt(QTest::MouseMove, &window, grab + QPoint(30, 40));
    QCOMPARE(window.pos(), start + QPoint(30, 40));
    mouseAt(QTest::MouseMove, &window, grab + QPoint(-25, 15));
    QCOMPARE(window.pos(), start + QPoint(-25, 15));
    mouseAt(QTest::MouseRelease, &window, grab + QPoint(-25, 15));
    const QPoint dropped = window.pos();
    mouseAt(QTest::MouseMove, &window, grab + QPoint(40, 40));
    QCOMPARE(window.pos(), dropped);

    // The right button does not drag.
    const QPoint grab2 = window.findChild<QWidget *>("widget_del_bj")->mapToGlobal(QPoint(60, 90));
    mouseAt(QTest::MousePress, &window, grab2, Qt::RightButton);
    mouseAt(QTest::MouseMove, &window, grab2 + QPoint(50, 30));
    mouseAt(QTest::MouseMove, &window, grab2 + QPoint(70, 60));
    QCOMPARE(window.pos(), dropped);
    mouseAt(QTest::MouseRelease, &window, grab2 + QPoint(70, 60), Qt::RightButton);
    QCOMPARE(window.pos(), dropped);
    QVERIFY(window.isVisible());
}

void TestConfirmDelete::textsInEveryLanguage_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("zh") << "cn" << QString::fromUtf8("Varo助手") << QString::fromUtf8("确定要删除吗？")
                        << QString::fromUtf8("是") << QString::fromUtf8("取消");
    QTest::newRow("en") << "us" << "Varo helper" << "do you confirm to delete?"
                        << "yes" << "cancel";
    QTest::newRow("ja") << "jp" << QString::fromUtf8("Varoヘルパー") << QString::fromUtf8("削除してもよろしいですか？")
                        << QString::fromUtf8("はい") << QString::fromUtf8("キャンセル");
    QTest::newRow("fr") << "fr" << "Assistant Varo" << "Confirmer la suppression ?" << "Oui" << "Annuler";
    QTest::newRow("it") << "it" << "Assistente Varo" << "Confermi l'eliminazione?" << QString::fromUtf8("Sì")
                        << "Annulla";
    QTest::newRow("de") << "de" << "Varo-Helfer" << QString::fromUtf8("Wirklich löschen?") << "Ja" << "Abbrechen";
    QTest::newRow("es") << "es" << "Asistente Varo" << QString::fromUtf8("¿Confirmas la eliminación?")
                        << QString::fromUtf8("Sí") << "Cancelar";
}

void TestConfirmDelete::textsInEveryLanguage()
{
    QFETCH(QString, code);
    QFETCH(QString, title);
    QFETCH(QString, hint);
    QFETCH(QString, yes);
    QFETCH(QString, cancel);
    QVERIFY(Session::instance()->loadTranslator(code));
    ConfirmDelete window(nullptr);
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(window.findChild<QLabel *>("label_hint")->text(), hint);
    QCOMPARE(window.findChild<QPushButton *>("pb_delete")->text(), yes);
    QCOMPARE(window.findChild<QPushButton *>("pb_cancel")->text(), cancel);
    QCOMPARE(window.findChild<QLabel *>("label_title")->text(), QString());
}

void TestConfirmDelete::containerShowsItForEveryConfirmation()
{
    // The page container in its holder, as the main window places it.
    QWidget holder;
    holder.resize(782, 715);
    holder.move(200, 100);
    auto *layout = new QVBoxLayout(&holder);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *pages = new MainWidget(nullptr, nullptr);
    layout->addWidget(pages);
    showAndWait(&holder);

    ConfirmDelete *window = pages->confirmDeleteWindow();
    QVERIFY(window);
    QVERIFY(!window->parentWidget());
    QVERIFY(!window->isVisible());
    AnswerRecorder recorder(window);
    connectAnswers(window, &recorder);

    ConfirmRequester homePage;
    QVERIFY(connect(&homePage, SIGNAL(sglShowConfirmDel()), pages, SLOT(slotShowConfirmDel())));
    emit homePage.sglShowConfirmDel();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(window->isWindow());
    QCOMPARE(QApplication::activeModalWidget(), window);
    // Over the page area, where the user was selecting.
    const QPoint topLeft = holder.mapToGlobal(QPoint(0, 0));
    QCOMPARE(window->pos(), topLeft + QPoint((782 - 510) / 2, (715 - 330) / 2));

    clickOn(window->findChild<QPushButton *>("pb_cancel"));
    QCOMPARE(recorder.answers, QStringList{"cancel closed"});

    // The next confirmation shows the same window again, even after it was
    // dragged away.
    window->move(0, 0);
    emit homePage.sglShowConfirmDel();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(pages->confirmDeleteWindow(), window);
    QCOMPARE(window->pos(), topLeft + QPoint((782 - 510) / 2, (715 - 330) / 2));
    clickOn(window->findChild<QPushButton *>("pb_delete"));
    QCOMPARE(recorder.answers, (QStringList{"cancel closed", "delete open"}));
    QVERIFY(!window->isVisible());
    delete pages;
}

void TestConfirmDelete::containerDeletesItUnlessAdding()
{
    auto pages = std::make_unique<MainWidget>(nullptr, nullptr);
    QPointer<ConfirmDelete> window = pages->confirmDeleteWindow();
    pages.reset();
    QVERIFY(window.isNull());

    // While an import copies, the window is left to the end of the process.
    pages = std::make_unique<MainWidget>(nullptr, nullptr);
    window = pages->confirmDeleteWindow();
    QPointer<myExit> exitWindow = pages->exitWindow();
    g_fileAdding = true;
    pages.reset();
    g_fileAdding = false;
    QVERIFY(!window.isNull());
    delete window.data();
    delete exitWindow.data();
}

QTEST_MAIN(TestConfirmDelete)
#include "tst_confirmdelete.moc"
