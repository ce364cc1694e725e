// The general, DPI and lighting blocks: their byte layouts, built from the device copy of the
// store, and their packets. Pure functions; any thread.
#pragma once

#include "device/blockscheme.h"
#include "device/productswitches.h"
#include "profile/profiledata.h"

#include <array>
#include <cstdint>

namespace mc {

// --- general block (command 0x01): one packet of 19 bytes ---
namespace general {
constexpr int kScrollSpeed = 0; // 0..4: wheel speed of slots 0..4
constexpr int kSensorOptions = 5;
constexpr int kActiveSlot = 6;
constexpr int kLedMoveOff = 7;
constexpr int kLedSleepTime = 8;
constexpr int kDebounce = 9;
constexpr int kConstantOne = 10;
constexpr int kPollRate = 11; // 11..15: report interval of slots 0..4
constexpr int kConstant1F = 16;
constexpr int kActiveStage = 17;
constexpr int kEffect = 18;
constexpr int kSize = 19;
static_assert(kPollRate + kSlotCount == kConstant1F, "five report rates before the constant");
static_assert(kSize <= frame::kMaxData, "the general block travels in one packet");

// Bits of the sensor option byte in the third sensor-options variant.
constexpr uint8_t kSyncBit = 0x80;
constexpr uint8_t kAngleSnapBit = 0x40;
constexpr uint8_t kJitterBit = 0x20;
} // namespace general

using GeneralBlock = std::array<uint8_t, general::kSize>;

// Lighting slot of each lighting mode 0..13 in the lighting block.
inline constexpr std::array<uint8_t, kLedModeCount> kLightingSlotOfMode = {
    0, 1, 2, 3, 4, 5, 5, 5, 5, 5, 7, 6, 8, 9,
};
// The number the general block carries: the mode's lighting slot + 1; 6 for a mode past 13.
uint8_t lightingEffectNumber(int ledMode);
uint8_t sensorOptionByte(const ProfileStore &store, int productSync);
GeneralBlock buildGeneralBlock(const ProfileStore &store, int productSync);
ReportList generalBlockReports(const ProfileStore &store, const ProductSwitches &product);

// --- DPI block (command 0x02): the stage count, then five bytes per stage ---
namespace dpi {
constexpr int kCount = 0;
constexpr int kFirstStage = 1;
constexpr int kStageSize = 5; // used flag, then the four register bytes
constexpr int kSize = kFirstStage + kStageCount * kStageSize;
static_assert(kSize == 41, "count byte and eight stages");
} // namespace dpi

using DpiBlock = std::array<uint8_t, dpi::kSize>;

// Built from slot 0, whatever slot is active.
DpiBlock buildDpiBlock(const ProfileStore &store, const ProductSwitches &product);
ReportList dpiBlockReports(const ProfileStore &store, const ProductSwitches &product);

// --- lighting block (command 0x04): ten 8-byte effect slots ---
namespace lighting {
constexpr int kSlotSize = 8;
constexpr int kSlots = 10;
constexpr int kSize = kSlotSize * kSlots;
static_assert(kSize == 80, "ten effect slots");
} // namespace lighting

using LightingBlock = std::array<uint8_t, lighting::kSize>;

// Built from the lighting entries of slot 0, whatever slot is active.
LightingBlock buildLightingBlock(const ProfileStore &store);
ReportList lightingBlockReports(const ProfileStore &store);

} // namespace mc
