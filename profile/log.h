// The logging category of profile and settings files: quiet unless --verbose or QT_LOGGING_RULES asks for it.
#pragma once

#include <QLoggingCategory>

namespace mc {
Q_DECLARE_LOGGING_CATEGORY(lcProfile)
} // namespace mc
