// Building and reading combination key sequences.
#include "buttons/combokey.h"

#include "buttons/keycodes.h"

namespace mc {

namespace {

// Which dialog slot a modifier key belongs to, and whether it is the right-hand one.
int modifierSlot(uint8_t code, bool &right)
{
    const ComboKeys defaults;
    for (int slot = 0; slot < combo::kOtherSlot; ++slot) {
        if (defaults.iHotKeyCode[slot][0] == code || defaults.iHotKeyCode[slot][1] == code) {
            right = defaults.iHotKeyCode[slot][1] == code;
            return slot;
        }
    }
    return -1;
}

} // namespace

void insertKeyTriples(KeySequence &seq, int pos, uint8_t usage)
{
    const int n = static_cast<int>(seq.size());
    if (pos < 0 || pos >= n)
        return;
    for (int i = n - 1; i >= pos + 2; --i)
        seq[i] = seq[i - 2];
    seq[pos] = {usage, combo::kLow, combo::kPress};
    if (pos + 1 < n)
        seq[pos + 1] = {usage, combo::kLow, 0};
}

KeySequence comboSequence(const ComboKeys &keys)
{
    KeySequence seq{};
    int pos = 0;
    for (int slot = 0; slot < combo::kSlotCount; ++slot) {
        if (keys.iComboKey[slot] == 0)
            continue;
        uint8_t usage = 0;
        if (!keyCodeToUsage(keys.iHotKeyCode[slot][0], usage))
            continue;
        insertKeyTriples(seq, pos, usage);
        ++pos; // the next key goes just after this key's press
    }
    return seq;
}

ComboKeys comboKeysFromSequence(const KeySequence &seq)
{
    ComboKeys keys;
    for (int i = 0; i < combo::kSlotCount; ++i) {
        const KeyInfo &t = seq[i];
        if (t.map == 0)
            continue;
        uint8_t code = 0;
        if (!usageToKeyCode(t.map, code))
            continue;
        bool right = false;
        const int slot = modifierSlot(code, right);
        if (slot >= 0) {
            keys.iComboKey[slot] = right ? 2 : 1;
        } else {
            keys.iComboKey[combo::kOtherSlot] = 1;
            keys.iHotKeyCode[combo::kOtherSlot][0] = code;
        }
    }
    return keys;
}

uint8_t comboModifierBits(const KeySequence &seq)
{
    uint8_t bits = 0;
    for (const KeyInfo &t : seq)
        bits |= modifierBit(keyCodeOf(t.map));
    return bits;
}

uint8_t comboMainUsage(const KeySequence &seq)
{
    uint8_t usage = 0;
    for (const KeyInfo &t : seq) {
        if (t.map != 0 && !isModifier(keyCodeOf(t.map)))
            usage = t.map;
    }
    return usage;
}

} // namespace mc
