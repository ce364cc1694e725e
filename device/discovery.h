// Finding the mouse: filling the device table from the product description, enumerating the HID
// collections, opening and closing the four handles, following the operating system's
// device-interface notifications, and the presence questions the rest of the program asks.
// Everything here runs on the user-interface thread (the CLI's main thread).
#pragma once

#include "device/devicetable.h"
#include "device/mouseconnection.h"

#include <QByteArray>
#include <QString>
#include <QVector>

namespace mc {

// Collection kinds of a classified interface.
constexpr int kKindNone = 0;
constexpr int kKindPointer = 1;
constexpr int kKindCommand = 4;

// What a collection is to the program by its usage page and usage: kKindPointer (1:2),
// kKindCommand (1:0) or kKindNone. Enumeration fills the table's usages from the same pairs and
// the hot-plug watchers classify a node's collections with it, so a receiver present at start
// is the same receiver after a re-plug.
int collectionKind(int usagePage, int usage);

// Clears the table and fills entry 0 (count 1) from the product description and Config.ini.
// When Config.ini names no mouse (Mouse_List/0 empty or missing) the table stays empty (count 0):
// nothing is then found, opened or present. When Config.ini is there but cannot be read, the
// entry takes the product description's name (PROFILE/ProductName) and settingsUnreadable is
// set, so that the mouse is still found.
void InitDeviceTable(MouseConnection &connection);

// 0 after a completed enumeration (whether or not anything matched), -1 when the HID library
// does not initialise. Sets paths and found flags, never clears one.
int EnumerateDevices(MouseConnection &connection);

// Opens both collections of every complete attachment of the entries named productName
// (byte-wise comparison). A handle that is already open is closed and replaced rather than
// leaked.
void OpenDeviceByName(MouseConnection &connection, const QByteArray &productName);

// Closes the four handles: receiver pointer, receiver command, cable pointer, cable command.
void CloseDevices(MouseConnection &connection);

// True when the path is accepted as the receiver's command collection: it names collection 4,
// or (Linux, where one path serves every collection of a node) it names no collection at all
// and is not a Windows-style interface path.
bool acceptsReceiverCommandPath(const QByteArray &path);

struct InterfaceMatch
{
    int vid = 0;
    int pid = 0;
    int kind = kKindNone;
};

// Classifies a device-interface name (without its leading "\\?\"), case-insensitively.
InterfaceMatch MatchInterfaceName(const QString &name);

// What one notification did to one table entry.
struct InterfaceOutcome
{
    int entry = 0;
    bool cable = false; // the attachment matched is the cable (else the receiver)
    int kind = kKindNone;
    bool changed = false;         // a found flag was set (arrival) or cleared (removal)
    bool arrivalNew = false;      // arrival: the flag was clear before
    bool complete = false;        // arrival: both collections of the attachment are now found
    bool completedNow = false;    // arrival: and they were not both found before
    bool attachmentFound = false; // one of the attachment's two collections is found now
    bool lostLast = false;        // removal: the entry has no collection left
};

// The arrival and removal of a collection: every entry whose receiver IDs (else cable IDs)
// equal the classified IDs, in table order. The name forms take a notification's interface
// name and store "\\?\" + name as the path; the classified forms serve watchers that classify
// on their own (Linux hot-plug, the emulated mouse) and store the given path.
QVector<InterfaceOutcome> NoteInterfaceArrival(MouseConnection &connection, const QString &name);
QVector<InterfaceOutcome> NoteInterfaceRemoval(MouseConnection &connection, const QString &name);
QVector<InterfaceOutcome> NoteInterfaceArrival(MouseConnection &connection,
                                               const InterfaceMatch &match, const QByteArray &path);
QVector<InterfaceOutcome> NoteInterfaceRemoval(MouseConnection &connection,
                                               const InterfaceMatch &match);

// What to tell the user when a present mouse could not be opened (openFailedPath set): the node,
// the system's reason and, on Linux, how to grant access (the udev rule the package installs,
// and the commands to install it by hand from the build tree). Empty when nothing failed.
QString openFailureText(const DeviceState &state);
// The line that says Config.ini could not be read (settingsUnreadable); empty otherwise.
QString settingsUnreadableText(const DeviceState &state);

// Presence questions.
// Both receiver or both cable collections found, for an entry that has a product name.
bool productPresent(const DeviceEntry &entry);
int presentProductCount(const MouseConnection &connection);
// Entry 0: cable command collection found.
bool cableConnected(const MouseConnection &connection);
// Entry 0: gates the firmware-update offer.
bool cablePointerFound(const MouseConnection &connection);
// Entry 0: the wireless connection indication.
bool receiverCommandFound(const MouseConnection &connection);
// Release number of the cable command collection, 0 = none.
int cableFirmwareRelease(const MouseConnection &connection);

} // namespace mc
