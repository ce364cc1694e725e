// The button function catalogue: looking functions up by code or menu text, the menus the
// assignment panel offers, the text a button shows, and the four-byte device code the button
// block sends. Texts go through the translation layer (context "QObject"), so they follow the
// loaded translation; call those from the user-interface thread. DeviceCode is pure and is
// called by the apply worker.
#pragma once

#include "buttons/functiontable.h"
#include "profile/profiledata.h"

#include <QString>
#include <QVector>

#include <array>
#include <cstdint>

namespace mc {

namespace fun {
constexpr int kLeft = 1;
constexpr int kRight = 2;
constexpr int kMiddle = 3;
constexpr int kForward = 4;
constexpr int kBack = 5;
constexpr int kSingleKey = 6;
constexpr int kComboKey = 7;
constexpr int kFireKey = 12;
constexpr int kButtonOff = 16;
constexpr int kVolumeUp = 43;
constexpr int kVolumeDown = 44;
constexpr int kScrollUp = 52;
constexpr int kScrollDown = 53;
constexpr int kLedSwitch = 54;
constexpr int kSniper = 55;
constexpr int kMacro = kMacroFunction;
constexpr int kGunFile = 510;
} // namespace fun

// Fire key sources as Res1 carries them (any other non-zero value is a keyboard usage).
namespace firesource {
constexpr uint8_t kLeft = 0x81;
constexpr uint8_t kRight = 0x82;
constexpr uint8_t kMiddle = 0x84;
} // namespace firesource

// Macro loop modes as Res1 of a macro entry carries them.
enum MacroLoopMode : uint8_t
{
    kLoopCount = 0,
    kLoopWhileHeld = 1,
    kLoopUntilPressed = 2
};

const FunctionRow *findFunction(int code); // nullptr for a code without a row
bool isMacroFunction(int code);            // 200 and 510: the entry names a macro file
// Functions whose parameters come from a dialog; every other function changes Fun only.
bool isParameterised(int code);

const char *menuSourceText(int code);           // nullptr when the code has no text
QString menuText(int code);                     // translated; empty when the code has no text
int codeForMenuText(const QString &sourceText); // 0 when no function has that text
const char *groupSourceText(MenuGroup group);   // submenu title, nullptr for the others
QString groupTitle(MenuGroup group);

// What a button shows: the translated menu text of its code, the macro name for macro and gun
// file entries, empty for anything else.
QString displayText(const ButtonInfo &entry);

// One row of a menu: a function, or a submenu (code 0).
struct MenuItem
{
    int code = 0;
    MenuGroup submenu = MenuGroup::TopLevel;
    bool isSubmenu() const { return code == 0; }
    bool operator==(const MenuItem &o) const { return code == o.code && submenu == o.submenu; }
};

// The menu of the list buttons, in order; the macro and lighting entries only when the product
// has them.
QVector<MenuItem> topMenu(bool macroEnabled, bool lightingEnabled);
QVector<MenuItem> topMenu(); // reads PROFILE/DisableMacro and PROFILE/ledDisable
QVector<int> submenuCodes(MenuGroup group);
QVector<int> wheelMenu();

// The four device bytes of the entry's function. Macro and gun file entries take b1 from the
// device macro slot (masked to its six bits) with the loop mode's flag, b2 b3 from the loop
// count; sniper entries take the sensor-dependent byte the caller computed; a code without a row
// gives 00 00 00 00.
std::array<uint8_t, 4> DeviceCode(const ButtonInfo &entry, int macroSlot = 0,
                                  uint8_t sniperByte = 4);

} // namespace mc
