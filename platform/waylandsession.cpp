// The compositor's globals: one connection, one round trip, closed again.
#include "platform/waylandsession.h"

#ifdef MC_HAVE_WAYLAND
#include <wayland-client.h>
#endif

namespace mc {

bool waylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QStringList waylandGlobals()
{
    QStringList names;
#ifdef MC_HAVE_WAYLAND
    if (!waylandSession())
        return names;
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return names;
    wl_registry *registry = wl_display_get_registry(display);
    static const wl_registry_listener listener = {
        [](void *data, wl_registry *, uint32_t, const char *interface, uint32_t) {
            static_cast<QStringList *>(data)->append(QString::fromLatin1(interface));
        },
        [](void *, wl_registry *, uint32_t) {},
    };
    wl_registry_add_listener(registry, &listener, &names);
    if (wl_display_roundtrip(display) < 0)
        names.clear();
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
#endif
    return names;
}

QString desktopFamily()
{
    const QStringList parts =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(QLatin1Char(':'));
    for (const QString &p : parts) {
        if (p == QLatin1String("gnome") || p.endsWith(QLatin1String("-gnome")))
            return QStringLiteral("gnome");
        if (p == QLatin1String("kde"))
            return QStringLiteral("kde");
    }
    return QString();
}

} // namespace mc
