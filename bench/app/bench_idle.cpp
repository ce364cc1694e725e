// bench_idle: what an open, idle mousecfg costs the machine, next to a bare Qt Widgets window
// from the same run and with the same OpenGL setting (the program runs without Qt's GL
// integration unless told otherwise; the bare window with Qt's own choice is printed beside it):
// anonymous memory (smaps_rollup) after start and after every tab has been opened, and over a
// quiet minute CPU time and wake-ups (context switches of all threads). The cases: the emulated
// receiver (the status poller runs), still and with its pointer moving at 1000 Hz, and no mouse
// at all (only the "Dongle Disconnect!" box). Targets: memory with every tab opened at most 4 MB
// above the bare window; with the still mouse at most 0.1 % CPU and 6 wake-ups a second, with
// the moving one at most 0.5 % CPU; without a mouse at most 1 wake-up a second. A last case
// follows the application in front (focus rules on, so the watcher holds its X connection):
// with no focus change it may wake no more than the same program with the rules off.
// MOUSECFG_IDLE_SECONDS shortens the quiet minute.
#include "benchdata.h"
#include "benchdisplay.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSettings>
#include <QThread>

#include <cstdio>
#include <unistd.h>

namespace {

struct Sample
{
    // Voluntary and involuntary context switches per thread: a thread that ends between two
    // samples takes its count along, so only the threads of the later sample are compared.
    QHash<QString, long long> switches;
    long long ticks = 0; // user and system CPU time in clock ticks
};

// Switches of the threads alive at b since a (a thread started in between counts whole).
long long switchesBetween(const Sample &a, const Sample &b)
{
    long long n = 0;
    for (auto it = b.switches.cbegin(); it != b.switches.cend(); ++it)
        n += it.value() - a.switches.value(it.key(), 0);
    return n;
}

long long statusField(const QByteArray &status, const char *field)
{
    for (const QByteArray &line : status.split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

QByteArray readProc(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Sample sample(qint64 pid)
{
    Sample s;
    const QString base = QStringLiteral("/proc/%1").arg(pid);
    const QStringList tasks =
        QDir(base + QStringLiteral("/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &t : tasks) {
        const QByteArray st =
            readProc(base + QStringLiteral("/task/") + t + QStringLiteral("/status"));
        s.switches.insert(t, statusField(st, "voluntary_ctxt_switches:") +
                                 statusField(st, "nonvoluntary_ctxt_switches:"));
    }
    // Fields 14 and 15 of stat, counted after the command name's closing parenthesis.
    const QByteArray stat = readProc(base + QStringLiteral("/stat"));
    const QList<QByteArray> f = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (f.size() > 12)
        s.ticks = f.at(11).toLongLong() + f.at(12).toLongLong();
    return s;
}

// Anonymous memory of the whole process, swapped-out pages included in neither.
double anonMegabytes(qint64 pid)
{
    return statusField(readProc(QStringLiteral("/proc/%1/smaps_rollup").arg(pid)), "Anonymous:") /
           1024.0;
}

// Design geometry of the four tabs; the benchmark's server runs at 96 dpi, where a design unit
// is a pixel.
constexpr int kTabX = 69 + 149 / 2;
constexpr int kTabY[] = {90 + 12, 124 + 12, 158 + 12, 192 + 12};

// Opens every tab of the window of `pid` with real clicks, the way a user would.
bool openEveryTab(qint64 pid, const QProcessEnvironment &env)
{
    QProcess search;
    search.setProcessEnvironment(env);
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                  QString::number(pid)});
    if (!search.waitForFinished(5000))
        return false;
    const QList<QByteArray> windows = search.readAllStandardOutput().trimmed().split('\n');
    if (windows.isEmpty() || windows.first().isEmpty())
        return false;
    for (int y : kTabY) {
        QProcess click;
        click.setProcessEnvironment(env);
        click.start(QStringLiteral("xdotool"),
                    {QStringLiteral("mousemove"), QStringLiteral("--window"),
                     QString::fromLatin1(windows.first()), QString::number(kTabX), QString::number(y),
                     QStringLiteral("click"), QStringLiteral("1")});
        if (!click.waitForFinished(5000) || click.exitCode() != 0)
            return false;
        QThread::msleep(700);
    }
    return true;
}

struct Idle
{
    double anonMb = -1;
    double allTabsMb = -1; // after every tab was opened, when asked for
    double wakeups = -1; // per second
    double cpuPercent = -1;
};

Idle measure(const QString &exe, const QStringList &args, const QProcessEnvironment &env,
             int seconds, bool everyTab = false)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(exe, args);
    Idle r;
    if (!p.waitForStarted(5000))
        return r;
    QThread::sleep(3); // start-up, first status answers and the warning's 200 ms timer settle
    const qint64 pid = p.processId();
    r.anonMb = anonMegabytes(pid);
    if (everyTab && openEveryTab(pid, env)) {
        QThread::sleep(1);
        r.allTabsMb = anonMegabytes(pid);
    }
    const Sample a = sample(pid);
    QThread::sleep(ulong(seconds));
    const Sample b = sample(pid);
    r.wakeups = double(switchesBetween(a, b)) / seconds;
    r.cpuPercent = 100.0 * double(b.ticks - a.ticks) / double(sysconf(_SC_CLK_TCK)) / seconds;
    p.terminate();
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished();
    }
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = qEnvironmentVariableIsSet("MOUSECFG_IDLE_SECONDS")
                            ? qMax(1, qEnvironmentVariableIntValue("MOUSECFG_IDLE_SECONDS"))
                            : 60;
    BenchData data;
    BenchDisplay display;
    if (!display.isUp()) {
        std::printf("idle: no X server could be started\n");
        return 1;
    }
    const QString bare = QStringLiteral(MC_BENCH_DIR "/startup_bare_window");
    const QString mousecfg = QStringLiteral(MC_BIN_DIR "/mousecfg");
    const QStringList args = {QStringLiteral("--data-dir"), data.path()};
    QProcessEnvironment withMouse = display.environment();
    withMouse.insert(QStringLiteral("MOUSECFG_EMULATE"), QStringLiteral("receiver"));
    // The pointer moving at 1000 Hz: every report reaches the poller's handle of the node. The
    // emulated mouse makes them inside the program, so the figure includes that work too.
    QProcessEnvironment moving = withMouse;
    moving.insert(QStringLiteral("MOUSECFG_EMULATE_MOTION"), QStringLiteral("1000"));
    QProcessEnvironment noMouse = display.environment();
    noMouse.insert(QStringLiteral("MOUSECFG_EMULATE"), QStringLiteral("none"));

    QProcessEnvironment bareNoGl = display.environment();
    bareNoGl.insert(QStringLiteral("QT_XCB_GL_INTEGRATION"), QStringLiteral("none"));
    const Idle b = measure(bare, {}, bareNoGl, seconds);
    const Idle bq = measure(bare, {}, display.environment(), seconds);
    const Idle m = measure(mousecfg, args, withMouse, seconds, true);
    const Idle v = measure(mousecfg, args, moving, seconds);
    const Idle n = measure(mousecfg, args, noMouse, seconds);
    {
        QSettings config(data.path() + QStringLiteral("/Configs/Config.ini"), QSettings::IniFormat);
        config.setValue(QStringLiteral("FocusRules/Enabled"), 1);
        config.setValue(QStringLiteral("FocusRules/Count"), 1);
        config.setValue(QStringLiteral("FocusRules/App_0"), QStringLiteral("game"));
        config.setValue(QStringLiteral("FocusRules/Slot_0"), 2);
    }
    const Idle f = measure(mousecfg, args, noMouse, seconds);
    // A program that ended before it was measured reads as no memory at all.
    if (b.anonMb <= 0 || m.anonMb <= 0 || v.anonMb <= 0 || n.anonMb <= 0 || f.anonMb <= 0 || m.allTabsMb <= 0) {
        std::printf("idle: a program did not start, or its tabs could not be opened (bare %.1f, "
                    "mousecfg %.1f / every tab %.1f, no mouse %.1f, rules %.1f MB)\n",
                    b.anonMb, m.anonMb, m.allTabsMb, n.anonMb, f.anonMb);
        return 1;
    }
    const double extraMb = m.allTabsMb - b.anonMb;
    const bool memOk = extraMb <= 4.0;
    const bool mouseOk = m.cpuPercent <= 0.1 && m.wakeups <= 6.0;
    const bool movingOk = v.cpuPercent <= 0.5;
    const bool noneOk = n.wakeups <= 1.0;
    // One wake-up over the whole quiet time is what a measurement can tell apart.
    const bool focusOk = f.wakeups <= n.wakeups + 1.0 / seconds;
    std::printf("idle (%s, %d s each):\n", qPrintable(display.name()), seconds);
    std::printf("  anonymous memory: bare window %.1f MB (with Qt's own GL choice %.1f MB)\n",
                b.anonMb, bq.anonMb);
    std::printf("  mousecfg after start %.1f MB, %+.1f MB\n", m.anonMb, m.anonMb - b.anonMb);
    std::printf("  mousecfg with every tab opened %.1f MB, %+.1f MB (target <= 4) %s\n",
                m.allTabsMb, extraMb, memOk ? "OK" : "OVER TARGET");
    std::printf("  bare window: %.2f wake-ups/s, %.3f %% CPU\n", b.wakeups, b.cpuPercent);
    std::printf("  mousecfg with the receiver: %.2f wake-ups/s (target <= 6), %.3f %% CPU "
                "(target <= 0.1) %s\n",
                m.wakeups, m.cpuPercent, mouseOk ? "OK" : "OVER TARGET");
    std::printf("  mousecfg with the pointer moving at 1000 Hz: %.2f wake-ups/s, %.3f %% CPU "
                "(target <= 0.5) %s\n",
                v.wakeups, v.cpuPercent, movingOk ? "OK" : "OVER TARGET");
    std::printf("  mousecfg without a mouse: %.2f wake-ups/s (target <= 1), %.3f %% CPU %s\n",
                n.wakeups, n.cpuPercent, noneOk ? "OK" : "OVER TARGET");
    std::printf("  mousecfg without a mouse, following the application in front: %.2f "
                "wake-ups/s (target <= %.2f), %.3f %% CPU %s\n",
                f.wakeups, n.wakeups + 1.0 / seconds, f.cpuPercent, focusOk ? "OK" : "OVER TARGET");
    return memOk && mouseOk && movingOk && noneOk && focusOk ? 0 : 1;
}
