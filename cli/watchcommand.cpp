// "watch": runs the status poller as the window does and prints what it reports, one line each:
// battery and charging for every status answer, the write state, and the changes made with the
// mouse's own buttons (profile, DPI stage, report rate, mode). Runs until interrupted (Ctrl+C or
// a termination request), then stops the poller and exits with 0; 1 when no mouse is present.
// "watch --follow-focus" also switches the mouse's profile with the application in front, by
// the rules of Config.ini, as the window does (the option is the switch: the window's on/off
// setting is not asked), for those who keep the window closed; 69 where the application in
// front cannot be known.
#include "app/focusswitcher.h"
#include "cli/clicommand.h"
#include "device/batterylevel.h"
#include "device/commandset.h"
#include "device/mouseconnection.h"
#include "device/statuspoller.h"
#include "device/transport.h"
#include "device/writeresult.h"
#include "platform/focuswatcher.h"
#include "profile/profilestore.h"
#include "profile/settings.h"

#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <memory>

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

constexpr int kExitUnavailable = 69;

// The mouse's state as the watch knows it: the slot it is on, and whether it sleeps.
struct MouseState
{
    int slot = 0;
    bool off = false;
};

// Switches as the window's slot selector does, with the poller, which reads the same handle,
// stopped around the two commands; the slot is recorded once the mouse has taken it.
void selectForFocus(MouseConnection &c, MouseState &state, int slot, const QString &name)
{
    uint8_t result = kOk;
    {
        const MouseConnection::PollerPause pause(c);
        result = SelectProfile(c, slot);
        const uint8_t committed = CommitSettings(c);
        if (result == kOk)
            result = committed;
    }
    if (result != kOk) {
        printLine(QStringLiteral("Application in front: %1; profile %2 not selected: %3")
                      .arg(name)
                      .arg(slot + 1)
                      .arg(writeResultText(result)));
        return;
    }
    state.slot = slot;
    SaveActiveSlot(slot);
    printLine(QStringLiteral("Application in front: %1; profile %2 selected.")
                  .arg(name.isEmpty() ? QStringLiteral("none") : name)
                  .arg(slot + 1));
}

int runWatch(const QStringList &args)
{
    const bool follow = args == QStringList{QStringLiteral("--follow-focus")};
    if (!args.isEmpty() && !follow)
        return usageError(QStringLiteral("watch takes no arguments but --follow-focus"));
    std::unique_ptr<FocusWatcher> watcher;
    if (follow) {
        watcher = createFocusWatcher();
        if (!watcher->available()) {
            printError(QStringLiteral("The application in front cannot be followed here: %1.")
                           .arg(watcher->unavailableReason()));
            return kExitUnavailable;
        }
    }
    if (openMouse() != 0) {
        printLine(QStringLiteral("No mouse is present."));
        return kNoDevice;
    }
    MouseConnection &c = connection();
    StatusPoller &poller = c.poller();
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

    MouseState state;
    state.slot = readActiveSlot();
    QObject::connect(&poller, &StatusPoller::RefreshBatteryStatus,
                     [&state](quint8 iCharge, quint8 iLowByte, quint8 iHiByte) {
                         state.off = iCharge == 0 && iLowByte == 0 && iHiByte == 0;
                     });
    QObject::connect(&poller, &StatusPoller::RefreshStatus,
                     [&state](quint8 iProfile, quint8, quint8, quint8) {
                         if (iProfile < kSlotCount)
                             state.slot = iProfile;
                     });
    std::unique_ptr<FocusSwitcher> switcher;
    if (follow) {
        FocusRules rules = readFocusRules();
        rules.enabled = true;
        FocusSwitcher::Hooks hooks;
        hooks.maySwitch = [&state] { return !state.off; };
        hooks.activeSlot = [&state] { return state.slot; };
        hooks.select = [&c, &state](int slot, const FocusReport &front) {
            selectForFocus(c, state, slot, front.name());
        };
        switcher = std::make_unique<FocusSwitcher>(hooks);
        switcher->setRules(rules);
        QObject::connect(watcher.get(), &FocusWatcher::focusChanged, switcher.get(),
                         &FocusSwitcher::onFocusChanged);
        QObject::connect(&poller, &StatusPoller::RefreshBatteryStatus, switcher.get(),
                         &FocusSwitcher::retry);
        printLine(QStringLiteral("Following the application in front with %1 rules.")
                      .arg(rules.rules.size()));
    }

    printLine(QStringLiteral("Watching the mouse; press Ctrl+C to stop."));
    c.startPoller();
    QCoreApplication::exec();
    c.stopPoller(); // the handles are closed after the loop has ended
    return kOk;
}

const CommandRegistration registration{
    {"watch", "", "print status and on-mouse changes until interrupted", &runWatch}};

} // namespace

} // namespace mc::cli
