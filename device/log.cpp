// The logging category of the device layer.
#include "device/log.h"

namespace mc {
// Debug messages are off unless asked for; warnings, which name a fault and its reason, stay on.
Q_LOGGING_CATEGORY(lcDevice, "mousecfg.device", QtInfoMsg)
} // namespace mc
