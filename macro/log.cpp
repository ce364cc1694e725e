// The logging category of macros.
#include "macro/log.h"

namespace mc {
// Debug messages are off unless asked for; warnings, which name a fault and its reason, stay on.
Q_LOGGING_CATEGORY(lcMacro, "mousecfg.macro", QtInfoMsg)
} // namespace mc
