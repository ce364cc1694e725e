// The host's pointer speed: the one system setting that travels with a profile slot. The
// program reads it once at start-up into the active slot and hands a slot's value to the system
// whenever the active slot changes. The scale is the Windows one, 1 (slowest) to 20, 10 being
// the system default; other platforms map their own setting onto it.
// Called from the user-interface thread only.
#pragma once

#include "profile/profiledata.h"

#include <QString>

namespace mc {

constexpr int kMinPointerSpeed = 1;
constexpr int kMaxPointerSpeed = 20;

// The system's pointer speed, 1 to 20; 0 when it cannot be read (no display, call failed).
int GetSystemPointerSpeed();

// Hands the `mousespeed` of the store's active slot to the system. A value the system refuses
// (outside 1 to 20, or no display) only writes the debug line; nothing is retried and the store
// does not change.
void SetSystemPointerSpeed(const ProfileStore &store);

// The step under SetSystemPointerSpeed: true when the system took the value.
bool setSystemPointerSpeedValue(int speed);

// The X11 form of the scale. X scales pointer motion above its threshold by the acceleration
// fraction numerator / denominator; the speed steps use the pointer-speed multipliers of the
// Windows scale (1/32 at 1, 1/1 at 10, 7/2 at 20) written over the denominator 32, so that step
// 10 leaves motion as the device reports it. Reading takes the step whose fraction lies nearest.
struct PointerAcceleration
{
    int numerator = 32;
    int denominator = 32;
};
constexpr int kAccelerationDenominator = 32;

// Speed outside 1 to 20 has no fraction: the result is {0, 0}.
PointerAcceleration accelerationForSpeed(int speed);
// 0 for a fraction that is not positive.
int speedForAcceleration(int numerator, int denominator);

// The libinput form of the scale, which GNOME, Plasma, sway and X11's libinput driver share: an
// acceleration speed from -1 (slowest) to 1 (fastest), 0 being the desktop's default. Step 10,
// the default of the 1-to-20 scale, is 0; steps 1..10 spread over -1..0 in ninths and steps
// 10..20 over 0..1 in tenths, so both ends and the middle meet.
// A step outside 1 to 20 has no speed: the result is NaN.
double libinputSpeedForStep(int speed);
// The nearest step of a libinput speed (clamped to -1..1); 0 for a value that is not a number.
int stepForLibinputSpeed(double accel);

// Where the pointer speed goes on this desktop. Chosen from the session's environment
// (XDG_CURRENT_DESKTOP, WAYLAND_DISPLAY, SWAYSOCK, DISPLAY) each time it is asked, since a test
// or a moved session may change it.
enum class PointerSpeedRoute {
    None, // no desktop whose pointer speed this program knows how to set
    Gnome, // GSettings org.gnome.desktop.peripherals.mouse speed, through gsettings
    Plasma, // KWin's input devices over D-Bus (Plasma on Wayland)
    Sway, // sway's "input type:pointer pointer_accel", through swaymsg
    X11Libinput, // the "libinput Accel Speed" property of each X pointer device
    X11Acceleration, // the X server's acceleration fraction (the old drivers)
    Windows, // SystemParametersInfoW
};
PointerSpeedRoute pointerSpeedRoute();
// A short name of the route for the log and the window ("GNOME", "X11 (libinput)", ...).
QString pointerSpeedRouteName(PointerSpeedRoute route);
// Empty where the speed can be handed over; otherwise one sentence for the user saying why not.
QString pointerSpeedUnavailableReason();

} // namespace mc
