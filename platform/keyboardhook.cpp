// The chain of installed keyboard hooks, shared by every platform. The platform source is only
// running while at least one hook is installed, so an idle program hooks nothing.
#include "platform/keyboardhook.h"

#include <QPointer>
#include <QVector>

#include <array>

namespace mc {

namespace {

QVector<KeyboardHook *> &chain()
{
    static QVector<KeyboardHook *> hooks; // newest last
    return hooks;
}

struct Set1Row
{
    uint32_t evdev;
    uint8_t scan;
    bool extended;
};

// Keys outside the main block: the ones the system reports with a base code and the extended
// flag, and Pause, which it reports as 69 without it (Num Lock is 69 with it).
constexpr std::array<Set1Row, 20> kSet1Rows{{
    {69, 69, true},   // NUMLOCK
    {96, 28, true},   // KPENTER
    {97, 29, true},   // RIGHTCTRL
    {98, 53, true},   // KPSLASH
    {99, 55, true},   // SYSRQ (Print Screen)
    {100, 56, true},  // RIGHTALT
    {102, 71, true},  // HOME
    {103, 72, true},  // UP
    {104, 73, true},  // PAGEUP
    {105, 75, true},  // LEFT
    {106, 77, true},  // RIGHT
    {107, 79, true},  // END
    {108, 80, true},  // DOWN
    {109, 81, true},  // PAGEDOWN
    {110, 82, true},  // INSERT
    {111, 83, true},  // DELETE
    {119, 69, false}, // PAUSE
    {125, 91, true},  // LEFTMETA
    {126, 92, true},  // RIGHTMETA
    {127, 93, true},  // COMPOSE (the application key)
}};

constexpr uint32_t kMainBlockLast = 88; // F12; codes 1..88 are the set-1 codes themselves

} // namespace

bool evdevToSet1(uint32_t evdevCode, uint32_t &scanCode, bool &extended)
{
    if (evdevCode == 0)
        return false;
    for (const Set1Row &r : kSet1Rows) {
        if (r.evdev == evdevCode) {
            scanCode = r.scan;
            extended = r.extended;
            return true;
        }
    }
    if (evdevCode <= kMainBlockLast) {
        scanCode = evdevCode;
        extended = false;
        return true;
    }
    return false;
}

KeyboardHook::KeyboardHook(Handler handler, QObject *parent)
    : QObject(parent), m_handler(std::move(handler))
{}

KeyboardHook::~KeyboardHook()
{
    remove();
}

bool KeyboardHook::install()
{
    if (m_installed)
        return true;
    chain().append(this);
    m_installed = true;
    if (chain().size() == 1)
        return hookplatform::start();
    return true;
}

void KeyboardHook::remove()
{
    if (!m_installed)
        return;
    chain().removeAll(this);
    m_installed = false;
    if (chain().isEmpty())
        hookplatform::stop();
}

bool KeyboardHook::desktopWideCapture()
{
    static const bool wide = hookplatform::desktopWide();
    return wide;
}

int KeyboardHook::installedCount()
{
    return chain().size();
}

bool KeyboardHook::dispatch(const HookKeyEvent &event)
{
    // A handler may open or close a dialog and so change the chain: walk a copy and skip hooks
    // that went away meanwhile.
    QVector<QPointer<KeyboardHook>> hooks;
    for (KeyboardHook *h : chain())
        hooks.prepend(h);
    for (const QPointer<KeyboardHook> &h : hooks) {
        if (!h || !h->m_installed || !h->m_handler)
            continue;
        if (h->m_handler(event))
            return true;
    }
    return false;
}

} // namespace mc
