// The on-screen display: a small frameless, translucent, always-on-top window that lets every
// click through and never takes the focus. It shows one message (text in its colour, font and
// size) centred near the bottom of the primary screen for the message's display time, then
// hides; a new message replaces the one on screen and starts its own time. On Wayland with
// layer shell it is an overlay surface anchored at the bottom edge instead, with no keyboard
// interactivity: the compositor places it, since a Wayland window cannot place itself.
#pragma once

#include "platform/osdmessage.h"

#include <QTimer>
#include <QWidget>

class OsdWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit OsdWindow(bool layerShell = false, QWidget *parent = nullptr);
    OsdWindow(const OsdWindow &) = delete;
    OsdWindow &operator=(const OsdWindow &) = delete;

    void showMessage(const mc::OsdMessage &message);
    QString text() const { return m_message.text; }

signals:
    void shown(const mc::OsdMessage &message);
    void hidden();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
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
    void setUpLayerSurface();
    void applyEmptyInputRegion();

    bool m_layerShell;
    bool m_inputRegionFlip = false;
    bool m_watchingExposure = false;

    mc::OsdMessage m_message;
    QTimer m_hideTimer;
};
