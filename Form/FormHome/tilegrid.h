#pragma once

#include "Form/FormHome/homesub.h"

#include <QHash>
#include <QObject>
#include <QRect>
#include <QVector>

class BrontelVideoInfo;
class QScrollArea;
class QWidget;

// The tiles of the home page: one cell per library entry, in library order,
// three to a row, in the page's scroll area. The tile area is as tall as all
// the rows, but tiles (and their decoded posters) exist only for the rows in
// view and about one view above and below it; as the view moves, the tiles
// that leave it are handed to the entries that come in. A library of ten
// thousand videos thus costs a few dozen tiles, not ten thousand. A tile
// shows its record and never owns it: the tiles of records that go let go
// of them first.
class TileGrid : public QObject
{
    Q_OBJECT

public:
    // Where the cells lie: the margins and spacing of the page's grid.
    static constexpr int kColumns = 3;
    static constexpr int kLeftMargin = 6;
    static constexpr int kTopMargin = 0;
    static constexpr int kRightMargin = 32;
    static constexpr int kBottomMargin = 20;
    static constexpr int kHorizontalSpacing = 47;
    static constexpr int kVerticalSpacing = 6;
    static constexpr int kTileWidth = 212;
    static constexpr int kTileHeight = 182;

    // The tiles are made in the scroll area's widget, which the grid sizes.
    explicit TileGrid(QScrollArea *scrollArea, QObject *parent = nullptr);

    // The entries, one cell each, in this order.
    const QVector<BrontelVideoInfo *> &entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.isEmpty(); }
    // The cells hold exactly these records, in this order.
    bool shows(const QVector<BrontelVideoInfo *> &infos) const { return m_entries == infos; }
    // The tiles made for the entries in or near view, in library order.
    const QVector<HomeSub *> &tiles() const { return m_tiles; }
    // The tile showing this record; null while it is out of view.
    HomeSub *tileOf(const BrontelVideoInfo *info) const;
    // The cell of the entry at this position, in the tile area.
    static QRect cellRect(int position);

    // The cells follow these records: tiles whose record stays keep it (and
    // move when its place changed), the others show another.
    void setEntries(const QVector<BrontelVideoInfo *> &infos);
    // One more record after the others.
    void addHomeSub(BrontelVideoInfo *info);
    // No entry is shown any more, and no tile holds a record.
    void clearTiles();
    // The tiles of these records look at their files again; the others do
    // when they come into view.
    void refresh(const QVector<BrontelVideoInfo *> &infos);
    void setCheckVisible(bool visible);

signals:
    // A tile is given an entry to show, as it is made or as it comes into
    // view; it shows the entry's selection from here on.
    void tileBound(HomeSub *tile);
    // A tile's select button changed.
    void sglSelectForDelete(BrontelVideoInfo *info, bool checked);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void updateTiles();

private:
    // The positions of the entries near view, first and one past the last.
    QPair<int, int> nearView() const;
    void updateAreaSize();
    HomeSub *takeSpareTile();

    QScrollArea *m_scrollArea;
    QWidget *m_viewport;
    QWidget *m_area;
    HomeSub::Settings m_settings;
    QVector<BrontelVideoInfo *> m_entries;
    // The tiles showing an entry, in library order, and which entry each shows.
    QVector<HomeSub *> m_tiles;
    QHash<const BrontelVideoInfo *, HomeSub *> m_tileOf;
    // Tiles that show nothing now, hidden, kept for the next entries to come
    // into view.
    QVector<HomeSub *> m_spare;
};
