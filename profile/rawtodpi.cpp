// Per-sensor raw-value-to-DPI rules. Most sensors step linearly in two or three ranges; they are
// kept as data. The 3212 rounds its steps to tens with a few corrections and stays in code.
#include "profile/rawtodpi.h"

#include <array>
#include <climits>
#include <cstddef>

namespace mc {

namespace {

// dpi = base + step * (raw - origin) for raw up to and including upTo.
struct Segment
{
    uint32_t upTo;
    int64_t base;
    int64_t step;
    int64_t origin;
};

struct SensorRule
{
    std::array<int, 3> codes;        // 0 fills unused places
    std::array<Segment, 3> segments; // the last one is open-ended
    int segmentCount;
    uint32_t exceptionRaw; // a single raw value with its own figure, or 0
    int64_t exceptionDpi;
};

constexpr uint32_t kOpen = UINT32_MAX;

constexpr std::array<SensorRule, 10> kRules = {{
    {{3325, 33252, 0}, {{{50, 0, 100, 0}, {75, 5000, 200, 50}, {kOpen, 10000, 400, 75}}}, 3, 0, 0},
    {{3327, 0, 0},
     {{{61, 100, 100, 0}, {92, 6200, 200, 61}, {kOpen, 12300, 300, 92}}},
     3,
     106,
     16400},
    {{3360, 3311, 33112}, {{{120, 0, 100, 0}, {kOpen, 12000, 200, 120}}}, 2, 0, 0},
    {{3389, 0, 0}, {{{320, 0, 50, 0}, {kOpen, 16000, 100, 320}}}, 2, 0, 0},
    {{3104, 31042, 0}, {{{106, 0, 40, 0}, {kOpen, -4240, 80, 0}}}, 2, 14, 500},
    {{3335, 33352, 0}, {{{160, 0, 100, 0}, {kOpen, 16000, 200, 160}}}, 2, 0, 0},
    {{3370, 0, 0}, {{{200, 0, 50, 0}, {kOpen, 10000, 100, 200}}}, 2, 0, 0},
    {{3333, 0, 0}, {{{80, 0, 100, 0}, {kOpen, 8000, 200, 80}}}, 2, 0, 0},
    {{3399, 0, 0}, {{{399, 50, 50, 0}, {kOpen, 20000, 100, 399}}}, 2, 0, 0},
    {{3395, 33952, 0}, {{{519, 50, 50, 0}, {kOpen, 26000, 100, 519}}}, 2, 0, 0},
}};

constexpr int kSensor3212 = 3212;

int64_t dpi3212(int64_t r)
{
    if (r < 64) {
        const int64_t t = 10 * (38 * r / 10);
        switch (t) {
        case 790:
            return 800;
        case 1210:
            return 1200;
        case 1630:
            return 1600;
        case 2390:
            return 2400;
        default:
            return t;
        }
    }
    if (r <= 94)
        return 10 * (76 * (r - 32) / 10);
    const int64_t t = 10 * (152 * (r - 63) / 10);
    return t == 7290 ? 7200 : t;
}

const SensorRule *findRule(int sensorCode)
{
    for (const SensorRule &rule : kRules) {
        for (const int code : rule.codes) {
            if (code != 0 && code == sensorCode)
                return &rule;
        }
    }
    return nullptr;
}

int clampToInt(int64_t v)
{
    return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : int(v));
}

} // namespace

int RawToDpi(uint32_t raw, int sensorCode)
{
    if (sensorCode == kSensor3212)
        return clampToInt(dpi3212(raw));
    const SensorRule *rule = findRule(sensorCode);
    if (!rule)
        return 0;
    if (rule->exceptionRaw != 0 && raw == rule->exceptionRaw)
        return clampToInt(rule->exceptionDpi);
    for (int i = 0; i < rule->segmentCount; ++i) {
        const Segment &s = rule->segments[std::size_t(i)];
        if (raw <= s.upTo)
            return clampToInt(s.base + s.step * (int64_t(raw) - s.origin));
    }
    return 0; // not reached: the last segment is open-ended
}

bool DpiMatches(int a, int b)
{
    return int64_t(a) >= int64_t(b) - 9 && int64_t(a) <= int64_t(b) + 9;
}

} // namespace mc
