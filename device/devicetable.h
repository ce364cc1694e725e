// The device table and the four HID handles of one connection (MouseConnection holds them).
// Enumeration, opening and closing run on the connection's thread; the worker threads only read
// the handles, and the status poller is stopped before any handle is closed or reopened.
#pragma once

#include "device/hidbackend.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace mc {

constexpr int kMaxDeviceEntries = 200;

struct DeviceEntry
{
    int receiverVid = 0;
    int cableVid = 0;
    int receiverPid = 0;
    int cablePid = 0;
    int receiverPointerUsage = 0, receiverPointerUsagePage = 0;
    int receiverCommandUsage = 0, receiverCommandUsagePage = 0;
    int cablePointerUsage = 0, cablePointerUsagePage = 0;
    int cableCommandUsage = 0, cableCommandUsagePage = 0;
    // Paths are kept whole: a path cut short could name another device.
    QByteArray receiverPointerPath;
    QByteArray receiverCommandPath;
    QByteArray cablePointerPath;
    QByteArray cableCommandPath;
    bool receiverPointerFound = false;
    bool cablePointerFound = false;
    bool receiverCommandFound = false;
    bool cableCommandFound = false;
    QByteArray productName;
};

struct DeviceState
{
    std::array<DeviceEntry, kMaxDeviceEntries> entries{};
    int count = 0;
    HidHandle receiverPointer = nullptr;
    HidHandle receiverCommand = nullptr;
    HidHandle cablePointer = nullptr;
    HidHandle cableCommand = nullptr;
    int cableRelease = 0; // firmware release of the cable command collection, 0 = none
    // The last collection that was found but could not be opened, and why (empty: none).
    QByteArray openFailedPath;
    QString openFailure;
    // Config.ini is there but could not be read: the entry was named from the product
    // description instead.
    bool settingsUnreadable = false;
};

} // namespace mc
