// "watch": runs the status poller as the window does and prints what it reports, one line each:
// battery and charging for every status answer, the write state, and the changes made with the
// mouse's own buttons (profile, DPI stage, report rate, mode). Runs until interrupted (Ctrl+C or
// a termination request), then stops the poller and exits with 0; 1 when no mouse is present.
#include "cli/clicommand.h"
#include "device/batterylevel.h"
#include "device/statuspoller.h"
#include "device/transport.h"
#include "profile/settings.h"

#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <csignal>

namespace mc::cli {

namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void onInterrupt(int)
{
    g_interrupted = true;
}

QString rateText(int code)
{
    switch (code) {
    case 1:
        return QStringLiteral("1000 Hz");
    case 2:
        return QStringLiteral("500 Hz");
    case 4:
        return QStringLiteral("250 Hz");
    case 8:
        return QStringLiteral("125 Hz");
    default:
        return QStringLiteral("code %1").arg(code);
    }
}

void printBattery(quint8 iCharge, quint8 iLowByte, quint8 iHiByte)
{
    if (iCharge == 0 && iLowByte == 0 && iHiByte == 0) {
        printLine(QStringLiteral("Status: the mouse is off or asleep"));
        return;
    }
    const int mv = batteryMillivolts(iLowByte, iHiByte);
    printLine(QStringLiteral("Status: battery %1% (%2 mV), charging %3")
                  .arg(batteryPercent(mv, readBatteryFull()))
                  .arg(mv)
                  .arg(iCharge ? QStringLiteral("yes") : QStringLiteral("no")));
}

int runWatch(const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(QStringLiteral("watch takes no arguments"));
    if (openMouse() != 0) {
        printLine(QStringLiteral("No mouse is present."));
        return kNoDevice;
    }
    StatusPoller poller;
    QObject::connect(&poller, &StatusPoller::RefreshBatteryStatus, &printBattery);
    QObject::connect(&poller, &StatusPoller::RefreshWriteStatus, [](quint8 iStatus) {
        printLine(QStringLiteral("Write state: %1").arg(iStatus));
    });
    QObject::connect(&poller, &StatusPoller::RefreshStatus,
                     [](quint8 iProfile, quint8 iDPI, quint8 iRate, quint8 iMode) {
                         printLine(QStringLiteral("On-mouse change: profile %1, DPI stage %2, "
                                                  "report rate %3, mode %4")
                                       .arg(iProfile + 1)
                                       .arg(iDPI + 1)
                                       .arg(rateText(iRate))
                                       .arg(iMode));
                     });

    // A signal handler may only set a flag; the event loop looks at it.
    g_interrupted = false;
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [] {
        if (g_interrupted)
            QCoreApplication::quit();
    });
    check.start(50);

    printLine(QStringLiteral("Watching the mouse; press Ctrl+C to stop."));
    poller.start();
    QCoreApplication::exec();
    poller.stop(); // the handles are closed after the loop has ended
    return kOk;
}

const CommandRegistration registration{
    {"watch", "", "print status and on-mouse changes until interrupted", &runWatch}};

} // namespace

} // namespace mc::cli
