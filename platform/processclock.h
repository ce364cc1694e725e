// The process clock in milliseconds: the time base of recorded macro delays.
#pragma once

#include <QtGlobal>

namespace mc {

// Milliseconds since the process first asked; monotonic, so a clock change on the desktop
// cannot produce a negative delay between two recorded key events.
qint64 processClockMs();

} // namespace mc
