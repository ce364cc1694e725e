// The HID backend over hidapi. hidapi's own handle is passed through as the opaque HidHandle.
#include "device/hidapibackend.h"

#include <hidapi.h>

#include <cerrno>
#include <cstring>

namespace mc {

namespace {
hid_device *dev(HidHandle handle)
{
    return static_cast<hid_device *>(handle);
}
} // namespace

int HidapiBackend::init()
{
    return hid_init() == 0 ? 0 : -1;
}

void HidapiBackend::exit()
{
    hid_exit();
}

QVector<HidDeviceInfo> HidapiBackend::enumerate()
{
    QVector<HidDeviceInfo> list;
    hid_device_info *all = hid_enumerate(0, 0);
    for (hid_device_info *d = all; d; d = d->next) {
        HidDeviceInfo info;
        info.path = QByteArray(d->path ? d->path : "");
        info.vendorId = d->vendor_id;
        info.productId = d->product_id;
        if (d->serial_number)
            info.serial = QString::fromWCharArray(d->serial_number);
        info.release = d->release_number;
        info.usagePage = d->usage_page;
        info.usage = d->usage;
        list.append(info);
    }
    hid_free_enumeration(all);
    return list;
}

HidHandle HidapiBackend::open(const QByteArray &path)
{
    m_openError.clear();
    if (path.isEmpty())
        return nullptr;
    errno = 0;
    hid_device *device = hid_open_path(path.constData());
    if (!device) {
        // hidapi keeps the reason of a failed open ("Failed to open a device with path '...':
        // Permission denied"); errno is what the system said when it has nothing.
        // Only the reason is kept: the user's message names the node already.
        const int saved = errno;
        const wchar_t *text = hid_error(nullptr);
        QString said = text ? QString::fromWCharArray(text) : QString();
        const int reasonAt = said.lastIndexOf(QLatin1String("': "));
        if (reasonAt >= 0)
            said = said.mid(reasonAt + 3);
        m_openError = !said.isEmpty() ? said
                      : saved         ? QString::fromLocal8Bit(std::strerror(saved))
                                      : QStringLiteral("unknown reason");
    }
    return device;
}

void HidapiBackend::close(HidHandle handle)
{
    if (handle)
        hid_close(dev(handle));
}

int HidapiBackend::write(HidHandle handle, const uint8_t *data, size_t length)
{
    if (!handle)
        return -1;
    return hid_write(dev(handle), data, length);
}

int HidapiBackend::readTimeout(HidHandle handle, uint8_t *data, size_t length, int milliseconds)
{
    if (!handle)
        return -1;
    return hid_read_timeout(dev(handle), data, length, milliseconds);
}

} // namespace mc
