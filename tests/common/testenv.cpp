#include "common/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QVariant>

TestUser::TestUser()
    : m_oldHome(qgetenv("HOME"))
    , m_oldDataHome(qgetenv("XDG_DATA_HOME"))
    , m_oldConfigHome(qgetenv("XDG_CONFIG_HOME"))
{
    QDir().mkpath(home());
    qputenv("HOME", QFile::encodeName(home()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home() + "/.local/share"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home() + "/.config"));
}

TestUser::~TestUser()
{
    qputenv("HOME", m_oldHome);
    if (m_oldDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", m_oldDataHome);
    if (m_oldConfigHome.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
}

QString TestUser::home() const
{
    return m_dir.path() + "/home";
}

QString TestUser::dataFolder() const
{
    return home() + "/.local/share/VaroVR/VaroOrvalin";
}

QString TestUser::sharedFolder() const
{
    return m_dir.path() + "/shared";
}

bool TestUser::rememberSharedFolder(const QString &folder) const
{
    return writeWholeFile(dataFolder() + "/Dir.ini", "[General]\nVaroSharedDir=" + folder.toUtf8() + "\n");
}

bool TestUser::useEarlierSharedFolder() const
{
    return QDir().mkpath(sharedFolder()) && rememberSharedFolder(sharedFolder());
}

bool TestUser::writeStartedSettings(const QByteArray &language) const
{
    const QByteArray languageLine = language.isEmpty() ? QByteArray() : "language=" + language + "\n";
    return writeWholeFile(dataFolder() + "/Brontel.ini",
                          "[General]\nFirstUse=1\n" + languageLine + "VaroSharedDir=" + sharedFolder().toUtf8() + "\n");
}

QStringList TestUser::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home());
    env.insert("XDG_DATA_HOME", home() + "/.local/share");
    env.insert("XDG_CONFIG_HOME", home() + "/.config");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env.toStringList();
}

QVariant TestUser::iniValue(const QString &file, const QString &key)
{
    QSettings settings(file, QSettings::IniFormat);
    return settings.value(key);
}

// The same markers as inside_private_network in tests/privatenet.sh: the
// namespace that setup.sh and the benchmarks make, and the one netns-run
// makes for a test started by hand.
bool insidePrivateNetwork()
{
    return qgetenv("BRONTEL_TEST_NETNS") == "1" || qgetenv("NETNS_RUN_INSIDE") == "1";
}

// Asked of iproute2, not read from /sys: sysfs shows the network namespace
// it was mounted in, which is not the private one.
QString privateNetworkMac()
{
    QProcess ip;
    ip.start(QStringLiteral("ip"), {QStringLiteral("-o"), QStringLiteral("link"), QStringLiteral("show"),
                                    QStringLiteral("dev"), QStringLiteral("vh0")});
    if (!ip.waitForFinished(10000) || ip.exitStatus() != QProcess::NormalExit || ip.exitCode() != 0)
        return QString();
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("link/ether ([0-9a-f:]+)")).match(QString::fromLatin1(ip.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toUpper() : QString();
}

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool writeWholeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    const int words = size / 4;
    generator.fillRange(reinterpret_cast<quint32 *>(bytes.data()), words);
    for (int i = words * 4; i < size; ++i)
        bytes[i] = char(generator.bounded(256));
    return bytes;
}
