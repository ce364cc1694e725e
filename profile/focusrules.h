// The profile each application gets when it comes to the front: an ordered list of rules
// (application, slot), a slot for every other application and an on/off switch, kept in the
// group [FocusRules] of the application settings (K/Config.ini). An application is named by
// its executable's file name or its window class; the first rule that names the application
// in front decides. Slots are 0..4 here and 1..5 in the file, as the user counts them.
// Called from the user-interface thread (window) or the main thread (command-line tool).
#pragma once

#include "profile/saveresult.h"
#include <QString>
#include <QVector>

namespace mc {

struct FocusRule
{
    QString application;
    int slot = 0; // 0..4
    bool operator==(const FocusRule &o) const
    {
        return slot == o.slot && application == o.application;
    }
};

struct FocusRules
{
    bool enabled = false;
    int defaultSlot = 0; // 0..4: the slot of every application no rule names
    QVector<FocusRule> rules;
    bool operator==(const FocusRules &o) const
    {
        return enabled == o.enabled && defaultSlot == o.defaultSlot && rules == o.rules;
    }
};

// Bounds of what is read, written and offered for editing.
constexpr int kMaxFocusRules = 64;
constexpr int kMaxFocusApplicationLength = 255;

// The rules as they can be used: names trimmed; rules without a name, with a name longer than
// kMaxFocusApplicationLength, with a slot outside 0..4 or naming an application an earlier
// rule names already (ignoring case) left out; at most kMaxFocusRules; the default slot within
// 0..4 (else 0).
FocusRules usableFocusRules(const FocusRules &rules);

// Reads the rules; a missing file, group or key reads as switched off, no rules, slot 1 for the
// others. Hostile values are dropped as usableFocusRules says, and a Count larger than the
// keys present reads only what is there.
FocusRules readFocusRules();

// Replaces the group with the usable form of the rules. Fails when nothing was saved: the
// settings file exists but could not be read (it is then left as it is) or could not be written.
SaveResult writeFocusRules(const FocusRules &rules);

// True when the rule name names this application: its executable's file name or its window
// class, ignoring case, and a Windows executable also without its ".exe".
bool focusNameMatches(const QString &ruleName, const QString &applicationName);

} // namespace mc
