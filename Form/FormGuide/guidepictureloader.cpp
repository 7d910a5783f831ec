#include "Form/FormGuide/guidepictureloader.h"

#include "Form/FormGuide/guidepicture.h"
#include "dataproc/webrequest.h"
#include "helper/iniconfig.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFutureWatcher>
#include <QTimer>
#include <QtConcurrent>

namespace {
// Decoding is work for the processor alone: two threads keep the window
// free without taking the machine from the headset's streams.
const int kDecoders = 2;
}

GuidePictureJob::GuidePictureJob(const QUrl &url, int maxWidth, QObject *owner)
    : QObject(owner)
    , m_url(url)
    , m_maxWidth(maxWidth)
{
}

GuidePictureLoader *GuidePictureLoader::instance()
{
    static QPointer<GuidePictureLoader> loader;
    if (!loader)
        loader = new GuidePictureLoader(QCoreApplication::instance());
    return loader;
}

GuidePictureLoader::GuidePictureLoader(QObject *parent)
    : QObject(parent)
{
    m_decoders.setMaxThreadCount(kDecoders);
}

GuidePictureLoader::~GuidePictureLoader()
{
    m_waiting.clear();
    m_decoders.waitForDone();
}

void GuidePictureLoader::beginGuide()
{
    m_requested = 0;
    m_pixels = 0;
}

GuidePictureJob *GuidePictureLoader::request(const QUrl &url, int maxWidth, QObject *owner)
{
    if (m_requested >= kMaxPictures) {
        if (m_requested++ == kMaxPictures)
            qDebug() << "guide pictures: this guide has shown" << kMaxPictures << "pictures, the rest are left out";
        return nullptr;
    }
    ++m_requested;
    auto *job = new GuidePictureJob(url, maxWidth, owner);
    m_waiting.enqueue(job);
    // Started from the event loop: the row connects to the job first.
    QTimer::singleShot(0, this, [this] { startWaiting(); });
    return job;
}

void GuidePictureLoader::startWaiting()
{
    while (m_busy < kMaxBusy && !m_waiting.isEmpty()) {
        const QPointer<GuidePictureJob> job = m_waiting.dequeue();
        if (!job)
            continue;
        ++m_busy;
        auto *client = new online::WebRequest(guidepicture::kMaxBytes, this);
        m_fetching.insert(client);
        if (!client->get(job->url().toString())) {
            fetched(client, job, QStringLiteral("no web address"));
            continue;
        }
        connect(client, &online::WebRequest::finished, this,
                [this, client, job] { fetched(client, job, client->errorString()); });
        // A row that no longer shows the picture gives it up at once.
        connect(job, &QObject::destroyed, client,
                [this, client, job] { fetched(client, job, QStringLiteral("given up")); });
        auto *timer = new QTimer(client);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this,
                [this, client, job] { fetched(client, job, QStringLiteral("timed out")); });
        timer->start(IniConfig::instance()->getOutTime() * 1000);
    }
}

void GuidePictureLoader::fetched(online::WebRequest *client, const QPointer<GuidePictureJob> &job,
                                 const QString &whyNot)
{
    if (!m_fetching.remove(client))
        return;
    const QString url = client->url();
    const QByteArray body = client->body();
    client->abort();
    // Not from inside its own signal.
    client->deleteLater();
    if (body.isEmpty())
        qDebug() << "guide picture failed:" << url << whyNot;
    if (!job || body.isEmpty()) {
        decoded(job, QImage());
        return;
    }

    // Checked here, before any pixel is decoded: the guide's pixels are
    // counted as the pictures come.
    const QSize shown = guidepicture::shownSize(guidepicture::headerSize(body), job->maxWidth());
    const qint64 pixels = qint64(shown.width()) * shown.height();
    if (shown.isEmpty() || m_pixels + pixels > kMaxPixels) {
        qDebug() << "guide picture refused:" << url << "shown at" << shown << "with"
                 << m_pixels << "pixels of the guide already shown";
        decoded(job, QImage());
        return;
    }
    m_pixels += pixels;
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, job] {
        watcher->deleteLater();
        decoded(job, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(&m_decoders, guidepicture::decode, body, job->maxWidth()));
}

void GuidePictureLoader::decoded(const QPointer<GuidePictureJob> &job, const QImage &image)
{
    if (job)
        emit job->ready(image);
    release();
}

void GuidePictureLoader::release()
{
    --m_busy;
    startWaiting();
}
