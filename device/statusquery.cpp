// The status query exchange.
#include "device/statusquery.h"
#include "device/log.h"

#include "device/mouseconnection.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace mc {

frame::Report statusQueryReport()
{
    return frame::makeReport(frame::kStatus);
}

StatusAnswer statusAnswerOf(const uint8_t *r)
{
    return {r[frame::kBatteryLow], r[frame::kBatteryHigh], r[frame::kCharging],
            r[frame::kWriteState], r[frame::kStatusByte]};
}

ChangeReport changeReportOf(const uint8_t *r)
{
    return {r[frame::kChangeProfile], r[frame::kChangeStage], r[frame::kChangeRate],
            r[frame::kChangeMode]};
}

void noteStatusAnswer(MouseConnection &connection, const StatusAnswer &answer)
{
    connection.setStatusByte(answer.statusByte);
}

StatusQueryResult queryStatusOnce(MouseConnection &connection, int pauseMs, int readTimeoutMs)
{
    StatusQueryResult result;
    const HidHandle handle = connection.commandHandle();
    if (!handle)
        return result;
    HidBackend &hid = connection.hid();
    const frame::Report query = statusQueryReport();
    if (hid.write(handle, query.data(), query.size()) < 0)
        qCDebug(lcDevice, "Unable to send a feature report.");
    QThread::msleep(ulong(pauseMs));
    QElapsedTimer waited;
    waited.start();
    result.outcome = QueryOutcome::Other;
    for (;;) {
        frame::Report &r = result.reply;
        r.fill(0);
        const int remaining = std::max(0, readTimeoutMs - int(waited.elapsed()));
        const int n = hid.readTimeout(handle, r.data(), r.size(), remaining);
        if (n < 0) {
            result.outcome = QueryOutcome::ReadError;
            return result;
        }
        if (n > 0 && !frame::isForeignReport(r.data(), n)) {
            qCDebug(lcDevice, "status answer: %x %x %x %x %x %x %x %x", r[0], r[1], r[2], r[3],
                    r[4], r[5], r[6], r[7]);
            if (r[frame::kCommand] == frame::kStatus) {
                result.outcome = QueryOutcome::Answer;
                result.answer = statusAnswerOf(r.data());
                noteStatusAnswer(connection, result.answer);
                return result;
            }
            if (r[frame::kCommand] == frame::kChangeReport)
                result.change = r;
        }
        if (n == 0 || waited.elapsed() >= readTimeoutMs) {
            r.fill(0);
            return result;
        }
    }
}

} // namespace mc
