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

// The new-profile values of the product description.
struct ProductDefaults
{
    int dpi = 0;
    int pollrate = 0;
    int LedMode = 0;
    std::array<uint32_t, kStageCount> stages{};
    struct Button
    {
        int32_t Fun = 0;
        int32_t LoopNumber = 0;
        int32_t KeyNumber = 0;
        std::array<uint8_t, 4> res{};
    };
    std::array<Button, kDefaultButtonCount> buttons{};
    struct Led
    {
        QColor color;
        uint32_t bright = 0;
        uint32_t breath = 0;
    };
    std::array<Led, kLedModeCount> leds{};
};

// Fills out from the product description; false (out untouched) when there is none.
bool readProductDefaults(ProductDefaults &out);
// The lighting mode of a new profile: the description's when it names a valid mode, else 9.
int defaultLedMode();

// Replaces the record by a new profile: the product's defaults, or the built-in ones when
// there is no product description.
void BuildDefaultProfile(ProfileData &record);
// Writes a new profile to K + "/Profile/DefaultProfile.prof".
SaveResult WriteDefaultProfileFile();

} // namespace mc
