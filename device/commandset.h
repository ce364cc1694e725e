// The command set: the control commands (write bracket, commit, profile selection), the senders
// of the general, DPI and lighting blocks, and ApplyChanges, the whole write of a profile store.
// Each returns a result code (0 ok, the transport's 1, 2, 4, or a refusal of writeresult.h) and
// stops at the first non-zero one. They block the calling thread (10 ms and more a report):
// ApplyChanges runs on the apply worker, SelectProfile and CommitSettings on the user-interface
// thread when the user picks a slot.
#pragma once

#include "device/productswitches.h"
#include "profile/profiledata.h"

#include <cstdint>

namespace mc {

class MouseConnection;

// Change mask groups.
namespace change {
constexpr int kGeneral = 1;
constexpr int kDpi = 2;
constexpr int kButtons = 4; // buttons and macros
constexpr int kLighting = 8;
constexpr int kAll = 15;
} // namespace change

// Commit selectors in the order CommitSettings sends them.
inline constexpr uint8_t kCommitSelectors[] = {0x04, 0x01, 0x02, 0x08, 0x10};
constexpr uint8_t kCommitActiveSlot = 0x01;

uint8_t BeginWrite(MouseConnection &connection);
uint8_t EndWrite(MouseConnection &connection);
// Stops the connection's poller while the five commits go out.
uint8_t CommitSettings(MouseConnection &connection);
// Tells the mouse to switch to the slot (0..4) and commits it. Both commands are sent whatever
// the first one gives; a slot past 4 is refused with kValueOutOfRange and nothing is sent. The
// connection's poller is stopped while they go out.
uint8_t SelectProfile(MouseConnection &connection, int iProfile);

uint8_t WriteGeneralBlock(MouseConnection &connection, const ProfileStore &deviceCopy,
                          const ProductSwitches &product);
uint8_t WriteDpiBlock(MouseConnection &connection, const ProfileStore &deviceCopy,
                      const ProductSwitches &product);
uint8_t WriteLightingBlock(MouseConnection &connection, const ProfileStore &deviceCopy);

// Writes the groups of the change mask (1 general, 2 DPI, 4 buttons and macros, 8 lighting):
// stops the connection's status poller, copies the store into the device copy, then sends the
// bracket, the blocks, the commit (when the mask is not 0), the macro upload and the closing
// bracket, and lets the poller come back whatever the outcome. More distinct macros than the
// mouse holds are refused with kTooManyMacros before anything is sent.
uint8_t ApplyChanges(MouseConnection &connection, const ProfileStore &working, int mask);

} // namespace mc
