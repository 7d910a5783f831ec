#include "Form/FormHome/tilegrid.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/homesub.h"
#include "Form/FormHome/librarystore.h"
#include "Form/FormHome/videolibrary.h"

#include <QGridLayout>
#include <QSet>
#include <QStringList>
#include <QtConcurrent>

#include <algorithm>

namespace {

const int kColumns = 3;

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

TileGrid::TileGrid(QWidget *area, QObject *parent)
    : QObject(parent)
    , m_area(area)
    , gridLayout(new QGridLayout)
{
    gridLayout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    gridLayout->setContentsMargins(6, 0, 32, 20);
    gridLayout->setHorizontalSpacing(47);
    m_area->setLayout(gridLayout);
}

bool TileGrid::shows(const QVector<BrontelVideoInfo *> &infos) const
{
    return std::equal(homeSubs.cbegin(), homeSubs.cend(), infos.cbegin(), infos.cend(),
                      [](const HomeSub *tile, const BrontelVideoInfo *info) { return tile->getVideoInfo() == info; });
}

// The posters are read side by side on the pool's threads; reading them one
// after another was most of the time a large library took to show.
void TileGrid::addHomeSubs(const QVector<BrontelVideoInfo *> &infos)
{
    TileBatch batch(m_area);
    const QString folder = VideoLibrary::sharedFolder();
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

void TileGrid::addHomeSub(BrontelVideoInfo *info, const QImage &poster)
{
    if (!info)
        return;
    const int n = homeSubs.size();
    // Made inside the tile area, where the grid puts it: a shown tile moved
    // to another parent would be styled and laid out a second time.
    auto *tile = new HomeSub(m_area);
    connect(tile, SIGNAL(sglSelectForDelete(BrontelVideoInfo*,bool)), this,
            SIGNAL(sglSelectForDelete(BrontelVideoInfo*,bool)));
    homeSubs.append(tile);
    tile->setVideoInfo(info, poster);
    emit tileMade(tile);
    tile->show();
    gridLayout->addWidget(tile, n / kColumns, n % kColumns);
}

void TileGrid::clearTiles()
{
    const QList<HomeSub *> tiles = m_area->findChildren<HomeSub *>();
    for (HomeSub *tile : tiles)
        delete tile;
    homeSubs.clear();
}

void TileGrid::refresh(const QVector<BrontelVideoInfo *> &infos)
{
    const QSet<const BrontelVideoInfo *> records(infos.cbegin(), infos.cend());
    for (HomeSub *tile : qAsConst(homeSubs)) {
        if (records.contains(tile->getVideoInfo()))
            tile->ChangeState();
    }
}

void TileGrid::setCheckVisible(bool visible)
{
    for (HomeSub *tile : qAsConst(homeSubs))
        tile->setCheckVisible(visible);
}

void TileGrid::setChecked(bool checked)
{
    for (HomeSub *tile : qAsConst(homeSubs))
        tile->setChecked(checked);
}
