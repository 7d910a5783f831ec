// The process's log: the line format, many threads at once, rotation at the
// size limit, the dropped noise, messages raised from inside the log itself,
// and the logger wrapper beside it.
#include "common/testenv.h"

#include "helper/messagehandler.h"
#include "helper/varologger.h"
#include "log4qt/levelrangefilter.h"
#include "log4qt/rollingfileappender.h"
#include "log4qt/ttcclayout.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

class TestLogging : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void lineForEveryLevel_data();
    void lineForEveryLevel();
    void lineFromAGivenPlace();
    void messageTextIsKeptAsItIs();
    void eightThreadsWriteWholeLines();
    void rotatesAtTheSizeLimit_data();
    void rotatesAtTheSizeLimit();
    void droppedNoiseNeverReachesTheFile();
    void waitsForTheDataFolder();
    void messageFromInsideTheLogDoesNotDeadlock();
    void loggerWrapperHoldsItsParts();

private:
    QString logPath() const { return m_user->dataFolder() + "/log.txt"; }
    QString backupPath() const { return m_user->dataFolder() + "/log_00.txt"; }
    QList<QByteArray> logLines() const;

    // One user for the whole run: the handler, like the program's, finds the
    // data folder at its first message and keeps it.
    std::unique_ptr<TestUser> m_user;
    QtMessageHandler m_previousHandler = nullptr;
};

namespace {

// "(yyyy-MM-dd hh:mm:ss ddd) " at the start of every line.
const char kTimePattern[] = R"(^\((\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}) \S+\) )";

QDateTime lineTime(const QByteArray &line)
{
    const QRegularExpressionMatch match = QRegularExpression(kTimePattern).match(QString::fromUtf8(line));
    if (!match.hasMatch())
        return QDateTime();
    return QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace

QList<QByteArray> TestLogging::logLines() const
{
    const QByteArray all = readWholeFile(logPath());
    if (all.isEmpty())
        return {};
    // Every line, the last one included, ends in CR LF and nowhere else is
    // there a line feed.
    if (!all.endsWith("\r\n") || all.count('\n') != all.count("\r\n"))
        return {QByteArrayLiteral("<broken line endings>")};
    QList<QByteArray> lines = all.split('\n');
    lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(1);
    return lines;
}

void TestLogging::initTestCase()
{
    m_user = std::make_unique<TestUser>();
    QVERIFY(m_user->isValid());
    m_previousHandler = qInstallMessageHandler(messageHandler);
}

void TestLogging::init()
{
    QFile::remove(logPath());
    QFile::remove(backupPath());
}

void TestLogging::cleanupTestCase()
{
    qInstallMessageHandler(m_previousHandler);
}

void TestLogging::lineForEveryLevel_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("level");
    QTest::newRow("debug") << int(QtDebugMsg) << "Debug: ";
    QTest::newRow("info") << int(QtInfoMsg) << " ";
    QTest::newRow("warning") << int(QtWarningMsg) << "Warning: ";
    QTest::newRow("critical") << int(QtCriticalMsg) << "Critical: ";
}

void TestLogging::lineForEveryLevel()
{
    QFETCH(int, type);
    QFETCH(QString, level);

    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QMessageLogger logger(__FILE__, __LINE__, Q_FUNC_INFO);
    const int line = __LINE__ - 1;
    switch (type) {
    case QtDebugMsg:
        logger.debug("level %s", QTest::currentDataTag());
        break;
    case QtInfoMsg:
        logger.info("level %s", QTest::currentDataTag());
        break;
    case QtWarningMsg:
        logger.warning("level %s", QTest::currentDataTag());
        break;
    default:
        logger.critical("level %s", QTest::currentDataTag());
        break;
    }

    const QList<QByteArray> lines = logLines();
    QCOMPARE(lines.size(), 1);
    const QString expected = QString::fromLatin1(kTimePattern) + QRegularExpression::escape(level)
                             + QRegularExpression::escape(QStringLiteral("File:(%1) Line:(%2) level %3")
                                                              .arg(QString::fromUtf8(__FILE__))
                                                              .arg(line)
                                                              .arg(QString::fromLatin1(QTest::currentDataTag())))
                             + "$";
    QVERIFY2(QRegularExpression(expected).match(QString::fromUtf8(lines.first())).hasMatch(), lines.first());
    const QDateTime written = lineTime(lines.first());
    QVERIFY(written >= before.addMSecs(-before.time().msec()));
    QVERIFY(written <= QDateTime::currentDateTime());
}

// A fatal message is written like any other (calling the handler directly:
// qFatal itself would end the test).
void TestLogging::lineFromAGivenPlace()
{
    const QMessageLogContext debugPlace("src\\brontel.cpp", 12, "Brontel::Brontel", "default");
    messageHandler(QtDebugMsg, debugPlace, QStringLiteral("hello"));
    const QMessageLogContext fatalPlace("helper/session.cpp", 345, "Session::instance", "default");
    messageHandler(QtFatalMsg, fatalPlace, QStringLiteral("the end"));
    const QMessageLogContext nowhere;
    messageHandler(QtInfoMsg, nowhere, QStringLiteral("from a library"));

    const QList<QByteArray> lines = logLines();
    QCOMPARE(lines.size(), 3);
    const QString time = QString::fromLatin1(kTimePattern);
    QVERIFY2(QRegularExpression(time + R"(Debug: File:\(src\\brontel\.cpp\) Line:\(12\) hello$)")
                 .match(QString::fromUtf8(lines.at(0))).hasMatch(), lines.at(0));
    QVERIFY2(QRegularExpression(time + R"(Fatal: File:\(helper/session\.cpp\) Line:\(345\) the end$)")
                 .match(QString::fromUtf8(lines.at(1))).hasMatch(), lines.at(1));
    // No level word: two blanks between the time and "File:".
    QVERIFY2(QRegularExpression(time + R"( File:\(\) Line:\(0\) from a library$)")
                 .match(QString::fromUtf8(lines.at(2))).hasMatch(), lines.at(2));
}

void TestLogging::messageTextIsKeptAsItIs()
{
    const QString text = QStringLiteral("100% of %1 in Grüße 日本語");
    qWarning().noquote() << text;
    const QList<QByteArray> lines = logLines();
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().endsWith(" " + text.toUtf8()), lines.first());
}

void TestLogging::eightThreadsWriteWholeLines()
{
    const int threadCount = 8;
    const int linesEach = 500;
    std::atomic<int> ready{0};
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back(QThread::create([t, &ready] {
            // Start together, so that the writers really compete.
            ++ready;
            while (ready.load() < threadCount)
                QThread::yieldCurrentThread();
            for (int i = 0; i < linesEach; ++i)
                qDebug("writer %d line %d end", t, i);
        }));
    }
    for (auto &thread : threads)
        thread->start();
    for (auto &thread : threads)
        QVERIFY(thread->wait(60000));

    const QList<QByteArray> lines = logLines();
    QCOMPARE(lines.size(), threadCount * linesEach);
    const QRegularExpression whole(QString::fromLatin1(kTimePattern)
                                   + R"(Debug: File:\(.+tst_logging\.cpp\) Line:\(\d+\) writer (?<w>\d) line (?<l>\d+) end$)");
    QSet<QString> seen;
    for (const QByteArray &line : lines) {
        const QRegularExpressionMatch match = whole.match(QString::fromUtf8(line));
        QVERIFY2(match.hasMatch(), line);
        seen.insert(match.captured("w") + "/" + match.captured("l"));
    }
    QCOMPARE(seen.size(), threadCount * linesEach);
}

void TestLogging::rotatesAtTheSizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("rotates");
    QTest::newRow("at the limit") << logfile::kRotateBytes << true;
    QTest::newRow("one byte below") << logfile::kRotateBytes - 1 << false;
}

void TestLogging::rotatesAtTheSizeLimit()
{
    QFETCH(qint64, size);
    QFETCH(bool, rotates);

    QByteArray old(int(size), 'o');
    old.replace(0, 9, "first\r\n\r\n");
    QVERIFY(writeWholeFile(logPath(), old));
    QVERIFY(writeWholeFile(backupPath(), "an older backup\r\n"));

    qDebug("after the limit");

    const QByteArray log = readWholeFile(logPath());
    QVERIFY(log.endsWith(" after the limit\r\n"));
    if (rotates) {
        QCOMPARE(log.count("\r\n"), 1);
        QVERIFY(readWholeFile(backupPath()) == old);
    } else {
        QVERIFY(log.startsWith(old));
        QVERIFY(QRegularExpression(QString::fromLatin1(kTimePattern) + "Debug: .* after the limit\r\n$")
                    .match(QString::fromUtf8(log.mid(old.size()))).hasMatch());
        QCOMPARE(log.count("\r\n"), 3);
        QCOMPARE(readWholeFile(backupPath()), QByteArray("an older backup\r\n"));
    }

    // After a rotation the next line goes on in the fresh file; a log that
    // has just passed the limit by one line rotates now.
    qDebug("and one more");
    const QByteArray next = readWholeFile(logPath());
    QVERIFY(next.endsWith(" and one more\r\n"));
    QCOMPARE(next.count("\r\n"), rotates ? 2 : 1);
    QVERIFY(readWholeFile(backupPath()) == (rotates ? old : log));
}

void TestLogging::droppedNoiseNeverReachesTheFile()
{
    const char *const noise[] = {
        "Unknown property min-weidth",
        "content-type missing in HTTP POST",
        "the source rect is not contained by the pixmap's rectangle",
        "known incorrect sRGB profile",
        "cHRM chunk does not match sRGB",
        "Unknown property background-size",
    };
    for (const char *text : noise) {
        qWarning("before %s after", text);
        QVERIFY2(!QFileInfo::exists(logPath()), text);
        QVERIFY(logfile::isDropped(QString::fromLatin1(text)));
    }

    // Matched exactly as listed, letter case included.
    qWarning("Unknown property min-width");
    qWarning("unknown property background-size");
    qDebug("content-type missing in http post");
    const QList<QByteArray> lines = logLines();
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(0).endsWith(" Unknown property min-width"));
    QVERIFY(lines.at(1).endsWith(" unknown property background-size"));
    QVERIFY(lines.at(2).endsWith(" content-type missing in http post"));
}

void TestLogging::waitsForTheDataFolder()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    bool available = false;
    logfile::LogFile log([&] { return available ? folder.path() : QString(); });
    const QMessageLogContext here(__FILE__, __LINE__, Q_FUNC_INFO, "default");

    log.write(QtDebugMsg, here, QStringLiteral("no folder yet"));
    QVERIFY(QDir(folder.path()).isEmpty());

    available = true;
    log.write(QtDebugMsg, here, QStringLiteral("now there is one"));
    const QByteArray written = readWholeFile(folder.path() + "/log.txt");
    QCOMPARE(written.count("\r\n"), 1);
    QVERIFY(written.endsWith(" now there is one\r\n"));
}

namespace {

logfile::LogFile *g_forwardTo = nullptr;

void forwardingHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    g_forwardTo->write(type, context, message);
}

} // namespace

// Whatever the log calls while it holds its lock may itself log, through the
// very handler that holds the lock: by the message functions, or by calling
// the installed handler directly.
void TestLogging::messageFromInsideTheLogDoesNotDeadlock()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.path();
    logfile::LogFile log([path] {
        qWarning("raised inside the log");
        forwardingHandler(QtWarningMsg, QMessageLogContext(__FILE__, __LINE__, Q_FUNC_INFO, "default"),
                          QStringLiteral("handed inside the log"));
        return path;
    });
    g_forwardTo = &log;
    const QtMessageHandler previous = qInstallMessageHandler(forwardingHandler);

    std::unique_ptr<QThread> writer(QThread::create([] { qDebug("outer message"); }));
    writer->start();
    const bool finished = writer->wait(10000);
    qInstallMessageHandler(previous);
    if (!finished) {
        // The writer is stuck for good; leaving would only hang the run.
        qFatal("the log deadlocked on a message raised inside it");
    }

    const QByteArray written = readWholeFile(path + "/log.txt");
    QCOMPARE(written.count("\r\n"), 1);
    QVERIFY(written.endsWith(" outer message\r\n"));
    QVERIFY(!written.contains("raised inside the log"));
    QVERIFY(!written.contains("handed inside the log"));
}

void TestLogging::loggerWrapperHoldsItsParts()
{
    VaroLogger *logger = VaroLogger::instance();
    QVERIFY(logger);
    QCOMPARE(VaroLogger::instance(), logger);
    QCOMPARE(logger->parent(), nullptr);

    QPointer<Log4Qt::TTCCLayout> layout = logger->findChild<Log4Qt::TTCCLayout *>();
    QPointer<Log4Qt::LevelRangeFilter> filter = logger->findChild<Log4Qt::LevelRangeFilter *>();
    QPointer<Log4Qt::RollingFileAppender> appender = logger->findChild<Log4Qt::RollingFileAppender *>();
    QVERIFY(layout && filter && appender);
    QCOMPARE(logger->layout(), layout.data());
    QCOMPARE(logger->filter(), filter.data());
    QCOMPARE(logger->appender(), appender.data());
    QCOMPARE(logger->children().size(), 3);

    // Its logging operations write nowhere: the handler's log stays empty.
    logger->debug(QStringLiteral("through the wrapper"));
    logger->fatal("through the wrapper");
    QVERIFY(!QFileInfo::exists(logPath()));

    // Deleting it takes its parts along and lets the next call make a new one.
    delete logger;
    QVERIFY(!layout && !filter && !appender);
    VaroLogger *next = VaroLogger::instance();
    QVERIFY(next);
    QCOMPARE(next->children().size(), 3);
    delete next;
}

QTEST_GUILESS_MAIN(TestLogging)
#include "tst_logging.moc"
