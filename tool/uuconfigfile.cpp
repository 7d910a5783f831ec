#include "tool/uuconfigfile.h"

#include "helper/atomicfile.h"
#include "platform/namedlock.h"
#include "platform/regularfile.h"
#include "tool/uupaths.h"
#include "tool/uuxmltext.h"

#include <QApplication>
#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMessageBox>
#include <QThread>

namespace {

// Long enough for any edit of a small file by another program; a holder
// that takes longer is stuck, and the edit goes on without it: the file is
// always replaced whole, so the worst outcome is one lost edit.
constexpr int kLockWaitMs = 10000;

const QString kConfigTag = QStringLiteral("config");

// Holds the lock for one scope; gives back only what it got.
class Locker
{
public:
    explicit Locker(platform::NamedLock *lock)
        : m_lock(lock)
        , m_held(lock && lock->acquire(kLockWaitMs))
    {
        if (!m_held)
            qWarning() << "UUConfigFile: configuration lock not obtained, going on without it";
    }
    ~Locker()
    {
        if (m_held)
            m_lock->release();
    }
    Locker(const Locker &) = delete;
    Locker &operator=(const Locker &) = delete;

private:
    platform::NamedLock *m_lock;
    bool m_held;
};

// Always in the log; also in a box when there is a user interface to show
// it in (a tool or test without one must not stop at a box nobody sees).
void showWarning(const QString &text)
{
    if (text.isEmpty())
        return;
    qWarning().noquote() << "UUConfigFile:" << text;
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (app && QThread::currentThread() == app->thread())
        QMessageBox::warning(nullptr, QStringLiteral("UUConfigFile"), text, QMessageBox::Ok, QMessageBox::NoButton);
}

// Far more than any configuration; a larger file is not one.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

// A pipe or device at the name is neither waited on nor read without end.
platform::FileRead readConfiguration(const QString &path, QByteArray *bytes, QString *error)
{
    return platform::readRegularFile(path, kMaxFileBytes, bytes, error);
}

QString readWarning(const QString &path, const QString &error)
{
    return QCoreApplication::translate("UUConfigFile", "Cannot read file %1:\n%2.\n%3").arg(path, error, path);
}

QString writeWarning(const QString &path, const QString &error)
{
    return QCoreApplication::translate("UUConfigFile", "Cannot write file %1:\n%2.\n%3").arg(path, error, path);
}

QHash<QString, UUConfigFile *> &instances()
{
    // Never destroyed: a caller may ask for a value during the last moments
    // of the process.
    static auto *const map = new QHash<QString, UUConfigFile *>;
    return *map;
}

} // namespace

UUConfigFile::UUConfigFile(const QString &name)
{
    ensureConfigFolder();
    path = resolvePath(name);
    lock = new platform::NamedLock(lockKey(path));
    {
        // Under the lock, so that two programs starting together cannot
        // empty a file that the first has already written to.
        Locker locker(lock);
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            createEmptyFile(path);
    }
    load();
}

UUConfigFile::~UUConfigFile()
{
    delete lock;
}

UUConfigFile *UUConfigFile::instance(const QString &name)
{
    UUConfigFile *&file = instances()[name];
    if (!file)
        file = new UUConfigFile(name);
    return file;
}

QString UUConfigFile::lockKey(const QString &path)
{
    // Named after the file itself, so that every spelling of its path ("./",
    // doubled slashes, a link on the way) takes the same lock. A file not made
    // yet is named by its real folder and its name, as it will be once made.
    const QFileInfo info(path);
    QString file = info.canonicalFilePath();
    if (file.isEmpty()) {
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        file = QDir::cleanPath((folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName());
    }
    return QStringLiteral("Global\\KQRM41D,") + QDir::toNativeSeparators(file);
}

QString UUConfigFile::resolvePath(const QString &name)
{
    if (QFileInfo::exists(name))
        return name;
    if (QFileInfo(name).fileName() == name)
        return configFolderPath() + QDir::separator() + name;
    return name;
}

void UUConfigFile::ensureConfigFolder()
{
    const QString folder = configFolderPath();
    if (!QFileInfo::exists(folder))
        QDir().mkdir(folder);
}

void UUConfigFile::createEmptyFile(const QString &path)
{
    // A folder that is missing is reported when the file is read.
    atomicfile::write(path, QByteArrayLiteral("<UUConfiguration></UUConfiguration>"));
}

bool UUConfigFile::load()
{
    QByteArray bytes;
    QString failure;
    platform::FileRead read;
    {
        Locker locker(lock);
        read = readConfiguration(path, &bytes, &failure);
    }
    if (read != platform::FileRead::Read) {
        document = QDomDocument();
        loaded = false;
        showWarning(readWarning(path, failure));
        return false;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return parse(&buffer);
}

bool UUConfigFile::parse(QIODevice *device)
{
    QString warning;
    const bool ok = parseBytes(device->readAll(), &warning);
    showWarning(warning);
    return ok;
}

bool UUConfigFile::parseBytes(const QByteArray &bytes, QString *warning)
{
    QDomDocument parsed;
    QString message;
    int line = 0;
    int column = 0;
    if (!parsed.setContent(bytes, true, &message, &line, &column)) {
        if (!loaded)
            document = QDomDocument();
        *warning = QCoreApplication::translate("UUConfigFile", "Parse error at line %1, column %2:\n%3.\n%4")
                       .arg(line)
                       .arg(column)
                       .arg(message, path);
        return false;
    }
    document = parsed;
    loaded = true;
    fileBytes = bytes;
    return true;
}

QDomElement UUConfigFile::findConfig(const QString &section, const QString &key) const
{
    const QDomElement group = document.documentElement().firstChildElement(section);
    for (QDomElement config = group.firstChildElement(kConfigTag); !config.isNull();
         config = config.nextSiblingElement(kConfigTag)) {
        if (config.attribute(QStringLiteral("id")) == key)
            return config;
    }
    return QDomElement();
}

QDomElement UUConfigFile::findOrCreateConfig(const QString &section, const QString &key)
{
    QDomElement root = document.documentElement();
    QDomElement group = root.firstChildElement(section);
    QDomElement config;
    if (group.isNull()) {
        group = document.createElement(section);
        root.appendChild(group);
    } else {
        config = findConfig(section, key);
    }
    if (config.isNull()) {
        config = document.createElement(kConfigTag);
        group.appendChild(config);
    }
    return config;
}

QString UUConfigFile::getValue(const QString &section, const QString &key, const QString &defaultValue)
{
    QDomElement config;
    {
        Locker locker(lock);
        config = findConfig(section, key);
    }
    return config.isNull() ? defaultValue : config.attribute(QStringLiteral("value"));
}

void UUConfigFile::setValue(const QString &section, const QString &key, const QString &value)
{
    QString warning;
    edit(
        [&] {
            QDomElement config = findOrCreateConfig(section, key);
            config.setAttribute(QStringLiteral("id"), key);
            config.setAttribute(QStringLiteral("value"), value);
            return true;
        },
        Layout::Values, &warning);
    showWarning(warning);
}

void UUConfigFile::save()
{
    if (!loaded) {
        qWarning().noquote() << "UUConfigFile: not writing" << path << "over a file that could not be read";
        return;
    }
    QString error;
    if (!write(bytes(Layout::Values), &error))
        showWarning(writeWarning(path, error));
}

QByteArray UUConfigFile::bytes(Layout layout) const
{
    if (layout == Layout::Values)
        return uuxml::documentBytes(document, 0, uuxml::Declaration::FromDocument);
    return uuxml::documentBytes(document, 4,
                                layout == Layout::ListsUtf8 ? uuxml::Declaration::Utf8
                                                            : uuxml::Declaration::FromDocument);
}

bool UUConfigFile::write(const QByteArray &bytes, QString *error)
{
    if (!atomicfile::write(path, bytes, error))
        return false;
    fileBytes = bytes;
    return true;
}

bool UUConfigFile::edit(const Change &change, Layout layout, QString *warning)
{
    Locker locker(lock);

    QByteArray current;
    QString failure;
    const platform::FileRead read = readConfiguration(path, &current, &failure);
    if (read == platform::FileRead::Read && (current != fileBytes || !loaded) && !parseBytes(current, warning)) {
        qWarning().noquote() << "UUConfigFile: not editing" << path << "while it is not well-formed";
        return false;
    }
    // A file that has gone is written again; one that is there but cannot be
    // read is never replaced.
    if (!loaded || (read != platform::FileRead::Read && read != platform::FileRead::Missing)) {
        qWarning().noquote() << "UUConfigFile: not editing" << path << "while it cannot be read";
        return false;
    }
    const QDomDocument before = document.cloneNode(true).toDocument();
    if (!change())
        return true;

    // A section name that is no XML name, or a character that the parser
    // takes for the end of the file, would leave a file that no reader takes,
    // every other value in it with it: such a change is undone instead.
    const QByteArray changed = bytes(layout);
    QString error;
    if (!QDomDocument().setContent(changed, true, &error)) {
        document = before;
        qWarning().noquote() << "UUConfigFile: not storing in" << path << "what XML cannot hold:" << error;
        if (layout == Layout::Values)
            *warning = writeWarning(path, error);
        return false;
    }
    if (!write(changed, &error)) {
        // The change stays in memory and goes out with the next write.
        qWarning().noquote() << "UUConfigFile: cannot write" << path << error;
        if (layout == Layout::Values)
            *warning = writeWarning(path, error);
        return false;
    }
    return true;
}

QList<QStringList> UUConfigFile::readEntries(const QString &tag,
                                             const std::function<QStringList(const QDomElement &)> &columns)
{
    QList<QStringList> entries;
    Locker locker(lock);
    for (QDomElement entry = document.documentElement().firstChildElement(tag); !entry.isNull();
         entry = entry.nextSiblingElement(tag)) {
        const QStringList texts = columns(entry);
        if (!texts.isEmpty())
            entries.append(texts);
    }
    return entries;
}
