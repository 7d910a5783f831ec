#include "helper/session.h"

#include "helper/atomicfile.h"
#include "helper/iniconfig.h"
#include "helper/toolkitlists.h"
#include "platform/storage.h"

#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

Session *Session::instance()
{
    // Deliberately never deleted: the log handler and worker threads may ask
    // for the data folder until the very end of the process.
    static Session *const session = new Session;
    return session;
}

Session::Session() = default;

Session::~Session()
{
    releaseTranslator();
}

QString Session::getAppDataPath() const
{
    const QString folder = platform::userDataFolder();
    if (folder.isEmpty())
        return QString();
    if (!QDir().mkpath(folder))
        return QString();
    return folder;
}

QDir Session::getAppDir() const
{
    return QDir(platform::applicationFolder());
}

QString Session::getAppFilePath(const QString &name) const
{
    return QDir::toNativeSeparators(getAppDir().absoluteFilePath(name));
}

QString Session::getQssDir() const
{
    return getAppFilePath(QStringLiteral("qss"));
}

void Session::ensureSharedFolder(const QString &listFileName, const QByteArray &emptyListing) const
{
    const QString folder = IniConfig::instance()->getVaroSharedDir();
    if (!QDir().mkpath(folder)) {
        qWarning() << "shared folder: cannot make" << folder;
        return;
    }
    // The headset may ask for the listing before the home page has written
    // it: from the first start on it is a valid, empty library.
    const QString listing = folder + QLatin1Char('/') + listFileName;
    if (QFileInfo::exists(listing) || QFileInfo(listing).isSymLink())
        return;
    QString error;
    if (!atomicfile::write(listing, emptyListing, &error))
        qWarning() << "shared folder: cannot create" << listing << error;
}

namespace {

struct InterfaceLanguage
{
    const char *code;
    const char *file;
    // The locale of Qt's own translation for the language.
    const char *qtLocale;
};

const InterfaceLanguage kInterfaceLanguages[] = {
    {"cn", "brontel_zh.qm", "zh_CN"}, {"us", "brontel_en.qm", "en"}, {"jp", "brontel_ja.qm", "ja"},
    {"fr", "brontel_fr.qm", "fr"},    {"it", "brontel_it.qm", "it"}, {"de", "brontel_de.qm", "de"},
    {"es", "brontel_es.qm", "es"},
};

const InterfaceLanguage *interfaceLanguage(const QString &code)
{
    for (const auto &language : kInterfaceLanguages) {
        if (code == QLatin1String(language.code))
            return &language;
    }
    return nullptr;
}

} // namespace

QString Session::translationFileName(const QString &code)
{
    const InterfaceLanguage *language = interfaceLanguage(code);
    return language ? QString::fromLatin1(language->file) : QString();
}

QString Session::qtTranslationFileName(const QString &code)
{
    const InterfaceLanguage *language = interfaceLanguage(code);
    return language ? QStringLiteral("qtbase_%1.qm").arg(QLatin1String(language->qtLocale)) : QString();
}

bool Session::loadTranslator(const QString &code)
{
    releaseTranslator();

    const QString fileName = translationFileName(code);
    if (fileName.isEmpty()) {
        qDebug() << "translation: no file for language" << code;
        return false;
    }
    // Qt's own dialogs (the file dialog of the add button, the standard
    // buttons) speak the interface language too, from the translations that
    // come with Qt. Without them those dialogs stay in English and the
    // program's own texts are shown all the same.
    const QString qtPath = QLibraryInfo::location(QLibraryInfo::TranslationsPath) + QLatin1Char('/')
                           + qtTranslationFileName(code);
    auto *qtTranslator = new QTranslator;
    if (qtTranslator->load(qtPath)) {
        QCoreApplication::installTranslator(qtTranslator);
        m_qtTranslator = qtTranslator;
    } else {
        qWarning() << "translation: cannot load Qt's own" << qtPath;
        delete qtTranslator;
    }

    const QString path = getAppFilePath(QStringLiteral("translation")) + QDir::separator() + fileName;
    auto *translator = new QTranslator;
    if (!translator->load(path)) {
        qWarning() << "translation: cannot load" << path;
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    m_translator = translator;
    return true;
}

void Session::releaseTranslator()
{
    for (QTranslator **installed : {&m_translator, &m_qtTranslator}) {
        if (!*installed)
            continue;
        QCoreApplication::removeTranslator(*installed);
        delete *installed;
        *installed = nullptr;
    }
}

void Session::loadStyleSheet(const QString &fileName) const
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!app)
        return;
    QFile file(getQssDir() + QDir::separator() + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    app->setStyleSheet(app->styleSheet() + QString::fromUtf8(file.readAll()));
}

void Session::setToolkitLists(std::unique_ptr<ToolkitLists> lists)
{
    m_toolkitLists = std::move(lists);
}

int Session::getDownloadProgress(const QString &url) const
{
    if (url.isEmpty() || !m_toolkitLists)
        return -1;
    const QList<QStringList> entries = m_toolkitLists->readDownloadEntries();
    for (const QStringList &entry : entries) {
        if (entry.value(0) != url)
            continue;
        if (entry.value(1).toLongLong() == 0)
            return 0;
        // Multiplied first, so that 29 of 100 is 29, not 28.999...
        const double percent = entry.value(3).toDouble() * 100 / entry.value(1).toDouble();
        // The file may say anything ("1e300", "nan", a negative size); a
        // percentage outside 0 to 100 would also read as no entry at all.
        if (!(percent > 0))
            return 0;
        return static_cast<int>(qMin(percent, 100.0));
    }
    return -1;
}

bool Session::isInUnzipList(const QString &url) const
{
    if (url.isEmpty() || !m_toolkitLists)
        return false;
    const QList<QStringList> entries = m_toolkitLists->readUnzipEntries();
    for (const QStringList &entry : entries) {
        if (entry.value(0) == url)
            return true;
    }
    return false;
}

void Session::CheckDirAvailable(QString &dir) const
{
    const QList<platform::Volume> candidates = platform::sharedFolderCandidates();
    for (const platform::Volume &volume : candidates)
        qDebug() << volume.root << "size :" << (volume.bytesAvailable >> 30);
    const QString root = platform::chooseSharedFolderRoot(candidates);
    dir = QDir::cleanPath((root.isEmpty() ? platform::homeFolder() : root) + QStringLiteral("/VaroShared"));
}
