// bench_leak: whether an open mousecfg keeps memory that it no longer needs. The emulated
// receiver is driven through its control file: unplugged and plugged again, then the slot
// changed with the mouse's own buttons (a profile report), each many times. After a warm-up
// (caches, the first message box, pictures) anonymous memory is sampled every few cycles, and
// the growth per cycle is the slope of a straight line through the samples, which noise of the
// allocator does not tip as one sample against another would. Target: at most 1 kB per cycle
// for each kind. MOUSECFG_LEAK_CYCLES changes the number of measured cycles (200).
#include "benchdata.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointF>
#include <QProcess>
#include <QThread>
#include <QVector>

#include <cstdio>

namespace {

constexpr int kWarmUp = 20;
constexpr int kSampleEvery = 10;
constexpr double kTargetKbPerCycle = 1.0;
// Long enough for the window to see the file change and finish what it starts: a re-plug
// reopens the mouse and queries it, a report redraws every panel.
constexpr unsigned long kPauseMs = 120;

long long anonKb(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("RssAnon:"))
            return line.mid(8).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

void command(const QString &path, const QByteArray &lines)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(lines);
    f.close();
    QThread::msleep(kPauseMs);
}

// Least-squares slope of the samples against their cycle numbers, in kB per cycle.
double slope(const QVector<QPointF> &points)
{
    const double n = points.size();
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const QPointF &p : points) {
        sx += p.x();
        sy += p.y();
        sxx += p.x() * p.x();
        sxy += p.x() * p.y();
    }
    const double d = n * sxx - sx * sx;
    return d == 0 ? 0 : (n * sxy - sx * sy) / d;
}

struct Run
{
    double kbPerCycle = -1;
    long long startKb = -1;
    long long endKb = -1;
};

// Runs warm-up and measured cycles of one kind; step(i) sends the lines of cycle i.
template <class Step> Run cycles(qint64 pid, int measured, Step step)
{
    for (int i = 0; i < kWarmUp; ++i)
        step(i);
    Run r;
    QVector<QPointF> points;
    r.startKb = anonKb(pid);
    points.append(QPointF(0, double(r.startKb)));
    for (int i = 1; i <= measured; ++i) {
        step(i);
        if (i % kSampleEvery == 0)
            points.append(QPointF(i, double(anonKb(pid))));
    }
    r.endKb = anonKb(pid);
    if (r.startKb > 0 && r.endKb > 0)
        r.kbPerCycle = slope(points);
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int measured =
        qEnvironmentVariableIsSet("MOUSECFG_LEAK_CYCLES")
            ? qMax(kSampleEvery, qEnvironmentVariableIntValue("MOUSECFG_LEAK_CYCLES"))
            : 200;
    BenchData data;
    BenchDisplay display;
    const QString control = data.path() + QStringLiteral("/emulator-control");
    command(control, QByteArray());
    QProcessEnvironment env = display.environment();
    env.insert(QStringLiteral("MOUSECFG_EMULATE"), QStringLiteral("receiver"));
    env.insert(QStringLiteral("MOUSECFG_EMULATOR_CONTROL"), control);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral(MC_BIN_DIR "/mousecfg"), {QStringLiteral("--data-dir"), data.path()});
    if (!p.waitForStarted(5000)) {
        std::printf("leak: mousecfg did not start\n");
        return 1;
    }
    QThread::sleep(3); // start-up and the first status answers
    const qint64 pid = p.processId();

    const Run plug = cycles(pid, measured, [&](int) {
        command(control, "unplug receiver\n");
        command(control, "plug receiver\n");
    });
    const Run report = cycles(pid, measured, [&](int i) {
        // Slot, stage and rate all move, so every panel shows another record each time.
        command(control, QStringLiteral("report %1 %2 %3\n")
                             .arg(i % 5)
                             .arg(i % 4)
                             .arg(i % 2 ? 1 : 8)
                             .toLatin1());
    });
    const bool alive = p.state() == QProcess::Running;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
    }
    if (!alive || plug.kbPerCycle < 0 || report.kbPerCycle < 0) {
        std::printf("leak: mousecfg ended during the run\n");
        return 1;
    }
    const bool plugOk = plug.kbPerCycle <= kTargetKbPerCycle;
    const bool reportOk = report.kbPerCycle <= kTargetKbPerCycle;
    std::printf("leak (%s, %d cycles each after %d to warm up):\n", qPrintable(display.name()),
                measured, kWarmUp);
    std::printf("  unplug and plug: %lld -> %lld kB anonymous, %.2f kB per cycle (target <= "
                "%.0f) %s\n",
                plug.startKb, plug.endKb, plug.kbPerCycle, kTargetKbPerCycle,
                plugOk ? "OK" : "OVER TARGET");
    std::printf("  profile reports: %lld -> %lld kB anonymous, %.2f kB per cycle (target <= "
                "%.0f) %s\n",
                report.startKb, report.endKb, report.kbPerCycle, kTargetKbPerCycle,
                reportOk ? "OK" : "OVER TARGET");
    return plugOk && reportOk ? 0 : 1;
}
