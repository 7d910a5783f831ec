#pragma once

#include <QObject>

namespace Log4Qt {

// Lets through the events whose level lies in a range.
// Only the part the logger wrapper uses: made as a child object, left at its
// defaults.
class LevelRangeFilter : public QObject
{
    Q_OBJECT

public:
    explicit LevelRangeFilter(QObject *parent = nullptr)
        : QObject(parent)
    {
    }
};

} // namespace Log4Qt
