// Giving a mouse that connects the settings the window shows. A mouse that slept, was plugged
// in again or lost power may have forgotten what was written to it; when one arrives new, this
// asks for a full write in the background, once the mouse is known to be awake (its first
// battery reading after the arrival is not all zero; while it reads "MOUSE OFF" the write
// waits for the reading that says it woke). The user turns it off and on with
// Config/ReapplyOnConnect (a check in the tray menu). A failed write leaves Config/Diff at 1
// (the write itself sees to that) and is told the user once, not again until a write succeeds.
// A plain object the window composes; user-interface thread only.
#pragma once

#include "app/userprompts.h"

#include <QObject>

#include <functional>

namespace mc {

class ReapplyOnConnect final : public QObject
{
    Q_OBJECT
public:
    // write: starts the background write of what the window shows (the panels collected first,
    // as Apply does). It is called from the event loop, never inside the signal that caused it.
    explicit ReapplyOnConnect(std::function<void()> write, QObject *parent = nullptr);

    void setPrompts(const UserPrompts &prompts);
    bool enabled() const { return m_enabled; }
    // A write is wanted and waits for the mouse to be awake.
    bool pending() const { return m_pending; }

public slots:
    // Stores the choice in Config.ini; turned off, a waiting write is dropped.
    void setEnabled(bool bEnable);
    // A mouse arrived new and its device is open.
    void onMouseConnected();
    // The last mouse went away: nothing waits for it any more.
    void onMouseGone();
    // The status poller's battery values (all three 0: the mouse is off or asleep).
    void slotRefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte);
    // The end of any write, and of the background write this asked for.
    void onWriteFinished(quint8 iResult);
    // message: the write's own account of a failure, told after this one's words; the
    // result's text when empty.
    void onBackgroundWriteFinished(quint8 iResult, const QString &message = QString());

signals:
    void enabledChanged(bool bEnable);

private:
    std::function<void()> m_write;
    UserPrompts m_prompts;
    bool m_enabled = true;
    bool m_pending = false;
    bool m_failureTold = false;
};

} // namespace mc
