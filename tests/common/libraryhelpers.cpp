#include "common/libraryhelpers.h"

#include "common/testenv.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/homepage.h"
#include "Form/FormHome/homesub.h"
#include "Form/FormHome/postersize.h"
#include "helper/appflags.h"
#include "helper/iniconfig.h"
#include "platform/storage.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QTest>

std::unique_ptr<TestUser> newLibraryUser(SharedFolder sharedFolder)
{
    auto user = std::make_unique<TestUser>();
    if (!user->isValid())
        return nullptr;
    IniConfig::instance()->setVaroSharedDir(user->sharedFolder());
    IniConfig::instance()->setLanguage("us");
    if (sharedFolder == SharedFolder::Made && !QDir().mkpath(user->sharedFolder()))
        return nullptr;
    if (!QDir().mkpath(user->root() + "/src"))
        return nullptr;
    g_fileAdding = false;
    return user;
}

NoticeRecorder::NoticeRecorder(HomePage *page)
{
    m_clock.start();
    connect(page, &HomePage::sglSendUpdateUDP, this, [this] { updates << m_clock.elapsed(); });
    connect(page, &HomePage::sglSendRefreshUDP, this, [this] { refreshes << m_clock.elapsed(); });
    connect(page, &HomePage::sglSendJson, this, [this](const QJsonObject &json) { jsons << json; });
}

void dropOn(QWidget *page, const QList<QUrl> &urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint where(200, 200);
    QDragEnterEvent enter(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page, &drop);
}

QStringList storedTexts(const QByteArray &bytes)
{
    QDataStream in(bytes);
    in.setVersion(15);
    QStringList texts;
    while (!in.atEnd()) {
        QByteArray record;
        in >> record;
        texts << QString::fromUtf8(record.constData());
    }
    return texts;
}

QByteArray storeOf(const QVector<BrontelVideoInfo *> &library)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (const BrontelVideoInfo *info : library)
        out << getJsonStringFromVideoInfo(info).toUtf8().constData();
    return bytes;
}

QByteArray listingOf(const QVector<BrontelVideoInfo *> &library)
{
    QStringList items;
    for (const BrontelVideoInfo *info : library)
        items << getJsonStringFromVideoInfo(info);
    return "{\"number\":\"" + QByteArray::number(library.size()) + "\",\"items\": [" + items.join(',').toUtf8()
        + "]}\n";
}

BrontelVideoInfo entryWithFiles(const QString &folder, const QString &source, int seq)
{
    BrontelVideoInfo info;
    const QString base = QString::number(1700000000 + seq) + "007";
    info.videopath = base;
    info.posterpath = base;
    info.poster = base + ".png";
    info.posterpathreal = folder + "/" + info.poster;
    info.videoreq = base + "." + QFileInfo(source).suffix();
    info.videopathnginx = folder + "/" + info.videoreq;
    info.videopathreal = source;
    info.video = QFileInfo(source).fileName();
    info.size = 2 + seq;
    info.length = 10 + seq;
    info.width = 160;
    info.high = 90;
    const QByteArray bytes(info.size * 1024, char('a' + seq % 26));
    writeWholeFile(info.videopathreal, bytes);
    writeWholeFile(info.videopathnginx, bytes);
    QImage poster(postersize::kWidth, postersize::kHeight, QImage::Format_RGB32);
    poster.fill(QColor::fromHsv((seq * 47) % 360, 200, 200));
    poster.save(info.posterpathreal, "PNG");
    return info;
}

MovedSharedFolder moveSharedFolder(const QString &root, const QString &shared)
{
    MovedSharedFolder folder;
    const QString old = root + "/old";
    folder.other = root + "/other";
    const QString src = root + "/src/";
    folder.entries = {entryWithFiles(old, src + "moved.mp4", 0), entryWithFiles(folder.other, src + "left.mp4", 1),
                      entryWithFiles(folder.other, src + "lost.mp4", 2)};
    QVector<BrontelVideoInfo *> stored;
    for (int i = 0; i < folder.entries.size(); ++i) {
        folder.entries[i].index = i;
        stored << &folder.entries[i];
    }
    if (!QFile::remove(folder.entries[1].posterpathreal) || !QFile::remove(folder.entries[2].videopathnginx)
        || !QFile::remove(folder.entries[2].posterpathreal) || !writeWholeFile(old + "/brontelvideo.dat", storeOf(stored))
        || !QDir(shared).removeRecursively() || !QDir().rename(old, shared))
        return {};
    folder.moved = folder.entries[0];
    folder.moved.videopathnginx = shared + "/" + folder.moved.videoreq;
    folder.moved.posterpathreal = shared + "/" + folder.moved.poster;
    return folder;
}

QStringList MovedSharedFolder::expectedStore() const
{
    return {getJsonStringFromVideoInfo(&moved), getJsonStringFromVideoInfo(&entries[1]),
            getJsonStringFromVideoInfo(&entries[2])};
}

QStringList tileNames(const HomePage &page)
{
    QStringList names;
    for (const HomeSub *tile : page.tiles())
        names << tile->findChild<QLabel *>("labelName")->text();
    return names;
}

QStringList sharedEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : sharedEntries(folder))
        files.insert(name, readWholeFile(folder + "/" + name));
    return files;
}

qint64 fileBeyondTheRoomOf(const QString &folder, const QString &path)
{
    const qint64 available = qint64(platform::bytesAvailable(folder));
    QFile file(path);
    const qint64 size = available + (qint64(1) << 30);
    if (available <= 0 || !file.open(QIODevice::WriteOnly) || !file.resize(size))
        return 0;
    return size;
}
