// One attached mouse as the program talks to it: the HID backend it goes through, the device
// table with the four handles, the last status byte, the state a write keeps between its steps,
// and the status poller that reads the same handles. Every device operation takes the
// connection it works on; nothing of it is process-wide, so tests build one on an emulated mouse.
//
// The connection alone stops and restarts its poller around a write (PollerPause): the poller's
// loop has ended before the first report of a write is sent, and it comes back when the last
// pause ends, if it was wanted then. Enumeration, opening and closing run on the thread that
// created the connection (the user-interface thread, the CLI's main thread); a write and the
// poller run on their own threads and only read the handles.
#pragma once

#include "device/devicetable.h"
#include "device/hidbackend.h"
#include "device/reportframe.h"
#include "device/statuspoller.h"
#include "device/writestate.h"

#include <QMutex>

#include <atomic>
#include <cstdint>
#include <optional>

namespace mc {

class MouseConnection final
{
public:
    // The backend is not owned and must outlive the connection.
    explicit MouseConnection(HidBackend &hid);
    // On the backend the process chose (hidBackend()), followed as it changes: a tracer put in
    // front of it later (diagnostics recording) sees this connection's reports too. Only a
    // backend that passes the same devices' handles on may be put in front while one is open.
    MouseConnection();
    ~MouseConnection(); // stops the poller, closes the handles; the HID library stays up
    MouseConnection(const MouseConnection &) = delete;
    MouseConnection &operator=(const MouseConnection &) = delete;

    HidBackend &hid() const { return m_hid ? *m_hid : hidBackend(); }
    DeviceState &state() { return m_state; }
    const DeviceState &state() const { return m_state; }
    WriteState &writeState() { return m_write; }

    // The cable command handle if open, else the receiver command handle if open, else nullptr.
    HidHandle commandHandle() const;

    // Last status byte of the mouse (the DPI form of sensor 3395 depends on it). Any thread.
    uint8_t statusByte() const { return m_statusByte.load(); }
    void setStatusByte(uint8_t status) { m_statusByte.store(status); }

    // A change the mouse reported (0x49) while a command exchange, not the poller, was reading:
    // kept (the latest wins) until the poller takes it and tells the window. Any thread.
    void keepChangeReport(const uint8_t *report);
    std::optional<frame::Report> takeChangeReport();

    // The status poller: its signals for those who follow the status.
    StatusPoller &poller() { return m_poller; }
    // Wanted from now on: starts a new poller (at once when no write holds it paused). Any
    // thread; a start asked from another thread is handed to the connection's thread.
    void startPoller();
    // Not wanted: returns after the poller's loop has ended. Creator's thread.
    void stopPoller();
    bool pollerRunning() const { return m_poller.isRunning(); }
    void setPollTimings(const PollTimings &timings) { m_poller.setTimings(timings); }

    // While one lives the poller is stopped (its loop has ended); pauses nest. Any thread.
    class PollerPause
    {
    public:
        explicit PollerPause(MouseConnection &connection);
        ~PollerPause();
        PollerPause(const PollerPause &) = delete;
        PollerPause &operator=(const PollerPause &) = delete;

    private:
        MouseConnection &m_connection;
    };

private:
    void pause();
    void resume();
    void startIfWanted(); // on the connection's thread

    HidBackend *m_hid; // nullptr: the process's backend
    DeviceState m_state;
    WriteState m_write;
    std::atomic<uint8_t> m_statusByte{0};
    QMutex m_changeMutex;
    std::optional<frame::Report> m_change;
    StatusPoller m_poller;
    QMutex m_pollerMutex; // guards the two below and the poller's start and stop
    int m_pauses = 0;
    bool m_wanted = false;
};

} // namespace mc
