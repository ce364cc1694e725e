// Device layer calls of the main window.
#include "app/devicelink.h"
#include "app/log.h"

#include "device/devicetable.h"
#include "device/discovery.h"
#include "device/hidbackend.h"

namespace mc {

void startDevices()
{
    InitDeviceTable();
    if (EnumerateDevices() != 0)
        qCDebug(lcApp, "HID library did not initialise; no mouse can be found");
}

QStringList presentProductNames()
{
    QStringList names;
    const DeviceState &state = deviceState();
    const int count = qBound(0, state.count, kMaxDeviceEntries);
    for (int i = 0; i < count; ++i) {
        const DeviceEntry &e = state.entries[size_t(i)];
        if (productPresent(e))
            names << QString::fromUtf8(e.productName);
    }
    return names;
}

void openMouse(const QString &productName)
{
    OpenDeviceByName(productName.toUtf8());
}

void closeMouse()
{
    CloseDevices();
}

void shutdownDevices()
{
    CloseDevices();
    hidBackend().exit();
}

bool cableSeenAtStart()
{
    return cableFirmwareRelease() != 0;
}
bool cableCommandPresent()
{
    return cableConnected();
}
bool receiverCommandPresent()
{
    return receiverCommandFound();
}

} // namespace mc
