// The keyboard hook on Linux. Inside the application an event filter on the application object
// sees every key event before any widget; Qt's native scan code is the X11 key code (evdev code
// + 8), which the table of keyboardhook.cpp turns into the set-1 code. Outside the application
// (no window of ours active) XRecord, where the X server offers it, reports the desktop's keys;
// those cannot be swallowed. Both report to KeyboardHook::dispatch on the user-interface thread:
// XRecord's data connection is read through a socket notifier, never a thread of its own.
#include "platform/keyboardhook.h"
#include "platform/keyboardhook_x11.h"
#include "platform/waylandsession.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <memory>

namespace mc {

namespace {

constexpr uint32_t kX11KeycodeOffset = 8;
constexpr uint32_t kVkLeftAlt = 0xA4;
constexpr uint32_t kVkRightAlt = 0xA5;
constexpr uint32_t kAltScan = 56;
constexpr uint32_t kFlagExtended = 0x01;
constexpr uint32_t kFlagAltDown = 0x20;
constexpr uint32_t kFlagReleased = 0x80;

class AppKeyFilter final : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        // A key event comes to its window first and then travels through the widgets, passing
        // the application's filters at each step: taking it at the window sees it exactly once,
        // and swallowing it there keeps it from every widget.
        if (!watched || !watched->isWindowType())
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        const bool released = event->type() == QEvent::KeyRelease;
        // The system repeats only key-downs; Qt's repeated releases are no real release.
        if (released && key->isAutoRepeat())
            return false;
        HookKeyEvent e;
        if (!x11KeyToHookEvent(key->nativeScanCode(), released, m_alt, e))
            return false;
        return KeyboardHook::dispatch(e);
    }

private:
    X11AltState m_alt;
};

std::unique_ptr<AppKeyFilter> g_filter;
std::unique_ptr<DesktopKeys> g_desktop;

} // namespace

bool x11KeyToHookEvent(uint32_t x11Keycode, bool released, X11AltState &alt, HookKeyEvent &out)
{
    if (x11Keycode <= kX11KeycodeOffset)
        return false;
    uint32_t scan = 0;
    bool extended = false;
    if (!evdevToSet1(x11Keycode - kX11KeycodeOffset, scan, extended))
        return false;
    const bool isAlt = scan == kAltScan;
    if (isAlt)
        (extended ? alt.right : alt.left) = !released;
    out.scanCode = scan;
    out.flags = extended ? kFlagExtended : 0;
    if (released)
        out.flags |= kFlagReleased;
    else if (alt.held())
        out.flags |= kFlagAltDown;
    out.vkCode = isAlt ? (extended ? kVkRightAlt : kVkLeftAlt) : 0;
    return true;
}

namespace hookplatform {

bool start()
{
    if (!QCoreApplication::instance())
        return false;
    g_filter = std::make_unique<AppKeyFilter>();
    QCoreApplication::instance()->installEventFilter(g_filter.get());
    g_desktop = DesktopKeys::start(); // without it the application's own keys still arrive
    return true;
}

bool desktopWide()
{
    return !waylandSession() && DesktopKeys::available();
}

void stop()
{
    g_desktop.reset();
    if (g_filter && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(g_filter.get());
    g_filter.reset();
}

} // namespace hookplatform

} // namespace mc
