// Where hot-plug events come from: the system's watcher (platform/hotplugwatcher.h) or the
// emulated mouse. Each delivers one classified event per collection the program follows:
//   interfaceChanged(bArrival, vid, pid, kind, path)   kind 1 pointer, 4 command
// A source may emit on another thread (the emulated mouse emits from the thread that unplugged
// it): connect with the default connection so that events arrive queued.
#pragma once

#include <QByteArray>
#include <QObject>

namespace mc {

class HotplugSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~HotplugSource() override = default;

    // Starts delivering. nativeWindow is the window that receives the system's notifications
    // where the system needs one (Windows); others ignore it. False when no event will come (a
    // failure has been logged).
    virtual bool start(quintptr nativeWindow = 0) = 0;

signals:
    void interfaceChanged(bool bArrival, int vid, int pid, int kind, const QByteArray &path);
};

} // namespace mc
