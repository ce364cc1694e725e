// bench_startup: time from process start to the first paint of the main window, next to a bare
// Qt Widgets window measured the same way in the same run. Target: mousecfg adds at most 30 ms
// to the bare window's time, on a private X server with and without OpenGL (when Xvfb can be
// started) and offscreen.
// mousecfg runs on a copy of the application folder with the emulated mouse, so the window
// shows at once.
#include "benchdata.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 9;
constexpr double kTargetAddedMs = 30;

// Milliseconds until the program prints its first-paint line, or -1.
QProcessEnvironment g_env = QProcessEnvironment::systemEnvironment();

double timeToFirstPaint(const QString &exe, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = g_env;
    env.insert(QStringLiteral("MOUSECFG_STARTUP_PROBE"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(exe, args);
    QByteArray out;
    double ms = -1;
    while (p.waitForReadyRead(20000)) {
        out += p.readAllStandardOutput();
        if (out.contains("first paint")) {
            ms = t.nsecsElapsed() / 1e6;
            break;
        }
    }
    p.kill();
    p.waitForFinished();
    return ms;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

} // namespace

// One mode: medians of both programs, interleaved so both see the same machine load.
bool runMode(const QString &name, const QProcessEnvironment &env, const QStringList &args)
{
    g_env = env;
    const QString bare = QStringLiteral(MC_BENCH_DIR "/startup_bare_window");
    const QString mousecfg = QStringLiteral(MC_BIN_DIR "/mousecfg");
    std::vector<double> bareMs, appMs;
    for (int i = 0; i < kRuns; ++i) {
        bareMs.push_back(timeToFirstPaint(bare, {}));
        appMs.push_back(timeToFirstPaint(mousecfg, args));
    }
    const double b = median(bareMs);
    const double a = median(appMs);
    if (b <= 0 || a <= 0) {
        std::printf("startup (%s): a program did not paint (bare %.1f ms, mousecfg %.1f ms)\n",
                    qPrintable(name), b, a);
        return false;
    }
    const double added = a - b;
    std::printf("startup to first paint (%s, median of %d): bare window %.1f ms, mousecfg "
                "%.1f ms, +%.1f ms (target <= %.0f) %s\n",
                qPrintable(name), kRuns, b, a, added, kTargetAddedMs,
                added <= kTargetAddedMs ? "OK" : "OVER TARGET");
    return added <= kTargetAddedMs;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    BenchData data;
    const QStringList args = {QStringLiteral("--data-dir"), data.path(),
                              QStringLiteral("--emulate=receiver")};
    bool ok = true;
    for (bool withGl : {false, true}) {
        BenchDisplay display(withGl);
        if (display.name().startsWith(QLatin1String("xcb on Xvfb")))
            ok = runMode(display.name(), display.environment(), args) && ok;
    }
    QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    ok = runMode(QStringLiteral("offscreen"), offscreen, args) && ok;
    return ok ? 0 : 1;
}
