// The profile switch with the application in front.
#include "app/focusswitcher.h"

#include <QCoreApplication>

namespace mc {

FocusSwitcher::FocusSwitcher(Hooks hooks, QObject *parent)
    : QObject(parent), m_hooks(std::move(hooks))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &FocusSwitcher::decide);
}

void FocusSwitcher::setRules(const FocusRules &rules)
{
    m_rules = usableFocusRules(rules);
    if (!m_rules.enabled) {
        m_settle.stop();
        m_waiting = false;
    }
}

int FocusSwitcher::slotFor(const FocusRules &rules, const FocusReport &report)
{
    for (const FocusRule &r : rules.rules) {
        if (focusNameMatches(r.application, report.executable) ||
            focusNameMatches(r.application, report.windowClass) ||
            focusNameMatches(r.application, report.instance))
            return r.slot;
    }
    return rules.defaultSlot;
}

void FocusSwitcher::onFocusChanged(const FocusReport &report)
{
    if (!m_rules.enabled)
        return;
    if (isOwnApplication(report)) {
        // Our window came to the front: what came and went before it (a window manager may
        // name no window for a moment) decides nothing.
        m_settle.stop();
        m_waiting = false;
        return;
    }
    m_front = report;
    m_waiting = false;
    m_settle.start(); // a later report within the interval starts it again
}

void FocusSwitcher::retry()
{
    if (m_waiting && !m_settle.isActive())
        decide();
}

void FocusSwitcher::decide()
{
    if (!m_rules.enabled)
        return;
    // Asked first: while a write runs, the slot is not ours to read.
    m_waiting = !m_hooks.maySwitch();
    if (m_waiting)
        return;
    const int slot = slotFor(m_rules, m_front);
    if (slot != m_hooks.activeSlot())
        m_hooks.select(slot, m_front);
}

} // namespace mc
