// Conversion of the raw sensor values that DPI stages hold into the DPI figures shown to the
// user. The rule depends on the sensor (the code `MouseSenSor/1` of Config.ini); a code we do not
// know gives 0 for every value. Pure functions, callable from any thread.
#pragma once

#include <cstdint>

namespace mc {

// The DPI figure of a raw stage value for the sensor code; 0 for an unknown code. Never
// overflows: figures beyond the int range are clamped to it.
int RawToDpi(uint32_t raw, int sensorCode);

// True when two DPI figures are within 9 of each other.
bool DpiMatches(int a, int b);

} // namespace mc
