#pragma once

#include <QWidget>

namespace Ui {
class frmUserGuideSecond;
}

// A built-in guide page: how to use Orvalin with the phone app and with a
// headset, and which video formats it takes.
class UserGuideSecond : public QWidget
{
    Q_OBJECT

public:
    explicit UserGuideSecond(QWidget *parent = nullptr);
    ~UserGuideSecond() override;

private:
    Ui::frmUserGuideSecond *ui;
};
