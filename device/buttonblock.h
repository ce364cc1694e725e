// The button block (command 0x03): one four-byte device code per button slot of the mouse, built
// from slot 0 of the device copy. Building it also numbers the macros that buttons run into
// device macro slots (the macro number table), which the macro upload then fills.
#pragma once

#include "device/blockscheme.h"
#include "device/productswitches.h"
#include "device/writestate.h"
#include "profile/profiledata.h"

#include <array>
#include <cstdint>

namespace mc {

class MouseConnection;

namespace buttonblock {
constexpr int kHeader = 0;    // 0x0A 0x00
constexpr int kFirstSlot = 2; // device code of button slot k at kFirstSlot + 4 k
constexpr int kCodeSize = 4;
constexpr int kSlots = 24;
constexpr int kTrailer = kFirstSlot + kSlots * kCodeSize; // FF FF FF FF
constexpr int kSize = kTrailer + 4;
static_assert(kTrailer == 98 && kSize == 102, "24 button slots between header and trailer");

constexpr int kWheelUpSlot = 22;
constexpr int kWheelDownSlot = 23;
constexpr int kWheelUpEntry = 40;
constexpr int kWheelDownEntry = 41;

constexpr int kMacroFunction = mc::kMacroFunction; // 200
constexpr int kGunFunction = 510;
constexpr int kSniperFunction = 55;
} // namespace buttonblock

// Device macro slots the mouse offers (0..11).
constexpr int kUsableMacroSlots = 12;

using ButtonBlock = std::array<uint8_t, buttonblock::kSize>;

constexpr bool runsMacro(const ButtonInfo &entry)
{
    return entry.Fun == buttonblock::kMacroFunction || entry.Fun == buttonblock::kGunFunction;
}

// A macro entry whose name can name a macro file. One without (an empty name, or one refused as
// unsafe) has no macro to run: it is sent as no function and takes no device macro slot.
bool runsUsableMacro(const ButtonInfo &entry);

// Builds the block from slot 0 of the device copy: entries 0 to button count - 1 at the slots of
// the product's slot map (an entry whose slot lies outside 0..23 is not sent), then the wheel
// entries 40 and 41 (swapped when the product says ScrollRev 1). Slots no entry maps to are 0.
// The table is cleared and refilled; the macro slot of every usable macro entry sent is also
// written into its Res4.
ButtonBlock buildButtonBlock(ProfileStore &deviceCopy, const ProductSwitches &product,
                             MacroNumberTable &table);
ReportList buttonBlockReports(const ButtonBlock &block);

// Builds the block into the connection's macro number table and sends it. Result of the
// transport; kTooManyMacros, with nothing sent, when the buttons run more distinct macros than
// the mouse has slots for.
uint8_t WriteButtonBlock(MouseConnection &connection, ProfileStore &deviceCopy,
                         const ProductSwitches &product);

} // namespace mc
