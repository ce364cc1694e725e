// Switching the mouse's profile with the application in front. Takes the watcher's reports,
// lets them settle for kSettleMs (so that a burst of focus changes, as a window manager makes
// while windows are raised in turn, leads to one switch, for the application that stayed), and
// then asks for the slot the rules give that application when it is not the active one. It
// never asks while the owner says switching is not possible now (a write or a recording runs,
// the mouse is off or absent); such a decision waits, and retry() takes it up when that ends.
// Reports of this program's own windows are passed over: opening the window to edit a profile
// leaves the game's slot in place. No thread, no polling: a single-shot timer.
// User-interface thread (window) or main thread (command-line tool).
#pragma once

#include "platform/focuswatcher.h"
#include "profile/focusrules.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace mc {

class FocusSwitcher final : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSettleMs = 300;

    struct Hooks
    {
        std::function<bool()> maySwitch; // false while a switch must not happen
        std::function<int()> activeSlot; // the slot the mouse is on now (0..4)
        // Selects the slot (0..4) on the mouse for the application in front.
        std::function<void(int iSlot, const FocusReport &front)> select;
    };

    explicit FocusSwitcher(Hooks hooks, QObject *parent = nullptr);
    FocusSwitcher(const FocusSwitcher &) = delete;
    FocusSwitcher &operator=(const FocusSwitcher &) = delete;

    void setRules(const FocusRules &rules);
    const FocusRules &rules() const { return m_rules; }

    // The slot the rules give an application: the first rule naming its executable, window
    // class or instance, else the default slot.
    static int slotFor(const FocusRules &rules, const FocusReport &report);

public slots:
    void onFocusChanged(const mc::FocusReport &report);
    // Whatever kept a decision waiting has ended: take it now.
    void retry();

private:
    void decide();

    Hooks m_hooks;
    FocusRules m_rules;
    FocusReport m_front;
    bool m_waiting = false; // a decision was due while switching was not possible
    QTimer m_settle;
};

} // namespace mc
