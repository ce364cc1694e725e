// The first frame of a program as the X server sees it: the first drawing into a top-level
// window of at least kMinSide pixels each way, reported by the DAMAGE extension. This is where
// the user sees the window, after the program has painted and its backing store has been put on
// the screen, not a line printed inside a paint handler.
#pragma once

#include <QElapsedTimer>
#include <QString>

struct xcb_connection_t;

class FirstFrameWatch
{
public:
    static constexpr int kMinSide = 200;

    // Watches the root window of `display` for new top-level windows from now on.
    explicit FirstFrameWatch(const QString &display);
    ~FirstFrameWatch();
    FirstFrameWatch(const FirstFrameWatch &) = delete;
    FirstFrameWatch &operator=(const FirstFrameWatch &) = delete;

    // False when the server could not be reached or has no DAMAGE extension.
    bool ok() const { return m_ok; }
    // Milliseconds on `since` when a new window was first drawn; -1 after timeoutMs.
    double waitForFirstFrame(const QElapsedTimer &since, int timeoutMs);

private:
    xcb_connection_t *m_connection = nullptr;
    unsigned m_root = 0;
    int m_damageEvent = 0;
    bool m_ok = false;
};
