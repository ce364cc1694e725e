// The window-dragging rule: a left press remembers the cursor and the window's top-left; a
// move takes the window along only once the cursor has travelled more than 4 pixels
// (|dx| + |dy|), so a click on the background does not nudge the window. Where a window cannot
// place itself (Wayland ignores a client's move), the drag is handed to the compositor once the
// threshold is passed: it moves the window with the pointer until the button is released. The
// same on XWayland, where the compositor may overrule an X11 window's own move.
#pragma once

#include <QPoint>
#include <QPointF>

class QWindow;

namespace mc {

class DragTracker
{
public:
    static constexpr int kThreshold = 4;

    void press(const QPointF &globalCursor, const QPoint &frameTopLeft);
    // The window's new top-left, or false while not dragging or within the threshold.
    bool move(const QPointF &globalCursor, QPoint &newTopLeft) const;
    void release() { m_dragging = false; }
    // Called where move() gave a new top-left: true when the window system took the drag over
    // (the press is then over and the window must not be moved by us); false in an X11
    // session and on Windows, where the window moves itself.
    bool handOver(QWindow *window);
    // True where windows are moved by the window system rather than by themselves.
    static bool systemMoves();
    bool dragging() const { return m_dragging; }

private:
    bool m_dragging = false;
    QPoint m_pressCursor;
    QPoint m_pressTopLeft;
};

} // namespace mc
