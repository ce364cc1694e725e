// The fourteen lighting modes as the panel knows them: the source text of each name, its place
// in the effect menu and which controls the mode uses. The index is the record's LedMode and
// the index into its leds array.
#pragma once

#include "profile/profiledata.h"

#include <QtGlobal>

#include <array>

namespace mc::lighting {

struct ModeInfo
{
    const char *name; // source text, translated in the context QObject
    int menuPlace;    // 1..10 in the effect menu; 0: created but not offered
    bool bright;
    bool speed;
    bool colour;
};

inline constexpr std::array<ModeInfo, kLedModeCount> kModes = {{
    {QT_TRANSLATE_NOOP("QObject", "OFF"), 10, false, false, false},
    {QT_TRANSLATE_NOOP("QObject", "FULL LIGHTED"), 1, true, false, true},
    {QT_TRANSLATE_NOOP("QObject", "BREATHING"), 2, false, true, true},
    {QT_TRANSLATE_NOOP("QObject", "7 COLOR BREATHING"), 3, false, true, false},
    {QT_TRANSLATE_NOOP("QObject", "RAINBOW"), 4, true, true, false},
    {QT_TRANSLATE_NOOP("QObject", "FLASH"), 0, true, true, false},
    {QT_TRANSLATE_NOOP("QObject", "Horizontal WAVE"), 0, true, true, false},
    {QT_TRANSLATE_NOOP("QObject", "Horizontal GO WITHOUT TRACE"), 0, true, true, false},
    {QT_TRANSLATE_NOOP("QObject", "Raindrop"), 0, true, true, false},
    {QT_TRANSLATE_NOOP("QObject", "WAVE"), 5, true, true, false},
    {QT_TRANSLATE_NOOP("QObject", "GO WITHOUT TRACE"), 7, true, true, false},
    {QT_TRANSLATE_NOOP("QObject", "REACTIVE"), 6, true, false, false},
    {QT_TRANSLATE_NOOP("QObject", "yo-yo"), 8, true, true, false},
    {QT_TRANSLATE_NOOP("QObject", "Marbles"), 9, true, true, false},
}};

// Breathing modes show their speed in the upper place and nothing in the lower one.
constexpr bool speedAbove(int iMode)
{
    return iMode == 2 || iMode == 3;
}

constexpr int kMenuEntries = 10;
constexpr int kBrightMin = 1;
constexpr int kBrightMax = 3;
constexpr int kSpeedMin = 1;
constexpr int kSpeedMax = 5;

// The product whose lighting lives in slot 0 whatever slot is active.
inline constexpr char kSharedLightingProduct[] = "9130";

} // namespace mc::lighting
