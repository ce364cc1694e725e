// "status": one status query, as the status poller makes it, printed as battery percent,
// charging and connection. The percentage follows the battery display: the reading becomes
// millivolts, and the millivolts a step of ten percent (100 from Config/BatteryFull up).
#include "cli/clicommand.h"
#include "device/batterylevel.h"
#include "device/discovery.h"
#include "device/mouseconnection.h"
#include "device/reportframe.h"
#include "device/transport.h"
#include "profile/settings.h"

#include <QElapsedTimer>
#include <QThread>

namespace mc::cli {

namespace {
constexpr int kPauseAfterWriteMs = 10;
constexpr int kReadTimeoutMs = 50;
constexpr int kWaitForAnswerMs = 1000; // on-mouse reports may come first; wait for ours

// Reads until a status answer comes; 0 with the answer, or the result code.
int readStatusAnswer(HidHandle handle, frame::Report &answer)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kWaitForAnswerMs) {
        answer.fill(0);
        const int n =
            connection().hid().readTimeout(handle, answer.data(), answer.size(), kReadTimeoutMs);
        if (n < 0)
            return kNoAnswer;
        // The receiver's node brings the pointer's and keyboard's reports too: only the command
        // collection's status answer counts.
        if (n > frame::kStatusByte && !frame::isForeignReport(answer.data(), n) &&
            answer[frame::kCommand] == frame::kStatus)
            return kOk;
    }
    return kNoAnswer;
}

QString connectionText()
{
    const bool cable = cableConnected(connection());
    const bool receiver = receiverCommandFound(connection());
    if (cable && receiver)
        return QStringLiteral("cable and receiver");
    return cable ? QStringLiteral("cable") : QStringLiteral("receiver");
}

int runStatus(const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(QStringLiteral("status takes no arguments"));
    if (openMouse() != 0) {
        printLine(openFailureText());
        return kNoDevice;
    }
    const HidHandle handle = connection().commandHandle();
    const frame::Report query = frame::makeReport(frame::kStatus);
    if (connection().hid().write(handle, query.data(), query.size()) < 0) {
        printLine(QStringLiteral("Writing to the mouse failed."));
        return kWriteFailed;
    }
    QThread::msleep(kPauseAfterWriteMs);
    frame::Report answer{};
    if (readStatusAnswer(handle, answer) != kOk) {
        printLine(QStringLiteral("The mouse gave no valid answer."));
        return kNoAnswer;
    }
    connection().setStatusByte(answer[frame::kStatusByte]);
    const uint8_t low = answer[frame::kBatteryLow];
    const uint8_t high = answer[frame::kBatteryHigh];
    const uint8_t charging = answer[frame::kCharging];
    if (low == 0 && high == 0 && charging == 0) {
        printLine(QStringLiteral("The mouse is off or asleep."));
        return kMouseOff;
    }
    const int millivolts = batteryMillivolts(low, high);
    printLine(QStringLiteral("Battery: %1% (%2 mV)")
                  .arg(batteryPercent(millivolts, readBatteryFull()))
                  .arg(millivolts));
    printLine(QStringLiteral("Charging: %1")
                  .arg(charging ? QStringLiteral("yes") : QStringLiteral("no")));
    printLine(QStringLiteral("Connection: %1").arg(connectionText()));
    return kOk;
}

const CommandRegistration registration{
    {"status", "", "one status query: battery, charging, connection", &runStatus}};
} // namespace

} // namespace mc::cli
