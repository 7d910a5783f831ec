#include "tool/uuevent.h"

UUEvent::UUEvent(int type)
    : QEvent(static_cast<QEvent::Type>(type))
{
}

UUEvent::~UUEvent() = default;

UUAnimationFinishedEvent::UUAnimationFinishedEvent(int type, int animationType)
    : UUEvent(type)
    , m_animationType(animationType)
{
}

UUAnimationFinishedEvent::~UUAnimationFinishedEvent() = default;
