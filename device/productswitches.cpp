// Product switches of a write, read from the settings files.
#include "device/productswitches.h"

#include <algorithm>

namespace mc {

ProductSwitches readProductSwitches(uint8_t statusByte)
{
    ProductSwitches p;
    p.sensorCode = readSensorCode();
    // The general block has a form for "any other value" of PROFILE/Sync besides 0 and 1, so
    // the value is taken as written rather than through the panel's reading of it (0, 1 or 2,
    // other values read as 0): a product with a fourth variant gets the third form.
    p.productSync = readProductSyncAsWritten();
    p.scrollRev = readScrollRev();
    p.dpiCount = usableDpiCount();
    // Only the first sixteen buttons have a device slot in the description.
    p.buttonCount = std::clamp(readButtonCount(), 0, kMatrixCount);
    readButtonSlotMap();
    p.slotMap = buttonSlotMap();
    p.statusByte = statusByte;
    return p;
}

} // namespace mc
