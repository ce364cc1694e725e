// Comparison of the two stores and the question before edits are dropped.
#include "app/pendingguard.h"

#include "app/log.h"

namespace mc {

namespace {

// The settings of a record without its name and file: choosing another library profile
// changes settings, renaming one does not.
bool sameSettings(ProfileData a, ProfileData b)
{
    a.ProfileName = b.ProfileName;
    a.ProfilePath = b.ProfilePath;
    // The active stage is the mouse's to change (its button), and it is told at once.
    a.dpi = b.dpi;
    return a == b;
}

} // namespace

PendingGuard::PendingGuard(Hooks hooks, QObject *parent)
    : QObject(parent), m_hooks(std::move(hooks))
{}

int PendingGuard::differences(const ProfileStore &working, const ProfileStore &written)
{
    int bits = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        if (!sameSettings(working.profiles[size_t(i)], written.profiles[size_t(i)]))
            bits |= 1 << i;
    }
    if (working.AngleValue != written.AngleValue || working.LiftHigh != written.LiftHigh ||
        working.Sync != written.Sync || working.Jitter != written.Jitter ||
        working.Debounce != written.Debounce)
        bits |= kStoreWide;
    return bits;
}

void PendingGuard::rebase()
{
    if (m_hooks.snapshot) {
        m_baseline = m_hooks.snapshot();
        m_based = true;
    }
    if (m_pending == 0)
        return;
    m_pending = 0;
    emit pendingChanged(0);
}

void PendingGuard::recheck()
{
    if (!m_hooks.snapshot || !m_based)
        return;
    const int now = differences(m_hooks.snapshot(), m_baseline);
    if (now == m_pending)
        return;
    m_pending = now;
    qCDebug(lcApp, "edits not yet written: %#x", now);
    emit pendingChanged(now);
}

bool PendingGuard::mayDrop(const QString &what, int iBits)
{
    recheck();
    if (!(m_pending & iBits))
        return true;
    // A second action while the question is open (a rule switch, a status report) waits for
    // the answer by keeping the edits.
    if (m_asking || !m_hooks.ask)
        return false;
    m_asking = true;
    const Choice choice = m_hooks.ask(what);
    m_asking = false;
    bool goOn = false;
    switch (choice) {
    case Apply:
        goOn = m_hooks.apply && m_hooks.apply();
        break;
    case Discard:
        if (m_hooks.discard)
            m_hooks.discard();
        goOn = true;
        break;
    case Cancel:
        break;
    }
    recheck();
    return goOn;
}

} // namespace mc
