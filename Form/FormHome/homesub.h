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
// its record, which is the library's: the tile must go before its record.
class HomeSub : public QWidget
{
    Q_OBJECT

public:
    explicit HomeSub(QWidget *parent = nullptr);
    ~HomeSub() override;

    // Shows the record (nothing for null): caption, size, duration, the
    // missing-copy marker and the poster. A poster already read (by
    // posterImage, when many tiles are made at once) saves reading it here.
    void setVideoInfo(BrontelVideoInfo *info, const QImage &poster = QImage());
    // Looks at the files again: the marker, and the poster when it is not
    // shown yet or its file has changed.
    void ChangeState();
    BrontelVideoInfo *getVideoInfo() const { return m_info; }

    void setCheckVisible(bool visible);
    // Sets the selection and reports it through sglSelectForDelete.
    void setChecked(bool checked);
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

    Ui::frmHomeSub *m_ui;
    BrontelVideoInfo *m_info = nullptr;
    bool m_checked = false;
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
