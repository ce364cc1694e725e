// Scale table and the process-wide factor and language index.
#include "widgets/uiscale.h"

#include <array>

namespace mc {

namespace {

// Upper bounds (exclusive) of the ratio for steps 0..15; anything above is step 16.
constexpr std::array<double, kScaleStepCount - 1> kRatioBounds = {
    1.1, 1.4, 1.6, 1.8, 2.1, 2.3, 2.6, 2.8, 3.1, 3.3, 3.6, 3.8, 4.1, 4.3, 4.6, 4.8};

constexpr std::array<int, 4> kFirstWidths = {999, 1248, 1498, 1748};
constexpr int kWidthTolerance = 9;

double g_factor = 1.0;
int g_language = 0;

} // namespace

double factorOfStep(int step)
{
    if (step < 0)
        step = 0;
    if (step >= kScaleStepCount)
        step = kScaleStepCount - 1;
    return 1.0 + 0.25 * step;
}

ScaleStep scaleForRatio(double ratio)
{
    int step = kScaleStepCount - 1;
    for (int i = 0; i < int(kRatioBounds.size()); ++i) {
        if (ratio < kRatioBounds[size_t(i)]) {
            step = i;
            break;
        }
    }
    return {step, factorOfStep(step)};
}

ScaleStep scaleForDpi(double logicalDpi)
{
    return scaleForRatio(logicalDpi / 96.0);
}

bool scaleForWidth(int width, ScaleStep &out)
{
    for (int i = 0; i < int(kFirstWidths.size()); ++i) {
        const int d = width - kFirstWidths[size_t(i)];
        if (d >= -kWidthTolerance && d <= kWidthTolerance) {
            out = {i, factorOfStep(i)};
            return true;
        }
    }
    return false;
}

ScaleStep fitScaleStep(ScaleStep s, int areaWidth, int areaHeight)
{
    if (areaWidth <= 0 || areaHeight <= 0)
        return s;
    while (s.step > 0 && (int(kDesignWidth * s.factor) > areaWidth ||
                          int(kDesignHeight * s.factor) > areaHeight)) {
        --s.step;
        s.factor = factorOfStep(s.step);
    }
    return s;
}

double scaleFactor()
{
    return g_factor;
}

void setScaleFactor(double factor)
{
    // Only the table's values are meaningful; anything else would blow every geometry up.
    g_factor = (factor >= 1.0 && factor <= 5.0) ? factor : 1.0;
}

int scaled(double designValue)
{
    return int(designValue * g_factor);
}

QRect scaledRect(int x, int y, int w, int h)
{
    return QRect(scaled(x), scaled(y), scaled(w), scaled(h));
}

int uiLanguage()
{
    return g_language;
}
void setUiLanguage(int language)
{
    g_language = language;
}

} // namespace mc
