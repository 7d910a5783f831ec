#include "Form/FormHome/homepage.h"
#include "ui_homepage.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/Dialogs/formmessage.h"
#include "Form/Dialogs/prompt.h"
#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/entryfiles.h"
#include "Form/FormHome/homesub.h"
#include "Form/FormHome/parseprocess.h"
#include "Form/FormHome/runner.h"
#include "Form/FormHome/startfolder.h"
#include "helper/appflags.h"
#include "helper/parallel.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QTimer>

HomePage::HomePage(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::frmHomePage)
    , lastDir(firstVideoFolder())
    , m_fileChooser([](QWidget *parent, const QString &caption, const QString &dir, const QString &filter) {
        return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
    })
{
    ui->setupUi(this);
    // A QWidget subclass paints its style-sheet background only when asked to.
    setAttribute(Qt::WA_StyledBackground);
    m_library = new VideoLibrary(this);
    m_tiles = new TileGrid(ui->scrollArea, this);
    m_deleteMode = new DeleteMode(ui->tb_del, ui->pb_All, ui->label_all, m_tiles, m_library, this);

    refreshTimer = new QTimer(this);
    connect(refreshTimer, SIGNAL(timeout()), this, SLOT(slotSendUpdateUDPMessage()));

    ui->scrollAreaWidgetContents->setAcceptDrops(false);
    setAcceptDrops(true);

    connect(ui->tb_add, SIGNAL(clicked()), this, SLOT(slotAddVideoFile()));
    connect(ui->tb_del, SIGNAL(clicked()), this, SLOT(slotDelVideoFile()));
    connect(ui->pb_All, SIGNAL(clicked()), this, SLOT(slotSelectAll()));

    addImageLabel = new QLabel(this);
    addImageLabel->setObjectName(QStringLiteral("addImageLabel"));
    addImageLabel->setGeometry(264, 155, 236, 236);
    addImageLabel->setStyleSheet(QStringLiteral("QLabel{border-image:url(:/Brontel/Skin/new/Add-video.png);}"));
    addImageLabel->hide();
    addTextLabel = new QLabel(this);
    addTextLabel->setObjectName(QStringLiteral("addTextLabel"));
    addTextLabel->setGeometry(10, 410, width() - 30, 30);
    addTextLabel->setStyleSheet(QStringLiteral("QLabel{color:#9da1a3;font:20px \"Microsoft YaHei\";}"));
    addTextLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    addTextLabel->setText(QCoreApplication::translate("frmHomePage", "add video"));
    addTextLabel->hide();

    updateDeleteButton();

    parseProcess = new ParseProcess(nullptr);
    parseProcess->blockOnlyWindowOf(this);
    connect(this, SIGNAL(slgUpdateDataReadProgress(qlonglong,qlonglong)), parseProcess,
            SLOT(slotUpdateDataReadProgress(qlonglong,qlonglong)));

    m_refreshAllTimer = new QTimer(this);
    m_refreshAllTimer->setSingleShot(true);
    connect(m_refreshAllTimer, SIGNAL(timeout()), this, SLOT(runRefreshAll()));

    connect(m_library, &VideoLibrary::reloaded, this, &HomePage::showReloadedLibrary);
    connect(m_library, &VideoLibrary::entryAdded, this, &HomePage::showAddedEntry);
    connect(m_library, &VideoLibrary::rewritten, this, &HomePage::showRewrittenLibrary);
    connect(m_library, &VideoLibrary::entriesRemoved, this, &HomePage::showRewrittenLibrary);
    connect(m_library, &VideoLibrary::saveFailed, this, &HomePage::reportSaveFailure);
    connect(m_tiles, &TileGrid::tileBound, m_deleteMode, &DeleteMode::showOn);
    connect(m_tiles, SIGNAL(sglSelectForDelete(BrontelVideoInfo*,bool)), this,
            SLOT(slotSelectForDelete(BrontelVideoInfo*,bool)));

    m_batch = new ImportBatch(m_library, this);
    connect(m_batch, SIGNAL(sglParse(BrontelVideoInfo*)), this, SLOT(slotParse(BrontelVideoInfo*)));
    connect(m_batch, SIGNAL(sglAbnormal(QStringList)), this, SLOT(slotAbnormal(QStringList)));
    connect(m_batch, SIGNAL(sglFinished()), this, SLOT(slotParsefinished()));
    connect(m_batch, SIGNAL(sglUpdateFinish()), this, SLOT(slotUpdateFinish()));
    connect(m_batch, SIGNAL(sglUpdateUI()), this, SLOT(slotupdateUI()));
    connect(m_batch, SIGNAL(sglParsing(QString,int,int,bool)), this, SLOT(slotParsing(QString,int,int,bool)));
}

HomePage::~HomePage()
{
    stopImport();
    // The tiles go before the records they show, which go with the library.
    m_tiles->clearTiles();
    delete parseProcess;
    delete ui;
}

// --- what the library announces ------------------------------------------

void HomePage::loadVideoData()
{
    // The library deletes the records it held; their tiles go first.
    m_tiles->clearTiles();
    m_deleteMode->clearSelection();
    m_library->load();
}

void HomePage::showReloadedLibrary()
{
    restoreMissingPosters();
    // Published before the tiles are built: the headset needs the listing
    // only, and the main window starts serving it at once.
    sendLibraryJson();
    m_tiles->setEntries(m_library->entries());
    setPlaceholdersVisible(m_library->entries().isEmpty());
    if (!m_tiles->isEmpty())
        startNoticeSequence();
    updateDeleteButton();
}

void HomePage::showAddedEntry(int position)
{
    setPlaceholdersVisible(false);
    m_tiles->addHomeSub(m_library->entries().value(position));
    m_deleteMode->updateAllSelected();
    updateDeleteButton();
    sendLibraryJson();
}

void HomePage::slotupdateUI()
{
    m_library->rewrite();
}

void HomePage::showRewrittenLibrary()
{
    const QVector<BrontelVideoInfo *> &entries = m_library->entries();
    // A file refused or a missing copy brought back leaves the entries as
    // they are: their tiles only look at the files again, which spares
    // reading their posters anew. When entries went, only the tiles that
    // showed them are given others; the rest at most move.
    m_deleteMode->forgetGone();
    if (m_tiles->shows(entries))
        m_tiles->refresh(entries);
    else
        m_tiles->setEntries(entries);
    // Nothing is left to select.
    if (entries.isEmpty())
        m_deleteMode->leave();
    setPlaceholdersVisible(entries.isEmpty());
    m_deleteMode->updateAllSelected();
    sendLibraryJson();
    startNoticeSequence();
    updateDeleteButton();
}

// A library that cannot be saved would be lost at the next start without
// the user knowing; they are told once for a run of failures.
void HomePage::reportSaveFailure()
{
    if (m_stopping || m_saveFailurePending)
        return;
    m_saveFailurePending = true;
    QMetaObject::invokeMethod(this, "showSaveFailure", Qt::QueuedConnection);
}

void HomePage::showSaveFailure()
{
    // On the way out nobody is left to answer a dialog.
    if (m_stopping) {
        m_saveFailurePending = false;
        return;
    }
    Prompt *prompt = AppGlobals::prompt();
    prompt->setPrompt(QCoreApplication::translate("frmHomePage", "The video library could not be saved!"));
    prompt->exec();
    m_saveFailurePending = false;
}

// --- the page -----------------------------------------------------------

void HomePage::setPlaceholdersVisible(bool visible)
{
    addImageLabel->setVisible(visible);
    addTextLabel->setVisible(visible);
    if (visible) {
        addImageLabel->raise();
        addTextLabel->raise();
    }
}

void HomePage::updateDeleteButton()
{
    ui->tb_del->setEnabled(!m_tiles->isEmpty());
}

// The listing as "list.json" holds it since the library's last change.
void HomePage::sendLibraryJson()
{
    emit sglSendJson(m_library->listObject());
}

// --- notices -------------------------------------------------------------

void HomePage::startNoticeSequence()
{
    emit sglSendUpdateUDP();
    ++g_refreshCount;
    refreshTicks = 0;
    refreshTimer->stop();
    refreshTimer->start(kRefreshIntervalMs);
}

void HomePage::slotUpdateFinish()
{
    startNoticeSequence();
}

void HomePage::slotSendUpdateUDPMessage()
{
    emit sglSendRefreshUDP();
    ++refreshTicks;
    if (refreshTicks >= kRefreshNotices)
        refreshTimer->stop();
}

void HomePage::refreshAll()
{
    if (m_lastRefreshAll.isValid() && m_lastRefreshAll.elapsed() < kRefreshAllGapMs) {
        if (!m_refreshAllTimer->isActive())
            m_refreshAllTimer->start(int(kRefreshAllGapMs - m_lastRefreshAll.elapsed()));
        return;
    }
    runRefreshAll();
}

void HomePage::runRefreshAll()
{
    m_refreshAllTimer->stop();
    m_lastRefreshAll.start();
    restoreMissingPosters();
    m_tiles->refresh(m_library->entries());
    sendLibraryJson();
    emit sglSendUpdateUDP();
}

// Tiles are made only for the entries in view; the headset asks for the
// poster of every entry it is sent, so the default poster stands in for a
// missing one whether or not its tile has been shown.
void HomePage::restoreMissingPosters()
{
    const QString folder = VideoLibrary::sharedFolder();
    const QString defaultPoster = entryfiles::defaultPosterPath();
    const QVector<BrontelVideoInfo *> &entries = m_library->entries();
    // Each a look at one file, and at start-up before the headset is served.
    parallel::forEachIndex(entries.size(), [&](int i) {
        entryfiles::restoreMissingPoster(*entries[i], folder, defaultPoster);
    });
}

// --- delete mode ---------------------------------------------------------

void HomePage::slotDelVideoFile()
{
    if (batchRunning()) {
        qDebug() << "is parseing ";
        return;
    }
    if (m_deleteMode->toggle())
        emit sglShowConfirmDel();
}

void HomePage::slotSelectForDelete(BrontelVideoInfo *psvi, bool b_willdel)
{
    m_deleteMode->select(psvi, b_willdel);
}

void HomePage::slotSelectAll()
{
    m_deleteMode->toggleAll();
}

void HomePage::slotCancelDelVideoFile()
{
    m_deleteMode->cancel();
}

void HomePage::leaveDeleteMode()
{
    m_deleteMode->leave();
}

void HomePage::slotDoDelVideoFile()
{
    // An answer with nothing chosen deletes nothing and leaves the library
    // files as they are.
    const QVector<BrontelVideoInfo *> chosen = m_deleteMode->takeSelection();
    if (chosen.isEmpty())
        return;
    const QStringList failed = m_library->remove(chosen);
    // Tiles whose entries stayed are kept as they were when nothing went, so
    // they leave delete mode here, unselected.
    m_deleteMode->leave();

    if (!failed.isEmpty()) {
        const bool queued = !m_deleteFailures.isEmpty();
        m_deleteFailures << failed;
        // Told once the confirmation has closed.
        if (!queued)
            QMetaObject::invokeMethod(this, "showDeleteFailures", Qt::QueuedConnection);
    }
}

void HomePage::showDeleteFailures()
{
    const QStringList names = m_deleteFailures;
    m_deleteFailures.clear();
    if (names.isEmpty() || m_stopping)
        return;
    FormMessage *message = AppGlobals::formMessage();
    message->setMessage({QCoreApplication::translate("frmHomePage", "could not delete the video"),
                         names.join(QStringLiteral(", "))});
    message->exec();
}

// --- adding videos -------------------------------------------------------

bool HomePage::batchRunning() const
{
    return parseProcess->isBusy() || m_dropQueued;
}

void HomePage::slotAddVideoFile()
{
    if (batchRunning()) {
        qDebug() << "is parseing ";
        return;
    }
    // Shown pressed, and deaf to more clicks, while the dialog and the batch run.
    disconnect(ui->tb_add, SIGNAL(clicked()), this, SLOT(slotAddVideoFile()));
    ui->tb_add->setCheckable(true);
    ui->tb_add->setChecked(true);
    leaveDeleteMode();

    const QStringList sfilePaths = m_fileChooser(
        this, QCoreApplication::translate("frmHomePage", "Open Video File"), lastDir,
        QCoreApplication::translate("frmHomePage", "Video File(%1);;All File(*.*)").arg(Runner::videoExtensionList()));
    if (!sfilePaths.isEmpty()) {
        lastDir = QFileInfo(sfilePaths.first()).absolutePath();
        QList<ImportBatch::File> orgpaths = ImportBatch::chosenFiles(sfilePaths);
        qDebug() << "sfilePaths.size()" << sfilePaths.size() << "orgpaths.size()" << orgpaths.size();
        m_batch->check(orgpaths);
        showErrorLists();
        if (!orgpaths.isEmpty())
            startBatch(orgpaths, true);
    }

    // Unchecked first: making it not checkable alone would change its state
    // without repainting it, and it would keep its pressed look until the
    // next click.
    ui->tb_add->setChecked(false);
    ui->tb_add->setCheckable(false);
    connect(ui->tb_add, SIGNAL(clicked()), this, SLOT(slotAddVideoFile()));
}

void HomePage::dragEnterEvent(QDragEnterEvent *event)
{
    event->acceptProposedAction();
}

// The batch starts once the drop has returned: the program that the files
// were dragged from waits for the drop to end and must not wait for the
// whole import.
void HomePage::dropEvent(QDropEvent *event)
{
    if (batchRunning()) {
        qDebug() << "is parseing ";
        return;
    }
    const QList<QUrl> urls = event->mimeData() ? event->mimeData()->urls() : QList<QUrl>();
    if (urls.isEmpty())
        return;
    event->acceptProposedAction();
    m_droppedUrls = urls;
    m_dropQueued = true;
    QMetaObject::invokeMethod(this, "addDroppedUrls", Qt::QueuedConnection);
}

void HomePage::addDroppedUrls()
{
    const QList<QUrl> urls = m_droppedUrls;
    m_droppedUrls.clear();
    m_dropQueued = false;
    if (m_stopping || parseProcess->isBusy())
        return;
    QList<ImportBatch::File> orgpaths = ImportBatch::droppedFiles(urls);
    qDebug() << "urls.size()" << urls.size() << "orgpaths.size()" << orgpaths.size();
    m_batch->check(orgpaths);
    showErrorLists();
    if (!orgpaths.isEmpty())
        startBatch(orgpaths, false);
}

// Each refusal in a message of its own, in the order the files came.
void HomePage::showErrorLists()
{
    const QList<QStringList> lists = m_batch->takeRefusals();
    for (const QStringList &list : lists) {
        qDebug() << list;
        if (m_stopping)
            continue;
        FormMessage *message = AppGlobals::formMessage();
        message->setMessage(list);
        message->exec();
    }
}

void HomePage::startBatch(const QList<ImportBatch::File> &files, bool fromButton)
{
    setPlaceholdersVisible(false);
    m_batch->start(files, fromButton);
    if (!parseProcess->isBusy()) {
        parseProcess->resetProgress();
        parseProcess->exec();
        emit slgUpdateDataReadProgress(m_batch->currentFile(), 100);
    }
}

void HomePage::slotParsing(QString filename, int filepos, int filesize, bool newfile)
{
    if (parseProcess->isBusy()) {
        if (newfile) {
            const int f_parseindex = m_batch->nextFile();
            parseProcess->setCount(f_parseindex, m_batch->fileCount());
            parseProcess->setFileName(filename);
            qDebug() << " f_parseindex  start  " << f_parseindex << "    " << filesize;
        }
        emit slgUpdateDataReadProgress(filepos, filesize);
        return;
    }
    // Progress of a batch whose dialog is not up (it was closed under it):
    // the dialog comes back for the rest of the batch.
    if (m_stopping || !m_batch->workerRunning())
        return;
    parseProcess->resetProgress();
    parseProcess->exec();
    emit slgUpdateDataReadProgress(0, 100);
}

void HomePage::slotParse(BrontelVideoInfo *fBrontelVideoInfo)
{
    if (!fBrontelVideoInfo)
        return;
    m_library->append(fBrontelVideoInfo);
    emit slgUpdateDataReadProgress(100, 100);
    emit slgUpdateDataReadProgress(0, 100);
    qDebug() << "f_parseindex  end";
}

void HomePage::slotAbnormal(QStringList errorList)
{
    m_batch->refuse(errorList);
}

void HomePage::slotParsefinished()
{
    showErrorLists();
    m_batch->close();
    parseProcess->resetProgress();
    parseProcess->close();
}

void HomePage::stopImport()
{
    if (!m_batch->isActive())
        return;
    m_stopping = true;
    m_batch->stop();
    // What the batch's last reports left for the page (a message due, a drop
    // waiting) is settled now, while nothing is shown.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    parseProcess->resetProgress();
    parseProcess->close();
    m_stopping = false;
}
