#pragma once

#include <QWidget>

namespace Ui {
class frmUserGuideThird;
}

// A built-in guide page: why the headset may not find the PC, and why
// playback may be slow.
class UserGuideThird : public QWidget
{
    Q_OBJECT

public:
    explicit UserGuideThird(QWidget *parent = nullptr);
    ~UserGuideThird() override;

private:
    Ui::frmUserGuideThird *ui;
};
