#include "Form/FormGuide/userguidesecond.h"
#include "ui_userguidesecond.h"

#include "Form/FormGuide/faqtext.h"

UserGuideSecond::UserGuideSecond(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::frmUserGuideSecond)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    faqtext::setLine(ui->label, tr("How to use?"));
    faqtext::setLine(ui->label_1, tr("how to use orvalin on VaroVR app "));
    faqtext::setLine(ui->label_1_1, tr("1.start varo orvalin helper on PC,add video;"));
    faqtext::setLine(ui->label_1_2, tr("2.Phone install VaroVR APP;"));
    faqtext::setLine(ui->label_1_3, tr("3.connect PC and Phone"));
    faqtext::setLine(ui->label_1_4, tr("4.watch video on Phone"));
    faqtext::setLine(ui->label_2, tr("how to use orvalin on varo device"));
    faqtext::setLine(ui->label_2_1, tr("1.start varo orvalin helper on PC,add video;"));
    faqtext::setLine(ui->label_2_2, tr("2.start device,connect to PC;"));
    faqtext::setLine(ui->label_2_3, tr("3.watch video on varo device"));
    faqtext::setLine(ui->label_3, tr("What video formats does it support?"));
    faqtext::setParagraph(ui->label_3_1,
                          tr("1.Orvalin supports the mainstream video formats; whether a video plays depends on "
                             "the decoding ability of your phone or headset."),
                          190);
    faqtext::setLine(ui->label_3_2, tr("2.MOV and SWF videos show no correct poster in Orvalin; they still play."));
    faqtext::setParagraph(ui->label_3_3,
                          tr("3.Some video names contain special characters that may cause the video can not play "
                             "or the video has been deleted. Please modify the video name in Chinese or English."),
                          190);
}

UserGuideSecond::~UserGuideSecond()
{
    delete ui;
}
