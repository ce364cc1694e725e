// The on-screen display: a small frameless, translucent, always-on-top window that lets every
// click through and never takes the focus. It shows one message (text in its colour, font and
// size) centred near the bottom of the primary screen for the message's display time, then
// hides; a new message replaces the one on screen and starts its own time.
#pragma once

#include "platform/osdmessage.h"

#include <QTimer>
#include <QWidget>

class OsdWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit OsdWindow(QWidget *parent = nullptr);
    OsdWindow(const OsdWindow &) = delete;
    OsdWindow &operator=(const OsdWindow &) = delete;

    void showMessage(const mc::OsdMessage &message);
    QString text() const { return m_message.text; }

signals:
    void shown(const mc::OsdMessage &message);
    void hidden();

protected:
    void paintEvent(QPaintEvent *event) override;
#ifdef Q_OS_WIN
    // WM_COPYDATA from the configuration program, which finds this window by its title.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    using NativeResult = qintptr;
#else
    using NativeResult = long;
#endif
    bool nativeEvent(const QByteArray &eventType, void *message, NativeResult *result) override;
#endif

private:
    QFont messageFont() const;

    mc::OsdMessage m_message;
    QTimer m_hideTimer;
};
