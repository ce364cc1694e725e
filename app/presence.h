// Device presence and status: follows the mouse being plugged in and out, opens and closes it,
// owns the status poller, and turns what the poller reports (battery, charging, write state,
// slot, stage and rate changed on the mouse) into display states, store updates and
// announcements. A plain object: the window composes it and applies its signals to the widgets,
// so the logic is tested without a window.
//
// User-interface thread only. Hot-plug events may be emitted on another thread (the emulated
// mouse emits from the thread that unplugged it): connect them with the default connection so
// they arrive queued. The poller is stopped, and its loop has ended, before any handle is closed
// or reopened here.
#pragma once

#include "device/mouseconnection.h"

#include <QByteArray>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <array>
#include <functional>
#include <memory>

namespace mc {

struct ProfileStore;

// What the connection pictures and the battery frame show for the first entry's flags.
struct ConnectionDisplay
{
    int state = 3;              // 0 cable, 1 charging or cable with receiver, 2 receiver, 3 none
    bool receiverShown = false; // dongle.png
    bool barShown = true;       // the battery bar
    QString batteryFrame;       // bat2.png for states 0 and 1, bat1.png otherwise
};
ConnectionDisplay connectionDisplayFor(bool bCable, bool bReceiver, bool bCharging);

// The battery bar's style sheet: grey when the mouse is off, else white with a chunk in the
// theme colour; the font size is int(16 x scale factor) pixels.
QString batteryBarStyle(bool bMouseOff, const QColor &theme, double scaleFactor);

// The announcement of a report-rate code: 8 "125 HZ" ... 1 "1000 HZ", any other code empty.
QString rateAnnouncement(int iRate);

// Everything the window shows of the status, applied as a whole after every change.
struct StatusDisplay
{
    QString barStyle;
    QString barFormat;          // "%p%", empty (cable), or "MOUSE OFF"
    QString barText;            // the bar's own text over it: "MOUSE OFF" or empty
    bool barTextVisible = true; // the progress text
    int barValue = 10;          // 0..100
    bool chargingShown = false; // lightning.png: the connection table always hides it
    ConnectionDisplay connection;
};

// Questions and process start of the firmware button; tests replace them.
struct FirmwareHooks
{
    // Kind 1 question or kind 2 notice under the title "Warning"; true when accepted.
    std::function<bool(int iKind, const QString &message)> ask;
    // Starts the updater detached; false when it did not start.
    std::function<bool(const QString &program)> startDetached;
    // Ends the program with the code (the default leaves the event loop, so everything is
    // stopped and joined on the way out).
    std::function<void(int code)> exit;
};

class DevicePresence final : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSetUpDelayMs = 200;   // arrival of a first mouse to slotWarnClose
    static constexpr int kWarningDelayMs = 200; // removal of the last mouse to slotWarning
    static constexpr int kReopenDelayMs = 500;  // close to reopen of a half-present attachment

    // hid: the backend the mouse is reached through (not owned), nullptr for the one the process
    // chose, followed as it changes (a diagnostics tracer put in front later); the presence owns
    // the connection built on it. store: the working store (not owned); its slot names name the
    // slot files. currentSlot: the slot being edited; by default the store's active slot.
    DevicePresence(HidBackend *hid, ProfileStore &store, std::function<int()> currentSlot = {},
                   QObject *parent = nullptr);
    ~DevicePresence() override; // stops the poller and waits for its loop

    // After enumeration at start-up: counts the present mice, settles the current product,
    // opens its mouse, starts the poller and shows the start-up battery level (10 %).
    void begin();

    // The write takes the device and the stores: holds hot-plug events, status reports still
    // queued and pending reopens until start() (the write itself pauses the poller). Also at
    // shut-down, before the handles are closed.
    void stop();
    // Runs what was held, in order, and starts a new poller.
    void start();
    // The connection to the mouse: its handles, its poller, what a write keeps.
    MouseConnection &connection() { return *m_connection; }
    bool pollerRunning() const { return m_connection->pollerRunning(); }
    // The poller's signals, for those who follow the status too (the write's mouse-off check).
    StatusPoller *poller() { return &m_connection->poller(); }
    void setPollTimings(const PollTimings &timings) { m_connection->setPollTimings(timings); }

    int miceCount() const { return m_mice; }
    bool hasDevice() const { return m_hasDevice; }
    bool warningOpen() const { return m_warningOpen; }
    void setWarningOpen(bool bOpen) { m_warningOpen = bOpen; } // the window's box opened/closed
    bool mouseOff() const { return m_mouseOff; } // the last battery values were all zero
    bool charging() const { return m_charging; }
    const StatusDisplay &display() const { return m_display; }

    // Replaces the pointer-speed setter (default: the system's, 1 to 20).
    void setPointerSpeedSetter(std::function<void(int speed)> setter);
    void setFirmwareHooks(FirmwareHooks hooks);
    // Whether slot iSlot holds a report rate the user chose and has not applied yet: a rate the
    // mouse reports for that slot then leaves the choice as it is (Apply still sends it).
    void setRateEditProbe(std::function<bool(int iSlot)> probe);

public slots:
    // A collection came (bArrival) or went: kind 1 pointer, 4 command; path as enumerated.
    void onInterfaceChanged(bool bArrival, int vid, int pid, int kind, const QByteArray &path);

    void slotRefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte);
    void slotRefreshStatus(quint8 iProfile, quint8 iDPI, quint8 iRate, quint8 iMode);
    void slotRefreshWriteStatus(quint8 iStatus);
    void slotRefreshProfile(quint8 iProfile);
    void slotRefreshDPIStage(quint8 iDPI);
    void slotRefreshRate(quint8 iRate);

    void slotWarning();
    void slotWarnClose();

    // The firmware button: the updater when the cable was attached at start-up, else the
    // notice to attach it.
    void onFirmwareRequested();

signals:
    // The present products changed; Config/CurrentProductName is already settled. The window
    // rebuilds its menu of mice.
    void mouseListChanged(const QStringList &names);
    // A mouse has been set up: the window reloads as after a mouse switch (pictures, stores,
    // library, tab 0, hotspot 0, panels). The device is open and the poller runs.
    void reloadRequested();
    // A mouse arrived new (Config/Diff is 1 now) and its device is open with the poller
    // running: it may have forgotten what was written to it.
    void mouseConnected();
    // The last mouse went away.
    void mouseGone();
    // No mouse: the show request with "Dongle Disconnect!".
    void warningRequested();
    // A mouse has been set up: an open "Dongle Disconnect!" box accepts itself now.
    void warningCloseRequested();
    void displayChanged(const mc::StatusDisplay &display);
    // The mouse switched slots: select slot iSlot without reload and rebuild the library menu,
    // at once (direct connection). The slot's pointer speed is applied here afterwards.
    void slotSelectRequested(int iSlot);
    void stageSelected(int iStage);     // the DPI panel highlights the stage
    void rateShown(int iRate);          // the report-rate panel shows it with the stored lift-off
    void announce(const QString &text); // for the on-screen display
    // Something the user must know to use the mouse: Config.ini cannot be read, or the present
    // mouse cannot be opened (with how to grant access). Connect queued: the window shows a box.
    void deviceProblem(const QString &text);

private:
    struct HotplugEvent
    {
        bool bArrival;
        int vid, pid, kind;
        QByteArray path;
    };
    // True when the call was kept for start().
    bool heldForWrite(std::function<void()> call);

    int slot() const;
    // Config/CurrentProductName, or the present mouse while Config.ini cannot be read.
    QByteArray currentProduct() const;
    void presenceUpdate(const HotplugEvent &e);
    void updateMouseList();
    void openCurrent();
    void closeAll();
    void reopen();
    void setUp();
    void refreshStage(int iSlot, quint8 iDPI);
    void refreshRate(int iSlot, quint8 iRate);
    void updateConnectionDisplay();
    // Tells of a new arrival once its device is open.
    void connectedIfNew();

    ProfileStore &m_store;
    std::function<int()> m_currentSlot;
    std::function<void(int)> m_setPointerSpeed;
    std::function<bool(int)> m_rateEdited;
    // The rate the mouse last reported for a slot whose edit was kept (0: none), so that it is
    // announced once, not at every later report of the same slot.
    std::array<quint8, kSlotCount> m_rateKeptAgainst{};
    FirmwareHooks m_firmware;
    std::unique_ptr<MouseConnection> m_connection;

    QTimer m_setUpTimer;  // slotWarnClose
    QTimer m_warnTimer;   // slotWarning
    QTimer m_reopenTimer; // the half-present attachment's reopen
    bool m_held = false;
    QVector<std::function<void()>> m_heldCalls;
    bool m_setUpHeld = false;
    bool m_reopenHeld = false;
    bool m_arrivedNew = false; // an arrival was new; told once the device is open

    int m_mice = 0;
    bool m_hasDevice = false;
    bool m_warningOpen = false;
    bool m_mouseOff = false;
    bool m_charging = false;
    int m_lastPercent = -1;
    // The voltage of a full battery, read once: a status answer comes every half minute, and
    // reading the settings file for it each time was most of the work an answer made.
    int m_batteryFull = -1;
    bool m_storeLevel = true; // false for the start-up level, which is no reading
    int m_unknownRate = 0;    // a rate code the store cannot hold, last reported
    StatusDisplay m_display;
};

} // namespace mc

Q_DECLARE_METATYPE(mc::StatusDisplay)
