#pragma once

#include <QEasingCurve>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QRect>
#include <QVariant>

class QAbstractAnimation;
class QParallelAnimationGroup;
class QWidget;
class UUImageWidget;
class UUPropertyAnimation;

// Plays one ready-made animation on one or more widgets: slides, fades, a
// shake, resizes, zooms, a bouncing move, a pop, a drop-in, and the show and
// hide animations of a main window, in which a floating picture flies, turns,
// grows or shrinks while the window fades. When a connected animation ends,
// the object the tool serves gets a UUAnimationFinishedEvent carrying the
// animation type; that object decides when to delete the tool.
//
// A tool holds one animation at a time: asking for another frees the one
// before. Should a widget it moves, or the object it serves, be deleted
// mid-run, the animation stops there and nothing touches the deleted object.
class UUAnimationTool : public QObject
{
    Q_OBJECT

public:
    enum AnimationType {
        SlideLeft = 0,
        SlideRight = 1,
        FadeIn = 2,
        FadeOut = 3,
        Shake = 4,
        Resize = 5,
        Zoom = 6,
        MoveToGeometry = 7,
        Pop = 8,
        Drop = 9,
        HideWindow = 10,
        ShowWindow = 11,
        Move = 12,
        NoAnimation = 13
    };

    // target receives the finished events; it may be null (then none is sent).
    explicit UUAnimationTool(QObject *target);
    ~UUAnimationTool() override;

    // Runs what the last animation operation built; nothing when it built
    // nothing.
    void start();
    int animationType() const { return m_animationType; }
    // The group or the single animation that start() runs; null when none.
    QAbstractAnimation *currentAnimation() const;

    static QRect primaryScreenGeometry();

    // Widget arguments are not owned; durations are in milliseconds.
    void slideWidgets(QWidget *first, QWidget *second, int distance, bool toLeft);
    void fadeWidget(QWidget *widget, bool fadeIn, int duration);
    void shakeWidget(QWidget *widget, const QPoint &point);
    void resizeWidget(QWidget *widget, const QSize &fromSize, const QSize &toSize);
    void zoomWidget(QWidget *widget, const QSize &fromSize, const QSize &toSize, const QPoint &centre);
    void moveToGeometry(QWidget *widget, const QRect &rect);
    void popWidget(QWidget *widget, bool grow);
    // Each widget waits at the top for delayRatio of the run, then falls into
    // its place.
    void dropWidgets(const QList<QWidget *> &widgets, double delayRatio);
    void hideToCentre(QWidget *window, int duration);
    void hideToTray(QWidget *window, int duration);
    void spinAway(QWidget *window, int duration);
    void spinIn(QWidget *window, int duration);
    void showFromCentre(QWidget *window, int duration);
    void showFromTray(QWidget *window, int duration);
    void moveWidget(QWidget *widget, const QPoint &point);

private slots:
    virtual void slotAnimationFinished();
    void slotWatchedObjectDestroyed();

private:
    using KeyValues = QList<QPair<qreal, QVariant>>;

    UUPropertyAnimation *makeAnimation(QObject *object, const QByteArray &property, const QVariant &from,
                                       const QVariant &to, int duration, QEasingCurve::Type curve);
    UUPropertyAnimation *makeKeyValueAnimation(QObject *object, const QByteArray &property,
                                               const KeyValues &keyValues, int duration, QEasingCurve::Type curve);
    void makeParallelGroup(const QList<QAbstractAnimation *> &animations, bool connectFinished = true);
    void setSingleAnimation(UUPropertyAnimation *animation, bool connectFinished);
    QWidget *createLabelSnapshot(const QRect &rect);
    void showWindowFrom(QWidget *window, int duration, const QPoint *from);
    void hideWindowTo(QWidget *window, int duration, const QPoint *to);
    // Frees the animation, the snapshots and the watches of the run before;
    // the tool is then as if new.
    void release();
    // A deleted object stops the run: a widget the tool moves, or the object
    // it serves.
    void watch(QObject *object);

    QPointer<QObject> target;
    UUImageWidget *imageSnapshot = nullptr;
    QWidget *labelSnapshot = nullptr;
    QParallelAnimationGroup *group = nullptr;
    UUPropertyAnimation *animation = nullptr;
    int m_animationType = NoAnimation;
    QList<QPointer<QObject>> m_watched;
};
