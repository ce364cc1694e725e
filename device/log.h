// The logging category of the device layer: quiet unless --verbose or QT_LOGGING_RULES asks for it.
#pragma once

#include <QLoggingCategory>

namespace mc {
Q_DECLARE_LOGGING_CATEGORY(lcDevice)
} // namespace mc
