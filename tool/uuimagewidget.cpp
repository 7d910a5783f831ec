#include "tool/uuimagewidget.h"

#include "tool/uupicturetool.h"

#include <QPainter>

UUImageWidget::UUImageWidget(const QRect &rect)
    : QWidget(nullptr, kFloatingFlags)
    , m_pixmap(UUPictureTool::pixmap(QStringLiteral("currentWidget.png")))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setGeometry(QRect(QPoint(2 * rect.left() - rect.right() - 1, 2 * rect.top() - rect.bottom() - 1),
                      QPoint(2 * rect.right() - rect.left() + 1, 2 * rect.bottom() - rect.top() + 1)));
}

UUImageWidget::~UUImageWidget() = default;

void UUImageWidget::setRotation(double rotation)
{
    m_rotation = rotation / 5;
    update();
}

void UUImageWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    const QPointF centre(width() / 2.0, height() / 2.0);
    painter.translate(centre);
    painter.rotate(m_rotation);
    painter.translate(-centre);
    painter.drawPixmap(QRect(width() / 3, height() / 3, width() / 3, height() / 3), m_pixmap);
}
