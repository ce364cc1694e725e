// The hot-plug watcher's events as the window receives them: classified collections of an
// arriving node, the remembered identity of a removed one (whose descriptor is gone), a
// caller's own classifier, and a monitor that starts without announcing anything.
#include "platform/hotplugwatcher.h"

#include <QSignalSpy>
#include <QtTest>

using mc::HidInterfaceNote;
using mc::HotplugWatcher;

namespace {

HidInterfaceNote hidraw(const QByteArray &path, int vid, int pid, QVector<mc::HidUsage> usages)
{
    HidInterfaceNote note;
    note.path = path;
    note.vid = vid;
    note.pid = pid;
    note.collections = std::move(usages);
    return note;
}

// A removal as the system reports it: only the node's path is left.
HidInterfaceNote gone(const QByteArray &path)
{
    HidInterfaceNote note;
    note.path = path;
    return note;
}

QList<QVariantList> take(QSignalSpy &spy)
{
    QList<QVariantList> events(spy.begin(), spy.end());
    spy.clear();
    return events;
}

QVariantList hotplugEvent(bool arrival, int vid, int pid, int kind, const QByteArray &path)
{
    return {arrival, vid, pid, kind, path};
}

} // namespace

class TestHotplugWatcher : public QObject
{
    Q_OBJECT
private slots:
    void arrivalAndRemovalReportEachFollowedCollection()
    {
        HotplugWatcher watcher;
        QSignalSpy spy(&watcher, &HotplugWatcher::interfaceChanged);
        // Command collection first in the descriptor; the pointer is reported first anyway.
        watcher.noteArrival(hidraw("/dev/hidraw3", 0x248A, 0xFA02, {{1, 0}, {0x0C, 1}, {1, 2}}));
        watcher.noteArrival(hidraw("/dev/hidraw4", 0x248A, 0xFA02, {{1, 6}})); // keyboard only
        QCOMPARE(take(spy), (QList<QVariantList>{
                                hotplugEvent(true, 0x248A, 0xFA02, 1, "/dev/hidraw3"),
                                hotplugEvent(true, 0x248A, 0xFA02, 4, "/dev/hidraw3"),
                            }));

        watcher.noteRemoval(gone("/dev/hidraw4"));
        watcher.noteRemoval(gone("/dev/hidraw3"));
        QCOMPARE(take(spy), (QList<QVariantList>{
                                hotplugEvent(false, 0x248A, 0xFA02, 1, "/dev/hidraw3"),
                                hotplugEvent(false, 0x248A, 0xFA02, 4, "/dev/hidraw3"),
                            }));
        // Forgotten once reported; a node never seen reports nothing.
        watcher.noteRemoval(gone("/dev/hidraw3"));
        watcher.noteRemoval(gone("/dev/hidraw9"));
        QCOMPARE(spy.count(), 0);
    }

    // A node number used again by another device is what its latest arrival said.
    void reusedNodeIsWhatItsLatestArrivalSaid()
    {
        HotplugWatcher watcher;
        QSignalSpy spy(&watcher, &HotplugWatcher::interfaceChanged);
        watcher.noteArrival(hidraw("/dev/hidraw0", 0x248A, 0xFA02, {{1, 2}}));
        watcher.noteArrival(hidraw("/dev/hidraw0", 0x248A, 0xFB01, {{1, 0}}));
        spy.clear();
        watcher.noteRemoval(gone("/dev/hidraw0"));
        QCOMPARE(take(spy),
                 (QList<QVariantList>{hotplugEvent(false, 0x248A, 0xFB01, 4, "/dev/hidraw0")}));
    }

    // Windows names carry their IDs and collection; the caller's classifier reads them, also
    // for a removal of an interface that arrived before the watcher started.
    void callersClassifierDecides()
    {
        int calls = 0;
        HotplugWatcher watcher([&calls](const HidInterfaceNote &note) {
            ++calls;
            QVector<mc::HidCollection> kinds;
            if (note.name.startsWith(QLatin1String("HID#VID_248A&PID_FA02&Col04")))
                kinds.append({0x248A, 0xFA02, 4});
            return kinds;
        });
        QSignalSpy spy(&watcher, &HotplugWatcher::interfaceChanged);
        HidInterfaceNote command;
        command.name = QStringLiteral("HID#VID_248A&PID_FA02&Col04#7&1&0003#{4d1e55b2}");
        command.path = "\\\\?\\" + command.name.toLatin1();
        HidInterfaceNote foreign;
        foreign.name = QStringLiteral("HID#VID_046D&PID_C077#7&2&0000#{4d1e55b2}");
        foreign.path = "\\\\?\\" + foreign.name.toLatin1();
        watcher.noteRemoval(command);
        watcher.noteArrival(command);
        watcher.noteArrival(foreign);
        QCOMPARE(take(spy), (QList<QVariantList>{
                                hotplugEvent(false, 0x248A, 0xFA02, 4, command.path),
                                hotplugEvent(true, 0x248A, 0xFA02, 4, command.path),
                            }));
        QCOMPARE(calls, 3);
    }

    // What can be checked without devices: the monitor starts where udev is, present nodes
    // are taken in silently, and stopping ends it. (Events from real nodes need hardware.)
    void monitorStartsSilentlyAndStops()
    {
        HotplugWatcher watcher;
        QSignalSpy spy(&watcher, &HotplugWatcher::interfaceChanged);
        const bool started = watcher.start();
#ifdef MC_TEST_HAVE_UDEV
        QVERIFY(started);
#endif
        QCOMPARE(watcher.isActive(), started);
        QVERIFY(watcher.start() == started); // a second start keeps the first subscription
        QTest::qWait(50);
        QCOMPARE(spy.count(), 0);
        watcher.stop();
        QVERIFY(!watcher.isActive());
    }
};

QTEST_GUILESS_MAIN(TestHotplugWatcher)
#include "test_hotplugwatcher.moc"
