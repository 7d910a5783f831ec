#pragma once

#include <QPainterPath>
#include <QPropertyAnimation>

// A property animation that can also carry a point along a cubic curve
// instead of a straight line: the flying pictures of the window animations
// swing in or out on such a curve.
class UUPropertyAnimation : public QPropertyAnimation
{
    Q_OBJECT

public:
    // How a point value travels from the start to the end value.
    enum PathType {
        StraightPath = 0,
        // Leaves straight towards the end and bends late.
        CurveOutPath = 1,
        // Swings in through the point half-way to the origin.
        CurveInPath = 2,
        // Stays as it is: setPathType never changes it.
        LockedPath = 3
    };

    UUPropertyAnimation(QObject *target, const QByteArray &propertyName);
    ~UUPropertyAnimation() override;

    int pathType() const { return m_pathType; }
    // Ignored once the animation's path type is LockedPath.
    void setPathType(int type);

protected:
    void updateCurrentTime(int currentTime) override;
    void updateState(QAbstractAnimation::State newState, QAbstractAnimation::State oldState) override;

private:
    void buildPath();

    int m_pathType = StraightPath;
    // Built on the first step of a curved run from the start and end values.
    QPainterPath m_path;
};
