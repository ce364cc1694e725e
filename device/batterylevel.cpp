// Battery reading to millivolts and percent.
#include "device/batterylevel.h"

namespace mc {

namespace {
struct Step
{
    int millivolts;
    int percent;
};

constexpr Step kSteps[] = {
    {4100, 90}, {4000, 80}, {3900, 70}, {3800, 60}, {3700, 50}, {3500, 40}, {3400, 30}, {3200, 20},
};
constexpr int kLowest = 10;
} // namespace

int batteryMillivolts(uint8_t low, uint8_t high)
{
    return (high * 256 + low) * 990 / 240;
}

int batteryPercent(int millivolts, int fullMillivolts)
{
    if (millivolts >= fullMillivolts)
        return 100;
    for (const Step &s : kSteps) {
        if (millivolts >= s.millivolts)
            return s.percent;
    }
    return kLowest;
}

} // namespace mc
