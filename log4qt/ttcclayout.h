#pragma once

#include <QObject>

namespace Log4Qt {

// The layout of a log line: time, thread, category and context.
// Only the part the logger wrapper uses: made as a child object, left at its
// defaults.
class TTCCLayout : public QObject
{
    Q_OBJECT

public:
    explicit TTCCLayout(QObject *parent = nullptr)
        : QObject(parent)
    {
    }
};

} // namespace Log4Qt
