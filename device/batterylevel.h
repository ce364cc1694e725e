// From the battery reading of a status answer to what the user reads: millivolts and a
// percentage in steps of ten. Pure functions, any thread.
#pragma once

#include <cstdint>

namespace mc {

// (high * 256 + low) * 990 / 240, integer division of the product.
int batteryMillivolts(uint8_t low, uint8_t high);

// 100 from the full-charge voltage up, then 90 down to 10 by the fixed thresholds
// 4100, 4000, 3900, 3800, 3700, 3500, 3400 and 3200 mV.
int batteryPercent(int millivolts, int fullMillivolts = 4200);

} // namespace mc
