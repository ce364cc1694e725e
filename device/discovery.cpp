// Device table filling, enumeration, opening and closing, and the presence questions.
#include "device/discovery.h"
#include "device/log.h"

#include "device/hidbackend.h"
#include "profile/paths.h"
#include "profile/settings.h"

#include <QDebug>
#include <QDir>

#include <algorithm>

namespace mc {

namespace {
constexpr int kWantedUsagePage = 1;
constexpr int kPointerUsage = 2;
constexpr int kCommandUsage = 0;
constexpr uint16_t kLoggedVendor = 0x04D9;

int entryCount(const DeviceState &s)
{
    return std::clamp(s.count, 0, kMaxDeviceEntries);
}

} // namespace

int collectionKind(int usagePage, int usage)
{
    if (usagePage != kWantedUsagePage)
        return kKindNone;
    return usage == kPointerUsage ? kKindPointer : usage == kCommandUsage ? kKindCommand : kKindNone;
}

namespace {
bool wants(const HidDeviceInfo &d, int usage, int usagePage)
{
    return d.usage == usage && d.usagePage == usagePage;
}

void openInto(HidBackend &hid, DeviceState &s, HidHandle &slot, const QByteArray &path)
{
    if (slot)
        hid.close(slot);
    slot = hid.open(path);
    if (slot)
        return;
    // Said where it happens: a node the user may not open (no udev rule) is otherwise only
    // seen as a mouse that never answers.
    s.openFailedPath = path;
    s.openFailure = hid.lastOpenError();
    qCWarning(
        lcDevice, "%s cannot be opened: %s", path.constData(),
        qUtf8Printable(s.openFailure.isEmpty() ? QStringLiteral("unknown reason") : s.openFailure));
}

void noteDevice(DeviceState &s, DeviceEntry &e, const HidDeviceInfo &d)
{
    if (d.vendorId == e.receiverVid && d.productId == e.receiverPid) {
        if (wants(d, e.receiverPointerUsage, e.receiverPointerUsagePage)) {
            e.receiverPointerPath = d.path;
            qCDebug(lcDevice, "receiver pointer collection: %s", e.receiverPointerPath.constData());
            e.receiverPointerFound = true;
        }
        if (wants(d, e.receiverCommandUsage, e.receiverCommandUsagePage) &&
            acceptsReceiverCommandPath(d.path)) {
            e.receiverCommandPath = d.path;
            qCDebug(lcDevice, "receiver command collection: %s", e.receiverCommandPath.constData());
            e.receiverCommandFound = true;
        }
    }
    if (d.vendorId == e.cableVid && d.productId == e.cablePid) {
        if (wants(d, e.cablePointerUsage, e.cablePointerUsagePage)) {
            e.cablePointerPath = d.path;
            qCDebug(lcDevice, "cable pointer collection: %s", e.cablePointerPath.constData());
            e.cablePointerFound = true;
        } else if (wants(d, e.cableCommandUsage, e.cableCommandUsagePage)) {
            e.cableCommandPath = d.path;
            qCDebug(lcDevice, "cable command collection: %s", e.cableCommandPath.constData());
            e.cableCommandFound = true;
            s.cableRelease = d.release;
        }
    }
}
} // namespace

void InitDeviceTable(MouseConnection &connection)
{
    const UsbIds ids = readUsbIds();
    DeviceState &s = connection.state();
    // A Config.ini that is there but cannot be read names no mouse, yet the mouse is plugged in:
    // it is looked for under the product description's name, and the reason is kept to be said.
    s.settingsUnreadable = !settingsFileUsable(appSettingsFile());
    const QByteArray name =
        (s.settingsUnreadable ? readProductName() : readMouseListName()).toUtf8();
    if (s.settingsUnreadable)
        qCWarning(lcDevice,
                  "%s cannot be read; looking for the mouse \"%s\" of the product "
                  "description",
                  qUtf8Printable(appSettingsFile()), name.constData());
    std::fill(s.entries.begin(), s.entries.end(), DeviceEntry());
    s.count = 0;
    qCDebug(lcDevice, "looking for the mouse \"%s\"", name.constData());
    // A mouse without a name could be neither shown nor opened by name, nor told from another
    // product: a Config.ini that names none lists no mouse at all.
    if (name.isEmpty())
        return;
    s.count = 1;
    DeviceEntry &e = s.entries[0];
    e.receiverVid = ids.receiverVid;
    e.receiverPid = ids.receiverPid;
    e.cableVid = ids.cableVid;
    e.cablePid = ids.cablePid;
    e.receiverPointerUsage = kPointerUsage;
    e.receiverPointerUsagePage = kWantedUsagePage;
    e.receiverCommandUsage = kCommandUsage;
    e.receiverCommandUsagePage = kWantedUsagePage;
    e.cablePointerUsage = kPointerUsage;
    e.cablePointerUsagePage = kWantedUsagePage;
    e.cableCommandUsage = kCommandUsage;
    e.cableCommandUsagePage = kWantedUsagePage;
    e.productName = name;
}

bool acceptsReceiverCommandPath(const QByteArray &path)
{
    const QByteArray lower = path.toLower();
    if (lower.contains("col04"))
        return true;
    const bool windowsStyle = lower.startsWith("\\\\?\\") || lower.contains("hid#vid_");
    return !windowsStyle && !lower.contains("col0");
}

int EnumerateDevices(MouseConnection &connection)
{
    HidBackend &hid = connection.hid();
    if (hid.init() != 0)
        return -1;
    const QVector<HidDeviceInfo> devices = hid.enumerate();
    DeviceState &s = connection.state();
    const int count = entryCount(s);
    for (const HidDeviceInfo &d : devices) {
        if (d.vendorId == kLoggedVendor) {
            qCDebug(lcDevice, "device %04x:%04x at %s, serial \"%s\", usage %x, usage page %x",
                    d.vendorId, d.productId, d.path.constData(), qUtf8Printable(d.serial), d.usage,
                    d.usagePage);
        }
        for (int i = 0; i < count; ++i)
            noteDevice(s, s.entries[size_t(i)], d);
    }
    return 0;
}

void OpenDeviceByName(MouseConnection &connection, const QByteArray &productName)
{
    HidBackend &hid = connection.hid();
    if (hid.init() != 0)
        return;
    DeviceState &s = connection.state();
    s.openFailedPath.clear();
    s.openFailure.clear();
    const int count = entryCount(s);
    for (int i = 0; i < count; ++i) {
        const DeviceEntry &e = s.entries[size_t(i)];
        if (e.productName != productName)
            continue;
        if (e.receiverPointerFound && e.receiverCommandFound) {
            openInto(hid, s, s.receiverPointer, e.receiverPointerPath);
            openInto(hid, s, s.receiverCommand, e.receiverCommandPath);
        }
        if (e.cablePointerFound && e.cableCommandFound) {
            openInto(hid, s, s.cablePointer, e.cablePointerPath);
            openInto(hid, s, s.cableCommand, e.cableCommandPath);
        }
    }
}

void CloseDevices(MouseConnection &connection)
{
    DeviceState &s = connection.state();
    HidBackend &hid = connection.hid();
    for (HidHandle *h :
         {&s.receiverPointer, &s.receiverCommand, &s.cablePointer, &s.cableCommand}) {
        if (*h) {
            hid.close(*h);
            *h = nullptr;
        }
    }
}

QString openFailureText(const DeviceState &state)
{
    if (state.openFailedPath.isEmpty())
        return QString();
    const QString reason =
        state.openFailure.isEmpty() ? QStringLiteral("unknown reason") : state.openFailure;
    QString text = QStringLiteral("The mouse is present, but %1 cannot be opened: %2.")
                       .arg(QString::fromLocal8Bit(state.openFailedPath), reason);
#ifndef Q_OS_WIN
    text +=
        QStringLiteral(" Access is granted by the udev rule 70-mousecfg.rules, which the package "
                       "installs. For a build run from its tree or installed under /usr/local: "
                       "sudo cp %1 /etc/udev/rules.d/ && sudo udevadm control --reload && "
                       "sudo udevadm trigger, then plug the receiver in again.")
            .arg(QStringLiteral(MC_BUILD_UDEV_RULE));
#endif
    return text;
}

QString settingsUnreadableText(const DeviceState &state)
{
    if (!state.settingsUnreadable)
        return QString();
    return QStringLiteral("The settings file %1 cannot be read (too large, a folder or not "
                          "readable); the mouse is looked for as the product description names "
                          "it, and the settings file is left as it is.")
        .arg(QDir::toNativeSeparators(appSettingsFile()));
}

bool productPresent(const DeviceEntry &entry)
{
    return !entry.productName.isEmpty() &&
           ((entry.receiverPointerFound && entry.receiverCommandFound) ||
            (entry.cablePointerFound && entry.cableCommandFound));
}

int presentProductCount(const MouseConnection &connection)
{
    const DeviceState &s = connection.state();
    const int count = entryCount(s);
    int present = 0;
    for (int i = 0; i < count; ++i)
        present += productPresent(s.entries[size_t(i)]) ? 1 : 0;
    return present;
}

bool cableConnected(const MouseConnection &connection)
{
    return connection.state().entries[0].cableCommandFound;
}
bool cablePointerFound(const MouseConnection &connection)
{
    return connection.state().entries[0].cablePointerFound;
}
bool receiverCommandFound(const MouseConnection &connection)
{
    return connection.state().entries[0].receiverCommandFound;
}
int cableFirmwareRelease(const MouseConnection &connection)
{
    return connection.state().cableRelease;
}

} // namespace mc
