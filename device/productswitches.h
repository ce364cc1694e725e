// What a write to the mouse needs to know about the product besides the profile store: the
// sensor code, the sensor-options variant, the wheel swap, the DPI and button counts, the button
// slot map and the last status byte. Read once per write, so that one write sees one product.
#pragma once

#include "profile/settings.h"

#include <cstdint>

namespace mc {

struct ProductSwitches
{
    int sensorCode = 0;  // MouseSenSor/1
    int productSync = 0; // PROFILE/Sync: sensor-options variant
    int scrollRev = 0;   // PROFILE/ScrollRev: 1 swaps the wheel slots
    int dpiCount = 8;    // usable stage count, 1..8
    int buttonCount = 0; // product's button count, held to 0..kMatrixCount
    ButtonSlotMap slotMap{};
    uint8_t statusByte = 0; // last status byte of the mouse (status poller)
};

// Reads the product description and Config.ini; statusByte is the connection's last status byte.
// Also refreshes the shared button slot map from the description when the description exists.
ProductSwitches readProductSwitches(uint8_t statusByte);

} // namespace mc
