// The status poller's loop.
#include "device/batterythread.h"
#include "device/log.h"

#include "device/mouseconnection.h"
#include "device/statusquery.h"

#include <QElapsedTimer>

#include <algorithm>

#include <QDebug>

namespace mc {

KivGetBatteryThread::KivGetBatteryThread(MouseConnection &connection, QObject *parent)
    : QThread(parent), m_connection(connection)
{}

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
    noteStatusAnswer(m_connection, a);
    emit RefreshBatteryStatus(a.charging, a.batteryLow, a.batteryHigh);
    if (!a.mouseOff())
        emit RefreshWriteStatus(a.writeState);
}

void KivGetBatteryThread::queryPass()
{
    const StatusQueryResult q =
        queryStatusOnce(m_connection, m_timings.afterQuery, m_timings.queryRead);
    if (q.change)
        emitChange(q.change->data()); // sent just before the answer: not dropped
    if (q.outcome == QueryOutcome::ReadError)
        emit RefreshBatteryStatus(0, 0, 0);
    else if (q.outcome == QueryOutcome::Answer)
        handleAnswer(q.reply.data());
    // A read error here is said by the listening pass that follows.
    listen(m_timings.afterQueryPass);
}

void KivGetBatteryThread::emitChange(const uint8_t *report)
{
    const ChangeReport c = changeReportOf(report);
    emit RefreshStatus(c.profile, c.stage, c.rate, c.mode);
}

KivGetBatteryThread::Read KivGetBatteryThread::readOne(void *handle, int timeoutMs)
{
    frame::Report r{};
    r[0] = 4;
    const int n = m_connection.hid().readTimeout(handle, r.data(), r.size(), timeoutMs);
    if (n < 0)
        return Read::Error;
    if (n == 0)
        return Read::Nothing;
    if (frame::isForeignReport(r.data(), n))
        return Read::Foreign;
    if (r[frame::kCommand] == frame::kChangeReport)
        emitChange(r.data());
    else if (r[frame::kCommand] == frame::kStatus)
        handleAnswer(r.data());
    return Read::Ours;
}

bool KivGetBatteryThread::drain(void *handle)
{
    bool foreign = false;
    for (int i = 0; i < kDrainLimit; ++i) {
        const Read got = readOne(handle, 0);
        if (got == Read::Error || got == Read::Nothing)
            break;
        foreign = foreign || got == Read::Foreign;
    }
    return foreign;
}

bool KivGetBatteryThread::listen(int ms)
{
    const HidHandle handle = m_connection.commandHandle();
    if (!handle)
        return true;
    QElapsedTimer elapsed;
    elapsed.start();
    bool flowing = false;
    bool first = true;
    while (!stopRequested()) {
        const int remaining = ms - int(elapsed.elapsed());
        if (remaining <= 0 && !first)
            return true;
        first = false;
        if (flowing) {
            // The pointer's reports come faster than anyone needs them: let a slice of them
            // gather (fewer than the node's queue holds, so nothing of ours is pushed out),
            // then take them all at once.
            pause(std::min(remaining, kSliceMs));
            flowing = drain(handle);
            continue;
        }
        // Still: one wait that ends with the first report, so nothing waits behind a sleep.
        const Read got = readOne(handle, std::clamp(remaining, 0, kListenChunkMs));
        if (got == Read::Error)
            return false;
        if (got != Read::Nothing)
            flowing = drain(handle) || got == Read::Foreign;
    }
    return true;
}

void KivGetBatteryThread::listenPass()
{
    if (!listen(m_timings.listenRead + m_timings.afterListen)) {
        qCDebug(lcDevice, "Unable to read a feature report 1.");
        pause(m_timings.afterReadError);
    }
}

void KivGetBatteryThread::takeKeptChange()
{
    if (const std::optional<frame::Report> kept = m_connection.takeChangeReport())
        emitChange(kept->data());
}

void KivGetBatteryThread::run()
{
    qCDebug(lcDevice, "status poller started");
    int counter = 0;
    while (!stopRequested()) {
        if (!m_connection.commandHandle())
            return; // no mouse: the thread ends quietly
        takeKeptChange();
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
