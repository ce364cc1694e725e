// The process-wide device table and handles, and the choice of the handle commands go to.
#include "device/devicetable.h"

namespace mc {

DeviceState &deviceState()
{
    static DeviceState state;
    return state;
}

void resetDeviceState()
{
    deviceState() = DeviceState();
}

HidHandle commandHandle()
{
    const DeviceState &s = deviceState();
    if (s.cableCommand)
        return s.cableCommand;
    return s.receiverCommand;
}

} // namespace mc
