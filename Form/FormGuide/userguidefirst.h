#pragma once

#include <QWidget>

namespace Ui {
class frmUserGuideFirst;
}

// A built-in guide page: what Orvalin is, beside an illustration of it.
class UserGuideFirst : public QWidget
{
    Q_OBJECT

public:
    explicit UserGuideFirst(QWidget *parent = nullptr);
    ~UserGuideFirst() override;

private:
    Ui::frmUserGuideFirst *ui;
};
