#include "Form/FormHome/tilegrid.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/librarystore.h"

#include <QEvent>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QStringList>
#include <QtConcurrent>

namespace {

const int kRowPitch = TileGrid::kTileHeight + TileGrid::kVerticalSpacing;
const int kColumnPitch = TileGrid::kTileWidth + TileGrid::kHorizontalSpacing;
// More posters than this at once (the first screen, a jump of the scroll
// bar) are read side by side on the pool's threads.
const int kPostersReadAlone = 4;

} // namespace

TileGrid::TileGrid(QScrollArea *scrollArea, QObject *parent)
    : QObject(parent)
    , m_scrollArea(scrollArea)
    , m_viewport(scrollArea->viewport())
    , m_area(scrollArea->widget())
    , m_settings(HomeSub::Settings::current())
{
    m_viewport->installEventFilter(this);
    connect(m_scrollArea->verticalScrollBar(), &QScrollBar::valueChanged, this, &TileGrid::updateTiles);
    updateAreaSize();
}

QRect TileGrid::cellRect(int position)
{
    const int row = position / kColumns;
    const int column = position % kColumns;
    return QRect(kLeftMargin + column * kColumnPitch, kTopMargin + row * kRowPitch, kTileWidth, kTileHeight);
}

HomeSub *TileGrid::tileOf(const BrontelVideoInfo *info) const
{
    return m_tileOf.value(info);
}

void TileGrid::setEntries(const QVector<BrontelVideoInfo *> &infos)
{
    // The folder may have been moved while the program runs.
    const QString folder = HomeSub::Settings::current().sharedFolder;
    if (folder != m_settings.sharedFolder) {
        m_settings.sharedFolder = folder;
        for (HomeSub *tile : qAsConst(m_tiles))
            tile->setSharedFolder(folder);
        for (HomeSub *tile : qAsConst(m_spare))
            tile->setSharedFolder(folder);
    }
    m_entries = infos;
    updateAreaSize();
    updateTiles();
}

void TileGrid::addHomeSub(BrontelVideoInfo *info)
{
    if (!info)
        return;
    m_entries.append(info);
    updateAreaSize();
    updateTiles();
}

void TileGrid::clearTiles()
{
    m_entries.clear();
    updateAreaSize();
    updateTiles();
}

void TileGrid::refresh(const QVector<BrontelVideoInfo *> &infos)
{
    const QSet<const BrontelVideoInfo *> records(infos.cbegin(), infos.cend());
    const QVector<HomeSub *> tiles = m_tiles;
    for (HomeSub *tile : tiles) {
        if (records.contains(tile->getVideoInfo()))
            tile->ChangeState();
    }
}

void TileGrid::setCheckVisible(bool visible)
{
    const QVector<HomeSub *> tiles = m_tiles;
    for (HomeSub *tile : tiles)
        tile->setCheckVisible(visible);
}

bool TileGrid::eventFilter(QObject *watched, QEvent *event)
{
    // Compared by the pointer kept: while the page goes, the viewport still
    // has events when the scroll area around it is gone.
    if ((event->type() == QEvent::Resize || event->type() == QEvent::Show) && watched == m_viewport)
        updateTiles();
    return QObject::eventFilter(watched, event);
}

// As tall as every row, so that the scroll bar covers the whole library.
void TileGrid::updateAreaSize()
{
    const int rows = (m_entries.size() + kColumns - 1) / kColumns;
    const int height = rows == 0 ? 0 : kTopMargin + rows * kRowPitch - kVerticalSpacing + kBottomMargin;
    m_area->setMinimumSize(kLeftMargin + kColumns * kColumnPitch - kHorizontalSpacing + kRightMargin, height);
}

QPair<int, int> TileGrid::nearView() const
{
    if (m_entries.isEmpty())
        return {0, 0};
    // A page not laid out yet is shown at least as tall as its scroll area
    // may be.
    const int viewHeight = qMax(m_viewport->height(), m_scrollArea->minimumHeight());
    const int viewTop = m_scrollArea->verticalScrollBar()->value();
    const int top = qMax(0, viewTop - viewHeight - kTopMargin);
    const int bottom = qMax(0, viewTop + 2 * viewHeight - kTopMargin);
    const int firstRow = top / kRowPitch;
    const int lastRow = bottom / kRowPitch;
    const int first = qMin(firstRow * kColumns, m_entries.size());
    const int end = qMin((lastRow + 1) * kColumns, m_entries.size());
    return {first, end};
}

HomeSub *TileGrid::takeSpareTile()
{
    if (!m_spare.isEmpty())
        return m_spare.takeLast();
    // Made inside the tile area, where it is shown: a shown tile moved to
    // another parent would be styled a second time.
    auto *tile = new HomeSub(m_settings, m_area);
    connect(tile, SIGNAL(sglSelectForDelete(BrontelVideoInfo*,bool)), this,
            SIGNAL(sglSelectForDelete(BrontelVideoInfo*,bool)));
    return tile;
}

// Only the tiles whose entry changed are given another: a tile whose entry
// stays near view keeps it, its poster and its look, and at most moves.
void TileGrid::updateTiles()
{
    const QPair<int, int> range = nearView();
    QHash<const BrontelVideoInfo *, HomeSub *> kept;
    kept.reserve(range.second - range.first);
    for (int position = range.first; position < range.second; ++position)
        kept.insert(m_entries[position], nullptr);
    for (HomeSub *tile : qAsConst(m_tiles)) {
        const auto it = kept.find(tile->getVideoInfo());
        if (it != kept.end() && !it.value()) {
            it.value() = tile;
        } else {
            tile->hide();
            tile->clearVideoInfo();
            m_spare.append(tile);
        }
    }

    QVector<HomeSub *> tiles;
    tiles.reserve(range.second - range.first);
    QVector<int> toBind;
    for (int position = range.first; position < range.second; ++position) {
        HomeSub *tile = kept.value(m_entries[position]);
        if (!tile) {
            tile = takeSpareTile();
            toBind.append(position);
        }
        const QRect cell = cellRect(position);
        if (tile->geometry() != cell)
            tile->setGeometry(cell);
        tiles.append(tile);
    }

    // The posters of the entries that came into view. One stored outside
    // the shared folder is never read (the tile shows the default one).
    QStringList paths;
    paths.reserve(toBind.size());
    for (int position : qAsConst(toBind)) {
        const QString &path = m_entries[position]->posterpathreal;
        paths.append(librarystore::isDirectlyInside(path, m_settings.sharedFolder) ? path : QString());
    }
    const QList<QImage> posters = toBind.size() > kPostersReadAlone
        ? QtConcurrent::blockingMapped<QList<QImage>>(paths, &HomeSub::posterImage)
        : QList<QImage>();
    m_tiles = tiles;
    m_tileOf.clear();
    m_tileOf.reserve(m_tiles.size());
    for (int i = 0; i < m_tiles.size(); ++i)
        m_tileOf.insert(m_entries[range.first + i], m_tiles[i]);
    for (int i = 0; i < toBind.size(); ++i) {
        const int position = toBind[i];
        HomeSub *tile = m_tiles[position - range.first];
        tile->setVideoInfo(m_entries[position], posters.value(i));
        emit tileBound(tile);
        tile->show();
    }
}
