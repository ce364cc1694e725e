// Layouts of the general, DPI and lighting blocks.
#include "device/settingsblocks.h"

#include "device/dpiencoding.h"

#include <algorithm>

namespace mc {

namespace {
constexpr uint8_t kEffectPastLastMode = 6;
constexpr uint8_t kLightingOn = 0x80; // first byte of every effect slot
} // namespace

uint8_t lightingEffectNumber(int ledMode)
{
    if (ledMode < 0 || ledMode >= kLedModeCount)
        return kEffectPastLastMode;
    return uint8_t(kLightingSlotOfMode[size_t(ledMode)] + 1);
}

uint8_t sensorOptionByte(const ProfileStore &store, int productSync)
{
    switch (productSync) {
    case 0:
        return store.LiftHigh;
    case 1:
        return store.Sync != 0 ? 1 : 0;
    default: {
        uint8_t b = store.LiftHigh;
        if (store.Sync != 0)
            b |= general::kSyncBit;
        if (store.AngleValue == 0)
            b |= general::kAngleSnapBit;
        if (store.Jitter == 0)
            b |= general::kJitterBit;
        return b;
    }
    }
}

GeneralBlock buildGeneralBlock(const ProfileStore &store, int productSync)
{
    GeneralBlock b{};
    const ProfileData &p0 = store.profiles[0];
    const ProfileData &pc = store.current();
    for (int i = 0; i < kSlotCount; ++i) {
        b[size_t(general::kScrollSpeed + i)] = store.profiles[size_t(i)].scrollspeed;
        b[size_t(general::kPollRate + i)] = store.profiles[size_t(i)].pollrate;
    }
    b[general::kSensorOptions] = sensorOptionByte(store, productSync);
    // A slot or stage number the mouse does not have is sent as the one the window shows.
    b[general::kActiveSlot] = store.ProfileID < kSlotCount ? store.ProfileID : 0;
    b[general::kLedMoveOff] = p0.LedMoveOFF;
    b[general::kLedSleepTime] = p0.LedSleepTime;
    b[general::kDebounce] = store.Debounce;
    b[general::kConstantOne] = 1;
    b[general::kConstant1F] = 0x1F;
    b[general::kActiveStage] = pc.dpi < kStageCount ? pc.dpi : 0;
    b[general::kEffect] = lightingEffectNumber(pc.LedMode);
    return b;
}

ReportList generalBlockReports(const ProfileStore &store, const ProductSwitches &product)
{
    const GeneralBlock b = buildGeneralBlock(store, product.productSync);
    return blockReports(frame::kGeneralBlock, b.data(), int(b.size()),
                        {{0, uint8_t(general::kSize)}});
}

DpiBlock buildDpiBlock(const ProfileStore &store, const ProductSwitches &product)
{
    DpiBlock b{};
    const int n =
        (product.dpiCount >= 1 && product.dpiCount <= kStageCount) ? product.dpiCount : kStageCount;
    b[dpi::kCount] = uint8_t(n);
    const ProfileData &p0 = store.profiles[0];
    for (int i = 0; i < kStageCount; ++i) {
        const DpiStage &stage = p0.stages[size_t(i)];
        const size_t at = size_t(dpi::kFirstStage + dpi::kStageSize * i);
        b[at] = i < n ? stage.used : 0;
        const auto reg =
            encodeStageResolution(product.sensorCode, stage.x, stage.y, product.statusByte);
        std::copy(reg.begin(), reg.end(), b.begin() + long(at + 1));
    }
    return b;
}

ReportList dpiBlockReports(const ProfileStore &store, const ProductSwitches &product)
{
    const DpiBlock b = buildDpiBlock(store, product);
    constexpr auto len = uint8_t(dpi::kStageSize);
    return blockReports(frame::kDpiBlock, b.data(), int(b.size()),
                        {{0, 1},
                         {1, len},
                         {6, len},
                         {11, len},
                         {16, len},
                         {21, len},
                         {26, len},
                         {31, len},
                         {36, len}});
}

LightingBlock buildLightingBlock(const ProfileStore &store)
{
    const auto &L = store.profiles[0].leds;
    const auto lo = [](uint32_t v) { return uint8_t(v & 0xFF); };
    const auto red = [&](int k) { return uint8_t(L[size_t(k)].color.red()); };
    const auto green = [&](int k) { return uint8_t(L[size_t(k)].color.green()); };
    const auto blue = [&](int k) { return uint8_t(L[size_t(k)].color.blue()); };
    const auto bright = [&](int k) { return lo(L[size_t(k)].bright); };
    const auto breath = [&](int k) { return lo(L[size_t(k)].breath); };

    const std::array<std::array<uint8_t, lighting::kSlotSize>, lighting::kSlots> slotBytes = {{
        {kLightingOn, 0, 0, 0, 0, 0, 0, 0},
        {kLightingOn, red(1), green(1), blue(1), 0x01, 0x00, 0x02, bright(1)},
        {kLightingOn, red(2), green(2), blue(2), 0x01, breath(2), 0x04, 0x03},
        {kLightingOn, 0, 0, 0, 0x01, breath(3), 0x01, 0x03},
        {kLightingOn, 0, 0, 0, 0x01, breath(4), 0x08, bright(4)},
        {kLightingOn, 0, 0, 0, 0x05, breath(9), 0x01, bright(9)},
        {kLightingOn, 0, 0, 0, 0x07, 0x00, 0x00, bright(11)},
        {kLightingOn, 0, 0, 0, 0x06, breath(10), 0x00, bright(10)},
        {kLightingOn, 0, 0, 0, 0x08, breath(12), 0x00, bright(12)},
        {kLightingOn, 0, 0, 0, 0x09, breath(13), 0x00, bright(13)},
    }};
    LightingBlock b{};
    for (int k = 0; k < lighting::kSlots; ++k)
        std::copy(slotBytes[size_t(k)].begin(), slotBytes[size_t(k)].end(),
                  b.begin() + k * lighting::kSlotSize);
    return b;
}

ReportList lightingBlockReports(const ProfileStore &store)
{
    const LightingBlock b = buildLightingBlock(store);
    return blockReports(frame::kLightingBlock, b.data(), int(b.size()),
                        {{0, 24}, {24, 24}, {48, 24}, {72, 8}});
}

} // namespace mc
