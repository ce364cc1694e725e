// Gun file steps.
#include "macro/gun/gunsteps.h"

namespace mc {

QVector<MacroAction> gunSteps(const QVector<GunShot> &shots, int iUnit)
{
    QVector<MacroAction> steps;
    steps.reserve(shots.size() * 5);
    for (const GunShot &shot : shots) {
        steps << macro::buttonPress(macro::kButtonLeft) << macro::buttonRelease(macro::kButtonLeft);
        if (shot.vertical != 0)
            steps << macro::move(0, shot.vertical);
        if (shot.horizontal != 0)
            steps << macro::move(shot.horizontal, 0);
        if (shot.delayMs != 0)
            steps << macro::delayMs(shot.delayMs, iUnit);
    }
    return steps;
}

} // namespace mc
