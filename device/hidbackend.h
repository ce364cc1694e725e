// The HID seam: the only interface through which the program reaches USB HID devices. The
// hidapi implementation is the only code that calls hidapi; the emulated mouse is another
// implementation. Called from the user-interface thread and the device worker threads; an
// implementation must tolerate a read on one thread while another thread writes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <cstddef>
#include <cstdint>

namespace mc {

class HotplugSource;

using HidHandle = void *; // opaque; nullptr = not open

struct HidDeviceInfo
{
    QByteArray path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    QString serial;
    uint16_t release = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
};

class HidBackend
{
public:
    virtual ~HidBackend() = default;
    virtual int init() = 0; // 0 ok, -1 failure
    virtual void exit() = 0;
    virtual QVector<HidDeviceInfo> enumerate() = 0;
    virtual HidHandle open(const QByteArray &path) = 0; // nullptr on failure
    // Why the last open() that failed did (the system's words, for the user); empty when unknown.
    // The thread that opens (the connection's) asks right after the failure.
    virtual QString lastOpenError() const { return QString(); }
    virtual void close(HidHandle handle) = 0;
    // Both return the byte count, or -1 on failure; a read that times out returns 0.
    virtual int write(HidHandle handle, const uint8_t *data, size_t length) = 0;
    virtual int readTimeout(HidHandle handle, uint8_t *data, size_t length, int milliseconds) = 0;
    // A backend that knows its own devices come and go (the emulated mouse) is its own source of
    // hot-plug events; the system's backends have none and the system's watcher is used.
    virtual HotplugSource *hotplugSource() { return nullptr; }
};

// The process-wide backend: hidapi unless another one was set. setHidBackend does not take
// ownership; nullptr restores the hidapi backend.
HidBackend &hidBackend();
void setHidBackend(HidBackend *backend);

} // namespace mc
