#include "Form/FormGuide/qacontent.h"
#include "ui_qacontent.h"

#include "Form/FormGuide/guidemarkup.h"
#include "Form/FormGuide/guidepicture.h"
#include "helper/weblinks.h"

#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPixmap>

namespace {
const QColor kTextColour(0x45, 0x45, 0x45);
}

QAContent::QAContent(bool plain, int width, bool showDot, QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::frmQAContent)
{
    ui->setupUi(this);
    setFixedWidth(width);
    if (plain) {
        ui->widget_dot->setFixedWidth(0);
        ui->label_dot->setFixedWidth(0);
        ui->widget_dot->hide();
        ui->label_dot->hide();
    } else {
        ui->widget_dot->setFixedWidth(20);
        ui->label_dot->setFixedWidth(20);
        ui->widget_dot->show();
        ui->label_dot->setVisible(showDot);
        QPalette palette = ui->label_desc->palette();
        palette.setColor(QPalette::WindowText, kTextColour);
        ui->label_desc->setPalette(palette);
    }
    QFont font = ui->label_desc->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2.0);
    ui->label_desc->setFont(font);
    ui->label_desc->setTextFormat(Qt::RichText);
    // The service's links lead to web pages only.
    openWebLinksOnly(ui->label_desc);
    ui->label_image->setAlignment(Qt::AlignHCenter);
    ui->verticalLayout->setAlignment(ui->label_image, Qt::AlignHCenter);

    m_manager = new QNetworkAccessManager(this);
    connect(m_manager, SIGNAL(finished(QNetworkReply*)), this, SLOT(replyFinished(QNetworkReply*)));
}

QAContent::~QAContent()
{
    dropRequest();
    delete ui;
}

void QAContent::setContent(const QString &desc, const QString &imageUrl)
{
    dropRequest();
    m_imageUrl = imageUrl;

    if (!desc.isEmpty()) {
        // A row reused after an empty paragraph had its height fixed at 0.
        ui->label_desc->setMinimumHeight(0);
        ui->label_desc->setMaximumHeight(QWIDGETSIZE_MAX);
        ui->label_desc->show();
        ui->label_desc->setText(QStringLiteral("<p style='line-height:120% '>") + guidemarkup::safeRichText(desc)
                                + QStringLiteral("</p>"));
        ui->label_desc->setWordWrap(true);
        ui->label_desc->setAlignment(Qt::AlignTop);
        // The row's width is fixed, so the paragraph's height is known: no
        // gap below a short one, no cut line below a long one.
        ui->label_desc->setFixedHeight(ui->label_desc->heightForWidth(textWidth()));
    } else {
        ui->label_desc->hide();
        ui->label_desc->setFixedHeight(0);
    }

    if (imageUrl.isEmpty()) {
        hidePicture();
        return;
    }
    const QUrl url(imageUrl, QUrl::TolerantMode);
    if (!online::isWebUrl(url)) {
        qDebug() << "guide picture not fetched:" << imageUrl;
        hidePicture();
        return;
    }
    ui->label_image->clear();
    ui->label_image->show();
    m_reply = m_manager->get(QNetworkRequest(url));
    connect(m_reply, SIGNAL(downloadProgress(qint64,qint64)), this, SLOT(pictureProgress(qint64,qint64)));
}

void QAContent::clearPicture()
{
    // A picture still on its way would bring back what was cleared.
    dropRequest();
    ui->label_image->clear();
    ui->label_image->setFixedHeight(0);
}

void QAContent::pictureProgress(qint64 received, qint64 total)
{
    if (sender() != m_reply)
        return;
    if (received > guidepicture::kMaxBytes || total > guidepicture::kMaxBytes) {
        qDebug() << "guide picture too large:" << m_imageUrl << qMax(received, total);
        dropRequest();
        hidePicture();
    }
}

void QAContent::replyFinished(QNetworkReply *reply)
{
    if (!reply)
        return;
    reply->deleteLater();
    if (reply != m_reply)
        return;
    m_reply = nullptr;

    QImage image;
    if (reply->error() == QNetworkReply::NoError)
        image = guidepicture::decode(reply->readAll());
    else
        qDebug() << "guide picture failed:" << m_imageUrl << reply->errorString();
    if (image.isNull()) {
        hidePicture();
        return;
    }
    // Shown at its own size; only a picture wider than the row is scaled
    // down to fit it.
    if (image.width() > textWidth())
        image = image.scaledToWidth(textWidth(), Qt::SmoothTransformation);
    const QPixmap pixmap = QPixmap::fromImage(image);
    ui->label_image->setFixedSize(pixmap.size());
    ui->label_image->setPixmap(pixmap);
    ui->label_image->setAlignment(Qt::AlignHCenter);
    ui->label_image->show();
}

int QAContent::textWidth() const
{
    if (ui->widget_dot->isHidden())
        return width();
    return width() - ui->widget_dot->maximumWidth() - ui->horizontalLayout_3->spacing();
}

void QAContent::dropRequest()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    m_reply = nullptr;
    reply->abort();
    reply->deleteLater();
}

void QAContent::hidePicture()
{
    ui->label_image->clear();
    ui->label_image->hide();
    ui->label_image->setFixedHeight(0);
}
