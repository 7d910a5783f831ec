#include "Form/FormGuide/qasub.h"
#include "ui_qasub.h"

#include "Form/FormGuide/guidemarkup.h"
#include "Form/FormGuide/qacontent.h"
#include "helper/weblinks.h"

#include <QPainter>
#include <QVBoxLayout>

namespace {
const QColor kTitleColour(0x45, 0x45, 0x45);
// The framed card's rows leave room for its bullet column.
const int kFramedIndent = 20;
const int kFrame = 1;
}

QAsub::QAsub(bool framed, int width, QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::frmQAsub)
    , m_width(width)
    , m_framed(framed)
{
    ui->setupUi(this);
    setFixedWidth(width);
    ui->widget_dot->setVisible(framed);
    ui->label_dot->setVisible(framed);
    if (framed) {
        ui->widget123->setStyleSheet(QStringLiteral("QWidget#widget123{background:white;border:1px solid #c6c6c6;}"));
        ui->widget_dot->setFixedWidth(kFramedIndent);
        ui->label_dot->setFixedWidth(kFramedIndent);
        QPalette palette = ui->label_title->palette();
        palette.setColor(QPalette::WindowText, kTitleColour);
        ui->label_title->setPalette(palette);
    } else {
        ui->widget_dot->setFixedWidth(0);
        ui->label_dot->setFixedWidth(0);
    }
    QFont font = ui->label_title->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    ui->label_title->setFont(font);
    ui->label_title->setTextFormat(Qt::RichText);
    // The service's links lead to web pages only.
    openWebLinksOnly(ui->label_title);

    m_rowsLayout = new QVBoxLayout;
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    m_rowsLayout->setSpacing(10);
    ui->widget_contents->setLayout(m_rowsLayout);
}

QAsub::~QAsub()
{
    delete ui;
}

void QAsub::setItem(const GuideItem &item)
{
    QVector<GuideContent> content;
    for (const GuideContent *paragraph : item.content) {
        if (paragraph)
            content.append(*paragraph);
    }
    setItem(item.title, content);
}

void QAsub::setItem(const QString &title, const QVector<GuideContent> &content)
{
    m_title = title;
    m_content = content;
}

void QAsub::build()
{
    beginBuild();
    while (buildNextRow()) {
    }
}

void QAsub::beginBuild()
{
    m_builtRows = 0;
    if (!m_title.isEmpty()) {
        ui->label_title->show();
        ui->widget_title->show();
        ui->label_title->setMinimumWidth(0);
        ui->label_title->setMaximumWidth(QWIDGETSIZE_MAX);
        ui->widget_title->setMinimumWidth(0);
        ui->widget_title->setMaximumWidth(QWIDGETSIZE_MAX);
        ui->label_title->setText(QStringLiteral("<p style='line-height:120% '>")
                                 + guidemarkup::safeRichText(m_title) + QStringLiteral("</p>"));
        ui->label_title->setWordWrap(true);
        ui->label_title->setAlignment(Qt::AlignTop);
    } else {
        ui->label_title->hide();
        ui->widget_title->hide();
        ui->label_title->setFixedWidth(0);
        ui->widget_title->setFixedWidth(0);
    }

    // A row shows again once it is laid out with this entry: until then it
    // would show an earlier entry's text, and rows of a longer earlier entry
    // are no part of this one.
    for (QAContent *row : qAsConst(m_rows))
        row->hide();

    if (m_content.isEmpty()) {
        ui->widget_contents->hide();
        ui->widget_contents->setFixedWidth(0);
        return;
    }
    ui->widget_contents->setMinimumWidth(0);
    ui->widget_contents->setMaximumWidth(QWIDGETSIZE_MAX);
    ui->widget_contents->show();
}

bool QAsub::buildNextRow()
{
    const int i = m_builtRows;
    if (i >= m_content.size())
        return false;
    if (i == m_rows.size()) {
        // Inside the card's one-pixel frame.
        const int rowWidth = (m_framed ? m_width - kFramedIndent : m_width) - 2 * kFrame;
        auto *row = new QAContent(true, rowWidth, !m_framed && i == 0, ui->widget_contents);
        m_rows.append(row);
        m_rowsLayout->addWidget(row);
    }
    m_rows[i]->setContent(m_content[i].desc, m_content[i].image);
    m_rows[i]->show();
    ++m_builtRows;
    return true;
}

void QAsub::clear()
{
    m_content.clear();
    m_builtRows = 0;
    for (QAContent *row : qAsConst(m_rows))
        row->clearPicture();
}

void QAsub::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, ui->widget123->width() - 1, ui->widget123->height() - 1);
}
