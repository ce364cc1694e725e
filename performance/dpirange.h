// The raw value range that the DPI editor's sliders offer per sensor, and whether the sensor
// takes separate X and Y resolutions. Pure data; callable from any thread.
#pragma once

#include <QString>

namespace mc {

struct DpiRange
{
    int lowest = 0;  // raw sensor values; the labels show them through RawToDpi
    int highest = 0;
    bool linkShown = false; // the sensor takes X and Y apart, so "Link XY" is offered
};

// The range for a sensor code; flag33254 is PROFILE/33254 of the product description and
// productName Config/CurrentProductName (some products with sensor 3327 stop lower). False for
// a code the editor does not know: the caller then keeps what it had.
bool dpiRangeFor(int sensorCode, int flag33254, const QString &productName, DpiRange &out);

} // namespace mc
