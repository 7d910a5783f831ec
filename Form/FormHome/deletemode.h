#pragma once

#include <QObject>
#include <QSet>
#include <QVector>

class BrontelVideoInfo;
class HomeSub;
class QLabel;
class QPushButton;
class TileGrid;
class VideoLibrary;

// Delete mode of the home page: what is selected (entries of the library, in
// the order they were chosen, each once) and how the page's delete button,
// "All" and the tiles' select buttons show it. The selection is the
// entries', not the tiles': a tile that comes into view shows its entry's.
// The page's own slots decide when the mode starts and ends; the deleting
// is the library's.
class DeleteMode : public QObject
{
    Q_OBJECT

public:
    DeleteMode(QPushButton *deleteButton, QPushButton *selectAllButton, QLabel *allLabel, TileGrid *tiles,
               const VideoLibrary *library, QObject *parent = nullptr);

    bool isOn() const { return isDeleteMode; }
    const QVector<BrontelVideoInfo *> &selection() const { return delVideoInfos; }

    // The delete button: the mode starts with nothing selected, or ends. True
    // when it ended with a selection, which waits for the user's answer: the
    // look stays until then.
    bool toggle();
    // A tile's select button changed.
    void select(BrontelVideoInfo *info, bool selected);
    // "All": everything, or nothing when everything was selected.
    void toggleAll();
    // The user would not delete: the look ends, the selection stays until
    // the mode starts again.
    void cancel();
    // Ends the mode as if nothing had been chosen.
    void leave();
    // The user confirmed: the selection, taken for deleting; the mode ends.
    QVector<BrontelVideoInfo *> takeSelection();
    // The library was read anew: nothing of the old one is selected.
    void clearSelection();
    // After the library changed: the selection keeps only its entries, and
    // "All" tells the truth.
    void forgetGone();
    void updateAllSelected();

    // A tile given an entry shows whether its select button is up and
    // whether the entry is selected, so that nothing is deleted that the
    // user cannot see selected.
    void showOn(HomeSub *tile);

private:
    void setSelection(const QVector<BrontelVideoInfo *> &infos);
    // The tiles in view show the selection, without reporting it back.
    void showSelectionOnTiles();
    void setChecksVisible(bool visible);
    void setDeleteButtonStyle(bool active);
    void setSelectAllLook(bool on);
    void setSelectAllVisible(bool visible);

    QPushButton *m_deleteButton;
    QPushButton *m_selectAllButton;
    QLabel *m_allLabel;
    TileGrid *m_tiles;
    const VideoLibrary *m_library;
    bool isDeleteMode = false;
    bool isAllSelected = false;
    // The select buttons are up: in the mode, and after it until the user
    // has answered.
    bool m_checksShown = false;
    QVector<BrontelVideoInfo *> delVideoInfos;
    QSet<const BrontelVideoInfo *> m_selected;
};
