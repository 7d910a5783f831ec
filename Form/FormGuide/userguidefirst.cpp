#include "Form/FormGuide/userguidefirst.h"
#include "ui_userguidefirst.h"

#include "Form/FormGuide/faqtext.h"

UserGuideFirst::UserGuideFirst(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::frmUserGuideFirst)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    ui->label_1->setText(tr("What is Orvalin?"));
    faqtext::setParagraph(ui->label_3,
                          tr("Orvalin is the video service of Varo helper: it shares the videos in your PC's "
                             "library with the VaroVR app and with Varo headsets on the same network, so "
                             "they play there without being copied."),
                          174);
}

UserGuideFirst::~UserGuideFirst()
{
    delete ui;
}
