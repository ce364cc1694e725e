// Pointer speed on an X server. With the libinput driver, the usual one today, the server's
// acceleration fraction is ignored and each pointer device carries the "libinput Accel Speed"
// property (one float, -1..1); the old drivers follow the fraction (see pointerspeed.h for both
// mappings). Every call opens its own connection, so the window's connection never sees the
// errors a vanished device may cause.
#include "platform/pointerspeed.h"
#include "platform/pointerspeedroutes.h"

#include <cmath>
#include <cstring>
#include <vector>

#ifdef MC_HAVE_XI
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#elif defined(MC_HAVE_X11)
#include <X11/Xlib.h>
#endif

namespace mc::pointerspeed {

#if defined(MC_HAVE_X11) || defined(MC_HAVE_XI)

int x11AccelerationSpeed()
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

bool setX11AccelerationSpeed(int speed)
{
    const PointerAcceleration accel = accelerationForSpeed(speed);
    if (accel.denominator == 0)
        return false;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    // Only the fraction changes; the threshold stays the user's own. Both numbers are positive,
    // so the server has no reason to answer with an error (which would end the process).
    XChangePointerControl(display, True, False, accel.numerator, accel.denominator, 0);
    XSync(display, False);
    XCloseDisplay(display);
    return true;
}

#else

int x11AccelerationSpeed()
{
    return 0;
}

bool setX11AccelerationSpeed(int)
{
    return false;
}

#endif

#ifdef MC_HAVE_XI

namespace {

const char kAccelSpeed[] = "libinput Accel Speed";

// A device left while we talked to the server answers with an error; Xlib's default handler
// would end the process for it.
int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

struct Connection
{
    Display *display = XOpenDisplay(nullptr);
    XErrorHandler previous = nullptr;
    Connection()
    {
        if (display)
            previous = XSetErrorHandler(ignoreError);
    }
    ~Connection()
    {
        if (!display)
            return;
        XSync(display, False);
        XSetErrorHandler(previous);
        XCloseDisplay(display);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
};

bool hasXInput2(Display *display)
{
    int opcode = 0;
    int event = 0;
    int error = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error))
        return false;
    int major = 2;
    int minor = 0;
    return XIQueryVersion(display, &major, &minor) == Success;
}

// The accel speed of one device, or NaN where it has none.
float accelSpeedOf(Display *display, int device, Atom property, Atom floatType)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    float value = std::nanf("");
    if (XIGetProperty(display, device, property, 0, 1, False, AnyPropertyType, &type, &format,
                      &items, &after, &data) == Success &&
        type == floatType && format == 32 && items >= 1 && data) {
        std::memcpy(&value, data, sizeof value);
    }
    if (data)
        XFree(data);
    return value;
}

// The slave pointers that carry the property (touchpads included: libinput gives them the same
// property, and the desktop's one speed is meant for all).
std::vector<int> libinputPointers(Display *display, Atom property, Atom floatType)
{
    std::vector<int> found;
    int count = 0;
    XIDeviceInfo *devices = XIQueryDevice(display, XIAllDevices, &count);
    for (int i = 0; devices && i < count; ++i) {
        if (devices[i].use == XISlavePointer &&
            !std::isnan(accelSpeedOf(display, devices[i].deviceid, property, floatType)))
            found.push_back(devices[i].deviceid);
    }
    if (devices)
        XIFreeDeviceInfo(devices);
    return found;
}

} // namespace

bool x11HasLibinputPointer()
{
    Connection c;
    if (!c.display || !hasXInput2(c.display))
        return false;
    const Atom property = XInternAtom(c.display, kAccelSpeed, True);
    if (property == None)
        return false;
    return !libinputPointers(c.display, property, XInternAtom(c.display, "FLOAT", False)).empty();
}

int x11LibinputSpeed()
{
    Connection c;
    if (!c.display || !hasXInput2(c.display))
        return 0;
    const Atom property = XInternAtom(c.display, kAccelSpeed, True);
    const Atom floatType = XInternAtom(c.display, "FLOAT", False);
    if (property == None)
        return 0;
    const std::vector<int> devices = libinputPointers(c.display, property, floatType);
    if (devices.empty())
        return 0;
    return stepForLibinputSpeed(accelSpeedOf(c.display, devices.front(), property, floatType));
}

bool setX11LibinputSpeed(int speed)
{
    const double accel = libinputSpeedForStep(speed);
    if (std::isnan(accel))
        return false;
    Connection c;
    if (!c.display || !hasXInput2(c.display))
        return false;
    const Atom property = XInternAtom(c.display, kAccelSpeed, True);
    const Atom floatType = XInternAtom(c.display, "FLOAT", False);
    if (property == None)
        return false;
    const std::vector<int> devices = libinputPointers(c.display, property, floatType);
    float value = float(accel);
    for (int device : devices) {
        XIChangeProperty(c.display, device, property, floatType, 32, PropModeReplace,
                         reinterpret_cast<unsigned char *>(&value), 1);
    }
    return !devices.empty();
}

#else

bool x11HasLibinputPointer()
{
    return false;
}

int x11LibinputSpeed()
{
    return 0;
}

bool setX11LibinputSpeed(int)
{
    return false;
}

#endif

} // namespace mc::pointerspeed
