// The rules by which a menu choice changes a button entry of a profile record. The assignment
// panel calls chooseFunction for every choice; when it answers OpenDialog, the panel presets the
// matching dialog from the entry (the *Preset functions) and, on acceptance, hands the result to
// the matching apply function. Every function re-checks the rules, so no caller can remove the
// last left click or write outside the 42 entries. User-interface thread (applyMacro reads the
// macro file).
#pragma once

#include "buttons/combokey.h"
#include "profile/profiledata.h"

#include <QString>

#include <cstdint>

namespace mc {

enum class AssignOutcome
{
    Applied,      // the entry now holds the choice
    Unchanged,    // nothing to do: entry out of range or a code the menus do not offer
    KeepOneClick, // refused: it would remove the last left click
    GoToMacroTab, // refused: there is no macro to choose; show the macro page
    OpenDialog,   // the choice needs its dialog first; nothing changed yet
    InvalidName,  // refused: the macro name is not a usable file name
};

constexpr uint8_t kMacroTabIndex = 3; // what the panel sends with GotoMacroTab

// True when giving the entry the code would leave no entry with a left click.
bool wouldLoseLastClick(const ProfileData &profile, int entry, int code);

// The first step of every menu choice. Plain functions are applied here; macroCount is the
// number of usable macro names (the macro list is read when it is -1).
AssignOutcome chooseFunction(ProfileData &profile, int entry, int code, int macroCount = -1);

// Dialog presets: the entry's own values when it already has that function, else the defaults.
uint8_t singleKeyPreset(const ButtonInfo &entry);
ComboKeys comboKeyPreset(const ButtonInfo &entry);

struct FireKeyChoice
{
    enum Source : uint8_t
    {
        Left = 0,
        Right = 1,
        Middle = 2,
        Keyboard = 3
    };
    uint8_t source = Left;
    uint8_t keyCode = 0; // key code of a keyboard source
    int times = 3;       // shots, 1..255
    int delay = 10;      // ms between shots
};
FireKeyChoice fireKeyPreset(const ButtonInfo &entry);

uint8_t sniperPreset(const ButtonInfo &entry);

struct MacroChoice
{
    QString name;
    int loopCount = 1;    // 1..255
    uint8_t loopMode = 0; // 0 count, 1 while held, 2 until pressed again
};
MacroChoice macroPreset(const ButtonInfo &entry);

// Apply a dialog's accepted result.
AssignOutcome applySingleKey(ProfileData &profile, int entry, uint8_t keyCode);
AssignOutcome applyComboKey(ProfileData &profile, int entry, const ComboKeys &keys);
AssignOutcome applyFireKey(ProfileData &profile, int entry, const FireKeyChoice &choice);
AssignOutcome applySniper(ProfileData &profile, int entry, uint8_t value);
// Sets the macro and copies the macro file's first 63 actions into KeyInfo (the rest cleared)
// and its action count into KeyNumber. A missing file gives a macro entry without actions.
AssignOutcome applyMacro(ProfileData &profile, int entry, const MacroChoice &choice);

} // namespace mc
