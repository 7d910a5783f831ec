#pragma once

#include <QDialog>
#include <QPointer>

namespace Ui {
class ParseProcess;
}

// The modal dialog shown while an import batch runs: which file of how many,
// its name, and a bar for its chunks. While busy the user cannot close it:
// Escape is swallowed and a close request is answered with the shared prompt.
// The home page owns the one dialog, feeds it and resets it when the batch
// ends.
class ParseProcess : public QDialog
{
    Q_OBJECT

public:
    explicit ParseProcess(QWidget *parent = nullptr);
    ~ParseProcess() override;

    // Idle again: bar at 0 of 100, not busy.
    void resetProgress();
    // "3/5"
    void setCount(int done, int total);
    void setFileName(const QString &name);
    bool isBusy() const { return m_busy; }

    // While it runs, only the window that holds the widget is blocked, the
    // rest of the program (the tray icon's menu) is not; without it, every
    // window is.
    void blockOnlyWindowOf(QWidget *widget);

    // Busy from here until resetProgress; runs the modal loop.
    int exec() override;

public slots:
    // Chunk number and number of chunks of the file being copied.
    void slotUpdateDataReadProgress(qlonglong bytesRead, qlonglong totalBytes);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_busy = false;
    Ui::ParseProcess *m_ui;
    QPointer<QWidget> m_owner;
};
