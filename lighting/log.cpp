// The logging category of the lighting panel.
#include "lighting/log.h"

namespace mc {
// Debug messages are off unless asked for; warnings, which name a fault and its reason, stay on.
Q_LOGGING_CATEGORY(lcLighting, "mousecfg.lighting", QtInfoMsg)
} // namespace mc
