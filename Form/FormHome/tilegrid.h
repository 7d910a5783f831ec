#pragma once

#include <QImage>
#include <QObject>
#include <QVector>

class BrontelVideoInfo;
class HomeSub;
class QGridLayout;
class QWidget;

// The tiles of the home page: one HomeSub per library entry, in library
// order, three to a row in the page's tile area. A tile shows its record
// and never owns it: the tiles of records that go are dropped first.
class TileGrid : public QObject
{
    Q_OBJECT

public:
    // The tiles are made in area, which the grid lays out.
    explicit TileGrid(QWidget *area, QObject *parent = nullptr);

    const QVector<HomeSub *> &tiles() const { return homeSubs; }
    bool isEmpty() const { return homeSubs.isEmpty(); }
    // The tiles show exactly these records, in this order.
    bool shows(const QVector<BrontelVideoInfo *> &infos) const;

    // A tile for the record after the others; a poster already read saves
    // reading it here.
    void addHomeSub(BrontelVideoInfo *info, const QImage &poster = QImage());
    // Tiles for all these records, made and laid out together.
    void addHomeSubs(const QVector<BrontelVideoInfo *> &infos);
    void clearTiles();
    // The tiles of these records look at their files again.
    void refresh(const QVector<BrontelVideoInfo *> &infos);
    void setCheckVisible(bool visible);
    // Each tile reports its new state through sglSelectForDelete.
    void setChecked(bool checked);

signals:
    // A tile was made and is about to be shown.
    void tileMade(HomeSub *tile);
    // A tile's select button changed.
    void sglSelectForDelete(BrontelVideoInfo *info, bool checked);

private:
    QWidget *m_area;
    QGridLayout *gridLayout;
    QVector<HomeSub *> homeSubs;
};
