// New profiles: the defaults of a fresh profile record, taken from the product description
// (DefaultProfile.bin) when it exists and from built-in values otherwise, and the default
// profile file that the profile library copies when the user adds a profile.
#pragma once

#include "profile/profiledata.h"
#include "profile/saveresult.h"

#include <QColor>

#include <array>

namespace mc {

constexpr int kDefaultButtonCount = 16; // buttons whose defaults the description holds
constexpr int kBuiltInLedMode = 9;

// The new-profile values of the product description, as it holds them (a missing key reads
// 0), and which of them it really gives.
struct ProductDefaults
{
    int dpi = 0;
    int pollrate = 0;
    int LedMode = 0;
    std::array<uint32_t, kStageCount> stages{};
    std::array<bool, kStageCount> stageGiven{}; // the stage's raw value is a number
    struct Button
    {
        int32_t Fun = 0;
        int32_t LoopNumber = 0;
        int32_t KeyNumber = 0;
        std::array<uint8_t, 4> res{};
        bool given = false; // the function is a number
    };
    std::array<Button, kDefaultButtonCount> buttons{};
    struct Led
    {
        QColor color;
        uint32_t bright = 0;
        uint32_t breath = 0;
    };
    std::array<Led, kLedModeCount> leds{};
    // The description says how many buttons the mouse has (1..40): without that it is damaged
    // (cut short, another file in its place) and none of its values is taken for a new profile.
    bool describesButtons = false;
};

// Fills out from the product description; false (out untouched) when there is none or it
// cannot be read.
bool readProductDefaults(ProductDefaults &out);
// The lighting mode of a new profile: the description's when it names a valid mode, else 9.
int defaultLedMode();

// Replaces the record by a new profile: the product's defaults, or the built-in ones when
// there is no usable product description. What a usable description leaves out (a button's
// function, a stage, a colour) is taken from the built-in profile too: lack of data never
// switches a button off.
void BuildDefaultProfile(ProfileData &record);
// Writes a new profile to K + "/Profile/DefaultProfile.prof".
SaveResult WriteDefaultProfileFile();

} // namespace mc
