// Window dragging threshold.
#include "app/dragtracker.h"
#include "platform/waylandsession.h"

#include <QGuiApplication>
#include <QWindow>

#include <cmath>
#include <cstdlib>

namespace mc {

namespace {

// Nearest integer with halves away from zero on both sides of the origin (QPointF::toPoint
// rounds -0.5 up to 0, which matters on screens left of or above the primary one).
QPoint roundedPoint(const QPointF &p)
{
    return QPoint(int(std::lround(p.x())), int(std::lround(p.y())));
}

} // namespace

void DragTracker::press(const QPointF &globalCursor, const QPoint &frameTopLeft)
{
    m_dragging = true;
    m_pressCursor = roundedPoint(globalCursor);
    m_pressTopLeft = frameTopLeft;
}

bool DragTracker::move(const QPointF &globalCursor, QPoint &newTopLeft) const
{
    if (!m_dragging)
        return false;
    const QPoint d = roundedPoint(globalCursor) - m_pressCursor;
    if (std::abs(d.x()) + std::abs(d.y()) <= kThreshold)
        return false;
    newTopLeft = m_pressTopLeft + d;
    return true;
}

bool DragTracker::systemMoves()
{
    // Natively on Wayland a window cannot place itself at all; on XWayland the compositor may
    // overrule an X11 window's own move (sway centres a floating one again), while the
    // window manager's move (_NET_WM_MOVERESIZE, which Qt sends) works everywhere.
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) || waylandSession();
}

bool DragTracker::handOver(QWindow *window)
{
    if (!window || !systemMoves())
        return false;
    // The compositor follows the pointer from here; a failed request leaves our own move,
    // which does nothing worse than not moving.
    if (!window->startSystemMove())
        return false;
    m_dragging = false;
    return true;
}

} // namespace mc
