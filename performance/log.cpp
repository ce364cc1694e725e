// The logging category of the performance panels.
#include "performance/log.h"

namespace mc {
// Debug messages are off unless asked for; warnings, which name a fault and its reason, stay on.
Q_LOGGING_CATEGORY(lcPerformance, "mousecfg.performance", QtInfoMsg)
} // namespace mc
