#pragma once

#include "Form/FormHome/deletemode.h"
#include "Form/FormHome/importbatch.h"
#include "Form/FormHome/tilegrid.h"
#include "Form/FormHome/videolibrary.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QList>
#include <QStringList>
#include <QUrl>
#include <QVector>
#include <QWidget>

#include <functional>

class BrontelVideoInfo;
class HomeSub;
class ParseProcess;
class QLabel;
class QTimer;

namespace Ui {
class frmHomePage;
}

// The library page: one tile per entry of the video library in a grid of
// three columns (made as the entries come into view), delete mode, and the
// adding of videos by the add button or by dropping files on the page, with
// the modal progress dialog while the import worker copies them. The library
// itself (its entries and files) is a VideoLibrary, the batch's bookkeeping
// an ImportBatch; the page shows what they announce in its TileGrid and its
// DeleteMode. The page container relays the library JSON to the main window
// (which serves it to the headset) and the update and refresh notices to the
// left panel (which broadcasts them).
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

    // Start-up: the library reads "brontelvideo.dat" (and writes both files
    // afresh where they differ); the page shows its tiles and publishes it.
    void loadVideoData();
    // Re-reads the files behind every tile and announces the library again;
    // what the headset's failed requests call for. Runs at most once per
    // kRefreshAllGapMs; calls in between are folded into one later run.
    void refreshAll();

    // Quitting while a batch runs: the worker is interrupted and waited for
    // (it removes its unfinished copy), what it finished is still recorded,
    // and the adding flag and the progress dialog are cleared. Shows nothing.
    void stopImport();

    // A batch is being checked or copied.
    bool isAdding() const { return batchRunning(); }
    const QVector<BrontelVideoInfo *> &library() const { return m_library->entries(); }
    const VideoLibrary *videoLibrary() const { return m_library; }
    // The tiles made for the entries in or near view, in library order; the
    // grid has a cell for every entry.
    const QVector<HomeSub *> &tiles() const { return m_tiles->tiles(); }
    const TileGrid *tileGrid() const { return m_tiles; }
    QStringList libraryItemTexts() const { return m_library->itemTexts(); }
    ParseProcess *progressDialog() const { return parseProcess; }
    bool inDeleteMode() const { return m_deleteMode->isOn(); }
    // Entries selected for deletion, in the order they were selected.
    const QVector<BrontelVideoInfo *> &selectedForDelete() const { return m_deleteMode->selection(); }

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
    // The user confirmed: the library removes the selected entries (their
    // copies and posters) and writes both files afresh.
    void slotDoDelVideoFile();
    void slotCancelDelVideoFile();
    void slotSelectAll();
    void slotSelectForDelete(BrontelVideoInfo *psvi, bool b_willdel);
    // A video the worker finished: the library takes it.
    void slotParse(BrontelVideoInfo *fBrontelVideoInfo);
    // The worker's thread ended: its refusals are shown, the dialog closes.
    void slotParsefinished();
    void slotAbnormal(QStringList errorList);
    void slotUpdateFinish();
    void slotSendUpdateUDPMessage();
    // The library writes both files afresh from its entries, as after a file
    // that brought no new entry; the tiles look at their files again.
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
    bool batchRunning() const;
    void showErrorLists();
    void startBatch(const QList<ImportBatch::File> &files, bool fromButton);

    // What the library announces.
    void showReloadedLibrary();
    void showAddedEntry(int position);
    // After a rewrite or a removal: tiles made afresh when entries went,
    // otherwise refreshed.
    void showRewrittenLibrary();
    void reportSaveFailure();
    void restoreMissingPosters();

    void setPlaceholdersVisible(bool visible);
    void updateDeleteButton();
    void startNoticeSequence();
    void sendLibraryJson();

    Ui::frmHomePage *ui;
    QLabel *addImageLabel = nullptr;
    QLabel *addTextLabel = nullptr;
    QString lastDir;
    QTimer *refreshTimer = nullptr;
    int refreshTicks = 0;
    ParseProcess *parseProcess = nullptr;

    VideoLibrary *m_library = nullptr;
    ImportBatch *m_batch = nullptr;
    TileGrid *m_tiles = nullptr;
    DeleteMode *m_deleteMode = nullptr;
    FileChooser m_fileChooser;
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
