// The status poller's loop.
#include "device/batterythread.h"
#include "device/log.h"

#include "device/devicetable.h"
#include "device/hidbackend.h"
#include "device/statusquery.h"

#include <QDebug>

namespace mc {

KivGetBatteryThread::KivGetBatteryThread(QObject *parent) : QThread(parent) {}

KivGetBatteryThread::~KivGetBatteryThread()
{
    requestStop();
    wait();
}

void KivGetBatteryThread::setTimings(const PollTimings &timings)
{
    m_timings = timings;
}

void KivGetBatteryThread::requestStop()
{
    m_stop.storeRelease(1);
    m_wake.release();
}

bool KivGetBatteryThread::stopRequested() const
{
    return m_stop.loadAcquire() != 0;
}

int KivGetBatteryThread::passes() const
{
    return m_passes.loadAcquire();
}

void KivGetBatteryThread::pause(int ms)
{
    if (ms > 0 && !stopRequested())
        m_wake.tryAcquire(1, ms);
}

void KivGetBatteryThread::handleAnswer(const uint8_t *report)
{
    const StatusAnswer a = statusAnswerOf(report);
    noteStatusAnswer(a);
    emit RefreshBatteryStatus(a.charging, a.batteryLow, a.batteryHigh);
    if (!a.mouseOff())
        emit RefreshWriteStatus(a.writeState);
}

void KivGetBatteryThread::queryPass()
{
    const StatusQueryResult q = queryStatusOnce(m_timings.afterQuery, m_timings.queryRead);
    if (q.outcome == QueryOutcome::ReadError)
        emit RefreshBatteryStatus(0, 0, 0);
    else if (q.outcome == QueryOutcome::Answer)
        handleAnswer(q.reply.data());
    else if (q.reply[frame::kCommand] == frame::kChangeReport)
        emitChange(q.reply.data()); // sent just before the answer: not dropped
    pause(m_timings.afterQueryPass);
}

void KivGetBatteryThread::emitChange(const uint8_t *report)
{
    const ChangeReport c = changeReportOf(report);
    emit RefreshStatus(c.profile, c.stage, c.rate, c.mode);
}

void KivGetBatteryThread::listenPass()
{
    const HidHandle handle = commandHandle();
    if (!handle)
        return;
    frame::Report r{};
    r[0] = 4;
    if (hidBackend().readTimeout(handle, r.data(), r.size(), m_timings.listenRead) < 0) {
        qCDebug(lcDevice, "Unable to read a feature report 1.");
        pause(m_timings.afterReadError);
        return;
    }
    if (r[frame::kCommand] == frame::kChangeReport)
        emitChange(r.data());
    else if (r[frame::kCommand] == frame::kStatus)
        handleAnswer(r.data());
    pause(m_timings.afterListen);
}

void KivGetBatteryThread::run()
{
    qCDebug(lcDevice, "status poller started");
    int counter = 0;
    while (!stopRequested()) {
        if (!commandHandle())
            return; // no mouse: the thread ends quietly
        if (counter == 0) {
            queryPass();
            counter = kCounterAfterQuery;
        } else {
            ++counter;
        }
        if (!stopRequested())
            listenPass();
        if (counter == kCounterWrap)
            counter = 0;
        m_passes.fetchAndAddRelease(1);
    }
    qCDebug(lcDevice, "status poller stopped");
}

} // namespace mc
