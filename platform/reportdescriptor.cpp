// A HID report descriptor read the way hidapi 0.13 reads it on Linux (linux/hid.c,
// get_next_hid_usage), so that the hot-plug watcher sees a node as enumeration lists it: only
// usage page, usage, the collection item and the main items that end a local set count; every
// other item is skipped by its declared size. Every read is checked against the end, so a hostile
// descriptor can only end the walk early.
#include "platform/reportdescriptor.h"

#include <QList>

#include <algorithm>
#include <cstdint>

namespace mc {

namespace {

// An item's first byte with its two size bits cleared: the tag and type hidapi switches on.
constexpr int kUsagePage = 0x04;
constexpr int kUsage = 0x08;
constexpr int kInput = 0x80;
constexpr int kOutput = 0x90;
constexpr int kCollection = 0xA0;
constexpr int kFeature = 0xB0;
constexpr int kEndCollection = 0xC0;

// hidapi's get_hid_report_bytes: the item's data, or 0 when it does not fit.
uint32_t itemData(const uint8_t *bytes, int end, int pos, int size)
{
    if (pos + size >= end)
        return 0;
    uint32_t v = 0;
    for (int i = 0; i < size; ++i)
        v |= uint32_t(bytes[pos + 1 + i]) << (8 * i);
    return v;
}

} // namespace

QVector<HidUsage> listedUsages(const QByteArray &descriptor)
{
    QVector<HidUsage> found;
    const int end = std::min(int(descriptor.size()), kMaxReportDescriptorSize);
    const auto *bytes = reinterpret_cast<const uint8_t *>(descriptor.constData());
    // 16 bits each, as hidapi keeps them; the page is global and outlives every pair.
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    bool usageFound = false;
    int pos = 0;
    while (pos < end) {
        const int key = bytes[pos];
        int size = 0;
        int keySize = 1;
        // Every key of the form Fx is read as a long item when its length byte is there.
        if ((key & 0xF0) == 0xF0 && pos + 1 < end) {
            size = bytes[pos + 1];
            keySize = 3;
        } else {
            size = (key & 0x3) == 3 ? 4 : key & 0x3;
        }
        switch (key & 0xFC) {
        case kUsagePage:
            usagePage = uint16_t(itemData(bytes, end, pos, size));
            break;
        case kUsage:
            usage = uint16_t(itemData(bytes, end, pos, size));
            usageFound = true;
            break;
        case kCollection:
            // Any collection, at any depth, with a usage in scope is listed.
            if (usageFound)
                found.append({usagePage, usage});
            usageFound = false;
            break;
        case kInput:
        case kOutput:
        case kFeature:
        case kEndCollection:
            usageFound = false;
            break;
        default:
            break;
        }
        pos += size + keySize;
    }
    // A descriptor without a collection that names a usage is listed with that usage.
    if (found.isEmpty() && usageFound)
        found.append({usagePage, usage});
    return found;
}

bool parseHidId(const QByteArray &hidId, int *vid, int *pid)
{
    const QList<QByteArray> parts = hidId.trimmed().split(':');
    if (parts.size() != 3)
        return false;
    uint values[3] = {};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        if (parts[i].isEmpty() || parts[i].size() > 8)
            return false;
        values[i] = parts[i].toUInt(&ok, 16);
        if (!ok)
            return false;
    }
    if (values[1] > 0xFFFF || values[2] > 0xFFFF)
        return false;
    *vid = int(values[1]);
    *pid = int(values[2]);
    return true;
}

} // namespace mc
