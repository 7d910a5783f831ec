#include "Form/FormHome/deletemode.h"

#include "Form/FormHome/homesub.h"
#include "Form/FormHome/tilegrid.h"
#include "Form/FormHome/videolibrary.h"

#include <QLabel>
#include <QPushButton>
#include <QSet>

#include <algorithm>
#include <iterator>

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

} // namespace

DeleteMode::DeleteMode(QPushButton *deleteButton, QPushButton *selectAllButton, QLabel *allLabel, TileGrid *tiles,
                       const VideoLibrary *library, QObject *parent)
    : QObject(parent)
    , m_deleteButton(deleteButton)
    , m_selectAllButton(selectAllButton)
    , m_allLabel(allLabel)
    , m_tiles(tiles)
    , m_library(library)
{
    setSelectAllVisible(false);
    m_allLabel->setStyleSheet(QString::fromLatin1(kLabelGrey));
}

void DeleteMode::setDeleteButtonStyle(bool active)
{
    m_deleteButton->setStyleSheet(QString::fromLatin1(active ? kDeleteActive : kDeleteIdle)
                                  + QString::fromLatin1(kDeleteDisabled));
}

void DeleteMode::setSelectAllLook(bool on)
{
    m_selectAllButton->setStyleSheet(QString::fromLatin1(on ? kSelectAllOn : kSelectAllIdle));
    m_allLabel->setStyleSheet(QString::fromLatin1(on ? kLabelOn : kLabelGrey));
}

void DeleteMode::setSelectAllVisible(bool visible)
{
    m_selectAllButton->setVisible(visible);
    m_allLabel->setVisible(visible);
}

void DeleteMode::setSelection(const QVector<BrontelVideoInfo *> &infos)
{
    delVideoInfos = infos;
    m_selected = QSet<const BrontelVideoInfo *>(infos.cbegin(), infos.cend());
}

void DeleteMode::clearSelection()
{
    delVideoInfos.clear();
    m_selected.clear();
}

void DeleteMode::showSelectionOnTiles()
{
    // A copy: the grid hands its tiles to other entries as the view moves.
    const QVector<HomeSub *> tiles = m_tiles->tiles();
    for (HomeSub *tile : tiles)
        tile->showChecked(m_selected.contains(tile->getVideoInfo()));
}

void DeleteMode::setChecksVisible(bool visible)
{
    m_checksShown = visible;
    m_tiles->setCheckVisible(visible);
}

bool DeleteMode::toggle()
{
    if (!isDeleteMode) {
        isDeleteMode = true;
        setDeleteButtonStyle(true);
        setSelectAllVisible(true);
        isAllSelected = false;
        setSelectAllLook(false);
        clearSelection();
        showSelectionOnTiles();
        setChecksVisible(true);
        return false;
    }
    isDeleteMode = false;
    if (!delVideoInfos.isEmpty())
        return true;
    setDeleteButtonStyle(false);
    setChecksVisible(false);
    setSelectAllVisible(false);
    return false;
}

void DeleteMode::select(BrontelVideoInfo *info, bool selected)
{
    if (!selected) {
        if (isAllSelected) {
            isAllSelected = false;
            setSelectAllLook(false);
        }
        if (m_selected.remove(info))
            delVideoInfos.removeOne(info);
        return;
    }
    // Only an entry of the library can be deleted.
    const QVector<BrontelVideoInfo *> &entries = m_library->entries();
    if (!info || !entries.contains(info))
        return;
    if (!m_selected.contains(info)) {
        m_selected.insert(info);
        delVideoInfos.append(info);
    }
    if (delVideoInfos.size() == entries.size()) {
        isAllSelected = true;
        setSelectAllLook(true);
    }
}

// Everything is selected in library order, the order the tiles are in.
void DeleteMode::toggleAll()
{
    isAllSelected = !isAllSelected;
    setSelectAllLook(isAllSelected);
    if (isAllSelected)
        setSelection(m_library->entries());
    else
        clearSelection();
    showSelectionOnTiles();
}

void DeleteMode::cancel()
{
    isDeleteMode = false;
    setSelectAllVisible(false);
    setDeleteButtonStyle(false);
    isAllSelected = false;
    setChecksVisible(false);
}

void DeleteMode::leave()
{
    isDeleteMode = false;
    setDeleteButtonStyle(false);
    isAllSelected = false;
    setSelectAllVisible(false);
    m_selectAllButton->setStyleSheet(QString::fromLatin1(kSelectAllPlain));
    m_allLabel->setStyleSheet(QString::fromLatin1(kLabelGrey));
    clearSelection();
    setChecksVisible(false);
    showSelectionOnTiles();
}

QVector<BrontelVideoInfo *> DeleteMode::takeSelection()
{
    const QVector<BrontelVideoInfo *> chosen = delVideoInfos;
    clearSelection();
    isAllSelected = false;
    isDeleteMode = false;
    setSelectAllVisible(false);
    setDeleteButtonStyle(false);
    if (chosen.isEmpty())
        setChecksVisible(false);
    return chosen;
}

void DeleteMode::forgetGone()
{
    if (delVideoInfos.isEmpty())
        return;
    const QVector<BrontelVideoInfo *> &entries = m_library->entries();
    const QSet<BrontelVideoInfo *> library(entries.cbegin(), entries.cend());
    QVector<BrontelVideoInfo *> kept;
    kept.reserve(delVideoInfos.size());
    std::copy_if(delVideoInfos.cbegin(), delVideoInfos.cend(), std::back_inserter(kept),
                 [&library](BrontelVideoInfo *info) { return library.contains(info); });
    if (kept.size() != delVideoInfos.size())
        setSelection(kept);
}

// The selection holds library entries only, each once, so counting tells.
void DeleteMode::updateAllSelected()
{
    if (!isDeleteMode)
        return;
    const QVector<BrontelVideoInfo *> &entries = m_library->entries();
    const bool all = !entries.isEmpty() && delVideoInfos.size() == entries.size();
    if (all != isAllSelected) {
        isAllSelected = all;
        setSelectAllLook(all);
    }
}

void DeleteMode::showOn(HomeSub *tile)
{
    tile->setCheckVisible(m_checksShown);
    tile->showChecked(m_selected.contains(tile->getVideoInfo()));
}
