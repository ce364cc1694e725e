// Window dragging threshold.
#include "app/dragtracker.h"

#include <cstdlib>

namespace mc {

void DragTracker::press(const QPointF &globalCursor, const QPoint &frameTopLeft)
{
    m_dragging = true;
    m_pressCursor = globalCursor.toPoint(); // halves away from zero
    m_pressTopLeft = frameTopLeft;
}

bool DragTracker::move(const QPointF &globalCursor, QPoint &newTopLeft) const
{
    if (!m_dragging)
        return false;
    const QPoint d = globalCursor.toPoint() - m_pressCursor;
    if (std::abs(d.x()) + std::abs(d.y()) <= kThreshold)
        return false;
    newTopLeft = m_pressTopLeft + d;
    return true;
}

} // namespace mc
