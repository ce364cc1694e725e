// Edits the mouse has not been given yet: which slots hold them, and the one question asked
// before anything would throw them away ("apply, discard or cancel"). The window hands the
// guard a snapshot of what it would write (the working store with the panels' edits taken in);
// the guard keeps the snapshot taken when the settings were last loaded or written as its
// baseline and compares record by record, so a profile's name alone is not an edit, nor is a
// value a panel brought into its range when it showed it. User-interface thread only.
#pragma once

#include "profile/profiledata.h"

#include <QObject>

#include <functional>

namespace mc {

class PendingGuard final : public QObject
{
    Q_OBJECT
public:
    enum Choice
    {
        Apply,
        Discard,
        Cancel
    };
    // Bit i (0..4): slot i differs from what was written; kStoreWide: the options all slots
    // share (lift-off, motion sync, angle snapping, jitter filter, key response).
    static constexpr int kStoreWide = 1 << kSlotCount;

    struct Hooks
    {
        std::function<ProfileStore()> snapshot; // what Apply would write now
        // The question; what the user chose. Without it the edits are kept (Cancel).
        std::function<Choice(const QString &what)> ask;
        // Writes the edits; true when the mouse took them.
        std::function<bool()> apply;
        // Gives the edits up: the working store becomes what was written.
        std::function<void()> discard;
    };

    explicit PendingGuard(Hooks hooks, QObject *parent = nullptr);
    PendingGuard(const PendingGuard &) = delete;
    PendingGuard &operator=(const PendingGuard &) = delete;

    // Which slots differ between the two stores (the bits above).
    static int differences(const ProfileStore &working, const ProfileStore &written);

    int pending() const { return m_pending; }
    const ProfileStore &baseline() const { return m_baseline; }
    bool hasBaseline() const { return m_based; }
    bool hasPending() const { return m_pending != 0; }

    // Compares again (after the user's input, a write, a load) and tells when it changed.
    void recheck();
    // The settings now shown are what the mouse has (loaded, written or given up): the new
    // baseline, nothing pending.
    void rebase();
    // Something is about to replace the edits of the slots in iBits (what: the action, as the
    // question names it). True when it may go on: none of them pending, the edits were
    // written, or the user gave them up. False when the user cancelled or the write failed
    // (the edits stay).
    bool mayDrop(const QString &what, int iBits = kAll);
    static constexpr int kAll = (1 << (kSlotCount + 1)) - 1;

signals:
    void pendingChanged(int iPending);

private:
    Hooks m_hooks;
    ProfileStore m_baseline;
    bool m_based = false; // nothing to compare with before the first settings are loaded
    int m_pending = 0;
    bool m_asking = false;
};

} // namespace mc
