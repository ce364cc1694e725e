// The display link on Linux: a local socket to the display program, connected asynchronously.
// A refused connection is handled from the event loop, after connectToServer has returned and
// never inside it.
#include "platform/osdlink.h"
#include "platform/log.h"

#include <QLocalSocket>
#include <QTimer>

namespace mc {

struct OsdLink::Private
{
    QLocalSocket socket;
    QTimer retry;
    QString serverName = osdServerName();
    std::function<bool()> launcher = startOsdProgram;
    QByteArray pending; // the newest message not yet handed over
    int attempt = -1;   // looks since the program was started; -1: not started by us
};

OsdLink::OsdLink(QObject *parent) : QObject(parent), d(std::make_unique<Private>())
{
    d->retry.setSingleShot(true);
    connect(&d->socket, &QLocalSocket::connected, this, [this] {
        d->retry.stop();
        d->attempt = -1;
        if (d->pending.isEmpty())
            return;
        d->socket.write(d->pending);
        d->socket.flush();
        d->pending.clear();
        emit delivered();
    });
    connect(&d->socket, &QLocalSocket::errorOccurred, this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { connectionFailed(); }, Qt::QueuedConnection);
    });
    connect(&d->retry, &QTimer::timeout, this, [this] {
        if (!d->pending.isEmpty() && d->socket.state() == QLocalSocket::UnconnectedState)
            d->socket.connectToServer(d->serverName);
    });
}

OsdLink::~OsdLink() = default;

void OsdLink::connectionFailed()
{
    if (d->socket.state() != QLocalSocket::UnconnectedState)
        d->socket.abort();
    if (d->pending.isEmpty() || d->retry.isActive())
        return;
    if (d->attempt < 0) {
        if (!d->launcher()) {
            d->pending.clear();
            return;
        }
        d->attempt = 0;
    }
    const int delay = osdRetryDelayMs(d->attempt++);
    if (delay < 0) {
        qCDebug(lcPlatform, "On-screen display: the display program did not answer, message dropped");
        d->pending.clear();
        d->attempt = -1;
        return;
    }
    d->retry.start(delay);
}

void OsdLink::setServerName(const QString &name)
{
    d->serverName = name;
}

void OsdLink::setLauncher(std::function<bool()> launcher)
{
    d->launcher = std::move(launcher);
}

void OsdLink::announce(const QString &text, const QColor &colour)
{
    if (d->serverName.isEmpty())
        return; // no private folder for the socket: no display rather than someone else's
    const QByteArray block = osdMessageBlock(text, colour);
    if (d->socket.state() == QLocalSocket::ConnectedState) {
        d->socket.write(block);
        d->socket.flush();
        emit delivered();
        return;
    }
    d->pending = block;
    // While connecting, or while a starting program is given its time, the newest message
    // waits for the outcome.
    if (d->socket.state() == QLocalSocket::UnconnectedState && !d->retry.isActive())
        d->socket.connectToServer(d->serverName);
}

} // namespace mc
