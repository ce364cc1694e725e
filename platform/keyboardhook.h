// The low-level keyboard hook: every key event of the desktop as (scan code, flag word,
// virtual-key code), before any window sees it, with the right to swallow it. The key capture
// dialogs and the macro recorder install one while they are open.
//
// Hooks form a chain as the system's do: the newest installed hook sees an event first, and a
// hook that swallows it ends the chain (the event then reaches no other hook and no widget of
// ours). Platforms:
// - Windows: one WH_KEYBOARD_LL hook for the whole chain; swallowing keeps the key from every
//   other application.
// - Linux: an application-wide event filter turns Qt's key events into set-1 scan codes (table
//   below) and can swallow them; while no window of ours is active, XRecord delivers the
//   desktop's keys as well where the X server offers it (those cannot be swallowed).
// User-interface thread only: handlers run on it, and tests feed events through dispatch().
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

namespace mc {

struct HookKeyEvent
{
    uint32_t scanCode = 0; // set-1 scan code (base code of an extended key)
    uint32_t flags = 0;    // keyflag:: bits: 0x01 extended, 0x20 Alt held, 0x80 released
    uint32_t vkCode = 0;   // virtual-key code where the platform has one (right Alt is 0xA5)
};

class KeyboardHook final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(KeyboardHook)
public:
    // Answers true to swallow the event.
    using Handler = std::function<bool(const HookKeyEvent &)>;

    explicit KeyboardHook(Handler handler, QObject *parent = nullptr);
    ~KeyboardHook() override; // removes the hook

    // Puts the hook at the head of the chain; false when the platform refused (the hook then
    // still receives what the application itself sees).
    bool install();
    void remove();
    bool isInstalled() const { return m_installed; }

    // Hands an event down the chain, newest hook first; true when a hook swallowed it. The
    // platform sources call it; tests call it to press keys.
    static bool dispatch(const HookKeyEvent &event);
    static int installedCount();

    // True when the hook sees the keys typed into every application, not only those that reach
    // this program's windows: always on Windows; on Linux in an X11 session whose server offers
    // XRecord. A Wayland desktop gives no program the keys of the others (XWayland's XRecord
    // would see only its X11 clients), so the macro editor says that recording takes what is
    // typed into its own window. Asked once, then remembered.
    static bool desktopWideCapture();

private:
    Handler m_handler;
    bool m_installed = false;
};

// The Linux key identity under the hook: an evdev key code (an X11 key code less 8) as a set-1
// scan code and its extended flag. False for keys without a set-1 code of the program's.
bool evdevToSet1(uint32_t evdevCode, uint32_t &scanCode, bool &extended);

namespace hookplatform {
// The platform's source of events, started with the first installed hook and stopped with the
// last (keyboardhook_linux.cpp, keyboardhook_win.cpp). start() answers whether the system took
// it.
bool start();
void stop();
bool desktopWide(); // the system's answer behind KeyboardHook::desktopWideCapture()
} // namespace hookplatform

} // namespace mc
