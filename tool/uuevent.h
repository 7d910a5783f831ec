#pragma once

#include <QEvent>

// The toolkit's own events travel as custom event types.
class UUEvent : public QEvent
{
public:
    explicit UUEvent(int type);
    ~UUEvent() override;
};

// Posted by the animation tool to the object it serves when an animation has
// ended; the receiver tells it by the event type and a dynamic type test.
class UUAnimationFinishedEvent : public UUEvent
{
public:
    // The event type the animation tool gives it.
    static constexpr int FinishedType = 1971;

    UUAnimationFinishedEvent(int type, int animationType);
    ~UUAnimationFinishedEvent() override;

    // The type number of the animation that ended (11 for the window show
    // animations).
    int animationType() const { return m_animationType; }

private:
    int m_animationType;
};
