#include "Form/FormGuide/userguidethird.h"
#include "ui_userguidethird.h"

#include "Form/FormGuide/faqtext.h"

UserGuideThird::UserGuideThird(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::frmUserGuideThird)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    faqtext::setLine(ui->label, tr("Common problem "));
    faqtext::setLine(ui->label_1, tr("why can not find orvalin helper? "));
    faqtext::setLine(ui->label_1_1, tr("1.start orvalin helper on PC and has IP"));
    faqtext::setLine(ui->label_1_2, tr("2.in the same WIFI"));
    faqtext::setLine(ui->label_1_4, tr("3.to much device"));
    faqtext::setParagraph(ui->label_1_5, tr("4.checkout firewall"), 190);
    faqtext::setLine(ui->label_2, tr("why slow?"));
    faqtext::setParagraph(ui->label_2_1, tr("depends on the configuration of the router and network bandwidth"), 190);
}

UserGuideThird::~UserGuideThird()
{
    delete ui;
}
