// The replay of a trace against the emulated mouse.
#include "tracereplay.h"

#include "device/hidtrace.h"
#include "device/reportframe.h"

namespace mc::test {

namespace {
constexpr int kMaxMismatchLines = 10;
constexpr int kReadSize = 64;

uint8_t commandOf(const QByteArray &report)
{
    return report.size() > frame::kCommand ? uint8_t(report.at(frame::kCommand)) : 0;
}

uint8_t byteAt(const QByteArray &report, int i)
{
    return report.size() > i ? uint8_t(report.at(i)) : 0;
}

QByteArray hexLine(char direction, const QByteArray &bytes)
{
    return TracingBackend::formatLine(direction, reinterpret_cast<const uint8_t *>(bytes.data()),
                                      size_t(bytes.size()));
}

// The recorded answer that follows line i, for the request written there: one of its command
// before the next request of that command, else none (the request went unanswered, as a loaded
// machine's reads may time out).
const TraceLine *recordedAnswer(const TraceFile &trace, int i)
{
    const uint8_t command = commandOf(trace.lines.at(i).bytes);
    for (int k = i + 1; k < trace.lines.size(); ++k) {
        const TraceLine &l = trace.lines.at(k);
        if (commandOf(l.bytes) != command)
            continue;
        if (l.direction == '<')
            return &l;
        return nullptr; // the next request: this one went unanswered
    }
    return nullptr;
}

void takeStatusFrom(EmulatedMouse &mouse, const QByteArray &answer)
{
    const uint8_t low = byteAt(answer, frame::kBatteryLow);
    const uint8_t high = byteAt(answer, frame::kBatteryHigh);
    const uint8_t charging = byteAt(answer, frame::kCharging);
    const bool off = low == 0 && high == 0 && charging == 0;
    mouse.setMouseOff(off);
    if (!off) {
        mouse.setBatteryRaw(uint16_t(low | (high << 8)));
        mouse.setCharging(charging != 0);
        mouse.setWriteState(byteAt(answer, frame::kWriteState));
    }
    mouse.setStatusByte(byteAt(answer, frame::kStatusByte));
}
} // namespace

ReplayResult replayTrace(const TraceFile &trace, EmulatedMouse &mouse, const ReplayOptions &options)
{
    ReplayResult result;
    if (!trace.ok()) {
        result.mismatches << trace.error;
        return result;
    }
    const HidHandle h =
        mouse.open(mouse.collectionPath(options.attachment, EmulatedMouse::Collection::Command));
    if (!h) {
        result.mismatches << QStringLiteral("the attachment is not plugged in");
        return result;
    }
    mouse.setAnswerDelay(0, 0);

    QVector<QByteArray> recorded;
    QVector<QByteArray> replayed;
    for (int i = 0; i < trace.lines.size(); ++i) {
        const TraceLine &line = trace.lines.at(i);
        if (line.direction == '<') {
            if (commandOf(line.bytes) != frame::kChangeReport)
                recorded.append(line.bytes);
            continue;
        }
        const TraceLine *recordedReply = recordedAnswer(trace, i);
        if (options.followRecordedStatus && commandOf(line.bytes) == frame::kStatus &&
            recordedReply)
            takeStatusFrom(mouse, recordedReply->bytes);
        mouse.write(h, reinterpret_cast<const uint8_t *>(line.bytes.constData()),
                    size_t(line.bytes.size()));
        ++result.written;
        uint8_t buffer[kReadSize];
        for (int n; (n = mouse.readTimeout(h, buffer, kReadSize, 0)) > 0;) {
            const QByteArray answer(reinterpret_cast<const char *>(buffer), n);
            // What the recording has no answer for has nothing to be compared with.
            if (commandOf(answer) != frame::kChangeReport && recordedReply)
                replayed.append(answer);
        }
    }
    mouse.close(h);

    const int common = int(qMin(recorded.size(), replayed.size()));
    for (int k = 0; k < common; ++k) {
        ++result.compared;
        // A read of fewer bytes than the report holds recorded only its start.
        if (replayed.at(k).startsWith(recorded.at(k)))
            continue;
        if (result.mismatches.size() < kMaxMismatchLines) {
            result.mismatches << QStringLiteral("answer %1: recorded %2, replayed %3")
                                     .arg(k + 1)
                                     .arg(QString::fromLatin1(hexLine('<', recorded.at(k))),
                                          QString::fromLatin1(hexLine('<', replayed.at(k))));
        }
    }
    if (recorded.size() != replayed.size()) {
        result.mismatches << QStringLiteral("%1 answers recorded, %2 replayed")
                                 .arg(recorded.size())
                                 .arg(replayed.size());
    }
    return result;
}

} // namespace mc::test
