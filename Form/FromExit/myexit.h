#pragma once

#include <QWidget>

namespace Ui {
class frmExit;
}

// The window that the main window's close button opens: keep running in the
// background (the main window hides to the tray) or quit the program. The
// page container makes it once and shows it again each time; closing it only
// hides it.
class myExit : public QWidget
{
    Q_OBJECT

public:
    explicit myExit(QWidget *parent = nullptr);
    ~myExit() override;

signals:
    void sglRunBack();

public slots:
    void slotBackground();
    void slotExit();
    void slotClose();

private:
    Ui::frmExit *m_ui;
};
