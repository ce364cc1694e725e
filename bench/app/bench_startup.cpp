// bench_startup: time from process start to the first paint of the main window, next to a bare
// Qt Widgets window measured the same way in the same run. Target: at most 1.5 x the bare
// window. mousecfg runs on a copy of the application folder with the emulated mouse, so the
// window shows at once. Both run on a private X server (Xvfb) when one can be started, since a
// real desktop start connects to a display; otherwise on the platform the environment names.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 9;
constexpr double kTarget = 1.5;

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

bool copyTree(const QString &from, const QString &to)
{
    QDir src(from);
    if (!src.exists())
        return false;
    QDir().mkpath(to);
    for (const QFileInfo &fi : src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + fi.fileName();
        if (fi.isDir())
            copyTree(fi.filePath(), target);
        else
            QFile::copy(fi.filePath(), target);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir data;
    copyTree(QStringLiteral(MC_BIN_DIR "/skin"), data.path() + QStringLiteral("/skin"));
    copyTree(QStringLiteral(MC_BIN_DIR "/lang"), data.path() + QStringLiteral("/lang"));
    copyTree(QStringLiteral(MC_BIN_DIR "/Configs"), data.path() + QStringLiteral("/Configs"));
    if (QFile::exists(QStringLiteral(MC_BIN_DIR "/DefaultProfile.bin")))
        QFile::copy(QStringLiteral(MC_BIN_DIR "/DefaultProfile.bin"),
                    data.path() + QStringLiteral("/DefaultProfile.bin"));

    const QString bare = QStringLiteral(MC_BENCH_DIR "/startup_bare_window");
    const QString mousecfg = QStringLiteral(MC_BIN_DIR "/mousecfg");
    const QStringList args = {QStringLiteral("--data-dir"), data.path(),
                              QStringLiteral("--emulate=receiver")};
    QProcess xserver;
    QString platform = g_env.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("default"));
    const QString display =
        QStringLiteral(":%1").arg(90 + QCoreApplication::applicationPid() % 100);
    xserver.start(QStringLiteral("Xvfb"), {display, QStringLiteral("-screen"), QStringLiteral("0"),
                                           QStringLiteral("1600x1000x24"),
                                           QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (xserver.waitForStarted(3000)) {
        QThread::msleep(500); // let the server open its socket
        g_env.insert(QStringLiteral("DISPLAY"), display);
        g_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        platform = QStringLiteral("xcb on Xvfb");
    }

    std::vector<double> bareMs, appMs;
    for (int i = 0; i < kRuns; ++i) { // interleaved, so both see the same machine load
        bareMs.push_back(timeToFirstPaint(bare, {}));
        appMs.push_back(timeToFirstPaint(mousecfg, args));
    }
    const double b = median(bareMs);
    const double a = median(appMs);
    if (b <= 0 || a <= 0) {
        xserver.terminate();
        xserver.waitForFinished(3000);
        std::printf("startup: a program did not paint (bare %.1f ms, mousecfg %.1f ms)\n", b, a);
        return 1;
    }
    xserver.terminate();
    xserver.waitForFinished(3000);
    const double ratio = a / b;
    std::printf("startup to first paint (%s, median of %d): bare window %.1f ms, mousecfg "
                "%.1f ms, ratio %.2f (target <= %.1f) %s\n",
                qPrintable(platform), kRuns, b, a, ratio, kTarget,
                ratio <= kTarget ? "OK" : "OVER TARGET");
    return ratio <= kTarget ? 0 : 1;
}
