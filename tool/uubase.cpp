#include "tool/uubase.h"

#include "helper/atomicfile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QVBoxLayout>

UUBase::UUBase(QWidget *parent)
    : QWidget(parent)
{
}

UUBase::~UUBase() = default;

int UUBase::virtualValue()
{
    return 0;
}

void UUBase::firstHook()
{
}

void UUBase::secondHook()
{
}

void UUBase::thirdHook()
{
}

bool UUBase::embedWidget(QWidget *widget)
{
    if (!widget)
        return false;
    if (!widget->layout())
        return adoptWidget(widget);
    return embedLayout(widget);
}

bool UUBase::embedLayout(QWidget *widget)
{
    if (!widget)
        return false;
    if (layout()) {
        qWarning() << "UUBase::embedLayout:" << objectName() << "already has a layout";
        return false;
    }

    if (widget->inherits("QMainWindow")) {
        auto *central = widget->findChild<QWidget *>(QStringLiteral("centralWidget"));
        if (central && !central->layout())
            return adoptWidget(central);
        if (central && central->layout()->count() > 0) {
            // Taking the layout moves every widget in it over to this one.
            setLayout(central->layout());
            return true;
        }
    }

    auto *box = new QVBoxLayout;
    box->addWidget(widget);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    setLayout(box);
    adjustSize();
    return true;
}

bool UUBase::adoptWidget(QWidget *widget)
{
    if (!widget)
        return false;
    widget->setParent(this);
    resize(widget->size());
    return true;
}

bool UUBase::fileExists(const QString &path)
{
    return QFile::exists(path);
}

bool UUBase::copyFile(const QString &source, const QString &target, bool overwrite)
{
    if (source == target || atomicfile::sameFile(source, target))
        return true;
    if (!QFileInfo(source).isFile())
        return false;
    if (QFileInfo::exists(target) && !overwrite)
        return false;
    return atomicfile::copy(source, target);
}

bool UUBase::alwaysTrue(const QVariant &)
{
    return true;
}
