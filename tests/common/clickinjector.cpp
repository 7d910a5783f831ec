// Preloaded into the real program (LD_PRELOAD) by tests that need the user to
// press buttons of a running program, also in dialogs that its start-up runs
// before the main event loop. BRONTEL_TEST_CLICK names the buttons, one
// "ClassName/buttonObjectName" per line: each is clicked, in turn, as soon as
// a shown window of that class has it shown and enabled. Nothing else of the
// program is touched, and the programs it starts run without this library.
#include <QAbstractButton>
#include <QApplication>
#include <QDebug>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace {

QAbstractButton *shownButton(const QByteArray &className, const QString &buttonName)
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (qstrcmp(window->metaObject()->className(), className.constData()) != 0 || !window->isVisible())
            continue;
        auto *button = window->findChild<QAbstractButton *>(buttonName);
        if (button && button->isVisible() && button->isEnabled())
            return button;
    }
    return nullptr;
}

void clickWhenShown()
{
    const QByteArray list = qgetenv("BRONTEL_TEST_CLICK");
    qunsetenv("LD_PRELOAD");
    qunsetenv("BRONTEL_TEST_CLICK");
    if (list.isEmpty() || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    auto pending = std::make_shared<QList<QByteArray>>(list.split('\n'));
    pending->removeAll(QByteArray());

    auto *timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, pending] {
        if (pending->isEmpty()) {
            timer->stop();
            return;
        }
        const QByteArray next = pending->first();
        const int slash = next.indexOf('/');
        QAbstractButton *button = shownButton(next.left(slash), QString::fromUtf8(next.mid(slash + 1)));
        if (!button)
            return;
        pending->removeFirst();
        qDebug() << "test click delivered:" << next;
        button->click();
    });
    timer->start();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(clickWhenShown)
