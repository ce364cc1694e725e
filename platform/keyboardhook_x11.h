// Pieces of the Linux keyboard hook shared by its two sources (keyboardhook_linux.cpp,
// keyboardhook_xrecord_linux.cpp): an X11 key code (evdev code + 8, which is also what Qt
// reports as the native scan code) as a hook event, and the desktop-wide source. User-interface
// thread.
#pragma once

#include "platform/keyboardhook.h"

#include <memory>

namespace mc {

// Alt held, as the system's flag word says it: set on key-downs while either Alt is down
// (including the Alt key's own press).
struct X11AltState
{
    bool left = false;
    bool right = false;
    bool held() const { return left || right; }
};

// One key event from an X11 key code; false for a key without a set-1 code.
bool x11KeyToHookEvent(uint32_t x11Keycode, bool released, X11AltState &alt, HookKeyEvent &out);

// The desktop's keys through XRecord while no window of ours is active; they cannot be
// swallowed. start() is false without an X server that offers the extension.
class DesktopKeys
{
public:
    virtual ~DesktopKeys() = default;
    static std::unique_ptr<DesktopKeys> start();
    // Whether start() could succeed here: an X11 platform and a server with XRecord.
    static bool available();
};

} // namespace mc
