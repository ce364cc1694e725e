// The logging category of the window and its start-up.
#include "app/log.h"

namespace mc {
// Debug messages are off unless asked for; warnings, which name a fault and its reason, stay on.
Q_LOGGING_CATEGORY(lcApp, "mousecfg.app", QtInfoMsg)
} // namespace mc
