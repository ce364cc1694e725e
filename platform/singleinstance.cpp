// Mutex name, lock file and socket names, and the request a second start sends to the holder;
// shared by both systems (QLocalServer is a Unix socket on Linux, a named pipe on Windows).
#include "platform/singleinstance.h"
#include "platform/log.h"

#include "platform/runtimedir.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace mc {

namespace {

// The only request there is. Anything else on the socket is ignored, and a client that talks
// on without sending it is dropped once it has sent more than a request could hold.
constexpr char kShowRequest[] = "show\n";
constexpr qint64 kMaxRequest = 64;
// A second start connects, writes five bytes and goes: a handful of clients at once is plenty,
// and one that stays quiet this long is not a start. Bounding both keeps idle clients from
// using up the process's descriptors (the socket server closes, and removes its socket file,
// when it cannot accept).
constexpr int kMaxClients = 8;
constexpr int kClientTimeoutMs = 3000;
// How often the holder makes sure that it still listens.
constexpr int kListenCheckMs = 5000;

QString safeName(const QString &mutexName)
{
    QString safe = mutexName;
    for (QChar &c : safe) {
        if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    return safe;
}

} // namespace

QString instanceMutexName(const QString &productName)
{
    return productName + QStringLiteral(" Wireless Gaming Mouse Mutex1");
}

QString SingleInstance::lockFilePath(const QString &mutexName)
{
#ifdef Q_OS_WIN
    return QDir::tempPath() + QLatin1Char('/') + safeName(mutexName) + QStringLiteral(".lock");
#else
    const QString dir = userRuntimeDir();
    return dir.isEmpty() ? QString()
                         : dir + QLatin1Char('/') + safeName(mutexName) + QStringLiteral(".lock");
#endif
}

QString SingleInstance::serverName(const QString &mutexName)
{
#ifdef Q_OS_WIN
    return safeName(mutexName);
#else
    // A full path: QLocalServer would put a plain name in the temporary folder, where another
    // user may have put a socket of that name first.
    const QString dir = userRuntimeDir();
    return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + safeName(mutexName);
#endif
}

bool SingleInstance::tryAcquire()
{
    if (held())
        return true;
    if (!acquireLock())
        return false;
    listen();
    return true;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->setMaxPendingConnections(kMaxClients);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
    keepListening();
    auto *check = new QTimer(m_server);
    connect(check, &QTimer::timeout, this, &SingleInstance::keepListening);
    check->start(kListenCheckMs);
}

void SingleInstance::keepListening()
{
    // A server that could not accept (no descriptors left) has closed its socket and removed
    // its file, yet still says it listens (and must not be asked for its descriptor, which is
    // gone); a socket file removed by a cleaner of the folder cannot be reached either. Both are
    // set up again.
    if (!m_server || (m_server->isListening() && QFileInfo::exists(m_serverName)))
        return;
    m_server->close();
    // A socket left by an instance that died would refuse the name; holding the lock means
    // nobody else owns it.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName))
        qCDebug(lcPlatform, "single instance: cannot listen on %s: %s", qPrintable(m_serverName),
               qPrintable(m_server->errorString()));
}

void SingleInstance::stopListening()
{
    delete m_server;
    m_server = nullptr;
}

void SingleInstance::onConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (m_server->findChildren<QLocalSocket *>().size() > kMaxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kClientTimeoutMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QByteArray seen = socket->property("seen").toByteArray();
            seen += socket->read(kMaxRequest);
            if (seen.contains(kShowRequest)) {
                socket->disconnectFromServer();
                emit showRequested();
            } else if (seen.size() > kMaxRequest) {
                socket->abort();
                socket->deleteLater();
            } else {
                socket->setProperty("seen", seen);
            }
        });
    }
}

bool SingleInstance::askHolderToShow(const QString &mutexName, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName(mutexName));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kShowRequest, qstrlen(kShowRequest));
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(timeoutMs)) {
    }
    const bool sent = socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return sent;
}

} // namespace mc
