// The host's pointer speed: the one system setting that travels with a profile slot. The
// program reads it once at start-up into the active slot and hands a slot's value to the system
// whenever the active slot changes. The scale is the Windows one, 1 (slowest) to 20, 10 being
// the system default; other platforms map their own setting onto it.
// Called from the user-interface thread only.
#pragma once

#include "profile/profiledata.h"

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

} // namespace mc
