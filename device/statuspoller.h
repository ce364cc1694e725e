// The status poller of one connection: starts a new KivGetBatteryThread each time a mouse is
// opened, stops it (waiting until its loop has ended) before the handles are closed, reopened or
// used by a write, and passes its three signals on, so that the window connects once. Lives on
// the connection's thread; stop() may also be called from the apply worker. The connection
// decides when it runs (MouseConnection::startPoller, PollerPause).
#pragma once

#include "device/batterythread.h"

#include <QMutex>
#include <QObject>
#include <QPointer>

namespace mc {

class MouseConnection;

class StatusPoller final : public QObject
{
    Q_OBJECT
public:
    explicit StatusPoller(MouseConnection &connection, QObject *parent = nullptr);
    ~StatusPoller() override; // stops and waits
    StatusPoller(const StatusPoller &) = delete;
    StatusPoller &operator=(const StatusPoller &) = delete;

    void setTimings(const PollTimings &timings); // for the threads started from now on

    // Stops a running poller and starts a new one.
    void start();
    // Returns after the poller's loop has ended; nothing happens when none runs.
    void stop();
    bool isRunning() const;

signals:
    void RefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte);
    void RefreshStatus(quint8 iProfile, quint8 iDPI, quint8 iRate, quint8 iMode);
    void RefreshWriteStatus(quint8 iStatus);

private:
    MouseConnection &m_connection;
    mutable QMutex m_mutex; // guards m_thread: the worker may stop while the window restarts
    KivGetBatteryThread *m_thread = nullptr;
    PollTimings m_timings;
};

} // namespace mc
