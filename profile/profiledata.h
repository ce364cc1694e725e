// The profile record and the profile store: the in-memory mirror of the mouse's five on-board
// profiles. Every panel edits these records, the storage layer reads and writes them field by
// field, and the command set sends them to the mouse. Plain value types: copying copies all.
#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>

namespace mc {

constexpr int kSlotCount = 5;
constexpr int kStageCount = 8;
constexpr int kButtonCount = 42;
constexpr int kKeyStepCount = 63;
constexpr int kLedModeCount = 14;
constexpr int kMacroFunction = 200; // Fun value of an assignment that runs a database macro

struct DpiStage
{
    uint8_t used = 0; // 1 = enabled, 0 = skipped by the mouse
    uint8_t link = 0; // 1 = one value for both axes
    uint32_t xy = 0;  // raw sensor values, not DPI figures
    uint32_t x = 0;
    uint32_t y = 0;

    bool operator==(const DpiStage &o) const
    {
        return used == o.used && link == o.link && xy == o.xy && x == o.x && y == o.y;
    }
    bool operator!=(const DpiStage &o) const { return !(*this == o); }
};

struct KeyInfo
{
    uint8_t map = 0;
    uint8_t low = 0;
    uint8_t high = 0;

    bool operator==(const KeyInfo &o) const
    {
        return map == o.map && low == o.low && high == o.high;
    }
    bool operator!=(const KeyInfo &o) const { return !(*this == o); }
};

struct ButtonInfo
{
    int32_t ID = 0;
    int32_t Fun = 0;
    int32_t LoopNumber = 0;
    int32_t KeyNumber = 0;
    std::array<mc::KeyInfo, kKeyStepCount> KeyInfo{}; // qualified: the member hides the type
    uint8_t Res1 = 0;
    uint8_t Res2 = 0;
    uint8_t Res3 = 0;
    uint8_t Res4 = 0;
    QString macroname;

    bool operator==(const ButtonInfo &o) const
    {
        return ID == o.ID && Fun == o.Fun && LoopNumber == o.LoopNumber &&
               KeyNumber == o.KeyNumber && KeyInfo == o.KeyInfo && Res1 == o.Res1 &&
               Res2 == o.Res2 && Res3 == o.Res3 && Res4 == o.Res4 && macroname == o.macroname;
    }
    bool operator!=(const ButtonInfo &o) const { return !(*this == o); }
};

struct LedModeInfo
{
    QColor color; // default-constructed: invalid
    uint32_t h = 0;
    uint32_t s = 0;
    uint32_t v = 0;
    uint32_t bright = 0;
    uint32_t breath = 0;

    bool operator==(const LedModeInfo &o) const
    {
        return color == o.color && color.isValid() == o.color.isValid() && h == o.h && s == o.s &&
               v == o.v && bright == o.bright && breath == o.breath;
    }
    bool operator!=(const LedModeInfo &o) const { return !(*this == o); }
};

struct ProfileData
{
    uint8_t pollrate = 0; // report interval in ms: 1, 2, 4 or 8
    uint8_t dpi = 0;      // active stage, zero-based
    uint8_t LedMode = 0;  // active lighting mode 0..13
    uint8_t spare = 0;    // carries no setting; never stored
    uint8_t LedMoveOFF = 0;
    uint8_t LedSleepTime = 0;
    std::array<DpiStage, kStageCount> stages{};
    uint8_t mousespeed = 0;
    uint8_t dbclickspeed = 0;
    uint8_t scrollispage = 0;
    uint8_t scrollspeed = 0;
    uint8_t accelenable = 0;
    uint8_t acee = 0;
    std::array<ButtonInfo, kButtonCount> buttons{};
    std::array<LedModeInfo, kLedModeCount> leds{};
    QString ProfileName;
    QString ProfilePath;

    // Field-for-field equality of everything a profile file stores (the spare byte excluded).
    bool operator==(const ProfileData &o) const
    {
        return pollrate == o.pollrate && dpi == o.dpi && LedMode == o.LedMode &&
               LedMoveOFF == o.LedMoveOFF && LedSleepTime == o.LedSleepTime && stages == o.stages &&
               mousespeed == o.mousespeed && dbclickspeed == o.dbclickspeed &&
               scrollispage == o.scrollispage && scrollspeed == o.scrollspeed &&
               accelenable == o.accelenable && acee == o.acee && buttons == o.buttons &&
               leds == o.leds && ProfileName == o.ProfileName && ProfilePath == o.ProfilePath;
    }
    bool operator!=(const ProfileData &o) const { return !(*this == o); }

    // Values read from files are clamped on load, so these are always in range; the guard
    // keeps an index safe even for a record built by hand.
    const DpiStage &activeStage() const { return stages[dpi < kStageCount ? dpi : 0]; }
    const LedModeInfo &activeLed() const { return leds[LedMode < kLedModeCount ? LedMode : 0]; }
};

struct ProfileStore
{
    uint8_t ProfileID = 0; // active slot 0..4
    std::array<ProfileData, kSlotCount> profiles{};
    uint8_t AngleValue = 0; // 0 = on, 1 = off
    uint8_t LiftHigh = 0;   // 1 = 1 mm, 2 = 2 mm
    uint8_t Sync = 0;
    uint8_t Count = 0;
    uint8_t Jitter = 0; // 0 = on, 1 = off
    uint8_t Debounce = 0;
    std::array<QString, kSlotCount> names;
    // Set by LoadStore when a file it had to read is there but could not be read (too large, a
    // folder, unreadable). Such a store stands in for settings it does not hold, so it is never
    // saved and never sent. Copied with the store; not compared.
    bool unreadable = false;

    bool operator==(const ProfileStore &o) const
    {
        return ProfileID == o.ProfileID && profiles == o.profiles && AngleValue == o.AngleValue &&
               LiftHigh == o.LiftHigh && Sync == o.Sync && Count == o.Count && Jitter == o.Jitter &&
               Debounce == o.Debounce && names == o.names;
    }
    bool operator!=(const ProfileStore &o) const { return !(*this == o); }

    ProfileData &current() { return profiles[ProfileID < kSlotCount ? ProfileID : 0]; }
    const ProfileData &current() const { return profiles[ProfileID < kSlotCount ? ProfileID : 0]; }
};

} // namespace mc
