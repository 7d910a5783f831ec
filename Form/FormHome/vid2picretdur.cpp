// Poster and measurements of one video, by FFmpeg.
#include "Form/FormHome/runner.h"

#include "Form/FormHome/postersize.h"
#include "helper/atomicfile.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QImage>
#include <QThread>

#include <climits>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace {

// Video packets that may go by without a picture before the search gives up
// on a file whose pictures do not decode.
constexpr int kMaxPacketsWithoutPicture = 1000;

// Lets a worker that is asked to stop leave a slow read (a large or damaged
// file) instead of finishing it.
int interruptRequested(void *)
{
    const QThread *thread = QThread::currentThread();
    return thread && thread->isInterruptionRequested() ? 1 : 0;
}

// Everything the extraction allocates, released in reverse order whatever
// step it stops at.
struct Extraction
{
    AVFormatContext *format = nullptr;
    AVCodecContext *decoder = nullptr;
    AVPacket *packet = nullptr;
    AVFrame *frame = nullptr;

    ~Extraction()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&decoder);
        avformat_close_input(&format);
    }
};

// The first video stream that is a picture sequence; cover art that a
// container carries as a one-picture "video" stream is not the video.
int firstVideoStream(const AVFormatContext *format)
{
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream *stream = format->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO
            && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return static_cast<int>(i);
    }
    return -1;
}

// Nearest-neighbour straight to the poster size and to RGB, the byte order of
// QImage's RGB888: one cheap pass, no full-size intermediate picture.
QImage posterImage(const AVFrame *frame)
{
    SwsContext *scaler = sws_getContext(frame->width, frame->height,
                                        static_cast<AVPixelFormat>(frame->format),
                                        postersize::kWidth, postersize::kHeight, AV_PIX_FMT_RGB24,
                                        SWS_POINT, nullptr, nullptr, nullptr);
    if (!scaler)
        return QImage();
    // FFmpeg's own aligned, padded buffer: the scaler's vector code may write
    // past the visible end of a row.
    uint8_t *data[4] = {};
    int linesize[4] = {};
    QImage image;
    if (av_image_alloc(data, linesize, postersize::kWidth, postersize::kHeight, AV_PIX_FMT_RGB24, 64) >= 0) {
        if (sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, data, linesize)
            == postersize::kHeight) {
            image = QImage(data[0], postersize::kWidth, postersize::kHeight, linesize[0], QImage::Format_RGB888)
                        .copy();
        }
        av_freep(&data[0]);
    }
    sws_freeContext(scaler);
    return image;
}

bool savePoster(const AVFrame *frame, const QString &posterPath)
{
    const QImage image = posterImage(frame);
    if (image.isNull())
        return false;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return false;
    // Written whole and replaced by a rename: an older, longer poster leaves
    // no tail behind, and a reader never sees half a picture.
    return atomicfile::writeOwnFile(posterPath, png);
}

} // namespace

bool Runner::vid2picretdur(const char *path, const QString &posterPath, int &duration, int &width,
                           int &height)
{
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_ERROR); });

    // Only local regular files: a FIFO or a device would block or never end.
    if (!path || !*path || !isLocalRegularFile(QFile::decodeName(path)))
        return false;

    Extraction x;
    x.format = avformat_alloc_context();
    if (!x.format)
        return false;
    x.format->interrupt_callback.callback = interruptRequested;
    // The "file" protocol alone, also for anything the file refers to: a name
    // that reads like an FFmpeg URL stays a file name, and a playlist posing
    // as a video cannot make the program fetch from the network.
    AVDictionary *options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const QByteArray url = QByteArray("file:") + path;
    const int opened = avformat_open_input(&x.format, url.constData(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)
        return false; // avformat_open_input has freed the context
    if (avformat_find_stream_info(x.format, nullptr) < 0)
        return false;

    const int videoIndex = firstVideoStream(x.format);
    if (videoIndex < 0)
        return false;
    const AVStream *stream = x.format->streams[videoIndex];
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return false;
    x.decoder = avcodec_alloc_context3(codec);
    if (!x.decoder || avcodec_parameters_to_context(x.decoder, stream->codecpar) < 0)
        return false;
    // One key frame is wanted: a single decoding thread hands it out at once
    // (frame threads first fill their pipeline), and pictures that are not key
    // frames need not be decoded at all.
    x.decoder->thread_count = 1;
    x.decoder->skip_frame = AVDISCARD_NONKEY;
    if (avcodec_open2(x.decoder, codec, nullptr) < 0)
        return false;
    x.packet = av_packet_alloc();
    x.frame = av_frame_alloc();
    if (!x.packet || !x.frame)
        return false;

    width = x.decoder->width;
    height = x.decoder->height;

    // A container without a duration (a stream written to a pipe, say) gives
    // FFmpeg's "no value" marker: that is 0 seconds, not a huge negative.
    const int64_t micros = x.format->duration;
    const int64_t seconds = micros == AV_NOPTS_VALUE || micros < 0 ? 0 : micros / AV_TIME_BASE;
    duration = static_cast<int>(qMin<int64_t>(seconds, INT_MAX));

    // The middle, in 64 bits (a long video's microseconds overflow 32), from
    // the container's own start (MPEG transport streams rarely start at 0).
    int64_t target = (seconds / 2) * AV_TIME_BASE;
    if (x.format->start_time != AV_NOPTS_VALUE && x.format->start_time > 0)
        target += x.format->start_time;
    av_seek_frame(x.format, -1, target, AVSEEK_FLAG_BACKWARD);

    auto takeKeyFrame = [&](bool *gotPicture) {
        while (avcodec_receive_frame(x.decoder, x.frame) == 0) {
            *gotPicture = true;
            if (x.frame->key_frame)
                return true;
            av_frame_unref(x.frame);
        }
        return false;
    };

    int packets = 0;
    while (av_read_frame(x.format, x.packet) >= 0) {
        if (x.packet->stream_index != videoIndex) {
            av_packet_unref(x.packet);
            continue;
        }
        ++packets;
        avcodec_send_packet(x.decoder, x.packet);
        av_packet_unref(x.packet);
        bool gotPicture = false;
        if (takeKeyFrame(&gotPicture))
            return savePoster(x.frame, posterPath);
        if (!gotPicture && packets >= kMaxPacketsWithoutPicture) {
            qDebug().noquote() << "index == 1000!    " + QFile::decodeName(path);
            return false;
        }
    }
    // The end of the file: the decoder may still hold pictures.
    avcodec_send_packet(x.decoder, nullptr);
    bool gotPicture = false;
    if (takeKeyFrame(&gotPicture))
        return savePoster(x.frame, posterPath);
    return false;
}
