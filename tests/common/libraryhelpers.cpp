#include "common/libraryhelpers.h"

#include "common/testenv.h"

#include "Form/Dialogs/formmessage.h"
#include "Form/Dialogs/prompt.h"
#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/homepage.h"
#include "Form/FormHome/homesub.h"
#include "helper/appflags.h"
#include "helper/iniconfig.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextDocumentFragment>

std::unique_ptr<TestUser> newLibraryUser(SharedFolder sharedFolder)
{
    auto user = std::make_unique<TestUser>();
    if (!user->isValid())
        return nullptr;
    IniConfig::instance()->setVaroSharedDir(user->sharedFolder());
    IniConfig::instance()->setLanguage("us");
    if (sharedFolder == SharedFolder::Made && !QDir().mkpath(user->sharedFolder()))
        return nullptr;
    if (!QDir().mkpath(user->root() + "/src"))
        return nullptr;
    g_fileAdding = false;
    return user;
}

ModalAnswerer::ModalAnswerer()
{
    connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
    m_timer.start(20);
}

void ModalAnswerer::answer()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (auto *message = qobject_cast<FormMessage *>(modal)) {
        const QString body = QTextDocumentFragment::fromHtml(message->findChild<QLabel *>("lbPromptText")->text())
                                 .toPlainText()
                                 .remove('\n');
        messages << message->findChild<QLabel *>("label")->text() + "|" + body;
        message->findChild<QPushButton *>("btnOk")->click();
    } else if (auto *prompt = qobject_cast<Prompt *>(modal)) {
        prompts << prompt->promptText();
        prompt->findChild<QPushButton *>("btnOk")->click();
    }
}

NoticeRecorder::NoticeRecorder(HomePage *page)
{
    m_clock.start();
    connect(page, &HomePage::sglSendUpdateUDP, this, [this] { updates << m_clock.elapsed(); });
    connect(page, &HomePage::sglSendRefreshUDP, this, [this] { refreshes << m_clock.elapsed(); });
    connect(page, &HomePage::sglSendJson, this, [this](const QJsonObject &json) { jsons << json; });
}

void dropOn(QWidget *page, const QList<QUrl> &urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint where(200, 200);
    QDragEnterEvent enter(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page, &drop);
}

QStringList storedTexts(const QByteArray &bytes)
{
    QDataStream in(bytes);
    in.setVersion(15);
    QStringList texts;
    while (!in.atEnd()) {
        QByteArray record;
        in >> record;
        texts << QString::fromUtf8(record.constData());
    }
    return texts;
}

QByteArray storeOf(const QVector<BrontelVideoInfo *> &library)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (const BrontelVideoInfo *info : library)
        out << getJsonStringFromVideoInfo(info).toUtf8().constData();
    return bytes;
}

QByteArray listingOf(const QVector<BrontelVideoInfo *> &library)
{
    QStringList items;
    for (const BrontelVideoInfo *info : library)
        items << getJsonStringFromVideoInfo(info);
    return "{\"number\":\"" + QByteArray::number(library.size()) + "\",\"items\": [" + items.join(',').toUtf8()
        + "]}\n";
}

QStringList tileNames(const HomePage &page)
{
    QStringList names;
    for (const HomeSub *tile : page.tiles())
        names << tile->findChild<QLabel *>("labelName")->text();
    return names;
}

QStringList sharedEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
