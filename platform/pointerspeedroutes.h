// The desktops' own pointer-speed settings behind the Linux form of the host pointer speed.
// Each route reads and writes the 1-to-20 scale through its desktop's documented interface;
// pointerspeed_linux.cpp picks one. Called from the user-interface thread only; each call
// waits at most kRouteTimeoutMs for the desktop.
#pragma once

namespace mc::pointerspeed {

constexpr int kRouteTimeoutMs = 1000;

// Each get returns 0 when the desktop cannot tell; each set returns true when it took the value.
int gnomeSpeed();
bool setGnomeSpeed(int speed);
int swaySpeed();
bool setSwaySpeed(int speed);
int plasmaSpeed();
bool setPlasmaSpeed(int speed);

// X11: the old drivers' acceleration fraction, and libinput's "libinput Accel Speed" property.
bool x11HasLibinputPointer();
int x11AccelerationSpeed();
bool setX11AccelerationSpeed(int speed);
int x11LibinputSpeed();
bool setX11LibinputSpeed(int speed);

} // namespace mc::pointerspeed
