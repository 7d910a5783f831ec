#pragma once

#include <QWidget>

namespace Ui {
class frmConfirmDelete;
}

// Asks the user to confirm the deletion of the videos selected on the home
// page and reports the answer; the home page does the deleting. The page
// container makes it once, without a parent, and shows it for every
// confirmation; between uses it is only hidden.
//
// The order of closing and signalling is part of the answer: on "yes" the
// home page deletes while this window is still up and the window closes
// afterwards; on "cancel" and on the close button the window is gone before
// the home page leaves its delete mode.
class ConfirmDelete : public QWidget
{
    Q_OBJECT

public:
    explicit ConfirmDelete(QWidget *parent = nullptr);
    ~ConfirmDelete() override;

signals:
    void sglDoDelVideoFile();
    void sglCancelDelVideoFile();

public slots:
    void slotCancel();
    void slotDelete();
    void slotClose();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Ui::frmConfirmDelete *m_ui;
};
