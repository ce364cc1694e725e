// The sensor register form of a DPI stage: how each sensor wants a raw resolution step written
// into the DPI block, and the sniper byte of the button block, which uses the same tables.
// Pure functions of their arguments; any thread.
#pragma once

#include <array>
#include <cstdint>

namespace mc {

// Sensor codes (MouseSenSor/1 of Config.ini) that have a register form.
namespace sensor {
constexpr int k3104 = 3104;
constexpr int k31042 = 31042;
constexpr int k3212 = 3212;
constexpr int k3311 = 3311;
constexpr int k33112 = 33112;
constexpr int k3325 = 3325;
constexpr int k33252 = 33252;
constexpr int k3327 = 3327;
constexpr int k3333 = 3333;
constexpr int k3335 = 3335;
constexpr int k33352 = 33352;
constexpr int k3360 = 3360;
constexpr int k3370 = 3370;
constexpr int k3389 = 3389;
constexpr int k3395 = 3395;
constexpr int k33952 = 33952;
} // namespace sensor

// The sensors' resolution register value for each raw step; the upper ranges of a sensor reuse
// its table shifted down.
// T1: sensors 3311, 33112, 3335, 33352; raw steps 1 to 160 (index 0 is 143).
inline constexpr std::array<uint8_t, 161> kSensorTable1 = {
    143, 0,   2,   3,   4,   5,   6,   7,   9,   10,  11,  12,  13,  14,  16,  17,  18,  19,
    20,  22,  23,  24,  25,  26,  27,  29,  30,  31,  32,  33,  35,  37,  38,  39,  40,  41,
    42,  44,  45,  46,  47,  48,  50,  51,  52,  53,  54,  56,  57,  58,  59,  60,  62,  63,
    64,  65,  66,  68,  69,  70,  71,  72,  74,  75,  76,  77,  78,  80,  81,  82,  83,  84,
    86,  87,  88,  89,  90,  92,  93,  94,  95,  96,  98,  99,  100, 101, 102, 104, 105, 106,
    107, 108, 110, 111, 112, 113, 114, 116, 117, 118, 119, 120, 122, 123, 124, 125, 126, 128,
    129, 130, 131, 132, 134, 135, 136, 137, 138, 140, 141, 142, 143, 144, 146, 147, 148, 149,
    150, 152, 153, 154, 155, 156, 158, 159, 160, 161, 162, 164, 165, 166, 167, 168, 170, 171,
    172, 173, 174, 176, 177, 178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 188,
};

// T2: sensors 3325, 33252; raw steps 0 to 50.
inline constexpr std::array<uint8_t, 51> kSensorTable2 = {
    0,  2,  4,  6,  8,  11, 13, 15, 18, 20, 22,  25,  27,  29,  32,  34,  36,
    39, 41, 43, 46, 48, 50, 52, 55, 57, 59, 62,  64,  66,  69,  71,  73,  76,
    78, 80, 83, 85, 87, 90, 92, 94, 97, 99, 101, 104, 106, 108, 111, 113, 115,
};

// T3: sensor 3327; raw steps 0 to 61.
inline constexpr std::array<uint8_t, 62> kSensorTable3 = {
    0,   4,   6,   9,   11,  13,  15,  18,  20,  22,  24,  27,  29,  31,  33,  36,
    38,  40,  43,  45,  47,  49,  52,  54,  56,  58,  61,  63,  65,  67,  70,  72,
    74,  77,  79,  81,  83,  86,  88,  90,  92,  95,  97,  99,  102, 104, 106, 108,
    111, 113, 115, 117, 120, 122, 124, 127, 129, 131, 133, 135, 138, 140,
};

// T4: sensor 3333; raw steps 0 to 80.
inline constexpr std::array<uint8_t, 81> kSensorTable4 = {
    188, 188, 4,   6,   9,   11,  14,  16,  18,  21,  23,  25,  27,  29,  32,  34,  36,
    39,  41,  43,  46,  48,  50,  52,  55,  57,  59,  62,  64,  66,  69,  72,  74,  77,
    78,  81,  84,  85,  88,  91,  93,  95,  98,  100, 102, 105, 107, 109, 112, 114, 116,
    119, 121, 123, 126, 128, 130, 133, 135, 137, 140, 142, 145, 147, 149, 151, 154, 156,
    158, 161, 163, 165, 168, 171, 173, 175, 178, 180, 182, 185, 187,
};

// The status byte that makes sensor 3395 cap its raw value at kLimited3395.
constexpr uint8_t kStatusLimits3395 = 8;
constexpr uint32_t kLimited3395 = 399;

// Bytes 1-4 of a stage packet: two (code, range) pairs. Which axis comes first depends on the
// sensor; a sensor without a register form gives four zeros. Raw values beyond a sensor's range
// are held at its last table entry or at the largest value its bytes can carry, never used as
// an index unchecked.
std::array<uint8_t, 4> encodeStageResolution(int sensorCode, uint32_t x, uint32_t y,
                                             uint8_t statusByte);

// The two parameter bytes of the sniper function for the sensor and the entry's sniper value:
// the value itself, its table entry, the value less one, or 4 for sensors without a rule.
uint8_t sniperByte(int sensorCode, uint8_t value);

} // namespace mc
