// The logging category of the emulated mouse.
#include "emulator/log.h"

namespace mc {
// Debug messages are off unless asked for; warnings, which name a fault and its reason, stay on.
Q_LOGGING_CATEGORY(lcEmulator, "mousecfg.emulator", QtInfoMsg)
} // namespace mc
