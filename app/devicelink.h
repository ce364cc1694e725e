// The main window's calls into the device layer, gathered in one place so the window does not
// depend on how discovery, opening and closing are done. User-interface thread only; each takes
// the connection the window's presence owns.
#pragma once

#include <QString>
#include <QStringList>

namespace mc {

class MouseConnection;

// Fills the device table from the product description and enumerates the HID collections.
void startDevices(MouseConnection &connection);
// Product names of the table entries whose mouse is present, in table order.
QStringList presentProductNames(const MouseConnection &connection);
void openMouse(MouseConnection &connection, const QString &productName);
void closeMouse(MouseConnection &connection);
// Closes the handles and releases the HID library (shut-down).
void shutdownDevices(MouseConnection &connection);
// The cable was attached with its command collection when the devices were enumerated.
bool cableSeenAtStart(const MouseConnection &connection);
// Connection flags of the first entry.
bool cableCommandPresent(const MouseConnection &connection);
bool receiverCommandPresent(const MouseConnection &connection);

} // namespace mc
