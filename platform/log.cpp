// The logging category of the platform services.
#include "platform/log.h"

namespace mc {
// Debug messages are off unless asked for; warnings, which name a fault and its reason, stay on.
Q_LOGGING_CATEGORY(lcPlatform, "mousecfg.platform", QtInfoMsg)
} // namespace mc
