// Slider ranges of the DPI editor per sensor.
#include "performance/dpirange.h"

#include <array>

namespace mc {

namespace {

enum class Rule
{
    Always,
    Without33254, // PROFILE/33254 is not 1
    With33254,
    ShortProduct, // sensor 3327 in a product that stops at 12400 DPI
    OtherProduct
};

struct RangeRow
{
    int sensor;
    Rule rule;
    int lowest;
    int highest;
    bool linkShown;
};

constexpr std::array<RangeRow, 20> kRanges = {{
    {3325, Rule::Without33254, 1, 50, false},
    {3325, Rule::With33254, 1, 90, false},
    {33252, Rule::Without33254, 1, 75, false},
    {33252, Rule::With33254, 1, 90, false},
    {3311, Rule::Always, 1, 120, false},
    {33112, Rule::Always, 1, 180, false},
    {3360, Rule::Always, 1, 180, true},
    {3370, Rule::Always, 1, 290, false},
    {3327, Rule::ShortProduct, 1, 92, false},
    {3327, Rule::OtherProduct, 1, 106, false},
    {3389, Rule::Always, 2, 480, true},
    {3212, Rule::Always, 16, 111, false},
    {3104, Rule::Always, 14, 105, true},
    {31042, Rule::Always, 14, 158, true},
    {3335, Rule::Always, 1, 160, false},
    {33352, Rule::Always, 1, 240, false},
    {3333, Rule::Always, 2, 120, false},
    {3399, Rule::Always, 0, 599, true},
    {3395, Rule::Always, 0, 519, false},
    {33952, Rule::Always, 0, 779, false},
}};

// Products whose 3327 sensor is limited to 12400 DPI; compared exactly, case included.
constexpr std::array<const char *, 9> kShort3327Products = {
    "Q344-RGB", "BRELLIX", "9136", "MORVAK3", "TELLUN", "Q630-RGB", "ORRIKAN2", "HALVEEN2",
    "CASTRELL"};

bool isShort3327Product(const QString &name)
{
    for (const char *p : kShort3327Products) {
        if (name == QLatin1String(p))
            return true;
    }
    return false;
}

bool ruleHolds(Rule rule, int flag33254, bool shortProduct)
{
    switch (rule) {
    case Rule::Always:
        return true;
    case Rule::Without33254:
        return flag33254 != 1;
    case Rule::With33254:
        return flag33254 == 1;
    case Rule::ShortProduct:
        return shortProduct;
    case Rule::OtherProduct:
        return !shortProduct;
    }
    return false;
}

} // namespace

bool dpiRangeFor(int sensorCode, int flag33254, const QString &productName, DpiRange &out)
{
    const bool shortProduct = isShort3327Product(productName);
    for (const RangeRow &row : kRanges) {
        if (row.sensor == sensorCode && ruleHolds(row.rule, flag33254, shortProduct)) {
            out = DpiRange{row.lowest, row.highest, row.linkShown};
            return true;
        }
    }
    return false;
}

} // namespace mc
