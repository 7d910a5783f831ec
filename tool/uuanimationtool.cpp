#include "tool/uuanimationtool.h"

#include "tool/uuevent.h"
#include "tool/uufunctionconfig.h"
#include "tool/uuimagewidget.h"
#include "tool/uupicturetool.h"
#include "tool/uupropertyanimation.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QParallelAnimationGroup>
#include <QScreen>
#include <QSizeF>
#include <QWidget>

namespace {

// Window opacity over a window animation's run (step: value).
const QList<QPair<qreal, QVariant>> kFlashKeyValues = {{0.0, 0.0}, {0.2, 1.0}, {1.0, 0.0}};
const QList<QPair<qreal, QVariant>> kVanishKeyValues = {{0.0, 1.0}, {0.2, 0.0}, {1.0, 0.0}};
const QList<QPair<qreal, QVariant>> kLateFlashKeyValues = {{0.0, 0.0}, {0.65, 1.0}, {1.0, 0.0}};
const QList<QPair<qreal, QVariant>> kLateAppearKeyValues = {{0.0, 0.0}, {0.8, 0.0}, {1.0, 1.0}};

const int kShortDuration = 200;
const int kDropDuration = 1200;
const int kBounceDuration = 800;
const int kPlainMoveDuration = 300;
const int kShakeOffset = 10;

// Where the notification area usually is: the picture of a window flies
// to or from there.
QPoint trayCorner()
{
    const QRect screen = UUAnimationTool::primaryScreenGeometry();
    return QPoint(screen.width() - 80, screen.height() - 40);
}

} // namespace

UUAnimationTool::UUAnimationTool(QObject *target)
    : QObject(nullptr)
    , target(target)
{
    if (target)
        connect(target, SIGNAL(destroyed()), this, SLOT(slotWatchedObjectDestroyed()));
}

UUAnimationTool::~UUAnimationTool()
{
    release();
}

void UUAnimationTool::release()
{
    for (const QPointer<QObject> &object : qAsConst(m_watched)) {
        if (object)
            disconnect(object, SIGNAL(destroyed()), this, SLOT(slotWatchedObjectDestroyed()));
    }
    m_watched.clear();
    // The animations first: they still point at the snapshots.
    delete group;
    group = nullptr;
    delete animation;
    animation = nullptr;
    delete imageSnapshot;
    imageSnapshot = nullptr;
    delete labelSnapshot;
    labelSnapshot = nullptr;
    m_animationType = NoAnimation;
}

void UUAnimationTool::watch(QObject *object)
{
    if (!object || object == target)
        return;
    for (const QPointer<QObject> &watched : qAsConst(m_watched)) {
        if (watched == object)
            return;
    }
    m_watched.append(object);
    connect(object, SIGNAL(destroyed()), this, SLOT(slotWatchedObjectDestroyed()));
}

void UUAnimationTool::slotWatchedObjectDestroyed()
{
    // The run ends where it is, short of its end, so no finished event goes
    // out; the floating pictures would otherwise hang on screen until the
    // tool is deleted.
    if (QAbstractAnimation *running = currentAnimation())
        running->stop();
    if (imageSnapshot)
        imageSnapshot->hide();
    if (labelSnapshot)
        labelSnapshot->hide();
}

QAbstractAnimation *UUAnimationTool::currentAnimation() const
{
    if (group)
        return group;
    return animation;
}

void UUAnimationTool::start()
{
    // Kept when stopped: the tool owns it and deletes it.
    if (QAbstractAnimation *run = currentAnimation())
        run->start(QAbstractAnimation::KeepWhenStopped);
}

QRect UUAnimationTool::primaryScreenGeometry()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

void UUAnimationTool::slotAnimationFinished()
{
    if (target)
        QCoreApplication::postEvent(target, new UUAnimationFinishedEvent(UUAnimationFinishedEvent::FinishedType,
                                                                         m_animationType),
                                    Qt::NormalEventPriority);
}

UUPropertyAnimation *UUAnimationTool::makeAnimation(QObject *object, const QByteArray &property,
                                                    const QVariant &from, const QVariant &to, int duration,
                                                    QEasingCurve::Type curve)
{
    auto *made = new UUPropertyAnimation(object, property);
    made->setStartValue(from);
    made->setEndValue(to);
    made->setDuration(duration);
    made->setEasingCurve(curve);
    watch(object);
    return made;
}

UUPropertyAnimation *UUAnimationTool::makeKeyValueAnimation(QObject *object, const QByteArray &property,
                                                            const KeyValues &keyValues, int duration,
                                                            QEasingCurve::Type curve)
{
    auto *made = new UUPropertyAnimation(object, property);
    for (const auto &keyValue : keyValues)
        made->setKeyValueAt(keyValue.first, keyValue.second);
    made->setDuration(duration);
    made->setEasingCurve(curve);
    watch(object);
    return made;
}

void UUAnimationTool::makeParallelGroup(const QList<QAbstractAnimation *> &animations, bool connectFinished)
{
    group = new QParallelAnimationGroup;
    for (QAbstractAnimation *part : animations)
        group->addAnimation(part);
    if (connectFinished)
        connect(group, SIGNAL(finished()), this, SLOT(slotAnimationFinished()));
}

void UUAnimationTool::setSingleAnimation(UUPropertyAnimation *made, bool connectFinished)
{
    animation = made;
    if (connectFinished)
        connect(animation, SIGNAL(finished()), this, SLOT(slotAnimationFinished()));
}

QWidget *UUAnimationTool::createLabelSnapshot(const QRect &rect)
{
    labelSnapshot = new QWidget(nullptr, UUImageWidget::kFloatingFlags);
    labelSnapshot->setAttribute(Qt::WA_TranslucentBackground);
    auto *label = new QLabel(labelSnapshot);
    label->setPixmap(UUPictureTool::pixmap(QStringLiteral("currentWidget.png")));
    label->setMinimumSize(1, 1);
    auto *layout = new QGridLayout(labelSnapshot);
    layout->addWidget(label, 0, 0);
    labelSnapshot->setGeometry(rect);
    labelSnapshot->setWindowOpacity(0);
    return labelSnapshot;
}

void UUAnimationTool::slideWidgets(QWidget *first, QWidget *second, int distance, bool toLeft)
{
    release();
    if (!first || !second)
        return;
    m_animationType = toLeft ? SlideLeft : SlideRight;
    const int away = toLeft ? -distance : distance;
    makeParallelGroup({makeAnimation(first, "pos", QPoint(0, 0), QPoint(away, 0), kShortDuration, QEasingCurve::Linear),
                       makeAnimation(second, "pos", QPoint(-away, 0), QPoint(0, 0), kShortDuration,
                                     QEasingCurve::Linear)});
}

void UUAnimationTool::fadeWidget(QWidget *widget, bool fadeIn, int duration)
{
    release();
    if (!widget)
        return;
    m_animationType = fadeIn ? FadeIn : FadeOut;
    setSingleAnimation(makeAnimation(widget, "windowOpacity", fadeIn ? 0.0 : 1.0, fadeIn ? 1.0 : 0.0, duration,
                                     QEasingCurve::Linear),
                       true);
}

void UUAnimationTool::shakeWidget(QWidget *widget, const QPoint &point)
{
    release();
    m_animationType = Shake;
    if (!widget || point.isNull())
        return;
    const int x = point.x();
    const int y = point.y();
    setSingleAnimation(makeKeyValueAnimation(widget, "pos",
                                             {{0.0, QPoint(x, y)},
                                              {0.2, QPoint(x - kShakeOffset, y)},
                                              {0.4, QPoint(x + kShakeOffset, y)},
                                              {0.6, QPoint(x - kShakeOffset, y)},
                                              {0.8, QPoint(x + kShakeOffset, y)},
                                              {1.0, QPoint(x, y)}},
                                             kShortDuration, QEasingCurve::Linear),
                       false);
}

void UUAnimationTool::resizeWidget(QWidget *widget, const QSize &fromSize, const QSize &toSize)
{
    release();
    m_animationType = Resize;
    if (!widget)
        return;
    setSingleAnimation(makeAnimation(widget, "size", fromSize, toSize, kShortDuration, QEasingCurve::Linear), false);
}

void UUAnimationTool::zoomWidget(QWidget *widget, const QSize &fromSize, const QSize &toSize, const QPoint &centre)
{
    release();
    m_animationType = Zoom;
    if (!widget || fromSize.width() < 0 || fromSize.height() < 0 || toSize.width() < 0 || toSize.height() < 0
        || centre.isNull())
        return;
    auto around = [&centre](const QSize &size) {
        return QRect(QPoint(centre.x() - size.width() / 2, centre.y() - size.height() / 2), size);
    };
    setSingleAnimation(makeAnimation(widget, "geometry", around(fromSize), around(toSize), kShortDuration,
                                     QEasingCurve::Linear),
                       true);
}

void UUAnimationTool::moveToGeometry(QWidget *widget, const QRect &rect)
{
    release();
    m_animationType = MoveToGeometry;
    if (!widget || rect.right() < rect.left() || rect.bottom() < rect.top())
        return;
    const bool bounce = UUFunctionConfig(QStringLiteral("UUConfig.xml"), true)
                            .getValue(QStringLiteral("AnimationConfig"), QStringLiteral("NeedBounce"), QString())
                            .toInt()
        != 0;
    setSingleAnimation(makeAnimation(widget, "geometry", widget->geometry(), rect,
                                     bounce ? kBounceDuration : kPlainMoveDuration,
                                     bounce ? QEasingCurve::OutBounce : QEasingCurve::Linear),
                       true);
}

void UUAnimationTool::popWidget(QWidget *widget, bool grow)
{
    release();
    m_animationType = Pop;
    if (!widget)
        return;
    const QSize none(0, 0);
    const QSize full = widget->size();
    setSingleAnimation(makeAnimation(widget, "size", grow ? none : full, grow ? full : none, kShortDuration,
                                     QEasingCurve::OutBack),
                       true);
}

void UUAnimationTool::dropWidgets(const QList<QWidget *> &widgets, double delayRatio)
{
    release();
    m_animationType = Drop;
    if (delayRatio < 0 || delayRatio > 1)
        return;
    QList<QAbstractAnimation *> drops;
    for (QWidget *widget : widgets) {
        if (!widget)
            continue;
        const QPoint place = widget->pos();
        drops.append(makeKeyValueAnimation(widget, "pos",
                                           {{0.0, QPoint(place.x(), 0)},
                                            {delayRatio, QPoint(place.x(), 0)},
                                            {1.0, place}},
                                           kDropDuration, QEasingCurve::OutBounce));
    }
    makeParallelGroup(drops, false);
}

void UUAnimationTool::moveWidget(QWidget *widget, const QPoint &point)
{
    release();
    m_animationType = Move;
    if (!widget)
        return;
    setSingleAnimation(makeAnimation(widget, "pos", widget->pos(), point, kShortDuration, QEasingCurve::Linear),
                       true);
}

void UUAnimationTool::hideWindowTo(QWidget *window, int duration, const QPoint *to)
{
    release();
    m_animationType = HideWindow;
    if (!window)
        return;
    QWidget *snapshot = createLabelSnapshot(window->geometry());
    snapshot->show();
    const QPoint topLeft = snapshot->pos();
    const QPoint centre(topLeft.x() + snapshot->width() / 2, topLeft.y() + snapshot->height() / 2);
    makeParallelGroup({makeAnimation(snapshot, "pos", topLeft, to ? *to : centre, duration, QEasingCurve::OutExpo),
                       makeAnimation(snapshot, "size", snapshot->size(), QSizeF(0.1, 0.1), duration,
                                     QEasingCurve::OutExpo),
                       makeKeyValueAnimation(snapshot, "windowOpacity", kFlashKeyValues, duration - 100,
                                             QEasingCurve::Linear),
                       makeKeyValueAnimation(window, "windowOpacity", kVanishKeyValues, duration,
                                             QEasingCurve::Linear)});
}

void UUAnimationTool::hideToCentre(QWidget *window, int duration)
{
    hideWindowTo(window, duration, nullptr);
}

void UUAnimationTool::hideToTray(QWidget *window, int duration)
{
    const QPoint corner = trayCorner();
    hideWindowTo(window, duration, &corner);
}

void UUAnimationTool::spinAway(QWidget *window, int duration)
{
    release();
    m_animationType = HideWindow;
    if (!window)
        return;
    imageSnapshot = new UUImageWidget(window->geometry());
    imageSnapshot->show();
    const QSizeF size = imageSnapshot->size();
    UUPropertyAnimation *away = makeAnimation(imageSnapshot, "pos", imageSnapshot->pos(),
                                              QPoint(primaryScreenGeometry().width(), 0), duration,
                                              QEasingCurve::Linear);
    away->setPathType(UUPropertyAnimation::CurveOutPath);
    makeParallelGroup({makeAnimation(imageSnapshot, "rotation", 0.0, 5400.0, duration, QEasingCurve::Linear),
                       away,
                       makeKeyValueAnimation(imageSnapshot, "size",
                                             {{0.0, size}, {0.5, size * 0.4}, {1.0, size * 0.1}}, duration,
                                             QEasingCurve::Linear),
                       makeAnimation(imageSnapshot, "windowOpacity", 1.0, 0.0, duration, QEasingCurve::Linear),
                       makeKeyValueAnimation(window, "windowOpacity", kVanishKeyValues, duration,
                                             QEasingCurve::Linear)});
}

void UUAnimationTool::spinIn(QWidget *window, int duration)
{
    release();
    m_animationType = ShowWindow;
    if (!window)
        return;
    window->setWindowOpacity(0);
    window->show();
    const QPoint place = window->pos();
    imageSnapshot = new UUImageWidget(QRect(place, QSize(window->width() / 10, window->height() / 10)));
    imageSnapshot->show();
    UUPropertyAnimation *in = makeAnimation(imageSnapshot, "pos", QPointF(1400.0, 0.0), place, duration,
                                            QEasingCurve::Linear);
    in->setPathType(UUPropertyAnimation::CurveInPath);
    makeParallelGroup({makeAnimation(imageSnapshot, "rotation", 0.0, -5400.0, duration, QEasingCurve::Linear),
                       makeKeyValueAnimation(imageSnapshot, "windowOpacity", kLateFlashKeyValues, duration,
                                             QEasingCurve::Linear),
                       makeKeyValueAnimation(window, "windowOpacity", kLateAppearKeyValues, duration,
                                             QEasingCurve::Linear),
                       in,
                       makeAnimation(imageSnapshot, "size", imageSnapshot->size(), window->size(), duration,
                                     QEasingCurve::Linear)});
}

void UUAnimationTool::showWindowFrom(QWidget *window, int duration, const QPoint *from)
{
    release();
    m_animationType = ShowWindow;
    if (!window)
        return;
    window->setWindowOpacity(0);
    window->show();
    QWidget *snapshot = createLabelSnapshot(window->geometry());
    snapshot->show();
    const QPoint topLeft = snapshot->pos();
    const QPoint centre(topLeft.x() + snapshot->width() / 2, topLeft.y() + snapshot->height() / 2);
    makeParallelGroup({makeAnimation(snapshot, "pos", from ? *from : centre, topLeft, duration, QEasingCurve::InCubic),
                       makeAnimation(snapshot, "size", QSizeF(0.1, 0.1), snapshot->size(), duration,
                                     QEasingCurve::InCubic),
                       makeKeyValueAnimation(snapshot, "windowOpacity", kLateFlashKeyValues, duration,
                                             QEasingCurve::Linear),
                       makeKeyValueAnimation(window, "windowOpacity", kLateAppearKeyValues, duration,
                                             QEasingCurve::Linear)});
}

void UUAnimationTool::showFromCentre(QWidget *window, int duration)
{
    showWindowFrom(window, duration, nullptr);
}

void UUAnimationTool::showFromTray(QWidget *window, int duration)
{
    const QPoint corner = trayCorner();
    showWindowFrom(window, duration, &corner);
}
