// One macro action as the macro files, the button entries and the mouse's macro area carry it:
// three bytes (Map, DataH, DataL). The builders and readers here are the only place that knows
// the encoding, including the press convention shared by keys and mouse buttons: bit 0x80 of Map
// set means press, clear means release (0x84/0x04 for keys, 0x81/0x01 for mouse buttons).
#pragma once

#include <cstdint>

namespace mc {

struct MacroAction
{
    uint8_t Map = 0;
    uint8_t DataH = 0;
    uint8_t DataL = 0;

    bool operator==(const MacroAction &o) const
    {
        return Map == o.Map && DataH == o.DataH && DataL == o.DataL;
    }
    bool operator!=(const MacroAction &o) const { return !(*this == o); }
};

namespace macro {

// Action kinds: the low seven bits of Map.
enum Kind : uint8_t
{
    kKindMouseButton = 1,
    kKindMove = 2,
    kKindKey = 4,
    kKindDelay = 6,
};
constexpr uint8_t kPressBit = 0x80;
constexpr uint8_t kKindMask = 0x7F;

// Mouse button bits carried in DataL of a mouse button action.
enum ButtonBit : uint8_t
{
    kButtonLeft = 1,
    kButtonRight = 2,
    kButtonMiddle = 4,
    kButtonForward = 8,
    kButtonBackward = 16,
};

constexpr int kMaxMoveStep = 120;     // largest step of one movement, either direction
constexpr int kDefaultDelayUnit = 10; // ms per delay count when the product says nothing usable
constexpr int kMaxDelayCount = 0xFFFF;

constexpr uint8_t kindOf(const MacroAction &a)
{
    return a.Map & kKindMask;
}
constexpr bool isPress(const MacroAction &a)
{
    return (a.Map & kPressBit) != 0;
}
constexpr bool isKnownButtonBit(int bit)
{
    return bit == kButtonLeft || bit == kButtonRight || bit == kButtonMiddle ||
           bit == kButtonForward || bit == kButtonBackward;
}

constexpr MacroAction keyPress(uint8_t usage)
{
    return {kPressBit | kKindKey, 0, usage};
}
constexpr MacroAction keyRelease(uint8_t usage)
{
    return {kKindKey, 0, usage};
}
constexpr MacroAction buttonPress(uint8_t bit)
{
    return {kPressBit | kKindMouseButton, 0, bit};
}
constexpr MacroAction buttonRelease(uint8_t bit)
{
    return {kKindMouseButton, 0, bit};
}

// A step as the signed byte of a movement: magnitude clamped to 1..120 keeps the byte out of the
// range a reader would take for the opposite direction; 0 stays 0.
constexpr uint8_t stepByte(int step)
{
    if (step > kMaxMoveStep)
        step = kMaxMoveStep;
    if (step < -kMaxMoveStep)
        step = -kMaxMoveStep;
    return static_cast<uint8_t>(step < 0 ? 256 + step : step);
}
// The signed step a movement byte stands for: 121..255 are the negative steps 256 - byte,
// clamped to the movement limit.
constexpr int stepValue(uint8_t b)
{
    if (b <= kMaxMoveStep)
        return b;
    const int step = b - 256;
    return step < -kMaxMoveStep ? -kMaxMoveStep : step;
}

// Positive dx moves right, positive dy down. A movement runs along one axis: when both are
// given the horizontal one wins, as the mouse would play only one of them.
constexpr MacroAction move(int dx, int dy)
{
    return dx != 0 ? MacroAction{kKindMove, 0, stepByte(dx)}
                   : MacroAction{kKindMove, stepByte(dy), 0};
}
constexpr int moveX(const MacroAction &a)
{
    return stepValue(a.DataL);
}
constexpr int moveY(const MacroAction &a)
{
    return stepValue(a.DataH);
}

// The delay unit must be positive for the divisions below; nonsense reads as the default.
constexpr int sanitizeDelayUnit(int unit)
{
    return unit >= 1 && unit <= 1000 ? unit : kDefaultDelayUnit;
}
// A delay entered in milliseconds, stored as whole units (rounded down, so 125 ms with unit 10
// is 12 counts), never less than one unit (a delay of no length would be no delay at all),
// saturated at what two bytes hold.
constexpr MacroAction delayMs(int ms, int unit)
{
    const int whole = ms <= 0 ? 0 : ms / sanitizeDelayUnit(unit);
    const int count = whole < 1 ? 1 : whole;
    const int c = count > kMaxDelayCount ? kMaxDelayCount : count;
    return {kKindDelay, static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c & 0xFF)};
}
constexpr MacroAction delayCount(int count)
{
    const int c = count < 0 ? 0 : (count > kMaxDelayCount ? kMaxDelayCount : count);
    return {kKindDelay, static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c & 0xFF)};
}
constexpr int delayCountOf(const MacroAction &a)
{
    return a.DataH * 256 + a.DataL;
}
constexpr int delayMsOf(const MacroAction &a, int unit)
{
    return delayCountOf(a) * sanitizeDelayUnit(unit);
}

// The delay unit of the current product (PROFILE/MinDelay), sanitised.
int delayUnit();

} // namespace macro
} // namespace mc
