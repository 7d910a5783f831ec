#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QSet>
#include <QThreadPool>
#include <QUrl>

namespace online {
class WebRequest;
}

// One row's request for a picture. It reports once; deleting it gives the
// request up, whether it still waits, is on its way or is being decoded.
class GuidePictureJob : public QObject
{
    Q_OBJECT

public:
    GuidePictureJob(const QUrl &url, int maxWidth, QObject *owner);

    QUrl url() const { return m_url; }
    int maxWidth() const { return m_maxWidth; }

signals:
    // The picture, fitted to the row; a null image when there is none to show.
    void ready(const QImage &image);

private:
    QUrl m_url;
    int m_maxWidth;
};

// Fetches and decodes the guide's pictures for all of its rows: a handful of
// pictures at a time over the connections that the program's requests to
// one host share (a moved picture followed), the rest waiting their turn, each given `outTime` seconds
// to arrive and read no further than its cap, and decoded on threads of its
// own so that the window never waits for a picture. A guide shows a bounded
// number of pictures and pixels; those beyond are left out.
class GuidePictureLoader : public QObject
{
    Q_OBJECT

public:
    // Pictures fetched or decoded at once; each holds a connection and up to
    // a body of 10 MiB.
    static constexpr int kMaxBusy = 4;
    // What one guide may show: far more than the maker's guide has, and
    // few enough that neither connections nor memory run out.
    static constexpr int kMaxPictures = 100;
    static constexpr qint64 kMaxPixels = 32 * 1024 * 1024;

    // The one loader, made on first use; it goes with the application.
    static GuidePictureLoader *instance();

    // A new guide is being laid out: its pictures count afresh.
    void beginGuide();
    // Asks for the picture, to be shown at most maxWidth wide; the job is a
    // child of owner. Null when the guide has had all the pictures it may
    // show.
    GuidePictureJob *request(const QUrl &url, int maxWidth, QObject *owner);

    int busy() const { return m_busy; }

private:
    explicit GuidePictureLoader(QObject *parent);
    ~GuidePictureLoader() override;

    void startWaiting();
    // The request's end, however it ended (answered, timed out, given up by
    // its row); the first one counts.
    void fetched(online::WebRequest *client, const QPointer<GuidePictureJob> &job, const QString &whyNot);
    void decoded(const QPointer<GuidePictureJob> &job, const QImage &image);
    void release();

    QSet<online::WebRequest *> m_fetching;
    QThreadPool m_decoders;
    QQueue<QPointer<GuidePictureJob>> m_waiting;
    int m_busy = 0;
    int m_requested = 0;
    qint64 m_pixels = 0;
};
