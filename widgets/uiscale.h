// The user interface's scale: every position, size and font pixel size is a design value for a
// 999 x 640 window times one factor chosen from the screen's logical DPI. Also the language
// index that the shared font rule reads. Both are process-wide and set on the user-interface
// thread by the main window; every widget reads them when it lays out or paints.
#pragma once

#include <QRect>

namespace mc {

constexpr int kScaleStepCount = 17;
constexpr int kDesignWidth = 999;
constexpr int kDesignHeight = 640;

struct ScaleStep
{
    int step = 0;
    double factor = 1.0;
};

// The step for a ratio of logical DPI to 96; the first row whose bound the ratio is below wins,
// so a ratio of exactly 1.1 already gives 1.25.
ScaleStep scaleForRatio(double ratio);
ScaleStep scaleForDpi(double logicalDpi);
double factorOfStep(int step); // clamped to the table

// The fallback used when the window still has its first size: a width within 9 pixels of
// 999, 1248, 1498 or 1748 names steps 0 to 3. False when the width matches none.
bool scaleForWidth(int width, ScaleStep &out);

// The largest step not above s whose window (the design size times its factor) fits an area of
// the given size; step 0 when none does. An empty area (size unknown) keeps s.
ScaleStep fitScaleStep(ScaleStep s, int areaWidth, int areaHeight);

double scaleFactor();
void setScaleFactor(double factor);

// Design value times the factor, truncated, as every geometry of the program is computed.
int scaled(double designValue);
QRect scaledRect(int x, int y, int w, int h);

int uiLanguage();
void setUiLanguage(int language);

} // namespace mc
