// bench_write: a whole write as the user starts it, `mousecfg-cli --emulate apply`, with every
// group sent and twelve distinct macros of 63 actions assigned, against the emulated mouse
// answering at once. The protocol's floor is the number of commands written times the 10 ms
// pause after each; the target is the whole run (process start, loading and saving the store,
// reading the macro files included) within 1.15 times that floor. The same write while the
// receiver sends the pointer's reports at 1000 Hz on the same node
// (MOUSECFG_EMULATE_MOTION=1000) must succeed every time, within 1.1 times the floor for its
// device part (the still run's time beyond its floor is the program's own, and is taken out).
#include "macro/macrofile.h"
#include "profile/paths.h"
#include "profile/profilestore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace mc;

namespace {

constexpr int kMacros = 12;
constexpr int kActions = 63;
constexpr int kRuns = 5;
constexpr double kPauseMs = 10.0;
constexpr double kTarget = 1.15;
constexpr double kMovingTarget = 1.1;
constexpr int kMotionHz = 1000;

void writeDataFolder(const QString &dir)
{
    setAppDir(dir);
    QDir(dir).mkpath(QStringLiteral("Configs/MacroDB"));
    {
        QSettings d(productDescriptionFile(), QSettings::IniFormat);
        d.setValue("PROFILE/ProductName", "BenchMouse");
        d.setValue("PROFILE/ButtonCount", kMacros);
        d.setValue("PROFILE/MouseDpi", 0);
        d.setValue("PROFILE/DPICount", kMacros ^ 6);
        for (int n = 0; n < kMacros; ++n)
            d.setValue(QString("PROFILE/BUTTON_INFO_%1_Matrix").arg(n), n);
    }
    {
        QSettings c(appSettingsFile(), QSettings::IniFormat);
        c.setValue("Mouse_List/0", "BenchMouse");
        c.setValue("Config/CurrentProductName", "BenchMouse");
        c.setValue("MouseSenSor/1", 3395);
    }
    ProfileStore store;
    LoadStore(store);
    for (int m = 0; m < kMacros; ++m) {
        Macro macro;
        for (int a = 0; a < kActions; ++a)
            macro.actions.append(a % 2 == 0 ? macro::keyPress(uint8_t(4 + m))
                                            : macro::keyRelease(uint8_t(4 + m)));
        const QString name = QString("Bench%1").arg(m);
        saveMacro(name, macro);
        ButtonInfo &b = store.profiles[0].buttons[size_t(m)];
        b.Fun = kMacroFunction;
        b.macroname = name;
        b.LoopNumber = 1;
        b.KeyNumber = kActions;
    }
    SaveStore(store);
}

// Runs the CLI; the number of reports written (from the trace), or -1 on failure.
int runApply(const QString &dir, bool trace, qint64 *elapsedMs, int motionHz = 0)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("MOUSECFG_EMULATE");
    env.remove("MOUSECFG_EMULATE_MOTION");
    if (motionHz > 0)
        env.insert("MOUSECFG_EMULATE_MOTION", QString::number(motionHz));
    p.setProcessEnvironment(env);
    QStringList args{"--data-dir", dir, "--emulate"};
    if (trace)
        args << "--trace";
    args << "apply";
    QElapsedTimer t;
    t.start();
    p.start(MOUSECFG_CLI_PATH, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    if (elapsedMs)
        *elapsedMs = t.elapsed();
    int written = 0;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n'))
        written += line.startsWith("> ");
    return written;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    writeDataFolder(dir.path());

    const int commands = runApply(dir.path(), true, nullptr);
    if (commands <= 0) {
        std::printf("bench_write: the write failed\n");
        return 1;
    }
    const auto median = [&](int motionHz, qint64 *fastest, qint64 *slowest) -> double {
        std::vector<qint64> times;
        for (int i = 0; i < kRuns; ++i) {
            qint64 ms = 0;
            if (runApply(dir.path(), false, &ms, motionHz) < 0)
                return -1;
            times.push_back(ms);
        }
        std::sort(times.begin(), times.end());
        *fastest = times.front();
        *slowest = times.back();
        return double(times[times.size() / 2]);
    };
    const double floorMs = commands * kPauseMs;
    qint64 fastest = 0;
    qint64 slowest = 0;
    const double still = median(0, &fastest, &slowest);
    if (still < 0) {
        std::printf("bench_write: the write failed\n");
        return 1;
    }
    const double ratio = still / floorMs;
    std::printf("full write, %d macros of %d actions: %d commands written\n", kMacros, kActions,
                commands);
    std::printf("protocol floor (commands x 10 ms): %.0f ms\n", floorMs);
    std::printf("whole write, median of %d runs: %.0f ms (fastest %lld, slowest %lld)\n", kRuns,
                still, static_cast<long long>(fastest), static_cast<long long>(slowest));
    std::printf("ratio %.3f, target %.2f: %s\n", ratio, kTarget,
                ratio <= kTarget ? "met" : "MISSED");

    const double moving = median(kMotionHz, &fastest, &slowest);
    if (moving < 0) {
        std::printf("bench_write: the write failed while the pointer moved at %d Hz: MISSED\n",
                    kMotionHz);
        return 1;
    }
    // The program's own share (start, files) is the still run's time beyond its floor.
    const double own = std::max(0.0, still - floorMs);
    const double movingRatio = (moving - own) / floorMs;
    std::printf("whole write while the pointer moves at %d Hz, median of %d runs: %.0f ms "
                "(fastest %lld, slowest %lld), all succeeded\n",
                kMotionHz, kRuns, moving, static_cast<long long>(fastest),
                static_cast<long long>(slowest));
    std::printf("device part %.0f ms, ratio %.3f, target %.2f: %s\n", moving - own, movingRatio,
                kMovingTarget, movingRatio <= kMovingTarget ? "met" : "MISSED");
    return ratio <= kTarget && movingRatio <= kMovingTarget ? 0 : 1;
}
