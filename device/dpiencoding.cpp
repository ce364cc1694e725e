// Per-sensor register forms of raw resolution steps.
#include "device/dpiencoding.h"

#include <algorithm>

namespace mc {

namespace {

struct RegisterPair
{
    uint8_t code = 0;
    uint8_t range = 0;
};

template <size_t N> uint8_t tableAt(const std::array<uint8_t, N> &table, int64_t index)
{
    return table[size_t(std::clamp<int64_t>(index, 0, int64_t(N) - 1))];
}

// A computed code held to what one byte carries.
uint8_t byteOf(int64_t value)
{
    return uint8_t(std::clamp<int64_t>(value, 0, 0xFF));
}

RegisterPair pairOf(int s, int64_t r)
{
    switch (s) {
    case sensor::k3104:
    case sensor::k31042:
        return r <= 106 ? RegisterPair{byteOf(r), 0} : RegisterPair{byteOf(r - 53), 1};
    case sensor::k3212:
        if (r <= 63)
            return {byteOf(r), 0};
        if (r <= 94)
            return {byteOf(r - 32), 1};
        return {byteOf(r - 63), 2};
    case sensor::k3311:
    case sensor::k33112:
        return r <= 120 ? RegisterPair{tableAt(kSensorTable1, r), 0}
                        : RegisterPair{tableAt(kSensorTable1, r - 60), 1};
    case sensor::k3325:
    case sensor::k33252:
        if (r <= 50)
            return {tableAt(kSensorTable2, r), 0};
        if (r <= 75)
            return {tableAt(kSensorTable2, r - 25), 1};
        return {tableAt(kSensorTable2, r - 50), 2};
    case sensor::k3327:
        if (r <= 61)
            return {tableAt(kSensorTable3, r), 0};
        if (r <= 92)
            return {tableAt(kSensorTable3, r - 31), 1};
        return {tableAt(kSensorTable3, r - 52), 4};
    case sensor::k3333:
        return r <= 79 ? RegisterPair{tableAt(kSensorTable4, r), 0}
                       : RegisterPair{tableAt(kSensorTable4, r - 40), 1};
    case sensor::k3335:
    case sensor::k33352:
        return r <= 160 ? RegisterPair{tableAt(kSensorTable1, r), 0}
                        : RegisterPair{tableAt(kSensorTable1, r - 40), 1};
    case sensor::k3360:
        return r <= 120 ? RegisterPair{byteOf(r - 1), 0} : RegisterPair{byteOf(r - 61), 1};
    case sensor::k3370:
        return r <= 200 ? RegisterPair{byteOf(r - 1), 0} : RegisterPair{byteOf(r - 101), 1};
    default:
        return {};
    }
}

// Sixteen bits low byte first; with a shift, the high byte carries the upper-range flag 0x80,
// so the shifted value keeps to fifteen bits.
RegisterPair wideDirect(int64_t r)
{
    const auto v = uint16_t(std::clamp<int64_t>(r, 0, 0xFFFF));
    return {uint8_t(v & 0xFF), uint8_t(v >> 8)};
}

RegisterPair wideShifted(int64_t r, int64_t shift)
{
    const auto v = uint16_t(std::clamp<int64_t>(r - shift, 0, 0x7FFF));
    return {uint8_t(v & 0xFF), uint8_t((v >> 8) | 0x80)};
}

bool isWide(int s)
{
    return s == sensor::k3389 || s == sensor::k3395 || s == sensor::k33952;
}

// The 16-bit sensors: `limit` is the largest raw value written directly.
RegisterPair widePair(int s, int64_t r, int64_t limit, uint8_t statusByte)
{
    switch (s) {
    case sensor::k3389:
        return r <= 320 ? wideDirect(r) : wideShifted(r, 160);
    case sensor::k3395:
        return wideDirect(statusByte == kStatusLimits3395 ? std::min<int64_t>(r, kLimited3395) : r);
    default: // 33952
        return r <= limit ? wideDirect(r) : wideShifted(r, 260);
    }
}

} // namespace

std::array<uint8_t, 4> encodeStageResolution(int sensorCode, uint32_t x, uint32_t y,
                                             uint8_t statusByte)
{
    RegisterPair first;
    RegisterPair second;
    if (isWide(sensorCode)) {
        // Sensor 33952 writes x directly up to 519 and y up to 520, as its firmware expects.
        first = widePair(sensorCode, x, 519, statusByte);
        second = widePair(sensorCode, y, 520, statusByte);
    } else if (sensorCode == sensor::k3104 || sensorCode == sensor::k31042) {
        first = pairOf(sensorCode, y);
        second = pairOf(sensorCode, x);
    } else if (sensorCode == sensor::k3335 || sensorCode == sensor::k33352) {
        first = second = pairOf(sensorCode, x); // one resolution for both axes
    } else {
        first = pairOf(sensorCode, x);
        second = pairOf(sensorCode, y);
    }
    return {first.code, first.range, second.code, second.range};
}

uint8_t sniperByte(int sensorCode, uint8_t value)
{
    switch (sensorCode) {
    case sensor::k3104:
    case sensor::k3212:
    case sensor::k3389:
        return value;
    case sensor::k3325:
        return tableAt(kSensorTable2, value);
    case sensor::k3327:
        return tableAt(kSensorTable3, value);
    case sensor::k3335:
        return tableAt(kSensorTable1, value);
    case sensor::k3360:
        return value == 0 ? 0 : uint8_t(value - 1);
    default:
        return 4;
    }
}

} // namespace mc
