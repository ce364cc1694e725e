// The key tables: the name of every key code (with the French layout names) and the translation
// between key codes and keyboard usages (HID usage page 0x07). Data only; keycodes.h reads it.
#pragma once

#include <array>
#include <cstdint>

namespace mc::keytables {

struct KeyNameRow
{
    uint8_t code;
    const char *name;   // UTF-8
    const char *french; // UTF-8; nullptr when the French layout shows the same name
};

struct UsageRow
{
    uint8_t usage;
    uint8_t code;
};

inline constexpr std::array<KeyNameRow, 107> kKeyNames{{
    {1, "Esc", "Echap"},
    {2, "1", "&"},
    {3, "2", "é"},
    {4, "3", "\""},
    {5, "4", "'"},
    {6, "5", "("},
    {7, "6", "-"},
    {8, "7", "è"},
    {9, "8", "_"},
    {10, "9", "ç"},
    {11, "0", "à"},
    {12, "-", nullptr},
    {13, "=", nullptr},
    {14, "Backspace", "Ret.arr"},
    {15, "Tab", nullptr},
    {16, "Q", "a"},
    {17, "W", "z"},
    {18, "E", "e"},
    {19, "R", "r"},
    {20, "T", "t"},
    {21, "Y", "y"},
    {22, "U", "u"},
    {23, "I", "i"},
    {24, "O", "o"},
    {25, "P", "p"},
    {26, "[", "^"},
    {27, "]", "$"},
    {28, "Enter", "Entree"},
    {29, "LCtr", "LCtrl"},
    {30, "A", "q"},
    {31, "S", "s"},
    {32, "D", "d"},
    {33, "F", "f"},
    {34, "G", "g"},
    {35, "H", "h"},
    {36, "J", "j"},
    {37, "K", "k"},
    {38, "L", "l"},
    {39, ";", "m"},
    {40, "'", "ù"},
    {41, "`", "²"},
    {42, "LShift", nullptr},
    {43, "\\", "*"},
    {44, "Z", "w"},
    {45, "X", "x"},
    {46, "C", "c"},
    {47, "V", "v"},
    {48, "B", "b"},
    {49, "N", "n"},
    {50, "M", ","},
    {51, ",", ";"},
    {52, ".", ":"},
    {53, "/", "!"},
    {54, "RShift", nullptr},
    {55, "Print Screen", nullptr},
    {56, "LAlt", nullptr},
    {57, "Space", "espace"},
    {58, "CapsLock", "Verr.maj"},
    {59, "F1", nullptr},
    {60, "F2", nullptr},
    {61, "F3", nullptr},
    {62, "F4", nullptr},
    {63, "F5", nullptr},
    {64, "F6", nullptr},
    {65, "F7", nullptr},
    {66, "F8", nullptr},
    {67, "F9", nullptr},
    {68, "F10", nullptr},
    {69, "Pause Break", nullptr},
    {70, "Scroll Lock", nullptr},
    {71, "Home", nullptr},
    {72, "Up", nullptr},
    {73, "Page Up", nullptr},
    {74, "Num -", nullptr},
    {75, "Left", nullptr},
    {76, "Num 5", nullptr},
    {77, "Right", nullptr},
    {78, "Num +", nullptr},
    {79, "End", nullptr},
    {80, "Down", nullptr},
    {81, "Page Down", nullptr},
    {82, "Insert", nullptr},
    {83, "Delete", nullptr},
    {87, "F11", nullptr},
    {88, "F12", nullptr},
    {91, "LWindows", nullptr},
    {92, "RWindows", nullptr},
    {93, "App", nullptr},
    {224, "Num De", "Num Del"},
    {225, "Num Lock", nullptr},
    {226, "Num /", nullptr},
    {227, "Num *", nullptr},
    {228, "Num 9", nullptr},
    {229, "Num Enter", nullptr},
    {230, "Num 1", nullptr},
    {231, "Num 2", nullptr},
    {232, "Num 3", nullptr},
    {233, "Num 4", nullptr},
    {234, "Num 6", nullptr},
    {235, "Num 7", nullptr},
    {236, "Num 8", nullptr},
    {237, "Num 0", nullptr},
    {238, "RCtr", "RCtrl"},
    {239, "RAlt", nullptr},
    {240, "Left Button", nullptr},
    {241, "Right Button", nullptr},
    {242, "Middle Button", nullptr},
}};
inline constexpr std::array<UsageRow, 104> kUsageTable{{
    {0x04, 30},  {0x05, 48},  {0x06, 46},  {0x07, 32},  {0x08, 18},  {0x09, 33},  {0x0A, 34},
    {0x0B, 35},  {0x0C, 23},  {0x0D, 36},  {0x0E, 37},  {0x0F, 38},  {0x10, 50},  {0x11, 49},
    {0x12, 24},  {0x13, 25},  {0x14, 16},  {0x15, 19},  {0x16, 31},  {0x17, 20},  {0x18, 22},
    {0x19, 47},  {0x1A, 17},  {0x1B, 45},  {0x1C, 21},  {0x1D, 44},  {0x1E, 2},   {0x1F, 3},
    {0x20, 4},   {0x21, 5},   {0x22, 6},   {0x23, 7},   {0x24, 8},   {0x25, 9},   {0x26, 10},
    {0x27, 11},  {0x28, 28},  {0x29, 1},   {0x2A, 14},  {0x2B, 15},  {0x2C, 57},  {0x2D, 12},
    {0x2E, 13},  {0x2F, 26},  {0x30, 27},  {0x31, 43},  {0x33, 39},  {0x34, 40},  {0x35, 41},
    {0x36, 51},  {0x37, 52},  {0x38, 53},  {0x39, 58},  {0x3A, 59},  {0x3B, 60},  {0x3C, 61},
    {0x3D, 62},  {0x3E, 63},  {0x3F, 64},  {0x40, 65},  {0x41, 66},  {0x42, 67},  {0x43, 68},
    {0x44, 87},  {0x45, 88},  {0x46, 55},  {0x47, 70},  {0x48, 69},  {0x49, 82},  {0x4A, 71},
    {0x4B, 73},  {0x4C, 83},  {0x4D, 79},  {0x4E, 81},  {0x4F, 77},  {0x50, 75},  {0x51, 80},
    {0x52, 72},  {0x53, 225}, {0x54, 226}, {0x55, 227}, {0x56, 74},  {0x57, 78},  {0x58, 229},
    {0x59, 230}, {0x5A, 231}, {0x5B, 232}, {0x5C, 233}, {0x5D, 76},  {0x5E, 234}, {0x5F, 235},
    {0x60, 236}, {0x61, 228}, {0x62, 237}, {0x63, 224}, {0x65, 93},  {0xE0, 29},  {0xE1, 42},
    {0xE2, 56},  {0xE3, 91},  {0xE4, 238}, {0xE5, 54},  {0xE6, 239}, {0xE7, 92},
}};

static_assert(kKeyNames.size() == 107, "85 main-block codes, 3 Windows keys, 16 shared, 3 mouse");
static_assert(kUsageTable.size() == 104, "every named key except the three mouse buttons");

} // namespace mc::keytables
