#pragma once

#include <QElapsedTimer>
#include <QJsonObject>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QVector>
#include <QWidget>

#include <functional>

class BrontelVideoInfo;
class HomeSub;
class ParseProcess;
class QGridLayout;
class QImage;
class QLabel;
class QTimer;
class Runner;

namespace Ui {
class frmHomePage;
}

// The library page: one tile per video in a grid of three columns, the
// library in memory, and the adding of videos by the add button or by
// dropping files on the page. A batch is checked here, copied by one import
// worker on its own thread while the modal progress dialog shows, and every
// finished video is added as a tile, stored in "brontelvideo.dat" and
// published in "list.json". The page container relays the library JSON to
// the main window (which serves it to the headset) and the update and
// refresh notices to the left panel (which broadcasts them).
class HomePage : public QWidget
{
    Q_OBJECT

public:
    // The multi-file open dialog: parent, caption, folder, filter.
    using FileChooser = std::function<QStringList(QWidget *, const QString &, const QString &, const QString &)>;

    // Time between the refresh notices that follow an update notice.
    static constexpr int kRefreshIntervalMs = 900;
    static constexpr int kRefreshNotices = 3;
    // The headset's failed requests ask for refreshAll; more often than this
    // they would only drive a storm of rescans and broadcasts.
    static constexpr int kRefreshAllGapMs = 1000;

    explicit HomePage(QWidget *parent = nullptr);
    ~HomePage() override;

    // The file dialog of the add button; tests put a chooser of their own.
    void setFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }

    // Leaves delete mode as if nothing had been chosen: every tile unselected,
    // the select buttons and "All" hidden. Going to the Home page and the add
    // button do this.
    void leaveDeleteMode();

    // Start-up: reads the library from "brontelvideo.dat", shows its tiles,
    // publishes it and writes both files afresh.
    void loadVideoData();
    // Re-reads the files behind every tile and announces the library again;
    // what the headset's failed requests call for. Runs at most once per
    // kRefreshAllGapMs; calls in between are folded into one later run.
    void refreshAll();

    // Quitting while a batch runs: the worker is interrupted and waited for
    // (it removes its unfinished copy), what it finished is still recorded,
    // and the adding flag and the progress dialog are cleared. Shows nothing.
    void stopImport();

    // The library text: {"number":"N","items": [...]} from itemJsons.
    QString buildListJson() const;
    // Parses a JSON text; an empty object (and a log line) when it is not
    // a JSON object.
    static QJsonObject getJsonObjectFromString(const QString &text);
    // A new record from one stored item object (its index the number of
    // records held now), or null for an empty object.
    BrontelVideoInfo *parseVideoInfo(const QJsonObject &object) const;

    // A batch is being checked or copied.
    bool isAdding() const { return batchRunning(); }
    const QVector<BrontelVideoInfo *> &library() const { return videoInfos; }
    const QVector<HomeSub *> &tiles() const { return homeSubs; }
    const QStringList &libraryItemTexts() const { return itemJsons; }
    ParseProcess *progressDialog() const { return parseProcess; }
    bool inDeleteMode() const { return isDeleteMode; }
    // Entries selected for deletion, in the order they were selected.
    const QVector<BrontelVideoInfo *> &selectedForDelete() const { return delVideoInfos; }

signals:
    void sglShowConfirmDel();
    void sglSendJson(QJsonObject jsonObject);
    void sglSendUpdateUDP();
    void sglSendRefreshUDP();
    void slgUpdateDataReadProgress(qlonglong bytesRead, qlonglong totalBytes);

public slots:
    void slotAddVideoFile();
    // tb_del: enters delete mode, or leaves it and asks for confirmation when
    // something is selected.
    void slotDelVideoFile();
    // The user confirmed: the selected entries' copies and posters go, the
    // entries are forgotten and both library files are written afresh.
    void slotDoDelVideoFile();
    void slotCancelDelVideoFile();
    void slotSelectAll();
    void slotSelectForDelete(BrontelVideoInfo *psvi, bool b_willdel);
    void slotParse(BrontelVideoInfo *fBrontelVideoInfo);
    void slotParsefinished();
    void slotAbnormal(QStringList errorList);
    void slotUpdateFinish();
    void slotSendUpdateUDPMessage();
    // Brings the tiles and both files in line with the library in memory:
    // tiles are made afresh when entries came or went, otherwise refreshed.
    void slotupdateUI();
    void slotParsing(QString filename, int filepos, int filesize, bool newfile);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void addDroppedUrls();
    void runRefreshAll();
    void showSaveFailure();
    void showDeleteFailures();

private:
    // One file of a batch as the checks see it.
    struct BatchFile
    {
        QString path; // local path; empty when the URL is not a local file
        QString name; // what the user calls it (the file name)
        QUrl url;     // the dropped URL; empty for the add button
    };

    bool batchRunning() const;
    static QList<BatchFile> withoutRepeatedNames(const QList<BatchFile> &files);
    void checkBatch(QList<BatchFile> &files);
    void showErrorLists();
    void startBatch(const QList<BatchFile> &files, bool fromButton);

    void addHomeSub(BrontelVideoInfo *info, const QImage &poster = QImage());
    void addHomeSubs(const QVector<BrontelVideoInfo *> &infos);
    void clearTiles();
    void clearLibrary();
    void setPlaceholdersVisible(bool visible);
    void updateDeleteButton();
    void setDeleteButtonStyle(bool active);
    void setSelectAllLook(bool on);
    void showSelectButtons(bool visible);
    void setEveryTileChecked(bool checked);
    void updateAllSelected();
    void startNoticeSequence();
    // The library JSON alone, for a refresh: the files have not changed.
    void sendLibraryJson();
    // Writes "list.json" and sends the library JSON, from one listing text.
    void publishLibrary();

    QString sharedFolder() const;
    QString storePath() const;
    QString listPath() const;
    // Replaces "brontelvideo.dat" with the store of itemJsons (removes it for
    // an empty library); the user is told when that fails.
    bool writeStore();
    // Writes "list.json"; false (and the user told) when it cannot be written.
    bool writeListFile(const QByteArray &bytes);
    bool saveVideoInfo(BrontelVideoInfo *info);
    void reportSaveFailure(const QString &what, const QString &error);
    bool keepDamagedStore(const QString &why);
    // Moves whatever stands at the store's name aside under the damaged name.
    bool moveStoreAside(const QString &why);
    // A regular file, not a link.
    static bool isOwnFile(const QString &path);

    Ui::frmHomePage *ui;
    QGridLayout *gridLayout = nullptr;
    QLabel *addImageLabel = nullptr;
    QLabel *addTextLabel = nullptr;
    QString lastDir;
    QVector<BrontelVideoInfo *> videoInfos;
    // Entries selected in delete mode; not owned.
    QVector<BrontelVideoInfo *> delVideoInfos;
    QVector<HomeSub *> homeSubs;
    QStringList itemJsons;
    bool isDeleteMode = false;
    bool isAllSelected = false;
    QTimer *refreshTimer = nullptr;
    int refreshTicks = 0;
    QList<QStringList> errorLists;
    ParseProcess *parseProcess = nullptr;
    int parseCount = 0;
    int f_parseindex = 0;

    FileChooser m_fileChooser;
    // The worker of the batch that runs now; earlier ones stay children of
    // the page until it goes.
    QPointer<Runner> m_runner;
    // URLs of a drop, taken in once the drop has returned to its source.
    QList<QUrl> m_droppedUrls;
    bool m_dropQueued = false;
    bool m_stopping = false;
    QTimer *m_refreshAllTimer = nullptr;
    QElapsedTimer m_lastRefreshAll;
    bool m_saveFailurePending = false;
    // Names of the videos whose files could not be removed, for the user.
    QStringList m_deleteFailures;
};
