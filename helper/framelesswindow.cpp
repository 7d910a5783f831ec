#include "helper/framelesswindow.h"

#include "helper/framelessdrag.h"

#include <QIcon>
#include <QWidget>

const char kProgramIconPath[] = ":/Brontel/Skin/ico/logo_16X16.png";

void setUpFramelessDialog(QWidget *dialog, DialogModality modality)
{
    if (modality == DialogModality::ApplicationModal)
        dialog->setAttribute(Qt::WA_ShowModal);
    dialog->setWindowFlags(dialog->windowFlags() | Qt::FramelessWindowHint);
    FramelessDrag::attach(dialog);
    dialog->setAttribute(Qt::WA_TranslucentBackground);
    dialog->setWindowIcon(QIcon(QLatin1String(kProgramIconPath)));
}
