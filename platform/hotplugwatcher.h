// Hot-plug of HID interfaces: the operating system tells us an interface came or went; the
// watcher turns that into classified events, one per collection the program cares about:
//   interfaceChanged(bArrival, vid, pid, kind, path)   kind 1 pointer, 4 command
// a HotplugSource, as the emulated mouse is, so the window takes either.
//
// Classification is the caller's: the watcher describes what the system told it (an
// HidInterfaceNote) and a classifier turns that into collections. This keeps the platform
// library free of the device table; the device layer's MatchInterfaceName is the classifier for
// Windows names, and classifyByUsage (below) reads the collections of a Linux hidraw node.
//
// Linux: a libudev monitor on the "hidraw" subsystem, read through a QSocketNotifier on the
// user-interface thread (no thread, no polling: nothing wakes while nothing is plugged). IDs come
// from the parent HID device's HID_ID, collections from its report descriptor. A removed node
// can no longer be asked what it was, so the watcher remembers every node it has seen (the ones
// present at start() included) and reports a removal with what the node was at its arrival;
// the removal of a node it never knew is not reported.
// Windows: RegisterDeviceNotificationW for the HID interface class on the given window and
// WM_DEVICECHANGE through a native event filter; the note carries the interface name without
// its leading "\\?\" and the path "\\?\" + name.
//
// A watcher that cannot start (no udev, a refused registration) writes a debug line, returns
// false from start() and emits nothing. Everything here runs on the user-interface thread.
#pragma once

#include "device/discovery.h"
#include "device/hotplugsource.h"
#include "platform/reportdescriptor.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

namespace mc {

// What the system says about one interface at its arrival.
struct HidInterfaceNote
{
    QByteArray path; // the path the HID library opens ("/dev/hidraw3", "\\?\hid#...")
    QString name;    // Windows: the interface name without "\\?\"; Linux: empty
    int vid = 0;     // Linux: from HID_ID; Windows: 0 (the name holds them)
    int pid = 0;
    QVector<HidUsage> collections; // Linux: the node's top-level application collections
};

// One collection the program follows.
struct HidCollection
{
    int vid = 0;
    int pid = 0;
    int kind = 0; // 1 pointer, 4 command
    bool operator==(const HidCollection &o) const
    {
        return vid == o.vid && pid == o.pid && kind == o.kind;
    }
};

// Turns a note into the followed collections it holds; empty for a foreign interface.
using HidInterfaceClassifier = std::function<QVector<HidCollection>(const HidInterfaceNote &)>;

// Collection kinds as the device table knows them: the pointer collection is usage page 1 usage
// 2, the command collection usage page 1 usage 0. One event per kind, in the order pointer,
// command, whatever the order in the descriptor.
constexpr int kHotplugKindPointer = kKindPointer;
constexpr int kHotplugKindCommand = kKindCommand;
QVector<HidCollection> classifyByUsage(const HidInterfaceNote &note);

class HotplugWatcher final : public HotplugSource
{
    Q_OBJECT
public:
    // An empty classifier means classifyByUsage.
    explicit HotplugWatcher(HidInterfaceClassifier classifier = {}, QObject *parent = nullptr);
    ~HotplugWatcher() override; // stops
    HotplugWatcher(const HotplugWatcher &) = delete;
    HotplugWatcher &operator=(const HotplugWatcher &) = delete;

    // Starts listening. nativeWindow is the window that receives the notifications on Windows
    // (QWidget::winId()); Linux ignores it. Returns whether notifications will come; a failure
    // has written its debug line. Starting twice keeps the first subscription.
    bool start(quintptr nativeWindow = 0) override;
    void stop();
    bool isActive() const;

    // The system backends report here; tests drive them directly. An arrival emits one event per
    // classified collection and remembers them under the path; a removal emits the remembered
    // collections of that path (Windows: the classification of the name) and forgets them.
    void noteArrival(const HidInterfaceNote &note);
    void noteRemoval(const HidInterfaceNote &note);

private:
    void remember(const HidInterfaceNote &note); // a node present at start: known, not announced
    void emitAll(bool arrival, const QVector<HidCollection> &collections, const QByteArray &path);

    HidInterfaceClassifier m_classifier;
    QHash<QByteArray, QVector<HidCollection>> m_known; // path -> what it was at its arrival
    struct Backend; // the system's subscription, defined by each system's source
    struct BackendDeleter
    {
        void operator()(Backend *backend) const;
    };
    std::unique_ptr<Backend, BackendDeleter> m_backend;
};

} // namespace mc
