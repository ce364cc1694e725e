// bench_startup: time from process start to the first frame of the main window on the screen,
// next to a bare Qt Widgets window measured the same way in the same run. On a private X server
// (with and without GLX) the frame is the first drawing the server reports through DAMAGE;
// offscreen, where nobody watches, it is the line each program prints once its first frame has
// been flushed. Programs are started in turn, so every case sees the same machine load, and
// the median of each case is compared.
// The program runs with QT_XCB_GL_INTEGRATION=none unless told otherwise, so the yardstick is
// the bare window with the same setting; the bare window with Qt's own choice is printed beside
// it. Cases: a warm start (the data folder has been started on before), a cold start (a fresh
// data folder the program has written nothing to) and a start with no mouse (the window waits for
// its warning). Targets: warm at most 20 ms and cold at most 30 ms over the bare window, in every
// mode. MOUSECFG_BENCH_RUNS sets the number of runs (9).
#include "benchdata.h"
#include "benchdisplay.h"
#include "firstframe.h"

#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr double kTargetWarmMs = 20;
constexpr double kTargetColdMs = 30;
constexpr int kTimeoutMs = 20000;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    if (v.empty() || v.front() < 0)
        return -1; // a run that never showed its window spoils the case
    return v[v.size() / 2];
}

// One start of a program: milliseconds to its first frame, or -1.
double timeToFirstFrame(const QString &exe, const QStringList &args, QProcessEnvironment env,
                        FirstFrameWatch *watch)
{
    if (!watch)
        env.insert(QStringLiteral("MOUSECFG_STARTUP_PROBE"), QStringLiteral("1"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer t;
    t.start();
    p.start(exe, args);
    double ms = -1;
    if (watch) {
        ms = watch->waitForFirstFrame(t, kTimeoutMs);
    } else {
        QByteArray out;
        while (p.waitForReadyRead(kTimeoutMs)) {
            out += p.readAllStandardOutput();
            if (out.contains("first paint")) {
                ms = double(t.nsecsElapsed()) / 1e6;
                break;
            }
        }
    }
    p.kill();
    p.waitForFinished();
    return ms;
}

struct Case
{
    const char *label;
    std::function<double()> run;
    std::vector<double> ms;
};

const QString kBare = QStringLiteral(MC_BENCH_DIR "/startup_bare_window");
const QString kMousecfg = QStringLiteral(MC_BIN_DIR "/mousecfg");

QStringList mousecfgArgs(const QString &data, const char *emulate)
{
    return {QStringLiteral("--data-dir"), data,
            QStringLiteral("--emulate=") + QLatin1String(emulate)};
}

bool runMode(const QString &name, const QProcessEnvironment &env, FirstFrameWatch *watch, int runs)
{
    QProcessEnvironment noGl = env;
    noGl.insert(QStringLiteral("QT_XCB_GL_INTEGRATION"), QStringLiteral("none"));
    QProcessEnvironment qtGl = env;
    qtGl.remove(QStringLiteral("QT_XCB_GL_INTEGRATION"));
    BenchData warm;
    // The warm folder has seen one start: what the program writes on its first is there.
    timeToFirstFrame(kMousecfg, mousecfgArgs(warm.path(), "receiver"), env, watch);

    std::vector<Case> cases;
    cases.push_back({"bare", [&] { return timeToFirstFrame(kBare, {}, noGl, watch); }, {}});
    cases.push_back(
        {"bare, Qt's GL", [&] { return timeToFirstFrame(kBare, {}, qtGl, watch); }, {}});
    cases.push_back({"warm",
                     [&] {
                         return timeToFirstFrame(kMousecfg, mousecfgArgs(warm.path(), "receiver"),
                                                 env, watch);
                     },
                     {}});
    cases.push_back({"cold",
                     [&] {
                         BenchData fresh;
                         return timeToFirstFrame(kMousecfg, mousecfgArgs(fresh.path(), "receiver"),
                                                 env, watch);
                     },
                     {}});
    cases.push_back(
        {"no mouse",
         [&] { return timeToFirstFrame(kMousecfg, mousecfgArgs(warm.path(), "none"), env, watch); },
         {}});
    for (int i = 0; i < runs; ++i) {
        for (Case &c : cases)
            c.ms.push_back(c.run());
    }
    const double bare = median(cases[0].ms);
    const double bareQtGl = median(cases[1].ms);
    const double w = median(cases[2].ms);
    const double c = median(cases[3].ms);
    const double none = median(cases[4].ms);
    std::printf("startup to the first frame (%s, median of %d):\n", qPrintable(name), runs);
    if (bare <= 0 || w <= 0 || c <= 0) {
        std::printf("  a program did not show its window (bare %.1f, warm %.1f, cold %.1f ms)\n",
                    bare, w, c);
        return false;
    }
    const bool warmOk = w - bare <= kTargetWarmMs;
    const bool coldOk = c - bare <= kTargetColdMs;
    std::printf("  bare window %.1f ms (with Qt's own GL choice %.1f ms)\n", bare, bareQtGl);
    std::printf("  mousecfg warm %.1f ms, %+.1f ms (target <= %.0f) %s\n", w, w - bare,
                kTargetWarmMs, warmOk ? "OK" : "OVER TARGET");
    std::printf("  mousecfg cold %.1f ms, %+.1f ms (target <= %.0f) %s\n", c, c - bare,
                kTargetColdMs, coldOk ? "OK" : "OVER TARGET");
    std::printf("  mousecfg without a mouse %.1f ms, %+.1f ms (the window waits for its "
                "warning)\n",
                none, none - bare);
    return warmOk && coldOk;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = qEnvironmentVariableIsSet("MOUSECFG_BENCH_RUNS")
                         ? qMax(1, qEnvironmentVariableIntValue("MOUSECFG_BENCH_RUNS"))
                         : 9;
    bool ok = true;
    for (bool withGl : {true, false}) {
        BenchDisplay display(withGl);
        if (!display.isUp()) {
            std::printf("startup (%s): no X server could be started; skipped\n",
                        withGl ? "with GLX" : "without GLX");
            continue;
        }
        FirstFrameWatch watch(display.display());
        if (!watch.ok()) {
            std::printf("startup (%s): the server has no DAMAGE extension\n",
                        qPrintable(display.name()));
            ok = false;
            continue;
        }
        ok = runMode(display.name(), display.environment(), &watch, runs) && ok;
    }
    QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    ok = runMode(QStringLiteral("offscreen"), offscreen, nullptr, runs) && ok;
    return ok ? 0 : 1;
}
