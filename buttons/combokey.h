// Combination keys: the nested press/release sequence a combination entry keeps in KeyInfo, and
// the device code parts read back from it. A sequence of keys k0, k1, k2 is stored as k0 press,
// k1 press, k2 press, k2 release, k1 release, k0 release: each key goes in just after the press
// of the key before it.
#pragma once

#include "profile/profiledata.h"

#include <array>
#include <cstdint>

namespace mc {

using KeySequence = std::array<KeyInfo, kKeyStepCount>;

namespace combo {
constexpr uint8_t kLow = 5;      // low byte of every combination triple
constexpr uint8_t kPress = 0x80; // H byte of a press triple (0 for a release)
constexpr int kSlotCount = 5;    // Shift, Ctrl, Windows, Alt, other key
constexpr int kOtherSlot = 4;
} // namespace combo

// The combination dialog's result: which slots take part (non-zero: 1 left key, 2 right key) and
// the key code pair of each slot, the first of which is stored.
struct ComboKeys
{
    std::array<uint8_t, combo::kSlotCount> iComboKey{};
    std::array<std::array<uint8_t, 2>, combo::kSlotCount> iHotKeyCode{
        {{42, 54}, {29, 238}, {91, 92}, {56, 239}, {0, 0}}};

    bool operator==(const ComboKeys &o) const
    {
        return iComboKey == o.iComboKey && iHotKeyCode == o.iHotKeyCode;
    }
};

// Puts a press triple at position pos and its release just after it, moving the triples from
// pos onward two places later; what moves past the last slot is dropped. A position outside the
// sequence changes nothing.
void insertKeyTriples(KeySequence &seq, int pos, uint8_t usage);

// The sequence of the chosen slots, in slot order, each slot's first key code translated to its
// keyboard usage (keys without a usage are left out).
KeySequence comboSequence(const ComboKeys &keys);

// The dialog's preset from a stored sequence: the first five triples' keys mark their slots.
ComboKeys comboKeysFromSequence(const KeySequence &seq);

// Device code parts: the modifier bits of the modifier keys in the sequence, and the usage of
// the last non-modifier key (0 when there is none).
uint8_t comboModifierBits(const KeySequence &seq);
uint8_t comboMainUsage(const KeySequence &seq);

} // namespace mc
