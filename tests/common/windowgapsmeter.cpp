// Preloaded into the real program (LD_PRELOAD) by tests and benches that
// measure how long its window stops answering: once a window of the class
// "Brontel" is shown, a 20 ms timer on the GUI thread notes each tick and
// the widest gap between two ticks in the file that BRONTEL_TEST_GAPS names
// (made by the test, see windowgaps.h). Nothing else of the program is
// touched, and the programs it starts run without this library.
#include "common/windowgaps.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

const int kTickMs = 20;

WindowGapsRecord *mapRecord(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    void *mapped = ::mmap(nullptr, sizeof(WindowGapsRecord), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    return mapped == MAP_FAILED ? nullptr : static_cast<WindowGapsRecord *>(mapped);
}

// Starts the measure the moment the main window is shown, before anything
// the program or a test does on it can keep the window from answering.
class ShowWatch : public QObject
{
public:
    explicit ShowWatch(WindowGapsRecord *record)
        : QObject(QCoreApplication::instance())
        , m_record(record)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && m_record->ticks == 0 && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()
            && qstrcmp(watched->metaObject()->className(), "Brontel") == 0) {
            m_record->lastTickNs = monotonicNs();
            m_record->ticks = 1;
            QCoreApplication::instance()->removeEventFilter(this);
        }
        return false;
    }

private:
    WindowGapsRecord *m_record;
};

void measureWhenShown()
{
    const QByteArray path = qgetenv("BRONTEL_TEST_GAPS");
    qunsetenv("BRONTEL_TEST_GAPS");
    qunsetenv("LD_PRELOAD");
    if (path.isEmpty() || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    WindowGapsRecord *record = mapRecord(path);
    if (!record)
        return;
    QCoreApplication::instance()->installEventFilter(new ShowWatch(record));
    auto *timer = new QTimer(QCoreApplication::instance());
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(kTickMs);
    QObject::connect(timer, &QTimer::timeout, timer, [record] {
        if (record->ticks == 0)
            return;
        const long long now = monotonicNs();
        record->longestGapNs = qMax<long long>(record->longestGapNs, now - record->lastTickNs);
        record->lastTickNs = now;
        ++record->ticks;
    });
    timer->start();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(measureWhenShown)
