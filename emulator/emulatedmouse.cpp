// The emulated mouse: attachments, handles, answers and the device memory. See the header for
// the model it follows.
#include "emulator/emulatedmouse.h"

#include "device/reportframe.h"
#include "profile/settings.h"

#include <QMutexLocker>

#include <algorithm>
#include <cstring>

namespace mc {

namespace {
constexpr uint16_t kReceiverRelease = 0x0100;
constexpr uint16_t kCableRelease = 0x0102;

struct CollectionInfo
{
    const char *name;
    uint16_t usagePage;
    uint16_t usage;
};

// Collection n + 1 of each attachment (pointer col01 .. command col04).
constexpr CollectionInfo kCollections[] = {
    {"pointer", 1, 2},
    {"keyboard", 1, 6},
    {"consumer", 0x0C, 1},
    {"command", 1, 0},
};
constexpr int kCollectionCount = int(sizeof kCollections / sizeof kCollections[0]);

int idx(EmulatedMouse::Attachment a)
{
    return int(a);
}

const char *attachmentName(EmulatedMouse::Attachment a)
{
    return a == EmulatedMouse::Attachment::Cable ? "cable" : "receiver";
}

HidHandle toHandle(quintptr id)
{
    return reinterpret_cast<HidHandle>(id);
}
quintptr fromHandle(HidHandle h)
{
    return reinterpret_cast<quintptr>(h);
}
} // namespace

EmulatedMouse::EmulatedMouse(QObject *parent) : HotplugSource(parent)
{
    const UsbIds ids = readUsbIds();
    m_vid = {ids.receiverVid, ids.cableVid};
    m_pid = {ids.receiverPid, ids.cablePid};
    m_productName = readMouseListName().toUtf8();
    factoryResetLocked();
    m_clock.start();
}

void EmulatedMouse::factoryReset()
{
    QMutexLocker lock(&m_mutex);
    factoryResetLocked();
}

void EmulatedMouse::factoryResetLocked()
{
    for (uint8_t c = frame::kGeneralBlock; c <= frame::kMacroBlock; ++c)
        block(c).memory = QByteArray(blockSize(c), '\0');
    dropPendingLocked();
    m_bracketOpen = false;
    m_activeSlot = 0;
    m_activeStage = 0;
}

EmulatedMouse::~EmulatedMouse() = default;

int EmulatedMouse::blockSize(uint8_t command)
{
    switch (command) {
    case frame::kGeneralBlock:
        return kGeneralBlockSize;
    case frame::kDpiBlock:
        return kDpiBlockSize;
    case frame::kButtonBlock:
        return kButtonBlockSize;
    case frame::kLightingBlock:
        return kLightingBlockSize;
    case frame::kMacroBlock:
        return kMacroAreaSize;
    default:
        return 0;
    }
}

EmulatedMouse::Block &EmulatedMouse::block(uint8_t command)
{
    return m_blocks[size_t(std::clamp<int>(command, 1, 5) - 1)];
}

const EmulatedMouse::Block &EmulatedMouse::block(uint8_t command) const
{
    return m_blocks[size_t(std::clamp<int>(command, 1, 5) - 1)];
}

// --- HidBackend ---

int EmulatedMouse::init()
{
    QMutexLocker lock(&m_mutex);
    return m_initFails ? -1 : 0;
}

void EmulatedMouse::exit() {}

QVector<HidDeviceInfo> EmulatedMouse::enumerate()
{
    QMutexLocker lock(&m_mutex);
    QVector<HidDeviceInfo> list;
    for (Attachment a : {Attachment::Receiver, Attachment::Cable}) {
        if (!m_plugged[size_t(idx(a))])
            continue;
        for (int c = 0; c < kCollectionCount; ++c) {
            HidDeviceInfo info;
            info.path = pathOf(a, Collection(c));
            info.vendorId = uint16_t(m_vid[size_t(idx(a))]);
            info.productId = uint16_t(m_pid[size_t(idx(a))]);
            info.release = a == Attachment::Cable ? kCableRelease : kReceiverRelease;
            info.usagePage = kCollections[c].usagePage;
            info.usage = kCollections[c].usage;
            list.append(info);
        }
    }
    return list;
}

HidHandle EmulatedMouse::open(const QByteArray &path)
{
    QMutexLocker lock(&m_mutex);
    m_openError.clear();
    if (path.isEmpty())
        return nullptr;
    if (m_openDenied) {
        m_openError = QStringLiteral("Permission denied");
        return nullptr;
    }
    for (Attachment a : {Attachment::Receiver, Attachment::Cable}) {
        if (!m_plugged[size_t(idx(a))])
            continue;
        unsigned collections = 0;
        for (int c = 0; c < kCollectionCount; ++c) {
            if (pathOf(a, Collection(c)) == path)
                collections |= 1u << c;
        }
        if (collections == 0)
            continue;
        const quintptr id = m_nextHandle++;
        Handle &h = m_handles[id];
        h.attachment = a;
        h.collections = collections;
        h.generation = m_generation[size_t(idx(a))];
        h.openedAt = m_clock.elapsed();
        return toHandle(id);
    }
    return nullptr;
}

void EmulatedMouse::close(HidHandle handle)
{
    QMutexLocker lock(&m_mutex);
    m_handles.erase(fromHandle(handle));
    m_arrived.wakeAll();
}

int EmulatedMouse::write(HidHandle handle, const uint8_t *data, size_t length)
{
    QVector<Event> events;
    int result = -1;
    {
        QMutexLocker lock(&m_mutex);
        Handle *h = findHandle(handle);
        if (!h || !handleAlive(*h) || m_writeFailure || !data)
            return -1;
        const Attachment a = h->attachment;
        if (m_unplugAfter == 0) {
            m_unplugAfter = -1;
            events = unplugLocked(a);
        } else if (h->collections & (1u << int(Collection::Command))) {
            if (m_unplugAfter > 0)
                --m_unplugAfter;
            ++m_writeCount;
            QByteArray report(reinterpret_cast<const char *>(data), int(length));
            if (report.size() < kReportSize)
                report.append(QByteArray(kReportSize - report.size(), '\0'));
            m_written.append(report);
            if (m_written.size() > m_writtenLimit)
                m_written.remove(0, m_written.size() - m_writtenLimit);
            if (!handleReportLocked(a, report))
                ++m_refusedCount;
            result = int(length);
        }
    }
    emitEvents(events);
    return result;
}

int EmulatedMouse::readTimeout(HidHandle handle, uint8_t *data, size_t length, int milliseconds)
{
    QMutexLocker lock(&m_mutex);
    const qint64 deadline = milliseconds < 0 ? -1 : m_clock.elapsed() + milliseconds;
    for (;;) {
        const qint64 motionDue = pumpMotionLocked();
        Handle *h = findHandle(handle);
        if (!h || !handleAlive(*h))
            return -1;
        const qint64 now = m_clock.elapsed();
        if (!h->queue.empty() && h->queue.front().first <= now) {
            const QByteArray report = h->queue.front().second;
            h->queue.pop_front();
            const size_t n = std::min(length, size_t(report.size()));
            if (n > 0 && data)
                std::memcpy(data, report.constData(), n);
            ++m_readCount;
            return int(n);
        }
        if (deadline >= 0 && now >= deadline)
            return 0;
        qint64 wakeAt = deadline;
        if (!h->queue.empty())
            wakeAt = wakeAt < 0 ? h->queue.front().first : std::min(wakeAt, h->queue.front().first);
        if (motionDue >= 0)
            wakeAt = wakeAt < 0 ? motionDue : std::min(wakeAt, motionDue);
        if (wakeAt < 0)
            m_arrived.wait(&m_mutex);
        else
            m_arrived.wait(&m_mutex, ulong(std::max<qint64>(1, wakeAt - now)));
    }
}

// --- attachments ---

EmulatedMouse::Handle *EmulatedMouse::findHandle(HidHandle handle)
{
    auto it = m_handles.find(fromHandle(handle));
    return it == m_handles.end() ? nullptr : &it->second;
}

const EmulatedMouse::Handle *EmulatedMouse::findHandle(HidHandle handle) const
{
    auto it = m_handles.find(fromHandle(handle));
    return it == m_handles.end() ? nullptr : &it->second;
}

bool EmulatedMouse::handleAlive(const Handle &h) const
{
    const size_t a = size_t(idx(h.attachment));
    return m_plugged[a] && h.generation == m_generation[a];
}

QByteArray EmulatedMouse::pathOf(Attachment a, Collection c) const
{
    const QByteArray &custom = m_pathOverride[size_t(idx(a))][size_t(c)];
    if (!custom.isEmpty())
        return custom;
    switch (m_pathStyle) {
    case PathStyle::Linux:
        return a == Attachment::Cable ? "/dev/hidraw5" : "/dev/hidraw3";
    case PathStyle::Windows:
        return QStringLiteral("\\\\?\\hid#vid_%1&pid_%2&col0%3#7&1f2e3d4c&0&000%4#"
                              "{4d1e55b2-f16f-11cf-88cb-001111000030}")
            .arg(m_vid[size_t(idx(a))], 4, 16, QLatin1Char('0'))
            .arg(m_pid[size_t(idx(a))], 4, 16, QLatin1Char('0'))
            .arg(int(c) + 1)
            .arg(int(c))
            .toLatin1();
    case PathStyle::Emu:
        break;
    }
    if (m_layout == NodeLayout::PerInterface)
        return QByteArray("emu://") + attachmentName(a);
    return QByteArray("emu://") + attachmentName(a) + '/' + kCollections[int(c)].name;
}

void EmulatedMouse::plug(Attachment attachment)
{
    QVector<Event> events;
    {
        QMutexLocker lock(&m_mutex);
        const size_t a = size_t(idx(attachment));
        if (m_plugged[a])
            return;
        m_plugged[a] = true;
        for (Collection c : {Collection::Pointer, Collection::Command}) {
            events.append({true, m_vid[a], m_pid[a], c == Collection::Pointer ? 1 : 4,
                           pathOf(attachment, c)});
        }
    }
    emitEvents(events);
}

void EmulatedMouse::unplug(Attachment attachment)
{
    QVector<Event> events;
    {
        QMutexLocker lock(&m_mutex);
        events = unplugLocked(attachment);
    }
    emitEvents(events);
}

QVector<EmulatedMouse::Event> EmulatedMouse::unplugLocked(Attachment attachment)
{
    QVector<Event> events;
    const size_t a = size_t(idx(attachment));
    if (!m_plugged[a])
        return events;
    m_plugged[a] = false;
    ++m_generation[a];
    // A write cut off by the unplug is never applied.
    dropPendingLocked();
    for (Collection c : {Collection::Pointer, Collection::Command})
        events.append(
            {false, m_vid[a], m_pid[a], c == Collection::Pointer ? 1 : 4, pathOf(attachment, c)});
    m_arrived.wakeAll();
    return events;
}

void EmulatedMouse::emitEvents(const QVector<Event> &events)
{
    for (const Event &e : events)
        emit interfaceChanged(e.arrival, e.vid, e.pid, e.kind, e.path);
}

bool EmulatedMouse::isPlugged(Attachment attachment) const
{
    QMutexLocker lock(&m_mutex);
    return m_plugged[size_t(idx(attachment))];
}

void EmulatedMouse::setPathStyle(PathStyle style)
{
    QMutexLocker lock(&m_mutex);
    m_pathStyle = style;
}

void EmulatedMouse::setNodeLayout(NodeLayout layout)
{
    QMutexLocker lock(&m_mutex);
    m_layout = layout;
}

void EmulatedMouse::setCollectionPath(Attachment attachment, Collection collection,
                                      const QByteArray &path)
{
    QMutexLocker lock(&m_mutex);
    m_pathOverride[size_t(idx(attachment))][size_t(collection)] = path;
}

QByteArray EmulatedMouse::collectionPath(Attachment attachment, Collection collection) const
{
    QMutexLocker lock(&m_mutex);
    return pathOf(attachment, collection);
}

int EmulatedMouse::vendorId(Attachment a) const
{
    return m_vid[size_t(idx(a))];
}
int EmulatedMouse::productId(Attachment a) const
{
    return m_pid[size_t(idx(a))];
}
QByteArray EmulatedMouse::productName() const
{
    return m_productName;
}
uint16_t EmulatedMouse::cableRelease() const
{
    return kCableRelease;
}

void EmulatedMouse::setHidInitFails(bool fails)
{
    QMutexLocker lock(&m_mutex);
    m_initFails = fails;
}

void EmulatedMouse::setOpenDenied(bool denied)
{
    QMutexLocker lock(&m_mutex);
    m_openDenied = denied;
}

QString EmulatedMouse::lastOpenError() const
{
    QMutexLocker lock(&m_mutex);
    return m_openError;
}

int EmulatedMouse::openHandleCount() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_handles.size());
}

} // namespace mc
