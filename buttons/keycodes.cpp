// Key names, usage translation and the keyboard-event rule over the tables of keytables.h.
#include "buttons/keycodes.h"

#include "buttons/keytables.h"
#include "profile/settings.h"

namespace mc {

namespace {

// Navigation keys that keep their base scan code and the keypad keys that share it: without the
// extended flag the event came from the keypad.
struct SharedScan
{
    uint8_t scan;
    uint8_t keypadCode;
};
constexpr SharedScan kKeypadShared[] = {
    {71, 235}, {72, 236}, {73, 228}, {75, 233}, {77, 234},
    {79, 230}, {80, 231}, {81, 232}, {82, 237}, {83, 224},
};

// Keys whose extended variant has a code of its own.
constexpr SharedScan kExtendedShared[] = {
    {28, keycode::kKeypadEnter},
    {29, keycode::kRightCtrl},
    {53, 226}, // keypad slash
    {69, 225}, // Num Lock; without the flag the same scan code is Pause
};

constexpr uint8_t kKeypadStar = 227;
constexpr uint8_t kPrintScreen = 55;

const keytables::KeyNameRow *findName(uint8_t code)
{
    for (const auto &row : keytables::kKeyNames) {
        if (row.code == code)
            return &row;
    }
    return nullptr;
}

} // namespace

uint8_t modifierBit(uint8_t code)
{
    switch (code) {
    case keycode::kLeftCtrl:
    case keycode::kRightCtrl:
        return modbit::kCtrl;
    case keycode::kLeftShift:
    case keycode::kRightShift:
        return modbit::kShift;
    case keycode::kLeftAlt:
    case keycode::kRightAlt:
        return modbit::kAlt;
    case keycode::kLeftWindows:
    case keycode::kRightWindows:
        return modbit::kWindows;
    default:
        return 0;
    }
}

QString keyName(uint8_t code, bool french)
{
    const keytables::KeyNameRow *row = findName(code);
    if (!row)
        return {};
    return QString::fromUtf8(french && row->french ? row->french : row->name);
}

bool useFrenchKeyNames(int frenchIndex, int language)
{
    return frenchIndex != -1 && frenchIndex == language;
}

bool useFrenchKeyNames()
{
    return useFrenchKeyNames(readFrenchIndex(), readLanguage());
}

QString keyName(uint8_t code)
{
    return keyName(code, useFrenchKeyNames());
}

// Both lookups scan every row and keep the last match; the table has no duplicates, so that is
// the only match, and a wrong duplicate added later would show up in the table tests.
bool keyCodeToUsage(uint8_t code, uint8_t &usage)
{
    bool found = false;
    for (const auto &row : keytables::kUsageTable) {
        if (row.code == code) {
            usage = row.usage;
            found = true;
        }
    }
    return found;
}

bool usageToKeyCode(uint8_t usage, uint8_t &code)
{
    bool found = false;
    for (const auto &row : keytables::kUsageTable) {
        if (row.usage == usage) {
            code = row.code;
            found = true;
        }
    }
    return found;
}

uint8_t usageOf(uint8_t code)
{
    uint8_t usage = 0;
    keyCodeToUsage(code, usage);
    return usage;
}

uint8_t keyCodeOf(uint8_t usage)
{
    uint8_t code = 0;
    usageToKeyCode(usage, code);
    return code;
}

KeyStroke keyEventToKeyCode(uint32_t scanCode, uint32_t flags, uint32_t vkCode, KeySource source)
{
    KeyStroke out;
    // The recorder treats a key pressed while Alt is held as a plain key press, so the
    // navigation keys come out as their keypad codes and the extended variants as their base.
    if (source == KeySource::Recorder && (flags & keyflag::kAltDown) &&
        !(flags & keyflag::kReleased))
        flags = 0;
    out.flags = flags;
    if (scanCode > 0xFF)
        return out; // no key code can hold it
    const auto s = static_cast<uint8_t>(scanCode);
    out.code = s;

    const bool extendedOnly =
        flags == keyflag::kExtended || flags == (keyflag::kExtended | keyflag::kReleased);
    const bool plain = (flags & ~keyflag::kReleased) == 0;

    for (const SharedScan &e : kExtendedShared) {
        if (e.scan == s && extendedOnly)
            out.code = e.keypadCode;
    }
    if (s == keycode::kLeftAlt) {
        const bool right =
            source == KeySource::Recorder
                ? vkCode == kVkRightAlt
                : (extendedOnly || flags == (keyflag::kExtended | keyflag::kAltDown));
        if (right)
            out.code = keycode::kRightAlt;
    }
    if (s == kPrintScreen && plain)
        out.code = kKeypadStar;
    for (const SharedScan &e : kKeypadShared) {
        if (e.scan == s && plain)
            out.code = e.keypadCode;
    }
    return out;
}

} // namespace mc
