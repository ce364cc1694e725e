// Assignment rules for button entries.
#include "buttons/assignment.h"

#include "buttons/catalogue.h"
#include "buttons/keycodes.h"
#include "macro/macrofile.h"
#include "macro/macrolist.h"
#include "profile/paths.h"

#include <algorithm>

namespace mc {

namespace {

constexpr int kMaxShots = 255;
constexpr int kMaxFireDelay = 2550; // the device carries the delay in tens of ms in one byte

bool validEntry(int entry)
{
    return entry >= 0 && entry < kButtonCount;
}

// The checks every apply function shares; the function code is the one about to be written.
AssignOutcome precheck(const ProfileData &profile, int entry, int code)
{
    if (!validEntry(entry))
        return AssignOutcome::Unchanged;
    if (wouldLoseLastClick(profile, entry, code))
        return AssignOutcome::KeepOneClick;
    return AssignOutcome::Applied;
}

} // namespace

bool wouldLoseLastClick(const ProfileData &profile, int entry, int code)
{
    if (!validEntry(entry) || profile.buttons[entry].Fun != fun::kLeft || code == fun::kLeft)
        return false;
    for (int i = 0; i < kButtonCount; ++i) {
        if (i != entry && profile.buttons[i].Fun == fun::kLeft)
            return false;
    }
    return true;
}

AssignOutcome chooseFunction(ProfileData &profile, int entry, int code, int macroCount)
{
    const FunctionRow *row = findFunction(code);
    if (!validEntry(entry) || !row || row->group == MenuGroup::NotOffered)
        return AssignOutcome::Unchanged;
    if (wouldLoseLastClick(profile, entry, code))
        return AssignOutcome::KeepOneClick;
    if (code == fun::kMacro) {
        if (macroCount < 0)
            macroCount = mc::macroCount();
        return macroCount > 0 ? AssignOutcome::OpenDialog : AssignOutcome::GoToMacroTab;
    }
    if (isParameterised(code))
        return AssignOutcome::OpenDialog;
    profile.buttons[entry].Fun = code; // plain functions leave every other field as it was
    return AssignOutcome::Applied;
}

uint8_t singleKeyPreset(const ButtonInfo &entry)
{
    return entry.Fun == fun::kSingleKey ? entry.Res1 : 0;
}

ComboKeys comboKeyPreset(const ButtonInfo &entry)
{
    return entry.Fun == fun::kComboKey ? comboKeysFromSequence(entry.KeyInfo) : ComboKeys();
}

FireKeyChoice fireKeyPreset(const ButtonInfo &entry)
{
    FireKeyChoice c;
    if (entry.Fun != fun::kFireKey)
        return c;
    switch (entry.Res1) {
    case 0:
    case firesource::kLeft:
        c.source = FireKeyChoice::Left;
        break;
    case firesource::kRight:
        c.source = FireKeyChoice::Right;
        break;
    case firesource::kMiddle:
        c.source = FireKeyChoice::Middle;
        break;
    default:
        c.source = FireKeyChoice::Keyboard;
        c.keyCode = keyCodeOf(entry.Res1);
        break;
    }
    c.times = entry.LoopNumber == 0 ? 3 : std::clamp(entry.LoopNumber, 1, kMaxShots);
    c.delay = entry.KeyNumber == 0 ? 10 : std::clamp(entry.KeyNumber, 0, kMaxFireDelay);
    return c;
}

uint8_t sniperPreset(const ButtonInfo &entry)
{
    return entry.Fun == fun::kSniper ? entry.Res1 : 0;
}

MacroChoice macroPreset(const ButtonInfo &entry)
{
    MacroChoice c;
    if (entry.Fun != fun::kMacro)
        return c;
    c.name = entry.macroname;
    c.loopCount = std::clamp(entry.LoopNumber, 1, 255);
    c.loopMode = entry.Res1 <= kLoopUntilPressed ? entry.Res1 : uint8_t(kLoopCount);
    return c;
}

AssignOutcome applySingleKey(ProfileData &profile, int entry, uint8_t keyCode)
{
    const AssignOutcome check = precheck(profile, entry, fun::kSingleKey);
    if (check != AssignOutcome::Applied)
        return check;
    ButtonInfo &b = profile.buttons[entry];
    b.Fun = fun::kSingleKey;
    b.Res1 = keyCode;
    return AssignOutcome::Applied;
}

AssignOutcome applyComboKey(ProfileData &profile, int entry, const ComboKeys &keys)
{
    const AssignOutcome check = precheck(profile, entry, fun::kComboKey);
    if (check != AssignOutcome::Applied)
        return check;
    ButtonInfo &b = profile.buttons[entry];
    b.Fun = fun::kComboKey;
    b.KeyInfo = comboSequence(keys); // starts from a cleared sequence
    return AssignOutcome::Applied;
}

AssignOutcome applyFireKey(ProfileData &profile, int entry, const FireKeyChoice &choice)
{
    const AssignOutcome check = precheck(profile, entry, fun::kFireKey);
    if (check != AssignOutcome::Applied)
        return check;
    ButtonInfo &b = profile.buttons[entry];
    switch (choice.source) {
    case FireKeyChoice::Right:
        b.Res1 = firesource::kRight;
        break;
    case FireKeyChoice::Middle:
        b.Res1 = firesource::kMiddle;
        break;
    case FireKeyChoice::Keyboard:
        b.Res1 = usageOf(choice.keyCode);
        break;
    default:
        b.Res1 = firesource::kLeft;
        break;
    }
    b.Fun = fun::kFireKey;
    b.LoopNumber = std::clamp(choice.times, 1, kMaxShots);
    b.KeyNumber = std::clamp(choice.delay, 0, kMaxFireDelay);
    return AssignOutcome::Applied;
}

AssignOutcome applySniper(ProfileData &profile, int entry, uint8_t value)
{
    const AssignOutcome check = precheck(profile, entry, fun::kSniper);
    if (check != AssignOutcome::Applied)
        return check;
    ButtonInfo &b = profile.buttons[entry];
    b.Fun = fun::kSniper;
    b.Res1 = value;
    return AssignOutcome::Applied;
}

AssignOutcome applyMacro(ProfileData &profile, int entry, const MacroChoice &choice)
{
    const AssignOutcome check = precheck(profile, entry, fun::kMacro);
    if (check != AssignOutcome::Applied)
        return check;
    if (!choice.name.isEmpty() && !isSafeFileName(choice.name))
        return AssignOutcome::InvalidName;
    ButtonInfo &b = profile.buttons[entry];
    b.Fun = fun::kMacro;
    b.LoopNumber = std::clamp(choice.loopCount, 1, 255);
    b.Res1 = choice.loopMode <= kLoopUntilPressed ? choice.loopMode : uint8_t(kLoopCount);
    b.macroname = choice.name;
    b.KeyNumber = choice.name.isEmpty() ? 0 : readStoredCount(choice.name);
    // Triples past the macro's actions are cleared, so no key of an earlier function lingers.
    b.KeyInfo = {};
    if (!choice.name.isEmpty()) {
        const QVector<MacroAction> actions =
            readStoredActions(choice.name, macro::kMaxUploadActions);
        for (int j = 0; j < actions.size() && j < kKeyStepCount; ++j)
            b.KeyInfo[j] = {actions[j].Map, actions[j].DataL, actions[j].DataH};
    }
    return AssignOutcome::Applied;
}

} // namespace mc
