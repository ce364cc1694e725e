// The connection's handles and the pauses of its poller.
#include "device/mouseconnection.h"

#include "device/discovery.h"

#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <utility>

namespace mc {

MouseConnection::MouseConnection(HidBackend &hid) : m_hid(&hid), m_poller(*this) {}

MouseConnection::MouseConnection() : m_hid(nullptr), m_poller(*this) {}

MouseConnection::~MouseConnection()
{
    stopPoller();
    CloseDevices(*this);
}

HidHandle MouseConnection::commandHandle() const
{
    return m_state.cableCommand ? m_state.cableCommand : m_state.receiverCommand;
}

void MouseConnection::keepChangeReport(const uint8_t *report)
{
    frame::Report r{};
    std::copy(report, report + r.size(), r.begin());
    QMutexLocker lock(&m_changeMutex);
    m_change = r;
}

std::optional<frame::Report> MouseConnection::takeChangeReport()
{
    QMutexLocker lock(&m_changeMutex);
    return std::exchange(m_change, std::nullopt);
}

void MouseConnection::startPoller()
{
    {
        QMutexLocker lock(&m_pollerMutex);
        m_wanted = true;
    }
    startIfWanted();
}

void MouseConnection::stopPoller()
{
    QMutexLocker lock(&m_pollerMutex);
    m_wanted = false;
    m_poller.stop();
}

void MouseConnection::startIfWanted()
{
    // The poller's thread object belongs to the connection's thread, and so does its start.
    if (QThread::currentThread() != m_poller.thread()) {
        QMetaObject::invokeMethod(
            &m_poller, [this] { startIfWanted(); }, Qt::QueuedConnection);
        return;
    }
    QMutexLocker lock(&m_pollerMutex);
    // A write that began since the start was asked for brings it back when it ends.
    if (m_wanted && m_pauses == 0)
        m_poller.start();
}

void MouseConnection::pause()
{
    QMutexLocker lock(&m_pollerMutex);
    if (m_pauses++ == 0)
        m_poller.stop();
}

void MouseConnection::resume()
{
    bool restart = false;
    {
        QMutexLocker lock(&m_pollerMutex);
        restart = --m_pauses == 0 && m_wanted;
    }
    if (restart)
        startIfWanted();
}

MouseConnection::PollerPause::PollerPause(MouseConnection &connection) : m_connection(connection)
{
    m_connection.pause();
}

MouseConnection::PollerPause::~PollerPause()
{
    m_connection.resume();
}

} // namespace mc
