// What a hidraw node carries, read from the kernel's view of it: the top-level application
// collections of its HID report descriptor (the same usage page / usage pairs that enumeration
// lists for the node) and the IDs of the HID_ID property. Both readers take bytes straight from
// the system and are bounds-checked: garbage or a truncated descriptor yields what could be read
// safely before the damage, never a read past the end.
#pragma once

#include <QByteArray>
#include <QVector>

namespace mc {

struct HidUsage
{
    int usagePage = 0;
    int usage = 0;
    bool operator==(const HidUsage &o) const
    {
        return usagePage == o.usagePage && usage == o.usage;
    }
};

// The descriptors the kernel accepts are at most this long; longer input is cut here.
constexpr int kMaxReportDescriptorSize = 4096;

// Usage page and usage of every top-level application collection, in descriptor order. The
// usage of a collection is the first usage declared before it; a four-byte usage carries its
// own page in the upper half.
QVector<HidUsage> applicationCollections(const QByteArray &descriptor);

// Vendor and product ID of a HID_ID property ("0003:0000248A:0000FA02": bus, vendor, product in
// hexadecimal). False, and both left alone, for anything else.
bool parseHidId(const QByteArray &hidId, int *vid, int *pid);

} // namespace mc
