// Device layer calls of the main window.
#include "app/devicelink.h"
#include "app/log.h"

#include "device/discovery.h"
#include "device/mouseconnection.h"

namespace mc {

void startDevices(MouseConnection &connection)
{
    InitDeviceTable(connection);
    if (EnumerateDevices(connection) != 0)
        qCDebug(lcApp, "HID library did not initialise; no mouse can be found");
}

QStringList presentProductNames(const MouseConnection &connection)
{
    QStringList names;
    const DeviceState &state = connection.state();
    const int count = qBound(0, state.count, kMaxDeviceEntries);
    for (int i = 0; i < count; ++i) {
        const DeviceEntry &e = state.entries[size_t(i)];
        if (productPresent(e))
            names << QString::fromUtf8(e.productName);
    }
    return names;
}

void openMouse(MouseConnection &connection, const QString &productName)
{
    OpenDeviceByName(connection, productName.toUtf8());
}

void closeMouse(MouseConnection &connection)
{
    connection.stopPoller(); // its loop has ended before the handles close
    CloseDevices(connection);
}

void shutdownDevices(MouseConnection &connection)
{
    connection.stopPoller();
    CloseDevices(connection);
    connection.hid().exit();
}

bool cableSeenAtStart(const MouseConnection &connection)
{
    return cableFirmwareRelease(connection) != 0;
}
bool cableCommandPresent(const MouseConnection &connection)
{
    return cableConnected(connection);
}
bool receiverCommandPresent(const MouseConnection &connection)
{
    return receiverCommandFound(connection);
}

} // namespace mc
