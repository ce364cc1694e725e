// The status poller: while a mouse is open it asks for the status every 56th pass, listens
// for the reports the mouse sends by itself in every pass, and hands battery, charging, write
// state and on-mouse changes to the window as queued signals. It reads the command handle and
// writes only the device state's status byte; it touches no widget and no store.
#pragma once

#include <QAtomicInt>
#include <QSemaphore>
#include <QThread>

namespace mc {

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

    explicit KivGetBatteryThread(QObject *parent = nullptr);
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
    void pause(int ms);
    void queryPass();
    void listenPass();
    void handleAnswer(const uint8_t *report);
    void emitChange(const uint8_t *report);

    PollTimings m_timings;
    QAtomicInt m_stop{0};
    QAtomicInt m_passes{0};
    QSemaphore m_wake;
};

} // namespace mc
