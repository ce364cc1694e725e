// bench_leak: whether an open mousecfg keeps memory that it no longer needs. The emulated
// receiver is driven through its control file: unplugged and plugged again, then the slot
// changed with the mouse's own buttons (a profile report), each many times. After a warm-up
// (caches, the first message box, pictures) anonymous memory is sampled every few cycles, and
// the growth per cycle is the slope of a straight line through the samples, which noise of the
// allocator does not tip as one sample against another would. Target: at most 1 kB per cycle
// for each kind. A re-plug cycle waits until the program's log says it found the mouse again,
// so each one is handled whole. MOUSECFG_LEAK_CYCLES changes the number of
// measured cycles (200).
#include "benchdata.h"
#include "benchdisplay.h"

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
// Long enough for the window to see the file change and finish what it starts: a report
// redraws every panel, an unplug opens the "Dongle Disconnect!" box.
constexpr unsigned long kPauseMs = 120;
constexpr unsigned long kUnplugPauseMs = 500;
// A mouse plugged back is found again (the program's log says so) and given the window's
// settings; the cycle waits for the first, at most this long, and then for the second.
constexpr int kPlugTimeoutMs = 5000;
constexpr unsigned long kAfterFoundMs = 1000;
constexpr int kLogLinesKept = 20;

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

void command(const QString &path, const QByteArray &lines, unsigned long pauseMs = kPauseMs)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(lines);
    f.close();
    QThread::msleep(pauseMs);
}

// Reads the program's log (--verbose, on its standard error) as it comes: how many times it has
// found the mouse so far. Read all the time, so that the pipe never fills and stops it.
class LogWatch
{
public:
    explicit LogWatch(QProcess &process) : m_process(process)
    {
        m_process.setReadChannel(QProcess::StandardError);
    }
    int found()
    {
        m_process.waitForReadyRead(0);
        m_pending += m_process.readAllStandardError();
        int end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            const QByteArray line = m_pending.left(end);
            if (line.contains("mouse found:"))
                ++m_found;
            m_last.append(line);
            if (m_last.size() > kLogLinesKept)
                m_last.removeFirst();
            m_pending.remove(0, end + 1);
        }
        return m_found;
    }
    // The last lines of the log, to say why a program ended early.
    QList<QByteArray> lastLines() const { return m_last; }
    // Waits until the mouse has been found once more than `before`; false after the timeout.
    bool waitBeyond(int before)
    {
        for (int waited = 0; waited < kPlugTimeoutMs; waited += 20) {
            if (found() > before)
                return true;
            m_process.waitForReadyRead(20);
        }
        return false;
    }

private:
    QProcess &m_process;
    QByteArray m_pending;
    QList<QByteArray> m_last;
    int m_found = 0;
};

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
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(QStringLiteral(MC_BIN_DIR "/mousecfg"),
            {QStringLiteral("--verbose"), QStringLiteral("--data-dir"), data.path()});
    if (!p.waitForStarted(5000)) {
        std::printf("leak: mousecfg did not start\n");
        return 1;
    }
    LogWatch log(p);
    log.waitBeyond(0); // start-up: the mouse is found first
    QThread::sleep(2); // the first status answers
    const qint64 pid = p.processId();

    int missed = 0;
    const Run plug = cycles(pid, measured, [&](int) {
        command(control, "unplug receiver\n", kUnplugPauseMs);
        const int before = log.found();
        command(control, "plug receiver\n", 0);
        if (!log.waitBeyond(before))
            ++missed;
        QThread::msleep(kAfterFoundMs);
        log.found();
    });
    const Run report = cycles(pid, measured, [&](int i) {
        // Slot, stage and rate all move, so every panel shows another record each time.
        command(control, QStringLiteral("report %1 %2 %3\n")
                             .arg(i % 5)
                             .arg(i % 4)
                             .arg(i % 2 ? 1 : 8)
                             .toLatin1());
        log.found();
    });
    const bool alive = p.state() == QProcess::Running;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
    }
    if (!alive || plug.kbPerCycle < 0 || report.kbPerCycle < 0) {
        std::printf("leak: mousecfg ended during the run (exit %d); its last words:\n",
                    p.exitCode());
        log.found();
        for (const QByteArray &line : log.lastLines())
            std::printf("  %s\n", line.constData());
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
    if (missed > 0)
        std::printf("  (%d re-plugs were not seen by the program within %d ms)\n", missed,
                    kPlugTimeoutMs);
    std::printf("  profile reports: %lld -> %lld kB anonymous, %.2f kB per cycle (target <= "
                "%.0f) %s\n",
                report.startKb, report.endKb, report.kbPerCycle, kTargetKbPerCycle,
                reportOk ? "OK" : "OVER TARGET");
    return plugOk && reportOk ? 0 : 1;
}
