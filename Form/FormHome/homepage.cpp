#include "Form/FormHome/homepage.h"
#include "ui_homepage.h"

#include "Form/Dialogs/formmessage.h"
#include "Form/Dialogs/prompt.h"
#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/entryfiles.h"
#include "Form/FormHome/homesub.h"
#include "Form/FormHome/librarystore.h"
#include "Form/FormHome/parseprocess.h"
#include "Form/FormHome/runner.h"
#include "Form/FormHome/startfolder.h"
#include "helper/appflags.h"
#include "helper/appglobals.h"
#include "helper/atomicfile.h"
#include "helper/iniconfig.h"
#include "platform/regularfile.h"
#include "platform/storage.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QJsonDocument>
#include <QLabel>
#include <QMimeData>
#include <QSet>
#include <QTimer>
#include <QtConcurrent>

#include <algorithm>

namespace {

// The looks of delete mode. The delete button also has a look of its own
// while the library is empty, when there is nothing it could delete.
const char kDeleteDisabled[] =
    "QPushButton:disabled{background-image:url(:/Brontel/Skin/new/delete_disable.png);border:0px;}";
const char kDeleteIdle[] =
    "QPushButton{background-image: url(:/Brontel/Skin/new/delete_normal.png);border:0px;}"
    "QPushButton:hover{background-image:url(:/Brontel/Skin/new/delete_hover.png); border:0px; }"
    "QPushButton:pressed{background-image:url(:/Brontel/Skin/new/delete_press.png); border:0px; "
    "background-color:transparent; }";
const char kDeleteActive[] = "QPushButton{background-image: url(:/Brontel/Skin/new/delete_press.png);border:0px;}";
const char kSelectAllIdle[] =
    "QPushButton{background-image: url(:/Brontel/Skin/new/delete_select_normal.png);border:0px;}"
    "QPushButton:hover{background-image:url(:/Brontel/Skin/new/delete_select_hover.png);border:0px;}"
    "QPushButton:pressed{background-image:url(:/Brontel/Skin/new/delete_select_Press.png);border:0px;}";
const char kSelectAllPlain[] =
    "QPushButton{background-image: url(:/Brontel/Skin/new/delete_select_normal.png);border:0px;}";
const char kSelectAllOn[] = "QPushButton{background-image: url(:/Brontel/Skin/new/delete_select_Press.png);border:0px;}";
const char kLabelGrey[] = "QLabel{font:16px \"Microsoft YaHei\";color:#9da1a3;background-color:transparent;};";
const char kLabelOn[] = "QLabel{font:16px \"Microsoft YaHei\";color:#28acb8;background-color:transparent;};";

// Many tiles at once (the start-up load, a rewrite): the tile area is hidden
// while they are made, so that they are styled and laid out once, together,
// rather than once per tile.
class TileBatch
{
public:
    explicit TileBatch(QWidget *area)
        : m_area(area)
        , m_shown(!area->isHidden())
    {
        if (m_shown)
            m_area->hide();
    }
    ~TileBatch()
    {
        if (m_shown)
            m_area->show();
    }
    TileBatch(const TileBatch &) = delete;
    TileBatch &operator=(const TileBatch &) = delete;

private:
    QWidget *m_area;
    bool m_shown;
};

} // namespace

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
    ui->pb_All->hide();
    ui->label_all->hide();
    ui->label_all->setStyleSheet(QString::fromLatin1(kLabelGrey));

    refreshTimer = new QTimer(this);
    connect(refreshTimer, SIGNAL(timeout()), this, SLOT(slotSendUpdateUDPMessage()));

    gridLayout = new QGridLayout;
    gridLayout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    gridLayout->setContentsMargins(6, 0, 32, 20);
    gridLayout->setHorizontalSpacing(47);
    ui->scrollAreaWidgetContents->setLayout(gridLayout);
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
}

HomePage::~HomePage()
{
    stopImport();
    // The workers go with the page (they are its children); none runs now.
    clearTiles();
    qDeleteAll(videoInfos);
    videoInfos.clear();
    delVideoInfos.clear();
    itemJsons.clear();
    errorLists.clear();
    delete parseProcess;
    delete ui;
}

// --- the library files -----------------------------------------------------

QString HomePage::sharedFolder() const
{
    return IniConfig::instance()->getVaroSharedDir();
}

QString HomePage::storePath() const
{
    return sharedFolder() + QLatin1Char('/') + librarystore::storeFileName();
}

QString HomePage::listPath() const
{
    return sharedFolder() + QLatin1Char('/') + librarystore::listFileName();
}

QString HomePage::buildListJson() const
{
    return librarystore::listText(itemJsons);
}

bool HomePage::writeListFile(const QByteArray &bytes)
{
    QString error;
    if (atomicfile::writeOwnFile(listPath(), bytes, &error))
        return true;
    reportSaveFailure(listPath(), error);
    return false;
}

// "list.json" and the library JSON the main window serves are the same
// listing, built once for both.
void HomePage::publishLibrary()
{
    const QString text = buildListJson();
    writeListFile(librarystore::listFileBytesOfText(text));
    emit sglSendJson(getJsonObjectFromString(text));
}

bool HomePage::writeStore()
{
    const QString path = storePath();
    QString error;
    if (itemJsons.isEmpty()) {
        QFile store(path);
        if (!store.exists() || store.remove())
            return true;
        error = store.errorString();
    } else if (atomicfile::writeOwnFile(path, librarystore::storeBytes(itemJsons), &error)) {
        return true;
    }
    reportSaveFailure(path, error);
    return false;
}

bool HomePage::saveVideoInfo(BrontelVideoInfo *info)
{
    if (!info)
        return false;
    const QString text = getJsonStringFromVideoInfo(info);
    if (text.isEmpty())
        return false;
    // The listing follows what the page shows, whether or not the store could
    // be written; the next successful write stores the entry too.
    itemJsons.append(text);
    return writeStore();
}

// A library that cannot be saved would be lost at the next start without
// the user knowing; they are told once for a run of failures.
void HomePage::reportSaveFailure(const QString &what, const QString &error)
{
    qWarning().noquote() << "library: cannot write" << what << error;
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

// The damaged file is kept as it was, beside the store, before the store is
// written afresh from what could be read.
bool HomePage::keepDamagedStore(const QString &why)
{
    const QString copy = sharedFolder() + QLatin1Char('/')
        + librarystore::damagedCopyName(QDateTime::currentDateTime());
    QString error;
    if (QFileInfo::exists(copy) || !atomicfile::copyToOwnFile(storePath(), copy, &error)) {
        qWarning().noquote() << "library: cannot keep the damaged store as" << copy << error;
        return false;
    }
    qWarning().noquote() << "library:" << why << "- the file is kept as" << copy;
    return true;
}

bool HomePage::moveStoreAside(const QString &why)
{
    const QString aside = sharedFolder() + QLatin1Char('/')
        + librarystore::damagedCopyName(QDateTime::currentDateTime());
    if (!platform::renameNoReplace(storePath(), aside)) {
        qWarning().noquote() << "library: cannot read" << storePath() << why << "- nor move it to" << aside;
        return false;
    }
    qWarning().noquote() << "library: cannot read" << storePath() << why << "- moved to" << aside;
    return true;
}

bool HomePage::isOwnFile(const QString &path)
{
    const QFileInfo file(path);
    return file.isFile() && !file.isSymLink();
}

QJsonObject HomePage::getJsonObjectFromString(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        qDebug() << "===> please check the string " << bytes;
    return document.object();
}

BrontelVideoInfo *HomePage::parseVideoInfo(const QJsonObject &object) const
{
    return videoInfoFromJsonObject(object, videoInfos.size());
}

void HomePage::loadVideoData()
{
    clearTiles();
    clearLibrary();

    const QString path = storePath();
    QByteArray bytes;
    QString error;
    const platform::FileRead read = platform::readRegularFile(path, librarystore::kMaxStoreBytes, &bytes, &error);
    if (read != platform::FileRead::Read && read != platform::FileRead::TooLarge) {
        // Nothing may overwrite a library that could not be read, and a pipe
        // or a device at the name has nothing to read. The name is moved
        // aside, which needs no read access; a link goes as the link, and
        // what it leads to stays as it is.
        if (read != platform::FileRead::Missing)
            moveStoreAside(error);
        setPlaceholdersVisible(true);
        updateDeleteButton();
        publishLibrary();
        return;
    }

    librarystore::StoreContents contents = librarystore::readStore(bytes);
    QStringList problems = contents.problems;
    // A store too large to read whole goes aside as it is (a copy would cost
    // as much as reading it); what its first bytes hold is kept.
    bool keptAside = false;
    if (read == platform::FileRead::TooLarge) {
        problems.prepend(QStringLiteral("only the first %1 bytes read: %2").arg(bytes.size()).arg(error));
        keptAside = moveStoreAside(error);
    }
    const QString folder = sharedFolder();
    TileBatch batch(ui->scrollAreaWidgetContents);
    for (const QString &text : qAsConst(contents.texts)) {
        const QJsonObject object = getJsonObjectFromString(text);
        BrontelVideoInfo *info = parseVideoInfo(object);
        if (!info) {
            problems << QStringLiteral("an entry is not a JSON object: ") + text.left(200);
            continue;
        }
        const QString reason = librarystore::untrustedEntryReason(*info, folder);
        if (!reason.isEmpty()) {
            // Stored with paths elsewhere, most often because the shared
            // folder was moved: when its files are in the folder under the
            // same names, the entry points there from now on. Otherwise it
            // stays listed without its files, which nothing here reads,
            // serves, writes or removes outside the folder.
            BrontelVideoInfo moved;
            if (librarystore::entryInFolder(*info, folder, &moved) && isOwnFile(moved.videopathnginx)
                && (moved.posterpathreal.isEmpty() || isOwnFile(moved.posterpathreal))) {
                qWarning().noquote() << "library: found the files of" << info->video << "in the shared folder -"
                                     << reason;
                *info = moved;
            } else {
                qWarning().noquote() << "library: kept" << info->video << "without its files -" << reason;
            }
        }
        videoInfos.append(info);
        itemJsons.append(getJsonStringFromVideoInfo(info));
    }
    addHomeSubs(videoInfos);
    for (const QString &problem : qAsConst(problems))
        qWarning().noquote() << "library:" << path << problem;

    // The store is written afresh only when it differs: a damaged one once it
    // has been kept, so nothing that could not be read is lost. One moved
    // aside is written in any case, or the next start would find none.
    const QByteArray fresh = librarystore::storeBytes(itemJsons);
    if (keptAside || fresh != bytes) {
        if (problems.isEmpty() || keptAside
            || (read == platform::FileRead::Read && keepDamagedStore(QStringLiteral("damaged store"))))
            writeStore();
    }

    setPlaceholdersVisible(videoInfos.isEmpty());
    publishLibrary();
    if (!homeSubs.isEmpty())
        startNoticeSequence();
    updateDeleteButton();
}

void HomePage::slotupdateUI()
{
    // A file refused or a missing copy brought back leaves the entries as
    // they are: their tiles only look at the files again, which spares
    // reading every poster anew.
    const bool sameEntries =
        std::equal(homeSubs.cbegin(), homeSubs.cend(), videoInfos.cbegin(), videoInfos.cend(),
                   [](const HomeSub *tile, const BrontelVideoInfo *info) { return tile->getVideoInfo() == info; });
    if (sameEntries)
        itemJsons.clear();
    else
        clearTiles();
    // The selection holds only what is still in the library.
    const QSet<BrontelVideoInfo *> library(videoInfos.cbegin(), videoInfos.cend());
    delVideoInfos.erase(std::remove_if(delVideoInfos.begin(), delVideoInfos.end(),
                                       [&library](BrontelVideoInfo *info) { return !library.contains(info); }),
                        delVideoInfos.end());
    for (int i = 0; i < videoInfos.size(); ++i) {
        BrontelVideoInfo *info = videoInfos[i];
        info->index = i;
        itemJsons.append(getJsonStringFromVideoInfo(info));
    }
    if (videoInfos.isEmpty()) {
        // Nothing is left to select.
        leaveDeleteMode();
    } else if (sameEntries) {
        for (HomeSub *tile : qAsConst(homeSubs))
            tile->ChangeState();
    } else {
        TileBatch batch(ui->scrollAreaWidgetContents);
        addHomeSubs(videoInfos);
    }
    setPlaceholdersVisible(videoInfos.isEmpty());
    updateAllSelected();
    writeStore();
    publishLibrary();
    startNoticeSequence();
    updateDeleteButton();
}

// --- tiles ---------------------------------------------------------------

// The posters are read side by side on the pool's threads; reading them one
// after another was most of the time a large library took to show.
void HomePage::addHomeSubs(const QVector<BrontelVideoInfo *> &infos)
{
    const QString folder = sharedFolder();
    QStringList paths;
    paths.reserve(infos.size());
    // A poster stored outside the shared folder is never read (the tile
    // shows the default one).
    for (const BrontelVideoInfo *info : infos)
        paths.append(librarystore::isDirectlyInside(info->posterpathreal, folder) ? info->posterpathreal : QString());
    const QList<QImage> posters = QtConcurrent::blockingMapped<QList<QImage>>(paths, &HomeSub::posterImage);
    for (int i = 0; i < infos.size(); ++i)
        addHomeSub(infos[i], posters.value(i));
}

void HomePage::addHomeSub(BrontelVideoInfo *info, const QImage &poster)
{
    if (!info)
        return;
    setPlaceholdersVisible(false);
    const int n = homeSubs.size();
    // Made inside the tile area, where the grid puts it: a shown tile moved
    // to another parent would be styled and laid out a second time.
    auto *tile = new HomeSub(ui->scrollAreaWidgetContents);
    connect(tile, SIGNAL(sglSelectForDelete(BrontelVideoInfo*,bool)), this,
            SLOT(slotSelectForDelete(BrontelVideoInfo*,bool)));
    homeSubs.append(tile);
    tile->setVideoInfo(info, poster);
    // A tile made while delete mode is on (a drop is taken in during it)
    // shows what is selected, so that nothing is deleted that the user
    // cannot see selected.
    if (isDeleteMode) {
        tile->setCheckVisible(true);
        if (delVideoInfos.contains(info))
            tile->setChecked(true);
    }
    tile->show();
    gridLayout->addWidget(tile, n / 3, n % 3);
}

void HomePage::clearTiles()
{
    const QList<HomeSub *> tiles = findChildren<HomeSub *>();
    for (HomeSub *tile : tiles)
        delete tile;
    homeSubs.clear();
    itemJsons.clear();
}

void HomePage::clearLibrary()
{
    qDeleteAll(videoInfos);
    videoInfos.clear();
    delVideoInfos.clear();
    itemJsons.clear();
}

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
    ui->tb_del->setEnabled(!homeSubs.isEmpty());
}

void HomePage::sendLibraryJson()
{
    emit sglSendJson(getJsonObjectFromString(buildListJson()));
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
    for (HomeSub *tile : qAsConst(homeSubs)) {
        if (videoInfos.contains(tile->getVideoInfo()))
            tile->ChangeState();
    }
    sendLibraryJson();
    emit sglSendUpdateUDP();
}

// --- delete mode ---------------------------------------------------------

void HomePage::setDeleteButtonStyle(bool active)
{
    ui->tb_del->setStyleSheet(QString::fromLatin1(active ? kDeleteActive : kDeleteIdle)
                              + QString::fromLatin1(kDeleteDisabled));
}

void HomePage::setSelectAllLook(bool on)
{
    ui->pb_All->setStyleSheet(QString::fromLatin1(on ? kSelectAllOn : kSelectAllIdle));
    ui->label_all->setStyleSheet(QString::fromLatin1(on ? kLabelOn : kLabelGrey));
}

void HomePage::showSelectButtons(bool visible)
{
    for (HomeSub *tile : qAsConst(homeSubs))
        tile->setCheckVisible(visible);
}

// Each tile reports its new state back through slotSelectForDelete, so the
// selection follows.
void HomePage::setEveryTileChecked(bool checked)
{
    for (HomeSub *tile : qAsConst(homeSubs))
        tile->setChecked(checked);
}

// "All" tells the truth after the library changed under delete mode. The
// selection holds library entries only, each once.
void HomePage::updateAllSelected()
{
    if (!isDeleteMode)
        return;
    const bool all = !videoInfos.isEmpty() && delVideoInfos.size() == videoInfos.size();
    if (all != isAllSelected) {
        isAllSelected = all;
        setSelectAllLook(all);
    }
}

void HomePage::slotDelVideoFile()
{
    if (batchRunning()) {
        qDebug() << "is parseing ";
        return;
    }
    if (!isDeleteMode) {
        isDeleteMode = true;
        setDeleteButtonStyle(true);
        ui->pb_All->show();
        ui->label_all->show();
        isAllSelected = false;
        setSelectAllLook(false);
        delVideoInfos.clear();
        for (HomeSub *tile : qAsConst(homeSubs)) {
            tile->setCheckVisible(true);
            tile->setChecked(false);
        }
        return;
    }
    isDeleteMode = false;
    // With a selection the look stays until the user has answered.
    if (!delVideoInfos.isEmpty()) {
        emit sglShowConfirmDel();
        return;
    }
    setDeleteButtonStyle(false);
    showSelectButtons(false);
    ui->pb_All->hide();
    ui->label_all->hide();
}

void HomePage::slotSelectForDelete(BrontelVideoInfo *psvi, bool b_willdel)
{
    if (!b_willdel) {
        if (isAllSelected) {
            isAllSelected = false;
            setSelectAllLook(false);
        }
        delVideoInfos.removeAll(psvi);
        return;
    }
    // Only an entry of the library can be deleted.
    if (!psvi || !videoInfos.contains(psvi))
        return;
    if (!delVideoInfos.contains(psvi))
        delVideoInfos.append(psvi);
    if (delVideoInfos.size() == videoInfos.size()) {
        isAllSelected = true;
        setSelectAllLook(true);
    }
}

void HomePage::slotSelectAll()
{
    delVideoInfos.clear();
    if (isAllSelected) {
        isAllSelected = false;
        setSelectAllLook(false);
        setEveryTileChecked(false);
        return;
    }
    isAllSelected = true;
    setSelectAllLook(true);
    setEveryTileChecked(true);
}

void HomePage::slotCancelDelVideoFile()
{
    isDeleteMode = false;
    ui->pb_All->hide();
    ui->label_all->hide();
    setDeleteButtonStyle(false);
    isAllSelected = false;
    showSelectButtons(false);
}

void HomePage::leaveDeleteMode()
{
    isDeleteMode = false;
    setDeleteButtonStyle(false);
    isAllSelected = false;
    ui->pb_All->hide();
    ui->label_all->hide();
    ui->pb_All->setStyleSheet(QString::fromLatin1(kSelectAllPlain));
    ui->label_all->setStyleSheet(QString::fromLatin1(kLabelGrey));
    for (HomeSub *tile : qAsConst(homeSubs)) {
        tile->setCheckVisible(false);
        tile->setChecked(false);
    }
    delVideoInfos.clear();
}

void HomePage::slotDoDelVideoFile()
{
    const QString folder = sharedFolder();
    const QVector<BrontelVideoInfo *> chosen = delVideoInfos;
    delVideoInfos.clear();
    isAllSelected = false;
    isDeleteMode = false;
    ui->pb_All->hide();
    ui->label_all->hide();
    setDeleteButtonStyle(false);
    // An answer with nothing chosen deletes nothing and leaves the library
    // files as they are.
    if (chosen.isEmpty()) {
        showSelectButtons(false);
        return;
    }

    QVector<BrontelVideoInfo *> gone;
    QStringList failed;
    for (BrontelVideoInfo *info : chosen) {
        if (!videoInfos.contains(info)) {
            // Not the library's any more: nothing of it may be read.
            qDebug() << static_cast<void *>(info) << "delete fail";
            continue;
        }
        const entryfiles::Removal removal = entryfiles::removeEntryFiles(*info, folder);
        if (!removal.removed) {
            // It keeps its files, so it stays in the library and on the page.
            qDebug().noquote() << info->videopathreal << "delete fail:" << removal.error;
            failed << info->video;
            continue;
        }
        videoInfos.removeOne(info);
        gone.append(info);
    }
    // The tiles go with the rewrite, and only then their records.
    slotupdateUI();
    qDeleteAll(gone);
    // Tiles whose entries stayed are kept as they were when nothing went, so
    // they leave delete mode here, unselected.
    leaveDeleteMode();

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
        QList<BatchFile> chosen;
        for (const QString &path : sfilePaths)
            chosen.append({path, QFileInfo(path).fileName(), QUrl()});
        QList<BatchFile> orgpaths = withoutRepeatedNames(chosen);
        qDebug() << "sfilePaths.size()" << sfilePaths.size() << "orgpaths.size()" << orgpaths.size();
        checkBatch(orgpaths);
        if (!orgpaths.isEmpty())
            startBatch(orgpaths, true);
    }

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
    QList<BatchFile> dropped;
    for (const QUrl &url : urls) {
        const QString path = url.toLocalFile();
        // A URL that is no local file has no path; the user still knows it
        // by its name.
        const QString name = path.isEmpty() ? url.fileName(QUrl::FullyDecoded) : QFileInfo(path).fileName();
        dropped.append({path, name, url});
    }
    QList<BatchFile> orgpaths = withoutRepeatedNames(dropped);
    qDebug() << "urls.size()" << urls.size() << "orgpaths.size()" << orgpaths.size();
    checkBatch(orgpaths);
    if (!orgpaths.isEmpty())
        startBatch(orgpaths, false);
}

QList<HomePage::BatchFile> HomePage::withoutRepeatedNames(const QList<BatchFile> &files)
{
    QList<BatchFile> kept;
    QSet<QString> names;
    for (const BatchFile &file : files) {
        if (names.contains(file.name))
            continue;
        names.insert(file.name);
        kept.append(file);
    }
    return kept;
}

void HomePage::checkBatch(QList<BatchFile> &files)
{
    for (int i = 0; i < files.size();) {
        const BatchFile &file = files[i];
        QStringList refusal;
        if (!Runner::isVideoSuffix(QFileInfo(file.path).suffix()) || !Runner::isLocalRegularFile(file.path)) {
            // Folders, pipes, devices and files elsewhere than on this
            // computer cannot be copied as videos.
            refusal = QStringList{QCoreApplication::translate("frmHomePage", "not video file"), file.name};
        } else {
            // Only a name whose copy is still there counts as added; a video
            // whose copy has gone is taken again and gets its copy back.
            const QString folder = sharedFolder();
            for (const BrontelVideoInfo *info : qAsConst(videoInfos)) {
                if (info->video == file.name && librarystore::isDirectlyInside(info->videopathnginx, folder)
                    && QFileInfo(info->videopathnginx).isFile()) {
                    refusal = QStringList{QCoreApplication::translate("frmHomePage", "already add the video"), file.name};
                    break;
                }
            }
        }
        if (refusal.isEmpty()) {
            ++i;
            continue;
        }
        errorLists.append(refusal);
        files.removeAt(i);
    }
    showErrorLists();
}

void HomePage::showErrorLists()
{
    const QList<QStringList> lists = errorLists;
    errorLists.clear();
    for (const QStringList &list : lists) {
        qDebug() << list;
        if (m_stopping)
            continue;
        FormMessage *message = AppGlobals::formMessage();
        message->setMessage(list);
        message->exec();
    }
}

void HomePage::startBatch(const QList<BatchFile> &files, bool fromButton)
{
    setPlaceholdersVisible(false);
    auto *runner = new Runner(this);
    runner->setVideoInfos(videoInfos);
    QStringList paths;
    QList<QUrl> urls;
    for (const BatchFile &file : files) {
        paths.append(file.path);
        urls.append(file.url);
    }
    if (fromButton)
        runner->setPaths(paths);
    else
        runner->setUrls(urls);

    connect(runner, SIGNAL(sglParse(BrontelVideoInfo*)), this, SLOT(slotParse(BrontelVideoInfo*)));
    connect(runner, SIGNAL(finished()), this, SLOT(slotParsefinished()));
    connect(runner, SIGNAL(sglAbnormal(QStringList)), this, SLOT(slotAbnormal(QStringList)));
    connect(runner, SIGNAL(sglUpdateFinish()), this, SLOT(slotUpdateFinish()));
    connect(runner, SIGNAL(sglUpdateUI()), this, SLOT(slotupdateUI()));
    connect(runner, SIGNAL(sglParsing(QString,int,int,bool)), this, SLOT(slotParsing(QString,int,int,bool)));
    m_runner = runner;
    runner->start(QThread::InheritPriority);

    parseCount = files.size();
    if (!parseProcess->isBusy()) {
        parseProcess->resetProgress();
        parseProcess->exec();
        emit slgUpdateDataReadProgress(f_parseindex, 100);
    }
}

void HomePage::slotParsing(QString filename, int filepos, int filesize, bool newfile)
{
    if (parseProcess->isBusy()) {
        if (newfile) {
            ++f_parseindex;
            parseProcess->setCount(f_parseindex, parseCount);
            parseProcess->setFileName(filename);
            qDebug() << " f_parseindex  start  " << f_parseindex << "    " << filesize;
        }
        emit slgUpdateDataReadProgress(filepos, filesize);
        return;
    }
    // Progress of a batch whose dialog is not up (it was closed under it):
    // the dialog comes back for the rest of the batch.
    if (m_stopping || !m_runner || !m_runner->isRunning())
        return;
    parseProcess->resetProgress();
    parseProcess->exec();
    emit slgUpdateDataReadProgress(0, 100);
}

void HomePage::slotParse(BrontelVideoInfo *fBrontelVideoInfo)
{
    if (!fBrontelVideoInfo)
        return;
    addHomeSub(fBrontelVideoInfo);
    videoInfos.append(fBrontelVideoInfo);
    updateAllSelected();
    saveVideoInfo(fBrontelVideoInfo);
    updateDeleteButton();
    publishLibrary();
    emit slgUpdateDataReadProgress(100, 100);
    emit slgUpdateDataReadProgress(0, 100);
    qDebug() << "f_parseindex  end";
}

void HomePage::slotAbnormal(QStringList errorList)
{
    errorLists.append(errorList);
}

void HomePage::slotParsefinished()
{
    auto *thread = qobject_cast<QThread *>(sender());
    qDebug() << thread << "finished";
    if (thread) {
        thread->quit();
        thread->wait();
    }
    if (thread == m_runner)
        m_runner = nullptr;
    showErrorLists();
    g_fileAdding = false;
    parseProcess->resetProgress();
    parseProcess->close();
    f_parseindex = 0;
    parseCount = 0;
}

void HomePage::stopImport()
{
    if (!m_runner)
        return;
    m_stopping = true;
    if (m_runner->isRunning())
        qDebug() << "import: interrupted by the end of the program";
    m_runner->requestInterruption();
    m_runner->wait();
    // The worker's last reports are still queued for this page: the videos
    // it finished are recorded, and its end clears the flag and the dialog.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    g_fileAdding = false;
    parseProcess->resetProgress();
    parseProcess->close();
    m_runner = nullptr;
    m_stopping = false;
}
