// The main window in each of its seven languages: every navigation label is
// drawn clear of its icon and whole inside its button, measured on the
// pixels the button really paints; and the add button's file dialog, which
// is Qt's own, speaks the same language and opens in the user's folders.
#include "common/testenv.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormHome/homepage.h"
#include "helper/session.h"
#include "src/brontel.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// The navigation buttons' size, fixed by the form.
const QSize kButton(113, 26);
// Room the label keeps from its icon and from the button's rounded end.
const int kMinIconGap = 5;
const int kMinEndMargin = 7;

struct Extent
{
    int left = -1;
    int right = -1;
    int top = -1;
    int bottom = -1;
    bool isEmpty() const { return left < 0; }
    void add(int x, int y)
    {
        if (left < 0 || x < left)
            left = x;
        if (x > right)
            right = x;
        if (top < 0 || y < top)
            top = y;
        if (y > bottom)
            bottom = y;
    }
};

int difference(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b))
           + qAbs(qAlpha(a) - qAlpha(b));
}

// The pixels that differ between two renderings of the same button.
Extent changed(const QImage &a, const QImage &b)
{
    Extent extent;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (difference(a.pixel(x, y), b.pixel(x, y)) > 24)
                extent.add(x, y);
        }
    }
    return extent;
}

// The icon of a skin image: what stands out, left of the middle, from the
// pill's plain fill (or from the transparent ground of the idle image).
// Rows 6 to 20 keep clear of the pill's rounded ends, where the icon lies.
Extent iconOf(const QImage &art)
{
    Extent extent;
    const int plainX = art.width() / 2;
    for (int y = 6; y <= 20; ++y) {
        for (int x = 4; x < plainX; ++x) {
            if (difference(art.pixel(x, y), art.pixel(plainX, y)) > 24)
                extent.add(x, y);
        }
    }
    return extent;
}

QImage rendered(QPushButton *button)
{
    QImage image(button->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    button->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QImage artOf(const QPushButton *button, const char *state)
{
    const QString name = button->objectName().mid(3); // "tB_home" -> "home"
    return QImage(QStringLiteral(":/Brontel/Skin/new/%1_%2_1.png").arg(name, QLatin1String(state)))
        .convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void cleanupTestCase();

    void navigationLabelsKeepClearOfTheirIcons_data();
    void navigationLabelsKeepClearOfTheirIcons();
    void fileDialogSpeaksTheInterfaceLanguage_data();
    void fileDialogSpeaksTheInterfaceLanguage();

private:
    Brontel *makeWindow(const QByteArray &language);
    void measure(QPushButton *button, const char *state);

    std::unique_ptr<TestUser> m_user;
    std::unique_ptr<Brontel> m_window;
};

void TestLanguages::init()
{
    m_user.reset(new TestUser);
    QVERIFY(m_user->isValid());
}

void TestLanguages::cleanup()
{
    m_window.reset();
    Session::instance()->releaseTranslator();
    m_user.reset();
}

void TestLanguages::cleanupTestCase()
{
    AppGlobals::release();
}

Brontel *TestLanguages::makeWindow(const QByteArray &language)
{
    if (!m_user->writeStartedSettings(language))
        return nullptr;
    m_window.reset(new Brontel);
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("main window was not exposed");
    return m_window.get();
}

void TestLanguages::navigationLabelsKeepClearOfTheirIcons_data()
{
    QTest::addColumn<QByteArray>("language");
    for (const char *code : {"cn", "us", "jp", "fr", "it", "de", "es"})
        QTest::newRow(code) << QByteArray(code);
}

// The label's pixels against its icon's, in the state the button is in now.
void TestLanguages::measure(QPushButton *button, const char *state)
{
    QCOMPARE(button->size(), kButton);
    const QString label = button->text();
    const QImage withLabel = rendered(button);
    button->setText(QString());
    const QImage without = rendered(button);
    button->setText(label);

    const Extent text = changed(withLabel, without);
    const Extent icon = iconOf(artOf(button, state));
    QVERIFY2(!text.isEmpty(), qPrintable(label));
    QVERIFY(!icon.isEmpty());
    const int drawnWidth = text.right - text.left + 1;
    const int fullWidth = QFontMetrics(button->font()).boundingRect(label.trimmed()).width();
    qInfo("%s %-6s %-12s text x %3d..%3d (%2d px of %2d)  icon x %2d..%2d  gap %2d  end margin %2d",
          qPrintable(button->objectName()), state, qPrintable(label.trimmed()), text.left, text.right, drawnWidth,
          fullWidth, icon.left, icon.right, text.left - icon.right - 1, kButton.width() - 1 - text.right);

    QVERIFY2(text.left - icon.right - 1 >= kMinIconGap, qPrintable(label));
    QVERIFY2(kButton.width() - 1 - text.right >= kMinEndMargin, qPrintable(label));
    QVERIFY2(text.top >= 2 && text.bottom <= kButton.height() - 3, qPrintable(label));
    // Drawn whole: nothing of it is cut off at either side.
    QVERIFY2(qAbs(drawnWidth - fullWidth) <= 2, qPrintable(label));
}

void TestLanguages::navigationLabelsKeepClearOfTheirIcons()
{
    QFETCH(QByteArray, language);
    QVERIFY(makeWindow(language));
    auto *home = m_window->findChild<QPushButton *>("tB_home");
    auto *guide = m_window->findChild<QPushButton *>("tB_guide");
    auto *about = m_window->findChild<QPushButton *>("tB_about");
    QVERIFY(home && guide && about);
    // The labels are the language's own words.
    QCOMPARE(home->text() == "home   ", language == "us");

    // At start-up home is selected and the others idle; then each in turn.
    measure(home, "press");
    measure(guide, "normal");
    measure(about, "normal");
    for (QPushButton *selected : {guide, about, home}) {
        QTest::mouseClick(selected, Qt::LeftButton);
        for (QPushButton *button : {home, guide, about}) {
            measure(button, button == selected ? "press" : "normal");
            if (button == selected)
                continue;
            // Under the mouse, as the style sees it.
            button->setAttribute(Qt::WA_UnderMouse, true);
            measure(button, "hover");
            button->setAttribute(Qt::WA_UnderMouse, false);
        }
    }
}

void TestLanguages::fileDialogSpeaksTheInterfaceLanguage_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("lookIn");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("cn") << QByteArray("cn") << QString::fromUtf8("查找范围：") << QString::fromUtf8("取消");
    QTest::newRow("us") << QByteArray("us") << "Look in:"
                        << "Cancel";
    QTest::newRow("de") << QByteArray("de") << "Suchen in:"
                        << "Abbrechen";
}

// The real dialog of the add button, answered from a timer.
void TestLanguages::fileDialogSpeaksTheInterfaceLanguage()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, lookIn);
    QFETCH(QString, cancel);
    const QString videos = QDir::homePath() + "/Videos";
    QVERIFY(QDir().mkpath(videos));
    QVERIFY(makeWindow(language));
    auto *page = m_window->findChild<HomePage *>();
    QVERIFY(page);

    QString seenLookIn;
    QString seenCancel;
    QString seenTitle;
    QString seenFolder;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seenTitle = dialog->windowTitle();
        seenFolder = dialog->directory().absolutePath();
        if (auto *label = dialog->findChild<QLabel *>("lookInLabel"))
            seenLookIn = label->text();
        if (auto *buttons = dialog->findChild<QDialogButtonBox *>("buttonBox")) {
            if (QPushButton *button = buttons->button(QDialogButtonBox::Cancel))
                seenCancel = button->text();
        }
        dialog->reject();
    });
    poll.start(50);
    page->findChild<QPushButton *>("tb_add")->click();
    poll.stop();

    QCOMPARE(seenTitle, QCoreApplication::translate("frmHomePage", "Open Video File"));
    QCOMPARE(seenLookIn, lookIn);
    QCOMPARE(seenCancel, cancel);
    QCOMPARE(seenFolder, videos);
    QVERIFY(page->library().isEmpty());
}

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
