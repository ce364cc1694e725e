// The logging category of profile and settings files.
#include "profile/log.h"

namespace mc {
// Debug messages are off unless asked for; warnings, which name a fault and its reason, stay on.
Q_LOGGING_CATEGORY(lcProfile, "mousecfg.profile", QtInfoMsg)
} // namespace mc
