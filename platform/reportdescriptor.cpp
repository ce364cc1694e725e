// A minimal HID report descriptor walker: only the items that decide the top-level application
// collections (usage page, usage, push/pop, collection, end collection and the other main items
// that end a local set) are interpreted; everything else is skipped by its declared size. Every
// read is checked against the end, so a hostile descriptor can only end the walk early.
#include "platform/reportdescriptor.h"

#include <QList>

#include <algorithm>
#include <cstdint>

namespace mc {

namespace {

constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr int kTypeMain = 0;
constexpr int kTypeGlobal = 1;
constexpr int kTypeLocal = 2;

constexpr int kMainInput = 0x8;
constexpr int kMainOutput = 0x9;
constexpr int kMainCollection = 0xA;
constexpr int kMainFeature = 0xB;
constexpr int kMainEndCollection = 0xC;
constexpr int kGlobalUsagePage = 0x0;
constexpr int kGlobalPush = 0xA;
constexpr int kGlobalPop = 0xB;
constexpr int kLocalUsage = 0x0;

constexpr uint32_t kCollectionApplication = 0x01;
// Deeper push stacks than this are not real descriptors; further pushes are ignored.
constexpr int kMaxPushDepth = 16;

struct LocalSet
{
    bool hasUsage = false;
    bool explicitPage = false; // a four-byte usage named its page itself
    int usagePage = 0;
    int usage = 0;
};

uint32_t itemData(const uint8_t *p, int size)
{
    uint32_t v = 0;
    for (int i = 0; i < size; ++i)
        v |= uint32_t(p[i]) << (8 * i);
    return v;
}

} // namespace

QVector<HidUsage> applicationCollections(const QByteArray &descriptor)
{
    QVector<HidUsage> found;
    const int end = std::min(int(descriptor.size()), kMaxReportDescriptorSize);
    const auto *bytes = reinterpret_cast<const uint8_t *>(descriptor.constData());
    int usagePage = 0;
    QList<int> pushed;
    LocalSet local;
    int depth = 0;
    int pos = 0;
    while (pos < end) {
        const uint8_t prefix = bytes[pos];
        if (prefix == kLongItemPrefix) {
            // Long items carry their size in the next byte; none of them matters here.
            if (end - pos < 3)
                break;
            pos += 3 + bytes[pos + 1];
            continue;
        }
        const int sizeCode = prefix & 0x3;
        const int size = sizeCode == 3 ? 4 : sizeCode;
        if (end - pos - 1 < size)
            break;
        const int type = (prefix >> 2) & 0x3;
        const int tag = prefix >> 4;
        const uint32_t data = itemData(bytes + pos + 1, size);
        pos += 1 + size;

        if (type == kTypeGlobal) {
            if (tag == kGlobalUsagePage) {
                usagePage = int(data & 0xFFFF);
            } else if (tag == kGlobalPush) {
                if (pushed.size() < kMaxPushDepth)
                    pushed.append(usagePage);
            } else if (tag == kGlobalPop && !pushed.isEmpty()) {
                usagePage = pushed.takeLast();
            }
        } else if (type == kTypeLocal) {
            if (tag == kLocalUsage && !local.hasUsage) {
                local.hasUsage = true;
                local.explicitPage = size == 4;
                local.usagePage = int(data >> 16);
                local.usage = int(data & 0xFFFF);
            }
        } else if (type == kTypeMain) {
            if (tag == kMainCollection) {
                if (depth == 0 && data == kCollectionApplication && local.hasUsage)
                    found.append({local.explicitPage ? local.usagePage : usagePage, local.usage});
                ++depth;
            } else if (tag == kMainEndCollection) {
                depth = std::max(0, depth - 1);
            } else if (tag != kMainInput && tag != kMainOutput && tag != kMainFeature) {
                continue; // a reserved main item: not one that ends the local set
            }
            local = LocalSet();
        }
    }
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
