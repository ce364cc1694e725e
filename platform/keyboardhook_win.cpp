// The keyboard hook on Windows: one WH_KEYBOARD_LL hook for the whole chain, installed for all
// threads while at least one KeyboardHook is installed. The system calls the procedure on the
// thread that installed it (the user-interface thread) from its message loop.
#include "platform/keyboardhook.h"

#include <windows.h>

namespace mc {

namespace {

HHOOK g_hook = nullptr;

LRESULT CALLBACK lowLevelKeyboardProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && lParam) {
        const auto *k = reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam);
        HookKeyEvent e;
        e.scanCode = k->scanCode;
        // LLKHF_EXTENDED, LLKHF_ALTDOWN and LLKHF_UP are the flag word's own bits.
        e.flags = k->flags & (LLKHF_EXTENDED | LLKHF_ALTDOWN | LLKHF_UP);
        e.vkCode = k->vkCode;
        if (KeyboardHook::dispatch(e))
            return 1;
    }
    return CallNextHookEx(g_hook, nCode, wParam, lParam);
}

} // namespace

namespace hookplatform {

bool start()
{
    if (!g_hook)
        g_hook =
            SetWindowsHookExW(WH_KEYBOARD_LL, lowLevelKeyboardProc, GetModuleHandleW(nullptr), 0);
    return g_hook != nullptr;
}

void stop()
{
    if (g_hook)
        UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
}

bool desktopWide()
{
    return true; // WH_KEYBOARD_LL sees every application's keys
}

} // namespace hookplatform

} // namespace mc
