// Key codes: the one-byte identity of a keyboard key throughout the program (a set-1 scan code,
// or one of our own codes 224..239 for keys that share a scan code, 240..242 for mouse buttons).
// Here: key names, key code <-> keyboard usage, and the rule that turns a low-level keyboard
// event into a key code. Pure functions, callable from any thread, except the ones that read the
// product description and the language setting (user-interface thread).
#pragma once

#include <QString>

#include <cstdint>

namespace mc {

namespace keycode {
constexpr uint8_t kNone = 0;
constexpr uint8_t kEnter = 28;
constexpr uint8_t kLeftCtrl = 29;
constexpr uint8_t kLeftShift = 42;
constexpr uint8_t kRightShift = 54;
constexpr uint8_t kLeftAlt = 56;
constexpr uint8_t kLeftWindows = 91;
constexpr uint8_t kRightWindows = 92;
constexpr uint8_t kKeypadEnter = 229;
constexpr uint8_t kRightCtrl = 238;
constexpr uint8_t kRightAlt = 239;
constexpr uint8_t kLeftButton = 240;
constexpr uint8_t kRightButton = 241;
constexpr uint8_t kMiddleButton = 242;
} // namespace keycode

// Flag word of a keyboard event, as the keyboard hook delivers it.
namespace keyflag {
constexpr uint32_t kExtended = 0x01;
constexpr uint32_t kAltDown = 0x20;
constexpr uint32_t kReleased = 0x80;
} // namespace keyflag

constexpr uint32_t kVkRightAlt = 0xA5; // virtual-key code of the right Alt key

// Modifier bits of a combination key's device code.
namespace modbit {
constexpr uint8_t kCtrl = 0x01;
constexpr uint8_t kShift = 0x02;
constexpr uint8_t kAlt = 0x04;
constexpr uint8_t kWindows = 0x08;
} // namespace modbit

// The modifier bit of a key code (0 for a key that is no modifier).
uint8_t modifierBit(uint8_t code);
inline bool isModifier(uint8_t code)
{
    return modifierBit(code) != 0;
}

// Name of a key code; an unknown code has the empty name.
QString keyName(uint8_t code, bool french);
// The same, with the name set chosen by the product (PROFILE/french) and the current language.
QString keyName(uint8_t code);
bool useFrenchKeyNames(int frenchIndex, int language);
bool useFrenchKeyNames(); // reads both settings

// Key code to keyboard usage and back. True when found; when not found the output is left as
// the caller preset it (callers preset 0).
bool keyCodeToUsage(uint8_t code, uint8_t &usage);
bool usageToKeyCode(uint8_t usage, uint8_t &code);
// Shorthands for callers that want 0 for "none".
uint8_t usageOf(uint8_t code);
uint8_t keyCodeOf(uint8_t usage);

// Which hook a keyboard event comes from: the key capture dialogs and the macro recorder tell
// right Alt apart differently, and the recorder also drops the Alt-held flag.
enum class KeySource
{
    Dialog,
    Recorder
};

struct KeyStroke
{
    uint8_t code = 0;   // 0 when the scan code is no key code
    uint32_t flags = 0; // the flag word handed on with the code
    bool released() const { return (flags & keyflag::kReleased) != 0; }
};

// Turns a low-level keyboard event (scan code, flag word, virtual-key code) into a key code.
KeyStroke keyEventToKeyCode(uint32_t scanCode, uint32_t flags, uint32_t vkCode,
                            KeySource source = KeySource::Dialog);

} // namespace mc
