// Choosing the display's route.
#include "osd/osdroute.h"
#include "platform/waylandsession.h"

#include <QByteArray>
#include <QStringList>

#ifdef MC_HAVE_LAYERSHELLQT
#include <LayerShellQt/Shell>
#endif

OsdRoute prepareOsdRoute()
{
#ifdef Q_OS_WIN
    return OsdRoute::Window;
#else
    // Chosen by hand (a desktop that offers layer shell but whose user prefers notifications,
    // or the tests): MOUSECFG_OSD_ROUTE=window|layer-shell|notification.
    const QByteArray chosen = qgetenv("MOUSECFG_OSD_ROUTE");
    if (chosen == "window")
        return OsdRoute::Window;
    if (chosen == "notification")
        return OsdRoute::Notification;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    // A display without a desktop (the tests' offscreen platform) or an X11 session.
    if (platform == "offscreen" || platform == "minimal" || !mc::waylandSession())
        return OsdRoute::Window;
    const QStringList globals = mc::waylandGlobals();
    if (globals.isEmpty())
        return OsdRoute::Window; // WAYLAND_DISPLAY names no compositor we can reach
#ifdef MC_HAVE_LAYERSHELLQT
    if (globals.contains(QStringLiteral("zwlr_layer_shell_v1")) || chosen == "layer-shell") {
        // The overlay is a Wayland surface: Qt must run on Wayland even where the
        // configuration program (whose environment we inherit) chose XWayland.
        qputenv("QT_QPA_PLATFORM", "wayland;xcb");
        LayerShellQt::Shell::useLayerShell();
        return OsdRoute::LayerShell;
    }
#endif
    return OsdRoute::Notification;
#endif
}

const char *osdRouteName(OsdRoute route)
{
    switch (route) {
    case OsdRoute::LayerShell:
        return "layer-shell overlay";
    case OsdRoute::Notification:
        return "desktop notification";
    case OsdRoute::Window:
        break;
    }
    return "window";
}
