// The pointer-speed scale shared by every platform and the slot hand-over; the system calls
// themselves live in pointerspeed_linux.cpp and pointerspeed_win.cpp.
#include "platform/pointerspeed.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace mc {

namespace {

// Numerators over 32 of the motion multiplier of each speed step 1..20.
constexpr std::array<int, kMaxPointerSpeed> kNumerators = {
    1, 2, 4, 8, 12, 16, 20, 24, 28, 32, 40, 48, 56, 64, 72, 80, 88, 96, 104, 112,
};
static_assert(kNumerators[10 - 1] == kAccelerationDenominator, "step 10 must be 1:1");

} // namespace

PointerAcceleration accelerationForSpeed(int speed)
{
    if (speed < kMinPointerSpeed || speed > kMaxPointerSpeed)
        return {0, 0};
    return {kNumerators[size_t(speed - 1)], kAccelerationDenominator};
}

int speedForAcceleration(int numerator, int denominator)
{
    if (numerator <= 0 || denominator <= 0)
        return 0;
    // Compare n/d with k/32 as n*32 against k*d, in 64 bits so that no fraction overflows.
    int best = kMinPointerSpeed;
    long long bestDistance = -1;
    for (int step = kMinPointerSpeed; step <= kMaxPointerSpeed; ++step) {
        const long long distance =
            std::llabs(static_cast<long long>(numerator) * kAccelerationDenominator -
                       static_cast<long long>(kNumerators[size_t(step - 1)]) * denominator);
        if (bestDistance < 0 || distance < bestDistance) {
            best = step;
            bestDistance = distance;
        }
    }
    return best;
}

double libinputSpeedForStep(int speed)
{
    if (speed < kMinPointerSpeed || speed > kMaxPointerSpeed)
        return std::numeric_limits<double>::quiet_NaN();
    constexpr int kDefault = 10;
    if (speed <= kDefault)
        return double(speed - kDefault) / double(kDefault - kMinPointerSpeed);
    return double(speed - kDefault) / double(kMaxPointerSpeed - kDefault);
}

int stepForLibinputSpeed(double accel)
{
    if (std::isnan(accel))
        return 0;
    accel = std::clamp(accel, -1.0, 1.0);
    constexpr int kDefault = 10;
    const double scale = accel < 0 ? kDefault - kMinPointerSpeed : kMaxPointerSpeed - kDefault;
    return std::clamp(kDefault + int(std::lround(accel * scale)), kMinPointerSpeed,
                      kMaxPointerSpeed);
}

QString pointerSpeedRouteName(PointerSpeedRoute route)
{
    switch (route) {
    case PointerSpeedRoute::Gnome:
        return QStringLiteral("GNOME");
    case PointerSpeedRoute::Plasma:
        return QStringLiteral("Plasma");
    case PointerSpeedRoute::Sway:
        return QStringLiteral("sway");
    case PointerSpeedRoute::X11Libinput:
        return QStringLiteral("X11 (libinput)");
    case PointerSpeedRoute::X11Acceleration:
        return QStringLiteral("X11");
    case PointerSpeedRoute::Windows:
        return QStringLiteral("Windows");
    case PointerSpeedRoute::None:
        break;
    }
    return QStringLiteral("none");
}

void SetSystemPointerSpeed(const ProfileStore &store)
{
    setSystemPointerSpeedValue(store.current().mousespeed);
}

} // namespace mc
