// Gun files: a macro generated from a short description of a burst of shots (left clicks with a
// pause and a pointer correction after each), so that one button can fire a few shots while
// pulling the pointer against a weapon's recoil. User-interface thread.
#pragma once
#include <QString>

class QWidget;

namespace mc {

// Runs the whole "GUN SET" flow for the macro editor: refuses when the macro list is full, asks
// for the description, and creates the macro under a free form of the entered name. Returns the
// name of the macro created, or an empty string when nothing was created (refused, cancelled or
// the file system failed; the user has been told where that matters).
QString runGunSet(QWidget *parent);

} // namespace mc
