// mousecfg-osd: the on-screen display that the configuration program announces profile, DPI
// stage and report-rate changes through. One instance per user: the lock file beside the local
// server's name decides; a second start ends at once with status 0, leaving the first to show
// the messages. The program ends by itself after five idle minutes (no message and nothing on
// screen), so it does not linger once the configuration program is gone; the configuration
// program starts it again when it next has something to show.
//
//   mousecfg-osd [--server NAME] [--print] [--idle-exit-ms N]
//   --server        the local server name (default: the one the configuration program uses)
//   --print         also write each message shown, and each hide, to standard output
//   --idle-exit-ms  the idle time before the program ends
// How it shows a message depends on the desktop (osd/osdroute.h); MOUSECFG_OSD_ROUTE chooses by
// hand: window, layer-shell or notification.
#include "osd/log.h"
#include "osd/osdroute.h"
#include "osd/osdserver.h"
#include "osd/osdwindow.h"
#include "platform/focuswatcher.h"
#ifdef MC_HAVE_OSD_NOTIFIER
#include "osd/osdnotifier.h"
#endif
#include "platform/osdlink.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLockFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int kDefaultIdleExitMs = 5 * 60 * 1000;

QString lockPathFor(const QString &serverName)
{
    // A full path names the socket file itself; a plain name lives in the temporary folder.
    if (QDir::isAbsolutePath(serverName))
        return serverName + QStringLiteral(".lock");
    return QDir::tempPath() + QLatin1Char('/') + serverName + QStringLiteral(".lock");
}

void printLine(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    OsdRoute route = prepareOsdRoute();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mousecfg-osd"));
    QGuiApplication::setDesktopFileName(QLatin1String(mc::kOwnOsdAppId));
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    const QCommandLineOption serverOption(QStringLiteral("server"),
                                          QStringLiteral("Local server name."),
                                          QStringLiteral("NAME"), mc::osdServerName());
    const QCommandLineOption printOption(QStringLiteral("print"),
                                         QStringLiteral("Print each message shown."));
    const QCommandLineOption idleOption(QStringLiteral("idle-exit-ms"),
                                        QStringLiteral("Idle time before the program ends."),
                                        QStringLiteral("N"), QString::number(kDefaultIdleExitMs));
    parser.addOptions({serverOption, printOption, idleOption});
    parser.addHelpOption();
    parser.process(app);
    const QString serverName = parser.value(serverOption);
    const bool print = parser.isSet(printOption);
    bool idleOk = false;
    const int idleExitMs = parser.value(idleOption).toInt(&idleOk);
    if (serverName.isEmpty() || !idleOk || idleExitMs <= 0) {
        std::fputs("mousecfg-osd: invalid --server or --idle-exit-ms\n", stderr);
        return 64;
    }

    QLockFile lock(lockPathFor(serverName));
    lock.setStaleLockTime(0); // only a lock whose owner died is taken over
    if (!lock.tryLock(0))
        return 0; // another display program is running and shows the messages

    OsdServer server;
    if (!server.listen(serverName)) {
        std::fprintf(stderr, "mousecfg-osd: cannot listen on %s: %s\n", qPrintable(serverName),
                     qPrintable(server.errorString()));
        return 1;
    }

#ifdef MC_HAVE_OSD_NOTIFIER
    if (route == OsdRoute::Notification && !OsdNotifier::serverPresent()) {
        qCWarning(mc::lcOsd, "No notification server on the session bus: a window shows the "
                             "announcements instead");
        route = OsdRoute::Window;
    }
#else
    if (route == OsdRoute::Notification)
        route = OsdRoute::Window;
#endif
    // Qt may not have found Wayland (no platform plugin) although the compositor has layer
    // shell: then it is the X11 window after all.
    if (route == OsdRoute::LayerShell &&
        QGuiApplication::platformName() != QLatin1String("wayland"))
        route = OsdRoute::Window;
    qCDebug(mc::lcOsd, "On-screen display through a %s", osdRouteName(route));
    // On Wayland a window of our own is a toplevel, and the compositor hands it the focus when
    // it appears: taken from a game in play. With neither layer shell nor a notification server
    // nothing can show there without taking the focus, so announcements are left unshown.
    const bool unshown =
        route == OsdRoute::Window && QGuiApplication::platformName() == QLatin1String("wayland");
    if (unshown)
        qCWarning(mc::lcOsd, "Neither layer shell nor a notification server: announcements are "
                             "not shown, as a window would take the focus");

    QTimer idleExit;
    idleExit.setSingleShot(true);
    QObject::connect(&idleExit, &QTimer::timeout, &app, &QCoreApplication::quit);
    const auto onShown = [&](const mc::OsdMessage &m) {
        idleExit.start(std::max(idleExitMs, m.displayTimeMs));
        if (print)
            printLine(QStringLiteral("show %1 %2 %3 %4 %5")
                          .arg(m.displayTimeMs)
                          .arg(m.colour.name())
                          .arg(m.fontSize)
                          .arg(m.fontFamily, m.text));
    };
    const auto onHidden = [&] {
        if (print)
            printLine(QStringLiteral("hide"));
    };
    std::unique_ptr<OsdWindow> window;
#ifdef MC_HAVE_OSD_NOTIFIER
    std::unique_ptr<OsdNotifier> notifier;
    if (route == OsdRoute::Notification) {
        notifier = std::make_unique<OsdNotifier>();
        QObject::connect(&server, &OsdServer::messageReceived, notifier.get(),
                         &OsdNotifier::showMessage);
        QObject::connect(notifier.get(), &OsdNotifier::shown, &idleExit, onShown);
        QObject::connect(notifier.get(), &OsdNotifier::hidden, &app, onHidden);
    }
#endif
    if (route != OsdRoute::Notification && !unshown) {
        window = std::make_unique<OsdWindow>(route == OsdRoute::LayerShell);
#ifdef Q_OS_WIN
        window->winId(); // the configuration program looks the window up by its title
#endif
        QObject::connect(&server, &OsdServer::messageReceived, window.get(),
                         &OsdWindow::showMessage);
        QObject::connect(window.get(), &OsdWindow::shown, &idleExit, onShown);
        QObject::connect(window.get(), &OsdWindow::hidden, &app, onHidden);
    }
    idleExit.start(idleExitMs);
    if (print)
        printLine(QStringLiteral("ready"));
    return app.exec();
}
