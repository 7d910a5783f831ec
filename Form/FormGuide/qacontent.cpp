#include "Form/FormGuide/qacontent.h"
#include "ui_qacontent.h"

#include "Form/FormGuide/guidemarkup.h"
#include "Form/FormGuide/guidepictureloader.h"
#include "helper/weblinks.h"

#include <QDebug>
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
        // The label lays a long text out several times over for its size
        // hints, which it then keeps: done here, that work is part of the
        // row's making, which the page times, and not of the layout pass
        // that follows.
        ui->label_desc->minimumSizeHint();
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
    m_job = GuidePictureLoader::instance()->request(url, textWidth(), this);
    if (!m_job) {
        hidePicture();
        return;
    }
    ui->label_image->clear();
    ui->label_image->show();
    connect(m_job, &GuidePictureJob::ready, this, &QAContent::pictureReady);
}

void QAContent::clearPicture()
{
    // A picture still on its way would bring back what was cleared.
    dropRequest();
    ui->label_image->clear();
    ui->label_image->setFixedHeight(0);
}

void QAContent::pictureReady(const QImage &image)
{
    if (sender() != m_job)
        return;
    m_job->deleteLater();
    m_job = nullptr;
    if (image.isNull()) {
        hidePicture();
        return;
    }
    // Shown at its own size, or fitted to the row's width by the loader.
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
    delete m_job;
    m_job = nullptr;
}

void QAContent::hidePicture()
{
    ui->label_image->clear();
    ui->label_image->hide();
    ui->label_image->setFixedHeight(0);
}
