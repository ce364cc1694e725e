// The logging category of button assignment.
#include "buttons/log.h"

namespace mc {
// Debug messages are off unless asked for; warnings, which name a fault and its reason, stay on.
Q_LOGGING_CATEGORY(lcButtons, "mousecfg.buttons", QtInfoMsg)
} // namespace mc
