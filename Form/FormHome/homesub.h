#pragma once

#include <QDateTime>
#include <QImage>
#include <QWidget>

class BrontelVideoInfo;
class QLabel;
class QTimer;

namespace Ui {
class frmHomeSub;
}

// One tile of the home page: the poster of a library entry with its file
// name, size and duration, a marker when the library's copy of the video is
// gone or incomplete, and the select button of delete mode. The tile shows
// its record, which is the library's: the tile must let go of its record
// (or go) before the record does. The page keeps tiles only for what is in
// or near view and hands them from one entry to the next as the view moves.
class HomeSub : public QWidget
{
    Q_OBJECT

public:
    // What every tile of a page reads from the settings, read once for all
    // of them.
    struct Settings
    {
        QString sharedFolder; // the only folder whose files a tile reads or writes
        QString language;     // which picture the missing-copy marker shows

        static Settings current();
    };

    // Reads the settings itself.
    explicit HomeSub(QWidget *parent = nullptr);
    HomeSub(const Settings &settings, QWidget *parent);
    ~HomeSub() override;

    // Shows the record (nothing for null): caption, size, duration, the
    // missing-copy marker and the poster. A poster already read (by
    // posterImage, when many tiles are made at once) saves reading it here.
    void setVideoInfo(BrontelVideoInfo *info, const QImage &poster = QImage());
    // Looks at the files again: the marker, and the poster when it is not
    // shown yet or its file has changed.
    void ChangeState();
    BrontelVideoInfo *getVideoInfo() const { return m_info; }
    // Lets go of the record and of its decoded poster, until the next
    // setVideoInfo.
    void clearVideoInfo();
    // The shared folder was moved while the program runs.
    void setSharedFolder(const QString &folder) { m_sharedFolder = folder; }

    void setCheckVisible(bool visible);
    // Sets the selection and reports it through sglSelectForDelete.
    void setChecked(bool checked);
    // A tile handed to another entry takes on that entry's selection, which
    // the selection already holds: nothing is reported.
    void showChecked(bool checked);
    bool isChecked() const { return m_checked; }

    // "20.00MB", "1.00GB": the size in KiB as the tile writes it.
    static QString formatSize(int kib);
    // "01:01:05" for 3,665 seconds.
    static QString formatDuration(int seconds);
    // The poster file at the poster size; null when it cannot be read. Safe
    // on any thread.
    static QImage posterImage(const QString &path);
    // True when the library's copy is missing or not the size recorded, or
    // the entry names a copy outside the shared folder (which is never looked at).
    static bool copyIsMissing(const BrontelVideoInfo &info, const QString &sharedFolder);

signals:
    void sglSelectForDelete(BrontelVideoInfo *info, bool checked);

public slots:
    void slotDeleteVideo();
    void scrollCaption();

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // A poster file as the system describes it; a file replaced or rewritten
    // gets a new description. Invalid when there is no file.
    struct PosterStamp
    {
        qint64 size = -1;
        QDateTime modified;
        QDateTime changed;

        static PosterStamp of(const QString &path);
        bool isValid() const { return size >= 0; }
        bool operator==(const PosterStamp &other) const
        {
            return size == other.size && modified == other.modified && changed == other.changed;
        }
    };

    void updateMarker();
    void showPoster(bool refreshing, const QImage &preloaded = QImage());
    void styleCheck();

    // The look the select button was last given: restyling costs a fresh
    // polish, so only a change restyles it.
    enum class CheckLook { Unchecked, Checked };

    Ui::frmHomeSub *m_ui;
    BrontelVideoInfo *m_info = nullptr;
    bool m_checked = false;
    // The form's own look is the unchecked one.
    CheckLook m_checkLook = CheckLook::Unchecked;
    QLabel *m_deletedMarker = nullptr;
    QTimer *m_scrollTimer = nullptr;
    int m_scrollPos = 0;
    int m_captionLength = 0;
    QString m_caption;
    // The only folder whose files the tile reads or writes.
    QString m_sharedFolder;
    // The poster file the shown poster was read from; invalid while the
    // default poster shows.
    PosterStamp m_posterStamp;
};
