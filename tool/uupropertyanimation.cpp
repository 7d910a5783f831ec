#include "tool/uupropertyanimation.h"

#include <QPointF>

UUPropertyAnimation::UUPropertyAnimation(QObject *target, const QByteArray &propertyName)
    : QPropertyAnimation(target, propertyName)
{
}

UUPropertyAnimation::~UUPropertyAnimation() = default;

void UUPropertyAnimation::setPathType(int type)
{
    if (m_pathType == LockedPath)
        return;
    m_pathType = type;
}

void UUPropertyAnimation::updateState(QAbstractAnimation::State newState, QAbstractAnimation::State oldState)
{
    // A run started again (perhaps with other start and end values) follows
    // a curve of its own, not the one of the run before.
    if (oldState == Stopped && newState == Running)
        m_path = QPainterPath();
    QPropertyAnimation::updateState(newState, oldState);
}

void UUPropertyAnimation::buildPath()
{
    const QPointF start = startValue().toPointF();
    const QPointF end = endValue().toPointF();
    const QPointF secondControl = m_pathType == CurveOutPath
        ? QPointF(end.x() - (end.x() - start.x()) / 3, end.y() + (end.y() - start.y()) / 3)
        : QPointF(start.x() * 0.5, start.y() * 0.5);
    m_path = QPainterPath();
    m_path.moveTo(start);
    m_path.cubicTo(start, secondControl, end);
}

void UUPropertyAnimation::updateCurrentTime(int currentTime)
{
    if (m_pathType != CurveOutPath && m_pathType != CurveInPath) {
        QPropertyAnimation::updateCurrentTime(currentTime);
        return;
    }
    // The object moved may have gone mid-run; it is not touched again.
    if (!targetObject()) {
        stop();
        return;
    }
    if (m_path.isEmpty())
        buildPath();

    const int total = duration();
    // t = 0 is the start and t = total the end of the curve, not its start again.
    const qreal progress = total != 0 ? qreal((currentTime - 1) % total + 1) / total : 1.0;
    qreal eased = easingCurve().valueForProgress(progress);
    if (eased > 1)
        eased -= 1;
    else if (eased < 0)
        eased += 1;

    // A curve whose ends coincide has no length: the point stays there.
    const qreal length = m_path.length();
    const QPointF point = length > 0 ? m_path.pointAtPercent(m_path.percentAtLength(length * eased))
                                     : endValue().toPointF();
    const QVariant value(point);
    updateCurrentValue(value);
    emit valueChanged(value);
}
