#include "Form/FormHome/homesub.h"
#include "ui_homesub.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/entryfiles.h"
#include "Form/FormHome/librarystore.h"
#include "Form/FormHome/postersize.h"
#include "helper/iniconfig.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

namespace {

// One character further every half second: slow enough to read.
const int kScrollStepMs = 500;
// A caption this little wider than its label still reads whole.
const int kScrollSlack = 6;

const char kDefaultPosterStyle[] = "QPushButton{border-image:url(:/Brontel/Skin/new/DefaultPoster.png);}";

const char kCheckedStyle[] =
    "QPushButton{background-image:url(:/Brontel/Skin/new/delete_select_Press.png);border:0px;"
    "background-color:transparent;}";
const char kUncheckedStyle[] =
    "QPushButton{background-image:url(:/Brontel/Skin/new/delete_select_normal.png);border:0px;"
    "background-color:transparent;}"
    "QPushButton:hover{background-image:url(:/Brontel/Skin/new/delete_select_hover.png);}"
    "QPushButton:pressed{background-image:url(:/Brontel/Skin/new/delete_select_Press.png);}";

// The marker says "deleted" in the interface language, so each language has
// its own picture; a language without one shows a bare marker.
QString markerImage(const QString &language)
{
    static const struct { const char *code; const char *image; } table[] = {
        {"cn", "delvideo.png"},       {"us", "delvideo_us.png"}, {"jp", "delvideo_jp.png"},
        {"fr", "delvideo_fr.png"},    {"it", "delvideo_it.png"}, {"de", "delvideo_de.png"},
        {"es", "delvideo_es.png"},
    };
    for (const auto &entry : table) {
        if (language == QLatin1String(entry.code))
            return QStringLiteral(":/Brontel/Skin/new/") + QLatin1String(entry.image);
    }
    return QString();
}

QString labelStyle(const char *colour)
{
    return QStringLiteral("QLabel{font:14px \"Microsoft YaHei\";color:%1;background-color:transparent;}")
        .arg(QLatin1String(colour));
}

} // namespace

HomeSub::Settings HomeSub::Settings::current()
{
    IniConfig *config = IniConfig::instance();
    return {config->getVaroSharedDir(), config->getLanguage()};
}

HomeSub::HomeSub(QWidget *parent)
    : HomeSub(Settings::current(), parent)
{
}

HomeSub::HomeSub(const Settings &settings, QWidget *parent)
    : QWidget(parent)
    , m_ui(new Ui::frmHomeSub)
{
    m_ui->setupUi(this);
    // The tile lives inside the page's grid; it is never a window of its own,
    // so it is not made modal.
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    m_deletedMarker = new QLabel(this);
    m_deletedMarker->setObjectName(QStringLiteral("deletedMarker"));
    m_deletedMarker->setGeometry(0, 45, postersize::kWidth, 28);
    m_sharedFolder = settings.sharedFolder;
    const QString image = markerImage(settings.language);
    if (!image.isEmpty()) {
        m_deletedMarker->setStyleSheet(
            QStringLiteral("QLabel{background-image:url(%1);border:0px;background-color:transparent;}").arg(image));
    }
    m_deletedMarker->hide();

    m_ui->groupBox->hide();
    m_ui->labelName->setStyleSheet(labelStyle("#000000"));
    m_ui->labelSize->setStyleSheet(labelStyle("#6d6d6d"));
    m_ui->labelTime->setStyleSheet(labelStyle("#6d6d6d"));

    connect(m_ui->tb_check, SIGNAL(clicked()), this, SLOT(slotDeleteVideo()));
    m_scrollTimer = new QTimer(this);
    connect(m_scrollTimer, SIGNAL(timeout()), this, SLOT(scrollCaption()));
}

HomeSub::~HomeSub()
{
    delete m_ui;
}

QString HomeSub::formatSize(int kib)
{
    // Single precision, as the headset's own app shows sizes.
    const float mib = float(kib) / 1024.0f;
    if (mib < 1024.0f)
        return QString::number(double(mib), 'f', 2) + QStringLiteral("MB");
    return QString::number(double(mib / 1024.0f), 'f', 2) + QStringLiteral("GB");
}

QString HomeSub::formatDuration(int seconds)
{
    const int hours = seconds / 3600;
    const int minutes = seconds / 60 - hours * 60;
    const int secs = seconds % 60;
    auto twoDigits = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    return QCoreApplication::translate("frmHomeSub", "%1:").arg(twoDigits(hours))
        + QCoreApplication::translate("frmHomeSub", "%1:").arg(twoDigits(minutes))
        + QCoreApplication::translate("frmHomeSub", "%1").arg(twoDigits(secs));
}

bool HomeSub::copyIsMissing(const BrontelVideoInfo &info, const QString &sharedFolder)
{
    if (!librarystore::isDirectlyInside(info.videopathnginx, sharedFolder))
        return true;
    const QFileInfo copy(info.videopathnginx);
    // A copy still being written, or cut short, is not the video either.
    return !copy.isFile() || copy.size() / 1024 != info.size;
}

QImage HomeSub::posterImage(const QString &path)
{
    QImage image;
    // Only a regular file: a pipe at the name would hold the reader for good.
    if (path.isEmpty() || !QFileInfo(path).isFile() || !image.load(path))
        return QImage();
    if (image.size() != QSize(postersize::kWidth, postersize::kHeight))
        image = image.scaled(postersize::kWidth, postersize::kHeight, Qt::IgnoreAspectRatio);
    return image;
}

void HomeSub::setVideoInfo(BrontelVideoInfo *info, const QImage &poster)
{
    if (!info)
        return;
    m_info = info;
    m_ui->tb_check->hide();
    m_caption = info->video;
    m_captionLength = m_caption.length();
    m_ui->labelName->setText(m_caption);
    m_ui->labelSize->setText(formatSize(info->size));
    m_ui->labelTime->setText(info->length >= 1 ? formatDuration(info->length) : QString());
    updateMarker();
    showPoster(false, poster);
}

void HomeSub::clearVideoInfo()
{
    m_info = nullptr;
    m_scrollTimer->stop();
    m_posterStamp = PosterStamp();
    m_ui->pushButtonPic->setIcon(QIcon());
}

void HomeSub::ChangeState()
{
    if (!m_info)
        return;
    updateMarker();
    showPoster(true);
}

void HomeSub::updateMarker()
{
    m_deletedMarker->setVisible(copyIsMissing(*m_info, m_sharedFolder));
}

HomeSub::PosterStamp HomeSub::PosterStamp::of(const QString &path)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return PosterStamp();
    return {file.size(), file.lastModified(), file.metadataChangeTime()};
}

// A new tile shows the default poster while its poster is missing; a refresh
// shows the default poster it has just put in place. A refresh reads the
// poster again only when it has changed since it was shown: decoding every
// poster of a large library on each refresh held up the page.
void HomeSub::showPoster(bool refreshing, const QImage &preloaded)
{
    QPushButton *button = m_ui->pushButtonPic;
    const QString path = m_info->posterpathreal;
    auto showDefault = [this, button] {
        m_posterStamp = PosterStamp();
        button->setIcon(QIcon());
        // Restyling costs a fresh polish: a tile handed from one entry
        // without a poster to another keeps the style it has.
        const QString style = QString::fromLatin1(kDefaultPosterStyle);
        if (button->styleSheet() != style)
            button->setStyleSheet(style);
    };
    // An entry kept from a folder that was moved (or a store changed by
    // hand) may name a poster elsewhere: that is neither read nor replaced.
    if (path.isEmpty() || !librarystore::isDirectlyInside(path, m_sharedFolder)) {
        showDefault();
        return;
    }
    PosterStamp stamp = PosterStamp::of(path);
    if (refreshing && stamp.isValid() && stamp == m_posterStamp)
        return;
    if (preloaded.isNull() && !stamp.isValid()) {
        if (refreshing)
            qDebug().noquote() << m_info->video + QStringLiteral("ChangeState:: poster is deleted");
        showDefault();
        // The next refresh then finds a poster.
        entryfiles::restoreMissingPoster(*m_info, m_sharedFolder, entryfiles::defaultPosterPath());
        if (!refreshing)
            return;
        stamp = PosterStamp::of(path);
    }
    const QImage poster = preloaded.isNull() ? posterImage(path) : preloaded;
    if (poster.isNull()) {
        showDefault();
        return;
    }
    // Restyling a button costs a fresh polish; a new tile has no style yet.
    if (!button->styleSheet().isEmpty())
        button->setStyleSheet(QString());
    button->setIcon(QIcon(QPixmap::fromImage(poster)));
    button->setIconSize(QSize(postersize::kWidth, postersize::kHeight));
    m_posterStamp = stamp;
}

void HomeSub::setCheckVisible(bool visible)
{
    m_ui->tb_check->setVisible(visible);
}

void HomeSub::setChecked(bool checked)
{
    m_checked = checked;
    styleCheck();
    emit sglSelectForDelete(m_info, m_checked);
}

void HomeSub::showChecked(bool checked)
{
    m_checked = checked;
    styleCheck();
}

void HomeSub::slotDeleteVideo()
{
    m_checked = !m_checked;
    styleCheck();
    m_ui->tb_check->show();
    emit sglSelectForDelete(m_info, m_checked);
}

void HomeSub::styleCheck()
{
    const CheckLook look = m_checked ? CheckLook::Checked : CheckLook::Unchecked;
    if (look == m_checkLook)
        return;
    m_checkLook = look;
    m_ui->tb_check->setStyleSheet(QString::fromLatin1(m_checked ? kCheckedStyle : kUncheckedStyle));
}

void HomeSub::scrollCaption()
{
    if (m_scrollPos > m_captionLength)
        m_scrollPos = 0;
    m_ui->labelName->setText(m_caption.mid(m_scrollPos));
    ++m_scrollPos;
}

void HomeSub::enterEvent(QEvent *event)
{
    QWidget::enterEvent(event);
    m_ui->labelName->ensurePolished();
    const QFontMetrics metrics(m_ui->labelName->font());
    const QRect label = m_ui->labelName->geometry();
    m_scrollPos = 0;
    if (metrics.horizontalAdvance(m_caption) > (label.right() - label.left()) + kScrollSlack)
        m_scrollTimer->start(kScrollStepMs);
}

void HomeSub::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_scrollTimer->stop();
    m_ui->labelName->setText(m_caption);
}
