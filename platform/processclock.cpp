// Monotonic process clock.
#include "platform/processclock.h"

#include <QElapsedTimer>

namespace mc {

qint64 processClockMs()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

} // namespace mc
