// The main window's side of the embedded HTTP server: starting it, the
// library it answers from, and where its errors go.
#include "src/brontel.h"

#include "Form/FormHome/homepage.h"
#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/libraryread.h"
#include "Form/FormHome/videolibrary.h"
#include "Form/FormMainWidget/mainwidget.h"
#include "helper/iniconfig.h"
#include "platform/sockets.h"
#include "servermanager/headsethandler.h"
#include "servermanager/libraryindex.h"
#include "servermanager/replychannel.h"
#include "servermanager/tcpservermanage.h"

#include <QDebug>
#include <QHostAddress>

namespace {

// What requests may find of each entry, as its item text names it.
QVector<LanHttpServer::LibraryIndex::Item> indexItems(const LibraryRead &read)
{
    QVector<LanHttpServer::LibraryIndex::Item> items;
    items.reserve(int(read.entries.size()));
    for (const std::unique_ptr<BrontelVideoInfo> &entry : read.entries)
        items.append(indexItemOf(*entry));
    return items;
}

} // namespace

// Requests that come before the library is read wait for it; the home page
// takes the same read when it loads.
void Brontel::readLibraryAhead(const QString &sharedFolder)
{
    LanHttpServer::LibraryIndex *index = m_library.get();
    VideoLibrary::readAhead(sharedFolder, [index](const LibraryRead &read) {
        index->replace(indexItems(read), read.json.compact());
    });
}

void Brontel::startServing(const QString &sharedFolder)
{
    m_sharedDir = sharedFolder;
    // Every connection the server holds costs a descriptor, and the server
    // holds as many as the process may have: raised to the most the system
    // allows before it counts them.
    qDebug() << "open file limit" << platform::raiseOpenFileLimit();
    readLibraryAhead(sharedFolder);
    m_server = new LanHttpServer::TcpServerManage(IniConfig::instance()->getHandleMax());
    InitServer();
}

void Brontel::InitServer()
{
    // Only the copies and posters in the shared folder are ever sent; the
    // server checks each file as it opens it.
    m_server->setServedFolder(m_sharedDir);
    m_headset = std::make_unique<LanHttpServer::HeadsetHandler>(*m_library, m_sharedDir, this,
                                                                SLOT(slotToErrorcode(qint64)));
    m_server->setHttpAcceptedCallback([this](const LanHttpServer::Request &request,
                                             const LanHttpServer::ReplyChannel &reply) {
        handleHttpRequest(request, reply);
    });
    if (m_httpPort == 0 || !m_server->listen(QHostAddress(QHostAddress::Any), quint16(m_httpPort)))
        qDebug() << "listen:" << false;
    else
        qDebug().noquote() << "HTTP server listening on port" << m_httpPort;
}

bool Brontel::httpServerListening() const
{
    return m_server && m_server->isListening();
}

void Brontel::handleHttpRequest(const LanHttpServer::Request &request,
                                const LanHttpServer::ReplyChannel &reply) const
{
    if (m_headset)
        m_headset->handle(request, reply);
}

QJsonObject Brontel::libraryJson() const
{
    return m_library->listing();
}

void Brontel::slotSendJson(QJsonObject jsonObject)
{
    // The home page announces the library it holds, which keeps its compact
    // form ready: the same object (told at once) needs it not written again.
    const VideoLibrary *held = m_mainWidget ? m_mainWidget->homePage()->videoLibrary() : nullptr;
    if (held && jsonObject == held->listObject())
        m_library->replace(jsonObject, held->compactListing());
    else
        m_library->replace(jsonObject);
}

// Whatever the error, the page container is told "not found": the home page
// then has every tile look at its files again and announces the library
// anew (the listing, and the update notice to the headset).
void Brontel::slotToErrorcode(qlonglong errorcode)
{
    Q_UNUSED(errorcode);
    emit sglErrorcode(404);
}

bool Brontel::getPathAvailable(const QString &kind, const QString &name, QString &path) const
{
    using LanHttpServer::LibraryIndex;
    std::optional<QString> found;
    if (kind == QLatin1String("post"))
        found = m_library->find(LibraryIndex::Kind::Poster, name);
    else if (kind == QLatin1String("video"))
        found = m_library->find(LibraryIndex::Kind::Video, name);
    if (!found)
        return false;
    path = *found;
    return true;
}
