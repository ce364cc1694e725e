// Reading message blocks from the display program's connections.
#include "osd/osdserver.h"
#include "osd/log.h"

#include <QLocalSocket>

namespace {
// The configuration program keeps one connection; more than this at once are not its own and
// are refused.
constexpr int kMaxConnections = 16;
} // namespace

OsdServer::OsdServer(QObject *parent) : QObject(parent)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.setMaxPendingConnections(kMaxConnections);
    connect(&m_server, &QLocalServer::newConnection, this, &OsdServer::acceptConnections);
}

bool OsdServer::listen(const QString &name)
{
    QLocalServer::removeServer(name);
    return m_server.listen(name);
}

void OsdServer::acceptConnections()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        if (m_server.findChildren<QLocalSocket *>().size() > kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // Whole blocks only: the rest stays in the socket's buffer until it is complete.
            while (socket->bytesAvailable() >= mc::kOsdMessageSize) {
                mc::OsdMessage message;
                if (mc::parseOsdMessageBlock(socket->read(mc::kOsdMessageSize), &message))
                    emit messageReceived(message);
                else
                    qCDebug(mc::lcOsd, "On-screen display: a malformed message was ignored");
            }
        });
    }
}
