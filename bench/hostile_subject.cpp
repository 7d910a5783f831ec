// The processes under measure. The parent's side: each case's process is
// run as the bench's user and watched from outside through /proc. The
// child's side, the subject modes: each runs one of the program's own paths
// that meets the online service (the Guide page, the update check, the
// installer download, the toolkit's configuration file) in a process of its
// own, so that the process's peak memory, threads and descriptors are that
// path's alone; the service answers in the parent. Every result is one
// "key=value" line on stdout.
#include "hostile_bench.h"

#include "common/gapmeter.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormGuide/qacontent.h"
#include "Form/FormGuide/qasub.h"
#include "Form/FormGuide/userguide.h"
#include "Form/FormVaroHomeUpdate/varohomeupdatedesc.h"
#include "dataproc/cvarohomedataproc.h"
#include "dataproc/cvarohomedataprocresourceversion.h"
#include "helper/session.h"
#include "platform/storage.h"
#include "tool/uuconfigfile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <dirent.h>

#include <cstdio>
#include <memory>
#include <vector>

QString mb(qint64 bytes)
{
    return QString::number(bytes / double(kMiB), 'f', 1) + " MB";
}

void report(const QString &name, const QString &outcome, qint64 peakKb, const QStringList &figures)
{
    std::printf("%-28s | %-34s | %7.1f MB | %s\n", qPrintable(name), qPrintable(outcome), peakKb / 1024.0,
                qPrintable(figures.join(", ")));
    std::fflush(stdout);
}

Subject::Subject(const TestUser &user, bool realProgram, const QStringList &arguments)
    : m_user(user), m_realProgram(realProgram), m_arguments(arguments)
{
    m_process.setWorkingDirectory(user.home());
    m_process.setProcessChannelMode(realProgram ? QProcess::MergedChannels : QProcess::SeparateChannels);
}

Subject::~Subject()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

static qint64 ceilingMb()
{
    const int set = qEnvironmentVariableIntValue("HOSTILE_RSS_CEILING_MB");
    return set > 0 ? set : 3072;
}

QString Subject::ending(bool clean) const
{
    if (m_killedAtCeiling)
        return QStringLiteral("KILLED at the %1 MB ceiling").arg(ceilingMb());
    return clean ? QStringLiteral("clean exit") : QStringLiteral("UNCLEAN EXIT");
}

bool Subject::start()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : m_user.environment())
        environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
    environment.insert(m_environment);
    m_process.setProcessEnvironment(environment);
    const QString other = qEnvironmentVariable("HOSTILE_PROGRAM");
    const QString program = !m_realProgram ? QCoreApplication::applicationFilePath()
                            : other.isEmpty() ? ProgramRunner::programPath() : other;
    if (m_descriptorLimit > 0)
        m_process.start("prlimit", QStringList{QStringLiteral("--nofile=%1:%1").arg(m_descriptorLimit), "--", program}
                                       + m_arguments);
    else
        m_process.start(program, m_arguments);
    return m_process.waitForStarted(10000);
}

bool Subject::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        sample();
        if (condition())
            return true;
        if (m_killedAtCeiling)
            return false;
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(20);
    }
}

bool Subject::finish(int timeoutMs)
{
    return waitFor([this] { return m_process.state() == QProcess::NotRunning; }, timeoutMs);
}

bool Subject::stop()
{
    sample();
    if (m_process.state() == QProcess::NotRunning)
        return false;
    m_process.terminate();
    if (!m_process.waitForFinished(20000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
        return false;
    }
    return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

qint64 Subject::peakKb()
{
    return qMax(m_peakKb, results().value("peakKb").toLongLong());
}

QMap<QString, QString> Subject::results()
{
    m_output += m_process.readAllStandardOutput();
    QMap<QString, QString> values;
    for (const QByteArray &line : m_output.split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0)
            values.insert(QString::fromUtf8(line.left(equals)), QString::fromUtf8(line.mid(equals + 1)));
    }
    return values;
}

QString Subject::log() const
{
    const QString folder = m_user.dataFolder();
    return QString::fromUtf8(readWholeFile(folder + "/log_00.txt") + readWholeFile(folder + "/log.txt"));
}

void Subject::sample()
{
    if (m_process.state() != QProcess::Running)
        return;
    const QByteArray proc = "/proc/" + QByteArray::number(m_process.processId());
    for (const QByteArray &line : readWholeFile(proc + "/status").split('\n')) {
        const QByteArray value = line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0);
        if (line.startsWith("VmHWM:"))
            m_peakKb = qMax(m_peakKb, value.toLongLong());
        else if (line.startsWith("VmRSS:"))
            m_residentKb = value.toLongLong();
        else if (line.startsWith("Threads:"))
            m_threads = qMax(m_threads, value.toInt());
    }
    if (m_residentKb > ceilingMb() * 1024) {
        m_killedAtCeiling = true;
        m_process.kill();
        m_process.waitForFinished(5000);
        return;
    }
    if (DIR *fds = opendir((proc + "/fd").constData())) {
        int count = 0;
        while (const dirent *entry = readdir(fds))
            count += entry->d_name[0] == '.' ? 0 : 1;
        closedir(fds);
        m_descriptors = qMax(m_descriptors, count);
    }
}

namespace {

QStringList g_messages;

// The program's diagnostics are kept, not printed: the parent gets the
// lines that matter as results.
void keepMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (g_messages.size() < 10000)
        g_messages << message;
}

int countMessages(const QString &text)
{
    int count = 0;
    for (const QString &message : qAsConst(g_messages))
        count += message.contains(text) ? 1 : 0;
    return count;
}

void put(const char *key, const QString &value)
{
    std::printf("%s=%s\n", key, value.toUtf8().constData());
}

void put(const char *key, qint64 value)
{
    put(key, QString::number(value));
}

// The first diagnostic that mentions the text, shortened.
void putMessage(const char *key, const QString &text)
{
    for (const QString &message : qAsConst(g_messages)) {
        if (message.contains(text)) {
            put(key, message.simplified().left(200));
            return;
        }
    }
}

qint64 peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// What a row shows: its picture's size, or nothing when the area is collapsed.
QString shownSize(QAContent *row)
{
    auto *label = row->findChild<QLabel *>(QStringLiteral("label_image"));
    if (!label || label->isHidden() || label->pixmap(Qt::ReturnByValue).isNull())
        return QStringLiteral("none");
    return QStringLiteral("%1x%2").arg(label->width()).arg(label->height());
}

// The Guide tab as the page container opens it: the guide is fetched (the
// page's request, beside the background one the online data starts), the
// cards are laid out and their pictures awaited.
int guidePage(int timeoutMs)
{
    GapMeter gaps;
    QElapsedTimer clock;
    clock.start();
    UserGuide page;
    page.resize(680, 600);
    page.show();
    page.sltUpdateNetwork();
    put("fetchMs", clock.elapsed());
    waitUntil([&] { return page.isLaidOut(); }, timeoutMs, 10);
    // The page's own build apart from what its pictures cost afterwards.
    put("buildGapMs", gaps.longestMs());
    gaps.restart();
    put("built", page.isBuilt() ? 1 : 0);
    QVector<QAContent *> rows;
    for (QAsub *card : page.cards())
        rows += card->rows();
    const bool settled = waitUntil([&] {
        for (QAContent *row : qAsConst(rows)) {
            if (row->pictureRequested())
                return false;
        }
        return true;
    }, timeoutMs, 10);
    put("settled", settled ? 1 : 0);
    put("elapsedMs", clock.elapsed());
    int shown = 0;
    QStringList sizes;
    for (QAContent *row : qAsConst(rows)) {
        const QString size = shownSize(row);
        shown += size == QLatin1String("none") ? 0 : 1;
        if (sizes.size() < 4)
            sizes << size;
    }
    put("rows", rows.size());
    put("shown", shown);
    put("sizes", sizes.join(','));
    QTest::qWait(50);
    put("gapMs", gaps.longestMs());
    put("replyCut", countMessages(QStringLiteral("reply larger than")));
    putMessage("log", QStringLiteral("guide picture refused"));
    return 0;
}

int updateCheck()
{
    GapMeter gaps;
    QElapsedTimer clock;
    clock.start();
    CVaroHomeDataProcResourceVersion client;
    const bool answered = client.pcVersionInfo() != nullptr;
    put("elapsedMs", clock.elapsed());
    put("answered", answered ? 1 : 0);
    put("gapMs", gaps.longestMs());
    put("replyCut", countMessages(QStringLiteral("reply larger than")));
    return 0;
}

// Takes the volume's free space down to `leave` bytes with a file beside the
// download: the disk fills while the installer is on its way.
void fillVolume(const QString &file, qint64 leave)
{
    QFile filler(file);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(1 << 20, 'f');
    for (int i = 0; i < 8192; ++i) {
        const qint64 free = qint64(platform::bytesAvailable(QFileInfo(file).path()));
        if (free <= leave)
            break;
        const QByteArray part = block.left(int(qMin<qint64>(block.size(), free - leave)));
        if (filler.write(part) != part.size())
            break;
    }
}

qint64 largestFileIn(const QString &folder)
{
    qint64 largest = 0;
    for (const QFileInfo &entry : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System))
        largest = qMax(largest, entry.size());
    return largest;
}

// The update pop-up as the About page runs it: the offer, "Update", and the
// download until it fails, ends the program or the time is up.
int installerDownload(qint64 leaveFree)
{
    QApplication::setQuitOnLastWindowClosed(false);
    if (!AppGlobals::dataProc()->GetVaroHomeVersionData()) {
        put("ending", QStringLiteral("no offer"));
        return 1;
    }
    const QString dataFolder = Session::instance()->getAppDataPath();
    const QString folder = dataFolder + QStringLiteral("/update");
    const QString filler = dataFolder + QStringLiteral("/filler");
    VaroHomeUpdateDesc dialog;
    auto *status = dialog.findChild<QLabel *>(QStringLiteral("lbNewVersion"));
    QElapsedTimer clock;
    qint64 largest = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        largest = qMax(largest, largestFileIn(folder));
        if (status->text() == QLatin1String("Update failed"))
            QCoreApplication::exit(1);
    });
    // The file is removed as soon as the download fails: it is looked at
    // between every two reads of the download.
    watch.setTimerType(Qt::PreciseTimer);
    QTimer::singleShot(0, &dialog, [&] { dialog.exec(); });
    QTimer::singleShot(50, &dialog, [&] {
        clock.start();
        dialog.findChild<QPushButton *>(QStringLiteral("BNUpdate"))->click();
        if (leaveFree >= 0)
            fillVolume(filler, leaveFree);
        watch.start(1);
    });
    QTimer::singleShot(25000, [] { QCoreApplication::exit(2); });
    const int ending = QCoreApplication::exec();
    watch.stop();
    put("ending", ending == 0 ? QStringLiteral("program ended") : ending == 1 ? QStringLiteral("failed") : QStringLiteral("timed out"));
    put("elapsedMs", clock.elapsed());
    put("largestFile", largest);
    if (leaveFree >= 0)
        put("fillerMB", QFileInfo(filler).size() >> 20);
    if (ending != 0)
        dialog.findChild<QPushButton *>(QStringLiteral("BNCancel"))->click();
    QFile::remove(filler);
    put("left", QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).join(','));
    put("noSpaceLogged", countMessages(QStringLiteral("no space left")) + countMessages(QStringLiteral("No space left")));
    putMessage("log", QStringLiteral("update:"));
    return 0;
}

// One program's edits of the toolkit's file, through the path it was given.
int editConfig(const QString &path, const QString &writer, int count)
{
    UUConfigFile *file = UUConfigFile::instance(path);
    for (int i = 0; i < count; ++i)
        file->setValue(QStringLiteral("Edits"), writer + QString::number(i), QString::number(i));
    return 0;
}

} // namespace

int runSubject(int argc, char **argv)
{
    qInstallMessageHandler(keepMessage);
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    int code = 2;
    if (mode == QLatin1String("--guide"))
        code = guidePage(args.value(1).toInt());
    else if (mode == QLatin1String("--check"))
        code = updateCheck();
    else if (mode == QLatin1String("--install"))
        code = installerDownload(args.value(1, QStringLiteral("-1")).toLongLong());
    else if (mode == QLatin1String("--edit"))
        code = editConfig(args.value(1), args.value(2), args.value(3).toInt());
    put("peakKb", peakResidentKb());
    std::fflush(stdout);
    AppGlobals::release();
    return code;
}

// Three programs edit one toolkit file, each naming it its own way.
void threeEditors(const TestUser &user, const QString &name)
{
    const QString folder = user.root() + "/config";
    const QString path = folder + "/UUConfig.xml";
    writeWholeFile(path, "<UUConfiguration/>");
    const QStringList spellings{path, "./UUConfig.xml", "/" + path};
    const QStringList writers{"a", "b", "c"};
    const int edits = 150;
    std::vector<std::unique_ptr<Subject>> editors;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 3; ++i) {
        editors.emplace_back(new Subject(user, false, {"--edit", spellings[i], writers[i], QString::number(edits)}));
        editors.back()->setWorkingDirectory(folder);
        editors.back()->start();
    }
    qint64 peak = 0;
    for (auto &editor : editors) {
        editor->finish(120000);
        peak = qMax(peak, editor->peakKb());
    }
    const qint64 elapsed = clock.elapsed();
    UUConfigFile result(path);
    QStringList kept;
    int total = 0;
    for (const QString &writer : writers) {
        int count = 0;
        for (int i = 0; i < edits; ++i)
            count += result.getValue("Edits", writer + QString::number(i), "lost") == QString::number(i) ? 1 : 0;
        kept << QStringLiteral("%1: %2").arg(writer).arg(count);
        total += count;
    }
    report(name, total == 3 * edits ? "all kept" : "EDITS LOST", peak,
           {QStringLiteral("%1 of %2 keys kept (%3)").arg(total).arg(3 * edits).arg(kept.join(", ")),
            "as /abs/path, ./UUConfig.xml and //abs/path", QStringLiteral("%1 s").arg(elapsed / 1000.0, 0, 'f', 1),
            "peak is the largest editor's"});
}
