// The actions the macro editor's mouse commands insert: a button click or half of one, or a
// movement, each followed by the delay its macro's delay type asks for. Pure functions; the
// editor's command tree and its edit panel use them, so both write the same bytes.
#pragma once

#include "macro/macroaction.h"
#include "macro/macrofile.h"

#include <QString>
#include <QVector>

namespace mc::mousecmd {

// The editor's button order: left, middle, right, forward, backward.
constexpr int kButtonCount = 5;
// The button bit of a command index (0 for an index outside 0..4), and back (-1 when unknown).
uint8_t buttonBit(int iButton);
int buttonIndex(uint8_t bit);

enum class Part
{
    Click,   // press and release
    Press,   // "PRESS DOWN"
    Release, // "BOUNCE UP"
};

enum class Direction
{
    Left,
    Right,
    Up,
    Down,
};
constexpr int kDirectionCount = 4;

// The names the editor shows for the buttons and directions (translated, context
// "MacroDialog"); empty outside the range.
QString buttonName(int iButton);
QString directionName(Direction dir);

// The delay that follows an inserted command: 10 ms for recorded delays (type 1), the default
// delay for type 2, none for type 0 (returns false).
bool delayAfter(const MacroSettings &settings, int iUnit, MacroAction &out);

QVector<MacroAction> buttonCommand(int iButton, Part part, const MacroSettings &settings,
                                   int iUnit);

// One movement of the distance (clamped to 1..120) in the direction.
MacroAction moveAction(Direction dir, int iDistance);
QVector<MacroAction> moveCommand(Direction dir, int iDistance, const MacroSettings &settings,
                                 int iUnit);
// The direction and distance of a movement action (a zero movement reads as 1 to the right).
Direction directionOf(const MacroAction &a);
int distanceOf(const MacroAction &a);

} // namespace mc::mousecmd
