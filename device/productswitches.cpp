// Product switches of a write, read from the settings files.
#include "device/productswitches.h"

#include "device/devicetable.h"

#include <algorithm>

namespace mc {

ProductSwitches readProductSwitches()
{
    ProductSwitches p;
    p.sensorCode = readSensorCode();
    p.productSync = readProductSync();
    p.scrollRev = readScrollRev();
    p.dpiCount = usableDpiCount();
    // Only the first sixteen buttons have a device slot in the description.
    p.buttonCount = std::clamp(readButtonCount(), 0, kMatrixCount);
    readButtonSlotMap();
    p.slotMap = buttonSlotMap();
    p.statusByte = deviceState().statusByte;
    return p;
}

} // namespace mc
