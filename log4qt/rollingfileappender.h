#pragma once

#include <QObject>

namespace Log4Qt {

// Writes events to a file that is rolled over at a size limit.
// Only the part the logger wrapper uses: made as a child object, left at its
// defaults.
class RollingFileAppender : public QObject
{
    Q_OBJECT

public:
    explicit RollingFileAppender(QObject *parent = nullptr)
        : QObject(parent)
    {
    }
};

} // namespace Log4Qt
