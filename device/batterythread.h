// The status poller: while a mouse is open it asks for the status every 56th pass, listens
// for the reports the mouse sends by itself in every pass, and hands battery, charging, write
// state and on-mouse changes to the window as queued signals. It reads the connection's command
// handle and writes only its status byte; it touches no widget and no store.
#pragma once

#include <QAtomicInt>
#include <QSemaphore>
#include <QThread>

namespace mc {

class MouseConnection;

// Pauses and read timeouts of one pass, in ms. The defaults are the protocol's; tests shorten
// them so that many passes run quickly.
struct PollTimings
{
    int afterQuery = 10;
    int queryRead = 50;
    int afterQueryPass = 450;
    int listenRead = 50;
    int afterListen = 400;
    int afterReadError = 450;
};

class KivGetBatteryThread final : public QThread
{
    Q_OBJECT
public:
    // The pass counter: a query pass sets it to 2, every other pass adds 1, and it wraps to 0 (the
    // next query pass) at 57. So a query goes out in the first pass and then every 56th.
    static constexpr int kCounterAfterQuery = 2;
    static constexpr int kCounterWrap = 57;

    // The connection must outlive the thread.
    explicit KivGetBatteryThread(MouseConnection &connection, QObject *parent = nullptr);
    ~KivGetBatteryThread() override; // stops and waits

    // Before start().
    void setTimings(const PollTimings &timings);

    // Any thread. The loop ends after the pass in progress; pauses are cut short.
    void requestStop();
    bool stopRequested() const;
    // Passes completed so far (for tests and diagnostics).
    int passes() const;

signals:
    void RefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte);
    void RefreshStatus(quint8 iProfile, quint8 iDPI, quint8 iRate, quint8 iMode);
    void RefreshWriteStatus(quint8 iStatus);

protected:
    void run() override;

private:
    // While reports of the node's other collections flow (the pointer's, up to 1000 a second),
    // they are taken in slices this long: a hidraw queue of 63 then never overflows at 1000 Hz,
    // so a change report of the mouse is never pushed out. While nothing flows one read waits
    // for at most a chunk, so a stop waits for no more than that.
    static constexpr int kSliceMs = 30;
    static constexpr int kListenChunkMs = 225;
    static constexpr int kDrainLimit = 128;
    enum class Read
    {
        Error,
        Nothing,
        Foreign,
        Ours
    };

    void pause(int ms);
    void queryPass();
    void listenPass();
    // Reads and handles the reports that come within ms (at least one read); waits as long when
    // none comes. False after a read error.
    bool listen(int ms);
    Read readOne(void *handle, int timeoutMs);
    // Takes what waits without waiting; true when any of it was not the command collection's.
    bool drain(void *handle);
    void takeKeptChange();
    void handleAnswer(const uint8_t *report);
    void emitChange(const uint8_t *report);

    MouseConnection &m_connection;
    PollTimings m_timings;
    QAtomicInt m_stop{0};
    QAtomicInt m_passes{0};
    QSemaphore m_wake;
};

} // namespace mc
