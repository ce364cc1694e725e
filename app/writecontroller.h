// Writing from the window: one write of the working store through the apply worker
// (KivProcessThread), and the switch of the mouse's active slot, each on a thread of its own
// while the busy indicator (KivProcessDialog) holds the window modally; then the result is
// told the user. A request that arrives while one runs waits its turn, so the transport has
// one user at a time. The connection stops its status poller around the device traffic.
// User-interface thread only.
#pragma once

#include "app/userprompts.h"
#include "profile/profiledata.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <deque>

class QThread;

namespace mc {

class MouseConnection;

class WriteController final : public QObject
{
    Q_OBJECT
public:
    // Both stores must outlive the controller; they are not touched while a write runs.
    // The connection and both stores must outlive the controller.
    WriteController(MouseConnection &connection, ProfileStore &working, ProfileStore &lastWritten,
                    QObject *parent = nullptr);
    WriteController(const WriteController &) = delete;
    WriteController &operator=(const WriteController &) = delete;

    void setPrompts(const UserPrompts &prompts);
    // The window the busy indicator is centred on (may be null).
    void setDialogParent(QWidget *parent);

    bool isBusy() const { return m_busy; }
    bool mouseOff() const { return m_mouseOff; }
    // The result of the last write: 0 done, 5 mouse off, a transport code or a refusal.
    uint8_t lastResult() const { return m_lastResult; }
    // What the user was (or, for a background write, is to be) told of it; empty for 0.
    QString lastMessage() const { return m_lastMessage; }

public slots:
    // Collect nothing, write what changed (bEverything: every group). Returns after the write
    // and its message, or at once when another request is running (this one follows it).
    void write(bool bEverything);
    // Writes every group without the busy indicator, for a write the user did not ask for (a
    // mouse that connected): the window stays as it is, the user's clicks and keys wait until
    // the write is over (as behind the indicator, so the stores stay untouched), and no message
    // is shown; backgroundWriteFinished tells the result. Queued like every request.
    void writeInBackground();
    // Tells the mouse to switch to slot iProfile (0..4): SelectProfile, then CommitSettings.
    // bQuiet waits without the busy indicator (user input is held back meanwhile): a switch
    // that follows the application in front must not bring a window of ours to the front.
    void selectProfile(int iProfile, bool bQuiet = false);
    // The status poller's battery values: all three 0 mean the mouse is off or asleep, and a
    // write then sends nothing.
    void slotRefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte);

signals:
    // The device and the stores are taken (true) and given back (false): whoever else uses
    // the handles or the stores (the presence update, status reports) waits in between.
    // Emitted on the user-interface thread; connect directly.
    void busyChanged(bool bBusy);
    void writeFinished(quint8 iResult);
    // A background write started (true) or ended (false): the window may show that it is busy.
    void backgroundWriteChanged(bool bRunning);
    // message: what the user is to be told of a failure (the result's text and its reason).
    void backgroundWriteFinished(quint8 iResult, const QString &message);
    void profileSelected(int iProfile);

private:
    struct Request
    {
        bool select = false;
        bool everything = false;
        bool quiet = false;      // a selection without the busy indicator
        bool background = false; // a write without the busy indicator
        int slot = 0;
    };
    void runQueued();
    void runWrite(bool bEverything, bool bBackground);
    void runSelect(int iProfile, bool bQuiet);
    // Runs the started thread's work behind the busy indicator; false when the wait was cut
    // short (the application is quitting), in which case the thread has still ended on return.
    bool waitBehindIndicator(QThread &worker);
    // The same without the indicator: events go on except the user's input.
    bool waitInBackground(QThread &worker);

    MouseConnection &m_connection;
    ProfileStore &m_working;
    ProfileStore &m_lastWritten;
    UserPrompts m_prompts;
    QPointer<QWidget> m_dialogParent;
    std::deque<Request> m_queue;
    bool m_busy = false;
    bool m_mouseOff = false;
    uint8_t m_lastResult = 0;
    QString m_lastMessage;
};

} // namespace mc
