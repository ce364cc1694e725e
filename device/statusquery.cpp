// The status query exchange.
#include "device/statusquery.h"
#include "device/log.h"

#include "device/devicetable.h"
#include "device/hidbackend.h"

#include <QDebug>
#include <QThread>

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

void noteStatusAnswer(const StatusAnswer &answer)
{
    deviceState().statusByte = answer.statusByte;
}

StatusQueryResult queryStatusOnce(int pauseMs, int readTimeoutMs)
{
    StatusQueryResult result;
    const HidHandle handle = commandHandle();
    if (!handle)
        return result;
    HidBackend &hid = hidBackend();
    const frame::Report query = statusQueryReport();
    if (hid.write(handle, query.data(), query.size()) < 0)
        qCDebug(lcDevice, "Unable to send a feature report.");
    QThread::msleep(ulong(pauseMs));
    if (hid.readTimeout(handle, result.reply.data(), result.reply.size(), readTimeoutMs) < 0) {
        result.outcome = QueryOutcome::ReadError;
        return result;
    }
    const auto &r = result.reply;
    qCDebug(lcDevice, "status answer: %x %x %x %x %x %x %x %x", r[0], r[1], r[2], r[3], r[4], r[5], r[6],
           r[7]);
    if (r[frame::kCommand] == frame::kStatus) {
        result.outcome = QueryOutcome::Answer;
        result.answer = statusAnswerOf(r.data());
        noteStatusAnswer(result.answer);
    } else {
        result.outcome = QueryOutcome::Other;
    }
    return result;
}

} // namespace mc
