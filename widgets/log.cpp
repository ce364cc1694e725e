// The logging category of the common widgets.
#include "widgets/log.h"

namespace mc {
// Debug messages are off unless asked for; warnings, which name a fault and its reason, stay on.
Q_LOGGING_CATEGORY(lcWidgets, "mousecfg.widgets", QtInfoMsg)
} // namespace mc
