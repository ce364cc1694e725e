// The logging category of the performance panels: quiet unless --verbose or QT_LOGGING_RULES asks for it.
#pragma once

#include <QLoggingCategory>

namespace mc {
Q_DECLARE_LOGGING_CATEGORY(lcPerformance)
} // namespace mc
