// Pointer speed on X11: the pointer acceleration fraction of the X server, mapped onto the 1 to
// 20 scale (see pointerspeed.h). Without an X display (Wayland-only sessions, headless runs) the
// speed reads 0 and setting it only writes the failure line, as a refused call would.
#include "platform/pointerspeed.h"
#include "platform/log.h"

#include <QtGlobal>

#ifdef MC_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace mc {

namespace {

// Error numbers of the failure line, in the spirit of the system's last-error codes.
constexpr int kErrorNoDisplay = 1;
constexpr int kErrorInvalidParameter = 87;

void logFailure(int error)
{
    qCDebug(lcPlatform, "Error in SystemParametersInfo :%d", error);
}

} // namespace

#ifdef MC_HAVE_X11

int GetSystemPointerSpeed()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 0;
    int numerator = 0;
    int denominator = 0;
    int threshold = 0;
    XGetPointerControl(display, &numerator, &denominator, &threshold);
    XCloseDisplay(display);
    return speedForAcceleration(numerator, denominator);
}

bool setSystemPointerSpeedValue(int speed)
{
    const PointerAcceleration accel = accelerationForSpeed(speed);
    if (accel.denominator == 0) {
        logFailure(kErrorInvalidParameter);
        return false;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        logFailure(kErrorNoDisplay);
        return false;
    }
    // Only the fraction changes; the threshold stays the user's own. Both numbers are positive,
    // so the server has no reason to answer with an error (which would end the process).
    XChangePointerControl(display, True, False, accel.numerator, accel.denominator, 0);
    XSync(display, False);
    XCloseDisplay(display);
    return true;
}

#else

int GetSystemPointerSpeed()
{
    return 0;
}

bool setSystemPointerSpeedValue(int speed)
{
    logFailure(accelerationForSpeed(speed).denominator == 0 ? kErrorInvalidParameter
                                                            : kErrorNoDisplay);
    return false;
}

#endif

} // namespace mc
