// The seven theme colours selectable by Config/GColorID. Header-only, so that the skin
// generator draws its accents from the same table the widgets use.
#pragma once

#include <array>
#include <cstdint>

namespace mc {

struct ThemeRgb
{
    uint8_t r, g, b;
};

constexpr std::array<ThemeRgb, 7> kThemeColours = {{
    {188, 7, 121},
    {0, 255, 0},
    {0, 0, 255},
    {219, 200, 182},
    {255, 0, 255},
    {0, 255, 255},
    {255, 125, 0},
}};
static_assert(kThemeColours.size() == 7, "Config/GColorID selects one of seven colours");

// The entry the skin generator draws its accents in; the program recolours them to the chosen
// entry when it reads the images.
constexpr int kSkinAccentEntry = 0;

// An index read from a file is never used unchecked: anything outside the table is entry 0.
constexpr ThemeRgb themeRgbAt(int index)
{
    return (index < 0 || index >= int(kThemeColours.size())) ? kThemeColours[0]
                                                             : kThemeColours[size_t(index)];
}

} // namespace mc
