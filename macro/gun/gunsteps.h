// The steps of a gun file: for each shot a left click, then the pointer correction against the
// recoil and the pause before the next shot. Pure; the "GUN SET" dialog shows these steps and
// the gun file is made of them. Any thread.
#pragma once

#include "macro/macroaction.h"

#include <QVector>

namespace mc {

struct GunShot
{
    int delayMs = 100;  // pause after the shot
    int vertical = 0;   // positive down, negative up
    int horizontal = 0; // positive right, negative left
};

constexpr int kMaxGunShots = 5;

// For each shot in order: left button press and release, the vertical movement (unless 0), the
// horizontal movement (unless 0) and the pause as whole delay units of iUnit ms (unless 0).
// Movements beyond the macro movement limit are clamped to it.
QVector<MacroAction> gunSteps(const QVector<GunShot> &shots, int iUnit);

} // namespace mc
