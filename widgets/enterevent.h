// The event type of QWidget::enterEvent, which Qt 6 changed: overrides name this one type.
#pragma once

#include <QEnterEvent>

namespace mc {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
using EnterEvent = QEnterEvent;
#else
using EnterEvent = QEvent;
#endif
} // namespace mc
