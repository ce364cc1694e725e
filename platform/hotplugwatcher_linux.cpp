// Hot-plug on Linux: a libudev monitor on the hidraw subsystem. Its socket is watched by a
// QSocketNotifier, so events are read on the user-interface thread when they come and nothing
// runs in between. The nodes present at start are enumerated once, silently, so that their
// later removal can be reported (a removed node's descriptor and parent are gone).
#include "platform/hotplugwatcher.h"
#include "platform/log.h"

#include <QFile>
#include <QSocketNotifier>

#ifdef MC_HAVE_UDEV
#include <libudev.h>
#endif

namespace mc {

#ifdef MC_HAVE_UDEV

namespace {

// The note of a hidraw node that exists now: its devnode, the IDs of its HID parent and the
// collections of the parent's report descriptor. A node without a HID parent gives IDs 0 and no
// collections, which no classifier follows.
HidInterfaceNote noteOf(udev_device *dev)
{
    HidInterfaceNote note;
    note.path = QByteArray(udev_device_get_devnode(dev));
    udev_device *hid = udev_device_get_parent_with_subsystem_devtype(dev, "hid", nullptr);
    if (!hid)
        return note;
    if (!parseHidId(QByteArray(udev_device_get_property_value(hid, "HID_ID")), &note.vid,
                    &note.pid))
        return note;
    QFile file(QFile::decodeName(udev_device_get_syspath(hid)) +
               QStringLiteral("/report_descriptor"));
    if (file.open(QIODevice::ReadOnly))
        note.collections = listedUsages(file.read(kMaxReportDescriptorSize));
    return note;
}

} // namespace

struct HotplugWatcher::Backend
{
    udev *context = nullptr;
    udev_monitor *monitor = nullptr;
    QSocketNotifier *notifier = nullptr; // a child of the watcher

    ~Backend()
    {
        // Stopping may happen inside the notifier's own signal (a receiver of an event stops
        // the watcher), so the notifier is silenced now and deleted once that has returned.
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
        if (monitor)
            udev_monitor_unref(monitor);
        if (context)
            udev_unref(context);
    }
};

bool HotplugWatcher::start(quintptr)
{
    if (m_backend)
        return true;
    std::unique_ptr<Backend, BackendDeleter> backend(new Backend);
    backend->context = udev_new();
    if (backend->context)
        backend->monitor = udev_monitor_new_from_netlink(backend->context, "udev");
    if (!backend->monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(backend->monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(backend->monitor) < 0) {
        qCDebug(lcPlatform, "Hot-plug: no udev monitor, device changes are not followed");
        return false;
    }
    const int fd = udev_monitor_get_fd(backend->monitor);
    backend->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    udev_monitor *monitor = backend->monitor;
    connect(backend->notifier, &QSocketNotifier::activated, this, [this, monitor] {
        // The monitor's socket does not block: drain it first, so that a receiver of the events
        // may stop the watcher without the monitor being read afterwards.
        QVector<std::pair<bool, HidInterfaceNote>> notes;
        while (udev_device *dev = udev_monitor_receive_device(monitor)) {
            const QByteArray action(udev_device_get_action(dev));
            if (udev_device_get_devnode(dev) && action == "add") {
                notes.append({true, noteOf(dev)});
            } else if (udev_device_get_devnode(dev) && action == "remove") {
                HidInterfaceNote note;
                note.path = QByteArray(udev_device_get_devnode(dev));
                notes.append({false, note});
            }
            udev_device_unref(dev);
        }
        for (const auto &[arrival, note] : notes) {
            if (!m_backend)
                break;
            arrival ? noteArrival(note) : noteRemoval(note);
        }
    });

    // Listening before enumerating: a node that comes in between is seen twice, never missed.
    if (udev_enumerate *e = udev_enumerate_new(backend->context)) {
        udev_enumerate_add_match_subsystem(e, "hidraw");
        udev_enumerate_scan_devices(e);
        udev_list_entry *entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e))
        {
            udev_device *dev =
                udev_device_new_from_syspath(backend->context, udev_list_entry_get_name(entry));
            if (!dev)
                continue;
            if (udev_device_get_devnode(dev))
                remember(noteOf(dev));
            udev_device_unref(dev);
        }
        udev_enumerate_unref(e);
    }
    m_backend = std::move(backend);
    return true;
}

#else

struct HotplugWatcher::Backend
{
};

bool HotplugWatcher::start(quintptr)
{
    qCDebug(lcPlatform, "Hot-plug: built without udev, device changes are not followed");
    return false;
}

#endif

HotplugWatcher::~HotplugWatcher() = default;

void HotplugWatcher::BackendDeleter::operator()(Backend *backend) const
{
    delete backend;
}

void HotplugWatcher::stop()
{
    m_backend.reset();
}

bool HotplugWatcher::isActive() const
{
    return m_backend != nullptr;
}

} // namespace mc
