// The window-dragging rule: a left press remembers the cursor and the window's top-left; a
// move takes the window along only once the cursor has travelled more than 4 pixels
// (|dx| + |dy|), so a click on the background does not nudge the window.
#pragma once

#include <QPoint>
#include <QPointF>

namespace mc {

class DragTracker
{
public:
    static constexpr int kThreshold = 4;

    void press(const QPointF &globalCursor, const QPoint &frameTopLeft);
    // The window's new top-left, or false while not dragging or within the threshold.
    bool move(const QPointF &globalCursor, QPoint &newTopLeft) const;
    void release() { m_dragging = false; }
    bool dragging() const { return m_dragging; }

private:
    bool m_dragging = false;
    QPoint m_pressCursor;
    QPoint m_pressTopLeft;
};

} // namespace mc
