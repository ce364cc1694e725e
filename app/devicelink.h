// The main window's calls into the device layer, gathered in one place so the window does not
// depend on how discovery, opening and closing are done. User-interface thread only.
#pragma once

#include <QString>
#include <QStringList>

namespace mc {

// Fills the device table from the product description and enumerates the HID collections.
void startDevices();
// Product names of the table entries whose mouse is present, in table order.
QStringList presentProductNames();
void openMouse(const QString &productName);
void closeMouse();
// Closes the handles and releases the HID library (shut-down).
void shutdownDevices();
// The cable was attached with its command collection when the devices were enumerated.
bool cableSeenAtStart();
// Connection flags of the first entry.
bool cableCommandPresent();
bool receiverCommandPresent();

} // namespace mc
