// The logging category of the common widgets: quiet unless --verbose or QT_LOGGING_RULES asks for it.
#pragma once

#include <QLoggingCategory>

namespace mc {
Q_DECLARE_LOGGING_CATEGORY(lcWidgets)
} // namespace mc
