// Which source of the application in front a Linux desktop has. On a Wayland session the X11
// source would see only XWayland clients (and report "nothing in front" while a native one
// is), so it is used only where the session is X11.
#include "platform/focuswatcherroutes.h"
#include "platform/waylandsession.h"

#include <QCoreApplication>

namespace mc {

std::unique_ptr<FocusWatcher> createSystemFocusWatcher(QString *reason)
{
    if (!waylandSession())
        return createX11FocusWatcher(reason);
    QString wlrReason;
    if (auto watcher = createWlrFocusWatcher(&wlrReason))
        return watcher;
    const QString desktop = desktopFamily();
    if (desktop == QLatin1String("kde"))
        return createKWinFocusWatcher(reason);
    if (desktop == QLatin1String("gnome")) {
        // Shown in the rules dialog, translated there.
        *reason = QStringLiteral(QT_TRANSLATE_NOOP(
            "FocusWatcher",
            "GNOME on Wayland does not tell which window is in front; log in with \"GNOME on "
            "Xorg\" to switch the profile with the application."));
        return nullptr;
    }
    *reason = wlrReason;
    return nullptr;
}

} // namespace mc
