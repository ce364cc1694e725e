// bench_motion: the device layer while the receiver sends the pointer's reports at 1000 Hz on the
// node the commands use (the Linux hidraw layout of the emulated mouse).
// 1. One DPI stage changed and applied (change mask 2: bracket, DPI block, five commits,
//    bracket): every run succeeds, within 1.1 times the protocol's floor (commands x 10 ms).
// 2. The status poller listening for 5 s, as the window's does while it sits idle: CPU time of
//    the process (poller and emulated mouse together, so an upper bound for the program) and
//    wake-ups of the poller's thread, still and moving. Targets: moving at most 0.5 % of one
//    core; still at most 6 wake-ups a second and 0.1 %.
#include "device/commandset.h"
#include "device/discovery.h"
#include "device/mouseconnection.h"
#include "emulator/emulatedmouse.h"
#include "profile/paths.h"
#include "profile/profiledata.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace mc;

namespace {

constexpr int kRuns = 9;
constexpr int kMotionHz = 1000;
constexpr double kPauseMs = 10.0;
constexpr double kWriteTarget = 1.1;
constexpr int kListenMs = 5000;
constexpr double kMovingCpuTarget = 0.5; // percent of one core
constexpr double kStillCpuTarget = 0.1;
constexpr double kStillWakeTarget = 6.0; // a second

void writeDataFolder(const QString &dir)
{
    setAppDir(dir);
    QDir(dir).mkpath(QStringLiteral("Configs"));
    QSettings d(productDescriptionFile(), QSettings::IniFormat);
    d.setValue("PROFILE/ProductName", "BenchMouse");
    d.setValue("PROFILE/DPICount", 6);
    QSettings c(appSettingsFile(), QSettings::IniFormat);
    c.setValue("Mouse_List/0", "BenchMouse");
    c.setValue("Config/CurrentProductName", "BenchMouse");
    c.setValue("MouseSenSor/1", 3395);
}

double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

// Voluntary and involuntary context switches of every thread but the calling one.
long otherThreadSwitches()
{
    long total = 0;
    const QString self = QString::number(long(syscall(SYS_gettid)));
    for (const QString &task :
         QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (task == self)
            continue;
        QFile f(QStringLiteral("/proc/self/task/%1/status").arg(task));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : f.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:") ||
                line.startsWith("nonvoluntary_ctxt_switches:"))
                total += line.mid(line.indexOf(':') + 1).trimmed().toLong();
        }
    }
    return total;
}

struct Listen
{
    double cpuPercent = 0;
    double wakesPerSecond = 0;
};

Listen listen(EmulatedMouse &mouse, MouseConnection &c, int motionHz)
{
    mouse.setMotion(motionHz);
    c.startPoller();
    QThread::msleep(600); // past the first query and its answer
    const long switches = otherThreadSwitches();
    const double cpu = cpuMs();
    QElapsedTimer t;
    t.start();
    QThread::msleep(kListenMs); // this thread sleeps: what is counted is the poller's
    const double seconds = t.elapsed() / 1000.0;
    Listen l;
    l.cpuPercent = (cpuMs() - cpu) / (seconds * 10.0);
    l.wakesPerSecond = (otherThreadSwitches() - switches) / seconds;
    c.stopPoller();
    mouse.setMotion(0);
    return l;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    writeDataFolder(dir.path());
    EmulatedMouse mouse;
    mouse.setNodeLayout(EmulatedMouse::NodeLayout::PerInterface);
    mouse.plug(EmulatedMouse::Attachment::Receiver);
    MouseConnection c(mouse);
    InitDeviceTable(c);
    EnumerateDevices(c);
    OpenDeviceByName(c, "BenchMouse");
    if (!c.commandHandle()) {
        std::printf("bench_motion: the emulated mouse did not open\n");
        return 1;
    }

    ProfileStore store;
    mouse.setMotion(kMotionHz);
    QThread::msleep(100); // the node's queue is full when the write begins
    std::vector<double> times;
    bool failed = false;
    for (int i = 0; i < kRuns; ++i) {
        store.profiles[0].stages[2].x = store.profiles[0].stages[2].y = uint16_t(20 + i);
        mouse.clearLog();
        QElapsedTimer t;
        t.start();
        failed = failed || ApplyChanges(c, store, change::kDpi) != 0;
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const int commands = mouse.writeCount();
    mouse.setMotion(0);
    std::sort(times.begin(), times.end());
    const double floorMs = commands * kPauseMs;
    const double median = times[times.size() / 2];
    const double ratio = median / floorMs;
    std::printf(
        "one DPI stage applied while the pointer moves at %d Hz: %d commands, floor %.0f ms\n",
        kMotionHz, commands, floorMs);
    std::printf("median of %d runs %.1f ms (fastest %.1f, slowest %.1f), %s\n", kRuns, median,
                times.front(), times.back(), failed ? "a run FAILED" : "every run succeeded");
    std::printf("ratio %.3f, target %.2f: %s\n", ratio, kWriteTarget,
                !failed && ratio <= kWriteTarget ? "met" : "MISSED");

    const Listen still = listen(mouse, c, 0);
    const Listen moving = listen(mouse, c, kMotionHz);
    std::printf(
        "poller listening %d s, still: %.3f %% of a core, %.1f wake-ups/s (targets %.1f %%, "
        "%.0f/s): %s\n",
        kListenMs / 1000, still.cpuPercent, still.wakesPerSecond, kStillCpuTarget, kStillWakeTarget,
        still.cpuPercent <= kStillCpuTarget && still.wakesPerSecond <= kStillWakeTarget ? "met"
                                                                                        : "MISSED");
    std::printf("poller listening %d s, moving at %d Hz: %.3f %% of a core (poller and emulated "
                "mouse), %.1f wake-ups/s (target %.1f %%): %s\n",
                kListenMs / 1000, kMotionHz, moving.cpuPercent, moving.wakesPerSecond,
                kMovingCpuTarget, moving.cpuPercent <= kMovingCpuTarget ? "met" : "MISSED");
    const bool met = !failed && ratio <= kWriteTarget && still.cpuPercent <= kStillCpuTarget &&
                     still.wakesPerSecond <= kStillWakeTarget &&
                     moving.cpuPercent <= kMovingCpuTarget;
    return met ? 0 : 1;
}
