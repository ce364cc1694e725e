// Pointer speed on Linux: the setting of the desktop in use, chosen from the session's
// environment. GNOME keeps it in GSettings (on X11 and Wayland alike, its settings daemon hands
// it to the devices), Plasma on Wayland in KWin's input devices, sway in its input
// configuration, an X server either in libinput's device property or, with the old drivers, in
// its acceleration fraction. Elsewhere (another Wayland compositor, no display) the speed reads 0
// and setting it writes the failure line, as a refused call would; the reason is logged once.
#include "platform/pointerspeed.h"
#include "platform/log.h"
#include "platform/pointerspeedroutes.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace mc {

namespace {

// Error numbers of the failure line, in the spirit of the system's last-error codes.
constexpr int kErrorNoDisplay = 1;
constexpr int kErrorNotTaken = 31;
constexpr int kErrorInvalidParameter = 87;

void logFailure(int error)
{
    qCDebug(lcPlatform, "Error in SystemParametersInfo :%d", error);
}

bool hasEnv(const char *name)
{
    return !qEnvironmentVariableIsEmpty(name);
}

void sayOnceWhenUnavailable(PointerSpeedRoute route)
{
    static bool said = false;
    if (route != PointerSpeedRoute::None || said)
        return;
    said = true;
    qCDebug(lcPlatform, "the pointer speed of this desktop cannot be set: it is known for "
                        "GNOME, Plasma, sway and X11 only");
}

} // namespace

PointerSpeedRoute pointerSpeedRoute()
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toUpper();
    const bool wayland = hasEnv("WAYLAND_DISPLAY");
    if (desktop.contains(QLatin1String("GNOME")))
        return PointerSpeedRoute::Gnome;
    if (desktop.contains(QLatin1String("KDE")) && wayland)
        return PointerSpeedRoute::Plasma;
    if (hasEnv("SWAYSOCK"))
        return PointerSpeedRoute::Sway;
    // Under a Wayland compositor this program does not know, the X server is XWayland: its
    // settings would move no pointer but its own clients'.
    if (wayland || !hasEnv("DISPLAY"))
        return PointerSpeedRoute::None;
    return pointerspeed::x11HasLibinputPointer() ? PointerSpeedRoute::X11Libinput
                                                 : PointerSpeedRoute::X11Acceleration;
}

QString pointerSpeedUnavailableReason()
{
    if (pointerSpeedRoute() != PointerSpeedRoute::None)
        return QString();
    return QCoreApplication::translate(
        "QObject", "The pointer speed of this desktop cannot be set: it is known for GNOME, "
                   "Plasma, sway and X11 only.");
}

int GetSystemPointerSpeed()
{
    const PointerSpeedRoute route = pointerSpeedRoute();
    sayOnceWhenUnavailable(route);
    switch (route) {
    case PointerSpeedRoute::Gnome:
        return pointerspeed::gnomeSpeed();
    case PointerSpeedRoute::Plasma:
        return pointerspeed::plasmaSpeed();
    case PointerSpeedRoute::Sway:
        return pointerspeed::swaySpeed();
    case PointerSpeedRoute::X11Libinput:
        return pointerspeed::x11LibinputSpeed();
    case PointerSpeedRoute::X11Acceleration:
        return pointerspeed::x11AccelerationSpeed();
    case PointerSpeedRoute::Windows:
    case PointerSpeedRoute::None:
        break;
    }
    return 0;
}

bool setSystemPointerSpeedValue(int speed)
{
    if (speed < kMinPointerSpeed || speed > kMaxPointerSpeed) {
        logFailure(kErrorInvalidParameter);
        return false;
    }
    const PointerSpeedRoute route = pointerSpeedRoute();
    sayOnceWhenUnavailable(route);
    bool taken = false;
    switch (route) {
    case PointerSpeedRoute::Gnome:
        taken = pointerspeed::setGnomeSpeed(speed);
        break;
    case PointerSpeedRoute::Plasma:
        taken = pointerspeed::setPlasmaSpeed(speed);
        break;
    case PointerSpeedRoute::Sway:
        taken = pointerspeed::setSwaySpeed(speed);
        break;
    case PointerSpeedRoute::X11Libinput:
        taken = pointerspeed::setX11LibinputSpeed(speed);
        break;
    case PointerSpeedRoute::X11Acceleration:
        taken = pointerspeed::setX11AccelerationSpeed(speed);
        break;
    case PointerSpeedRoute::Windows:
    case PointerSpeedRoute::None:
        logFailure(kErrorNoDisplay);
        return false;
    }
    if (!taken)
        logFailure(kErrorNotTaken);
    return taken;
}

} // namespace mc
