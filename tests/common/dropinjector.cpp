// Preloaded into the real program (LD_PRELOAD) by tests that need the user to
// drop files on the home page of a running program: once the home page is
// shown it receives a real drag-enter and drop carrying the URLs named in
// BRONTEL_TEST_DROP (one per line; local paths or URLs). Nothing else of the
// program is touched, and the programs it starts (nginx) run without this
// library.
#include <QApplication>
#include <QDebug>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

QWidget *shownHomePage()
{
    const QList<QWidget *> widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        if (qstrcmp(widget->metaObject()->className(), "HomePage") == 0 && widget->isVisible())
            return widget;
    }
    return nullptr;
}

void dropOnHomePage()
{
    const QByteArray list = qgetenv("BRONTEL_TEST_DROP");
    qunsetenv("LD_PRELOAD");
    qunsetenv("BRONTEL_TEST_DROP");
    if (list.isEmpty() || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    QList<QUrl> urls;
    for (const QByteArray &line : list.split('\n')) {
        if (line.isEmpty())
            continue;
        const QString text = QString::fromUtf8(line);
        urls << (text.contains(QLatin1String("://")) ? QUrl(text) : QUrl::fromLocalFile(text));
    }

    auto *timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, urls] {
        QWidget *page = shownHomePage();
        if (!page)
            return;
        timer->stop();
        timer->deleteLater();
        QMimeData mime;
        mime.setUrls(urls);
        const QPoint where = page->rect().center();
        QDragEnterEvent enter(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(page, &enter);
        QDropEvent drop(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(page, &drop);
        qDebug() << "test drop delivered:" << urls.size() << "URLs, accepted" << drop.isAccepted();
    });
    timer->start();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(dropOnHomePage)
