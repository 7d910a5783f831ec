#pragma once

#include "common/modalanswerer.h"

#include "Form/FormHome/brontelvideoinfo.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QVector>

#include <memory>

class HomePage;
class QWidget;
class TestUser;

// What the tests of the library pages share: noting the page's signals,
// dropping files on a page, and the library files as an independent reader
// and writer make them. The answerer of modal dialogs, which other tests use
// too, comes with it.

// Where a library test starts: a fresh test user whose settings name its
// shared folder, English texts, a "src" folder for the user's own files and
// no import running. The shared folder itself is made too, unless the test
// leaves it for the import to make. Null when a folder cannot be made.
enum class SharedFolder { Made, LeftToTheImport };
std::unique_ptr<TestUser> newLibraryUser(SharedFolder sharedFolder = SharedFolder::Made);

// When each signal of the page came, in milliseconds since the recorder began.
class NoticeRecorder : public QObject
{
public:
    explicit NoticeRecorder(HomePage *page);

    QList<qint64> updates;
    QList<qint64> refreshes;
    QList<QJsonObject> jsons;

private:
    QElapsedTimer m_clock;
};

// A drag that enters the page and drops the URLs on it.
void dropOn(QWidget *page, const QList<QUrl> &urls);

// The store as Qt's data stream reads it (version 15, byte arrays).
QStringList storedTexts(const QByteArray &bytes);
// The store and the listing of a library, written by Qt's data stream and by
// hand: what "brontelvideo.dat" and "list.json" must hold byte for byte.
QByteArray storeOf(const QVector<BrontelVideoInfo *> &library);
QByteArray listingOf(const QVector<BrontelVideoInfo *> &library);

// An entry as the import leaves it, without the import: the user's file at
// source, its copy in the folder (2 + seq KiB of the same bytes) and a poster
// there, named after the time 1700000000 + seq seconds.
BrontelVideoInfo entryWithFiles(const QString &folder, const QString &source, int seq);

// A shared folder that the user moved: its store, written at the old place
// "old" beside `shared`, names three entries. "moved.mp4" came along with its
// copy and poster; "left.mp4" and "lost.mp4" lie in "other", the first
// without its poster, the second with neither file. Empty when a file could
// not be written.
struct MovedSharedFolder
{
    QString other;
    // The entries as the store names them.
    QList<BrontelVideoInfo> entries;
    // The first entry, pointed into the shared folder where its files are.
    BrontelVideoInfo moved;
    // What the store must hold once the library has found it.
    QStringList expectedStore() const;
};
MovedSharedFolder moveSharedFolder(const QString &root, const QString &shared);

// A sparse file at the path, a GiB larger than the room left on the
// folder's volume: it costs no space itself, and no import may take it.
// Its size; 0 when it could not be made.
qint64 fileBeyondTheRoomOf(const QString &folder, const QString &path);

// The captions of the page's tiles, in grid order.
QStringList tileNames(const HomePage &page);
// Every name in a folder, hidden ones included, sorted.
QStringList sharedEntries(const QString &folder);
// Every file directly in a folder with its bytes.
QMap<QString, QByteArray> snapshot(const QString &folder);
