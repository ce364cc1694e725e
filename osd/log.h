// The logging category of the on-screen display: quiet unless --verbose or QT_LOGGING_RULES asks for it.
#pragma once

#include <QLoggingCategory>

namespace mc {
Q_DECLARE_LOGGING_CATEGORY(lcOsd)
} // namespace mc
