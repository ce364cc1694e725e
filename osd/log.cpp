// The logging category of the on-screen display.
#include "osd/log.h"

namespace mc {
// Debug messages are off unless asked for; warnings, which name a fault and its reason, stay on.
Q_LOGGING_CATEGORY(lcOsd, "mousecfg.osd", QtInfoMsg)
} // namespace mc
