#pragma once

#include <QObject>

// Stands in for the main window, to which the headset handler reports the
// files of the library that it could not send, by slot name.
class ErrorReceiver : public QObject
{
    Q_OBJECT

signals:
    void reported(qint64 errorcode);

public slots:
    void slotToErrorcode(qint64 errorcode) { emit reported(errorcode); }
};
