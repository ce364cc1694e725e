// What the system says about a HID device before the program talks to it: the report descriptor
// of a hidraw node (its top-level application collections), the HID_ID property and, on Windows,
// the device-interface name of a notification. The bytes are given to each reader. Collections
// are found in descriptor order, so a descriptor cut short finds a prefix of what the whole one
// finds; no reader may give an ID beyond 16 bits or a kind it does not know.
#include "fuzzsupport.h"

#include "device/discovery.h"
#include "platform/reportdescriptor.h"

#include <algorithm>

using namespace mc;
using namespace mc::fuzz;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);

    const QVector<HidUsage> all = listedUsages(bytes);
    const int read = std::min(int(size), kMaxReportDescriptorSize);
    // A pair takes a usage item and a collection item: two bytes at the least.
    MC_FUZZ_CHECK(all.size() <= std::max(1, read / 2), "%d pairs in %d bytes", int(all.size()),
                  read);
    for (const HidUsage &u : all)
        MC_FUZZ_CHECK(u.usagePage >= 0 && u.usagePage <= 0xFFFF && u.usage >= 0 &&
                          u.usage <= 0xFFFF,
                      "usage %x:%x", u.usagePage, u.usage);
    if (size > 0) {
        const int cut = data[0] % (read + 1);
        // Only the item cut in its data may read otherwise (as 0), and only the last pair.
        const QVector<HidUsage> part = listedUsages(bytes.left(cut));
        const int settled = std::max(0, int(part.size()) - 1);
        MC_FUZZ_CHECK(settled <= all.size() &&
                          std::equal(part.begin(), part.begin() + settled, all.begin()),
                      "a descriptor cut at %d finds what the whole one does not", cut);
    }

    int vid = -1;
    int pid = -1;
    if (parseHidId(bytes, &vid, &pid)) {
        MC_FUZZ_CHECK(vid >= 0 && vid <= 0xFFFF && pid >= 0 && pid <= 0xFFFF, "ids %x %x", vid,
                      pid);
        int vid2 = -1;
        int pid2 = -1;
        const QByteArray again = QStringLiteral("0003:%1:%2")
                                     .arg(vid, 8, 16, QLatin1Char('0'))
                                     .arg(pid, 8, 16, QLatin1Char('0'))
                                     .toLatin1();
        MC_FUZZ_CHECK(parseHidId(again, &vid2, &pid2) && vid2 == vid && pid2 == pid,
                      "the ids do not read back");
    } else {
        MC_FUZZ_CHECK(vid == -1 && pid == -1, "ids set by a failed parse");
    }

    for (const QString &name : {QString::fromLatin1(bytes), QString::fromUtf8(bytes)}) {
        const InterfaceMatch m = MatchInterfaceName(name);
        MC_FUZZ_CHECK(m.kind == kKindNone || m.kind == kKindPointer || m.kind == kKindCommand,
                      "kind %d", m.kind);
        if (m.kind != kKindNone)
            MC_FUZZ_CHECK(m.vid >= 0 && m.vid <= 0xFFFF && m.pid >= 0 && m.pid <= 0xFFFF,
                          "interface ids %x %x", m.vid, m.pid);
        else
            MC_FUZZ_CHECK(m.vid == 0 && m.pid == 0, "ids without a kind");
    }
    return 0;
}
