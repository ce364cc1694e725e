// The on-screen display where no window of ours can be shown above the others without taking
// the focus (GNOME on Wayland has no layer shell): a desktop notification through
// org.freedesktop.Notifications, each one replacing the one before, marked transient so that
// it does not stay in the notification list. Nothing waits for the notification server: the
// call is asynchronous, and a message that arrives while the previous call has not been
// answered waits for that answer (which names the notification to replace).
#pragma once

#include "platform/osdmessage.h"

#include <QObject>
#include <QTimer>

class OsdNotifier final : public QObject
{
    Q_OBJECT
public:
    explicit OsdNotifier(QObject *parent = nullptr);
    OsdNotifier(const OsdNotifier &) = delete;
    OsdNotifier &operator=(const OsdNotifier &) = delete;

    // True when the session bus has a notification server (running or startable).
    static bool serverPresent();

    void showMessage(const mc::OsdMessage &message);

signals:
    void shown(const mc::OsdMessage &message);
    void hidden();

private:
    void send(const mc::OsdMessage &message);

    uint m_lastId = 0;       // the notification on screen, which the next one replaces
    bool m_pending = false;  // a call is out and not yet answered
    bool m_haveNext = false; // a message waits for that answer
    mc::OsdMessage m_next;
    QTimer m_hideTimer;
};
