// The window's share of the profile per application: it owns the watcher of the application in
// front (only while the rules are switched on: a connection that is not needed costs nothing)
// and the switcher, tells the switcher when a switch may happen (a mouse that is there and
// awake, no write, no recording), switches exactly as the slot selector's menu does (quietly,
// so that no window of ours takes the front from the game) and announces the slot, and opens
// the dialog of the rules.
#include "app/mousecfgwidget.h"

#include "app/focusswitcher.h"
#include "app/kivfocusrulesdialog.h"
#include "app/presence.h"
#include "app/profilelibrary.h"
#include "app/writecontroller.h"
#include "platform/focuswatcher.h"
#include "profile/focusrules.h"
#include "widgets/kivmessagebox.h"

namespace mc {

void MousecfgWidget::setupFocusFollowing()
{
    FocusSwitcher::Hooks hooks;
    hooks.maySwitch = [this] { return maySwitchForFocus(); };
    hooks.activeSlot = [this] { return m_slot; };
    hooks.select = [this](int iSlot, const FocusReport &) { selectForFocus(iSlot); };
    m_focusSwitcher = new FocusSwitcher(hooks, this);
    // What held a switch back has ended: the write, the mouse asleep or away.
    connect(m_writer, &WriteController::busyChanged, m_focusSwitcher, [this](bool bBusy) {
        if (!bBusy)
            m_focusSwitcher->retry();
    });
    connect(m_presence, &DevicePresence::displayChanged, m_focusSwitcher, &FocusSwitcher::retry);
    applyFocusRules(readFocusRules());
}

void MousecfgWidget::applyFocusRules(const FocusRules &rules)
{
    m_focusSwitcher->setRules(rules);
    if (!rules.enabled) {
        delete m_focusWatcher;
        m_focusWatcher = nullptr;
        return;
    }
    if (m_focusWatcher)
        return;
    m_focusWatcher = createFocusWatcher().release();
    m_focusWatcher->setParent(this);
    connect(m_focusWatcher, &FocusWatcher::focusChanged, m_focusSwitcher,
            &FocusSwitcher::onFocusChanged);
}

bool MousecfgWidget::maySwitchForFocus() const
{
    return m_presence->hasDevice() && !m_presence->mouseOff() && !m_writer->isBusy() &&
           !m_recording;
}

void MousecfgWidget::selectForFocus(int iSlot)
{
    m_profiles->chooseSlot(iSlot, true);
    announce(slotMenuText(iSlot));
}

void MousecfgWidget::openFocusRules()
{
    // With the rules off there is no watcher: one for the dialog tells whether the application
    // in front can be known here and which applications run.
    std::unique_ptr<FocusWatcher> probe;
    const FocusWatcher *watcher = m_focusWatcher;
    if (!watcher) {
        probe = createFocusWatcher();
        watcher = probe.get();
    }
    KivFocusRulesDialog dialog(readFocusRules(), watcher, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const FocusRules rules = dialog.rules();
    if (!writeFocusRules(rules)) {
        KivMessageBox::ask(2, QObject::tr("Warning"),
                           QObject::tr("The rules could not be saved to the data folder."), this);
        return;
    }
    probe.reset();
    applyFocusRules(rules);
}

} // namespace mc
