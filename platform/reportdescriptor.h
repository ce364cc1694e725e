// What a hidraw node carries, read from the kernel's view of it: the usage page / usage pairs of
// its HID report descriptor exactly as hidapi's enumeration lists them for the node, and the IDs
// of the HID_ID property. Both readers take bytes straight from
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

// The usage page / usage pairs hidapi 0.13 lists for a hidraw node with this descriptor, in its
// order: one for every collection item (of any kind, nested or not) with a Usage item in scope,
// the last Usage item before it deciding (its low 16 bits; a four-byte usage does not name its
// page), under the last Usage Page item; push and pop change nothing. A descriptor without such
// a collection but with a usage left in scope at its end gives that one pair.
QVector<HidUsage> listedUsages(const QByteArray &descriptor);

// Vendor and product ID of a HID_ID property ("0003:0000248A:0000FA02": bus, vendor, product in
// hexadecimal). False, and both left alone, for anything else.
bool parseHidId(const QByteArray &hidId, int *vid, int *pid);

} // namespace mc
