// Starting and stopping the status poller.
#include "device/statuspoller.h"

namespace mc {

StatusPoller::StatusPoller(MouseConnection &connection, QObject *parent)
    : QObject(parent), m_connection(connection)
{}

StatusPoller::~StatusPoller()
{
    stop();
}

void StatusPoller::setTimings(const PollTimings &timings)
{
    QMutexLocker lock(&m_mutex);
    m_timings = timings;
}

void StatusPoller::start()
{
    stop();
    QMutexLocker lock(&m_mutex);
    m_thread = new KivGetBatteryThread(m_connection);
    m_thread->setTimings(m_timings);
    // The thread emits on its own thread; this object lives on the window's, so the
    // connections queue the values across.
    connect(m_thread, &KivGetBatteryThread::RefreshBatteryStatus, this,
            &StatusPoller::RefreshBatteryStatus);
    connect(m_thread, &KivGetBatteryThread::RefreshStatus, this, &StatusPoller::RefreshStatus);
    connect(m_thread, &KivGetBatteryThread::RefreshWriteStatus, this,
            &StatusPoller::RefreshWriteStatus);
    m_thread->start(QThread::InheritPriority);
}

void StatusPoller::stop()
{
    QMutexLocker lock(&m_mutex);
    if (!m_thread)
        return;
    m_thread->requestStop();
    m_thread->wait();
    // The thread object belongs to the window's thread: deleted there, at once or queued.
    if (QThread::currentThread() == m_thread->thread())
        delete m_thread;
    else
        m_thread->deleteLater();
    m_thread = nullptr;
}

bool StatusPoller::isRunning() const
{
    QMutexLocker lock(&m_mutex);
    return m_thread && m_thread->isRunning();
}

} // namespace mc
