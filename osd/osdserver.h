// The display program's end of the local socket: each connection carries a stream of 1044-byte
// message blocks. Blocks are cut from the stream by size and read with the bounds-checked
// reader; a block it refuses is skipped, and what remains of a connection when it closes is
// dropped. Runs on the program's only thread.
#pragma once

#include "platform/osdmessage.h"

#include <QLocalServer>
#include <QObject>

class OsdServer final : public QObject
{
    Q_OBJECT
public:
    explicit OsdServer(QObject *parent = nullptr);
    OsdServer(const OsdServer &) = delete;
    OsdServer &operator=(const OsdServer &) = delete;

    // Listens on name, taking over a socket file that a dead display program left behind; the
    // caller holds the instance lock, so no live program owns it. Only this user may connect.
    bool listen(const QString &name);
    QString errorString() const { return m_server.errorString(); }

signals:
    void messageReceived(const mc::OsdMessage &message);

private:
    void acceptConnections();

    QLocalServer m_server;
};
