// What a receiver in use sends besides the mouse's answers: the pointer's movement at a rate, and
// keyboard and consumer keys, on their own collections with their report IDs.
#include "emulator/emulatedmouse.h"

#include <QMutexLocker>

#include <algorithm>

namespace mc {

namespace {
constexpr char kPointerId = 1;
constexpr char kKeyboardId = 2;
constexpr char kConsumerId = 3;
constexpr int kPointerSize = 8;  // id, buttons, x (16), y (16), wheel, pan
constexpr int kKeyboardSize = 9; // id, modifiers, reserved, six keys
constexpr int kConsumerSize = 3; // id, usage (16)
constexpr int kConsumerPage = 0x0C;
constexpr int kMaxMotionHz = 8000;
// A reader away for long finds its queue full of the oldest reports; making more than this many
// behind the reader changes nothing of what it will read.
constexpr int kMotionCatchUp = 256;
// A small circle, so that x and y take every sign and size a hand gives them.
constexpr int kPath[][2] = {{3, 0}, {2, 2}, {0, 3}, {-2, 2}, {-3, 0}, {-2, -2}, {0, -3}, {2, -2}};
} // namespace

EmulatedMouse::Attachment EmulatedMouse::linkLocked() const
{
    return m_plugged[size_t(Attachment::Cable)] ? Attachment::Cable : Attachment::Receiver;
}

qint64 EmulatedMouse::pumpMotionLocked()
{
    if (m_motionHz <= 0)
        return -1;
    const qint64 interval = 1000000 / m_motionHz;
    const qint64 now = m_clock.nsecsElapsed() / 1000;
    const Attachment link = linkLocked();
    if (!m_plugged[size_t(link)]) {
        m_motionNextUs = now + interval; // nothing moves on a link that is not there
        return m_motionNextUs / 1000;
    }
    m_motionNextUs = std::max(m_motionNextUs, now - interval * kMotionCatchUp);
    while (m_motionNextUs <= now) {
        const int *step = kPath[m_motionStep++ % int(std::size(kPath))];
        QByteArray r(kPointerSize, '\0');
        r[0] = kPointerId;
        r[2] = char(step[0] & 0xFF);
        r[3] = char((step[0] >> 8) & 0xFF);
        r[4] = char(step[1] & 0xFF);
        r[5] = char((step[1] >> 8) & 0xFF);
        pushLocked(link, Collection::Pointer, r, m_motionNextUs / 1000);
        m_motionNextUs += interval;
    }
    m_arrived.wakeAll();
    return m_motionNextUs / 1000;
}

void EmulatedMouse::setMotion(int hz)
{
    QMutexLocker lock(&m_mutex);
    pumpMotionLocked(); // what was due at the old rate
    m_motionHz = std::clamp(hz, 0, kMaxMotionHz);
    m_motionNextUs = m_clock.nsecsElapsed() / 1000;
    m_arrived.wakeAll();
}

int EmulatedMouse::motion() const
{
    QMutexLocker lock(&m_mutex);
    return m_motionHz;
}

void EmulatedMouse::sendKey(int usage)
{
    QMutexLocker lock(&m_mutex);
    const Attachment link = linkLocked();
    const bool consumer = (usage >> 16) == kConsumerPage;
    if (!m_plugged[size_t(link)] || usage <= 0 || (!consumer && usage > 0xFF))
        return;
    const qint64 now = m_clock.elapsed();
    if (!consumer) {
        QByteArray press(kKeyboardSize, '\0');
        press[0] = kKeyboardId;
        press[3] = char(usage);
        QByteArray release(kKeyboardSize, '\0');
        release[0] = kKeyboardId;
        queueLocked(link, Collection::Keyboard, press, now);
        queueLocked(link, Collection::Keyboard, release, now);
    } else {
        QByteArray press(kConsumerSize, '\0');
        press[0] = kConsumerId;
        press[1] = char(usage & 0xFF);
        press[2] = char((usage >> 8) & 0xFF);
        QByteArray release(kConsumerSize, '\0');
        release[0] = kConsumerId;
        queueLocked(link, Collection::Consumer, press, now);
        queueLocked(link, Collection::Consumer, release, now);
    }
}

void EmulatedMouse::queueCollectionReport(Attachment attachment, Collection collection,
                                          const QByteArray &report)
{
    QMutexLocker lock(&m_mutex);
    if (m_plugged[size_t(attachment)])
        queueLocked(attachment, collection, report, m_clock.elapsed());
}

} // namespace mc
