// The macro upload (command 0x05): the macros that the last button block numbered are read from
// the macro database, packed into their 200-byte slots of the mouse's 4000-byte macro area and
// sent, ten packets of 20 bytes per slot. Runs on the apply worker.
#pragma once

#include "device/blockscheme.h"
#include "device/writestate.h"
#include "macro/macroaction.h"
#include "profile/profiledata.h"

#include <QVector>

#include <array>
#include <cstdint>

namespace mc {

class MouseConnection;

namespace macroarea {
constexpr int kSlotSize = 200;
constexpr int kSlots = 20;
constexpr int kSize = kSlotSize * kSlots;
constexpr int kPacketSize = 20;
constexpr int kPacketsPerSlot = kSlotSize / kPacketSize;
constexpr int kActionSize = 3; // map, low byte, high byte
constexpr int kGroupSize = 4;  // actions between two inserted delays
static_assert(kSize == 4000, "the mouse's macro area");
static_assert(kPacketsPerSlot * kPacketSize == kSlotSize, "a slot is ten whole packets");
} // namespace macroarea

using PackedMacro = std::array<uint8_t, macroarea::kSlotSize>;

// Packs a macro into one slot as (Map, DataL, DataH) triples. A macro that holds a delay (Map 6)
// is packed as it is; otherwise the delay 06 01 00 follows every group of four actions and the
// last action. The slot takes the first 200 bytes of that, the part of an action that reaches
// past them cut off: that is what the mouse has always received.
PackedMacro packMacro(const QVector<MacroAction> &actions);

// How much of a macro an upload delivers to the mouse, for the editor to warn about a macro that
// is too long. The upload reads the first 63 actions and packs them as above.
struct MacroFit
{
    int packedBytes = 0; // the packed form of the actions read, before the cut at 200 bytes
    int bytesCut = 0;    // bytes of the packed form past the slot's end
    // Actions of the macro that the mouse does not receive whole: those past the 63 read, and
    // those that the slot's end cuts into or off (delays the packing inserts are not counted).
    int actionsCut = 0;
    bool fits() const { return bytesCut == 0 && actionsCut == 0; }
};
MacroFit macroFit(const QVector<MacroAction> &actions);

struct MacroUploadPlan
{
    std::array<uint8_t, macroarea::kSize> area{};
    std::array<bool, macroarea::kSlots> filled{};
    bool tableWasEmpty = false; // no macro numbered: nothing to send
    bool tooMany = false;       // a numbered slot past the usable ones: nothing to send
};

// Reads and packs every macro of the table that an entry of the five slots runs, each once.
// Entries whose macro the table does not number are skipped.
MacroUploadPlan planMacroUpload(const ProfileStore &deviceCopy, const MacroNumberTable &table);

// The packets of the filled slots and the closing packet; empty when no slot is filled.
ReportList macroUploadReports(const MacroUploadPlan &plan);

// Plans and sends the upload from the connection's macro number table, which the upload
// consumes (the next upload sends only what a new button block numbers). 0 when nothing was to
// be sent, kTooManyMacros with nothing sent for a slot past 11, else the transport's result.
uint8_t UploadMacros(MouseConnection &connection, const ProfileStore &deviceCopy);

} // namespace mc
