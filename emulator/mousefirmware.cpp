// The emulated mouse's side of the protocol: checking each written report, echoing it,
// answering status queries, and keeping the device memory with its pending block copies.
#include "device/reportframe.h"
#include "emulator/emulatedmouse.h"

#include <QMutexLocker>
#include <QRandomGenerator>

namespace mc {

namespace {
// Unread reports one handle keeps. A hidraw node buffers its reports in a ring of 64 entries
// that always keeps one free, and a report that finds the ring full is discarded.
constexpr int kQueueLimit = 63;
constexpr int kSlotCount = 5;
constexpr int kStageCount = 8;
constexpr int kGeneralActiveSlot = 6;
constexpr int kGeneralActiveStage = 17;
static_assert(kGeneralActiveStage < kGeneralBlockSize, "the active stage lies in the block");
constexpr uint8_t kBracketOpen = 0;
constexpr uint8_t kBracketClose = 1;

uint8_t at(const QByteArray &r, int i)
{
    return uint8_t(r.at(i));
}

// The block a commit selector applies (0 for an unknown selector).
uint8_t blockOfSelector(uint8_t selector)
{
    switch (selector) {
    case 0x01:
        return frame::kGeneralBlock;
    case 0x02:
        return frame::kDpiBlock;
    case 0x04:
        return frame::kButtonBlock;
    case 0x08:
        return frame::kLightingBlock;
    case 0x10:
        return frame::kMacroBlock;
    default:
        return 0;
    }
}
} // namespace

bool EmulatedMouse::handleReportLocked(Attachment attachment, const QByteArray &report)
{
    if (at(report, frame::kReportId) != frame::kReportIdValue ||
        at(report, frame::kMark) != frame::kMarkValue ||
        at(report, frame::kChecksum) !=
            Checksum(reinterpret_cast<const uint8_t *>(report.constData())))
        return false;
    const uint8_t command = at(report, frame::kCommand);
    switch (command) {
    case frame::kGeneralBlock:
    case frame::kDpiBlock:
    case frame::kButtonBlock:
    case frame::kLightingBlock:
    case frame::kMacroBlock:
        if (!blockWriteLocked(report))
            return false;
        answerLocked(attachment, report);
        return true;
    case frame::kCommit:
        if (at(report, frame::kOffsetLow) != frame::kCommitMark)
            return false;
        commitLocked(at(report, frame::kOffsetHigh));
        answerLocked(attachment, report);
        return true;
    case frame::kWriteBracket: {
        const uint8_t edge = at(report, frame::kOffsetLow);
        if (edge != kBracketOpen && edge != kBracketClose)
            return false;
        // A write sequence starts from nothing, and what it did not commit does not outlive it.
        dropPendingLocked();
        m_bracketOpen = edge == kBracketOpen;
        answerLocked(attachment, report);
        return true;
    }
    case frame::kSelectProfile:
        if (at(report, frame::kOffsetLow) < kSlotCount)
            m_activeSlot = at(report, frame::kOffsetLow);
        return true;
    case frame::kStatus:
        deliverLocked(attachment, statusAnswerLocked());
        return true;
    default:
        return false;
    }
}

bool EmulatedMouse::blockWriteLocked(const QByteArray &report)
{
    const uint8_t command = at(report, frame::kCommand);
    const int offset = at(report, frame::kOffsetLow) | (at(report, frame::kOffsetHigh) << 8);
    const int length = at(report, frame::kLength);
    const uint8_t phase = at(report, frame::kPhase);
    Block &b = block(command);
    if (!m_bracketOpen || length > frame::kMaxData)
        return false;

    switch (phase) {
    case frame::kPhaseFirst:
        if (offset != 0 || length > blockSize(command))
            return false;
        b.pending = b.memory;
        b.stage = Stage::Writing;
        break;
    case frame::kPhaseMore:
        if (b.stage != Stage::Writing || offset + length > blockSize(command))
            return false;
        break;
    case frame::kPhaseClose: {
        const int closeAt =
            command == frame::kMacroBlock ? frame::kMacroCloseOffset : frame::kCloseOffset;
        if (offset != closeAt || length != 1 || at(report, frame::kData) != frame::kCloseData ||
            b.stage == Stage::Idle)
            return false;
        b.stage = Stage::Closed;
        if (command == frame::kMacroBlock)
            applyLocked(command);
        return true;
    }
    default:
        return false;
    }
    b.pending.replace(offset, length, report.mid(frame::kData, length));
    return true;
}

void EmulatedMouse::commitLocked(uint8_t selector)
{
    const uint8_t command = blockOfSelector(selector);
    if (command != 0 && block(command).stage == Stage::Closed)
        applyLocked(command);
}

void EmulatedMouse::applyLocked(uint8_t command)
{
    Block &b = block(command);
    b.memory = b.pending;
    b.pending.clear();
    b.stage = Stage::Idle;
    ++m_commitCount;
    if (command == frame::kGeneralBlock) {
        if (at(b.memory, kGeneralActiveSlot) < kSlotCount)
            m_activeSlot = at(b.memory, kGeneralActiveSlot);
        if (at(b.memory, kGeneralActiveStage) < kStageCount)
            m_activeStage = at(b.memory, kGeneralActiveStage);
    }
}

void EmulatedMouse::dropPendingLocked()
{
    for (Block &b : m_blocks) {
        b.pending.clear();
        b.stage = Stage::Idle;
    }
}

QByteArray EmulatedMouse::statusAnswerLocked() const
{
    frame::Report r{};
    r[frame::kReportId] = frame::kReportIdValue;
    r[frame::kMark] = frame::kMarkValue;
    r[frame::kCommand] = frame::kStatus;
    if (!m_mouseOff) {
        r[frame::kBatteryLow] = uint8_t(m_batteryRaw & 0xFF);
        r[frame::kBatteryHigh] = uint8_t(m_batteryRaw >> 8);
        r[frame::kCharging] = (m_charging || m_plugged[size_t(Attachment::Cable)]) ? 1 : 0;
        r[frame::kWriteState] = m_writeState;
    }
    r[frame::kStatusByte] = m_statusByte;
    r[frame::kChecksum] = Checksum(r.data());
    return QByteArray(reinterpret_cast<const char *>(r.data()), kReportSize);
}

void EmulatedMouse::answerLocked(Attachment attachment, const QByteArray &report)
{
    QByteArray echo = report.left(kReportSize);
    for (EchoFault &f : m_echoFaults) {
        if (f.remaining == 0 || f.byteIndex < 0 || f.byteIndex >= echo.size())
            continue;
        echo[f.byteIndex] = char(at(echo, f.byteIndex) ^ f.mask);
        if (f.remaining > 0)
            --f.remaining;
    }
    deliverLocked(attachment, echo);
}

void EmulatedMouse::deliverLocked(Attachment attachment, QByteArray report)
{
    if (m_silent)
        return;
    if (m_zeroAnswers)
        report = QByteArray(kReportSize, '\0');
    const int delay = m_maxDelay > m_minDelay
                          ? int(QRandomGenerator::global()->bounded(m_minDelay, m_maxDelay + 1))
                          : m_minDelay;
    queueLocked(attachment, Collection::Command, report, m_clock.elapsed() + delay);
}

void EmulatedMouse::queueLocked(Attachment attachment, Collection collection,
                                const QByteArray &report, qint64 readyAt)
{
    // What was due before this report comes before it, or is dropped before it when the queue
    // fills, as on the node.
    pumpMotionLocked();
    pushLocked(attachment, collection, report, readyAt);
}

void EmulatedMouse::pushLocked(Attachment attachment, Collection collection,
                               const QByteArray &report, qint64 readyAt)
{
    for (auto &entry : m_handles) {
        Handle &h = entry.second;
        // A pointer report made while nobody read is stamped with when the pointer moved: a
        // handle opened after that never receives it, as a node's new file starts empty.
        if (h.attachment != attachment || !(h.collections & (1u << int(collection))) ||
            !handleAlive(h) || readyAt < h.openedAt)
            continue;
        if (int(h.queue.size()) < kQueueLimit)
            h.queue.emplace_back(readyAt, report);
    }
    m_arrived.wakeAll();
}

void EmulatedMouse::sendChangeReport(uint8_t profile, uint8_t stage, uint8_t rate, uint8_t mode)
{
    QMutexLocker lock(&m_mutex);
    const Attachment link =
        m_plugged[size_t(Attachment::Cable)] ? Attachment::Cable : Attachment::Receiver;
    if (!m_plugged[size_t(link)])
        return;
    if (profile < kSlotCount)
        m_activeSlot = profile;
    if (stage < kStageCount)
        m_activeStage = stage;
    frame::Report r{};
    r[frame::kReportId] = frame::kReportIdValue;
    r[frame::kMark] = frame::kMarkValue;
    r[frame::kCommand] = frame::kChangeReport;
    r[frame::kChangeProfile] = profile;
    r[frame::kChangeStage] = stage;
    r[frame::kChangeRate] = rate;
    r[frame::kChangeMode] = mode;
    r[frame::kChecksum] = Checksum(r.data());
    deliverLocked(link, QByteArray(reinterpret_cast<const char *>(r.data()), kReportSize));
}

void EmulatedMouse::queueInputReport(Attachment attachment, const QByteArray &report)
{
    QMutexLocker lock(&m_mutex);
    if (m_plugged[size_t(attachment)])
        deliverLocked(attachment, report);
}

// --- settings and faults ---

void EmulatedMouse::setBatteryRaw(uint16_t raw)
{
    QMutexLocker lock(&m_mutex);
    m_batteryRaw = raw;
}

void EmulatedMouse::setCharging(bool charging)
{
    QMutexLocker lock(&m_mutex);
    m_charging = charging;
}

void EmulatedMouse::setWriteState(uint8_t state)
{
    QMutexLocker lock(&m_mutex);
    m_writeState = state;
}

void EmulatedMouse::setStatusByte(uint8_t status)
{
    QMutexLocker lock(&m_mutex);
    m_statusByte = status;
}

void EmulatedMouse::setMouseOff(bool off)
{
    QMutexLocker lock(&m_mutex);
    m_mouseOff = off;
}

void EmulatedMouse::setAnswerDelay(int minMs, int maxMs)
{
    QMutexLocker lock(&m_mutex);
    m_minDelay = qMax(0, minMs);
    m_maxDelay = qMax(m_minDelay, maxMs);
}

void EmulatedMouse::setSilent(bool silent)
{
    QMutexLocker lock(&m_mutex);
    m_silent = silent;
}

void EmulatedMouse::setZeroAnswers(bool zero)
{
    QMutexLocker lock(&m_mutex);
    m_zeroAnswers = zero;
}

void EmulatedMouse::corruptEchoes(int byteIndex, uint8_t mask, int count)
{
    QMutexLocker lock(&m_mutex);
    m_echoFaults.append({byteIndex, mask, count < 0 ? -1 : count});
}

void EmulatedMouse::setWrongEchoHeader(int count)
{
    corruptEchoes(frame::kOffsetLow, 0xFF, count);
}

void EmulatedMouse::setWrongEchoData(int count)
{
    corruptEchoes(frame::kData, 0xFF, count);
}

void EmulatedMouse::setWriteFailure(bool fail)
{
    QMutexLocker lock(&m_mutex);
    m_writeFailure = fail;
}

void EmulatedMouse::setUnplugAfterWrites(int count)
{
    QMutexLocker lock(&m_mutex);
    m_unplugAfter = count < 0 ? -1 : count;
}

void EmulatedMouse::clearFaults()
{
    QMutexLocker lock(&m_mutex);
    m_silent = false;
    m_zeroAnswers = false;
    m_echoFaults.clear();
    m_writeFailure = false;
    m_unplugAfter = -1;
}

// --- memory and log ---

QByteArray EmulatedMouse::blockMemory(uint8_t command) const
{
    QMutexLocker lock(&m_mutex);
    return blockSize(command) ? block(command).memory : QByteArray();
}

QByteArray EmulatedMouse::pendingBlock(uint8_t command) const
{
    QMutexLocker lock(&m_mutex);
    if (!blockSize(command) || block(command).stage == Stage::Idle)
        return QByteArray();
    return block(command).pending;
}

int EmulatedMouse::activeSlot() const
{
    QMutexLocker lock(&m_mutex);
    return m_activeSlot;
}

int EmulatedMouse::activeStage() const
{
    QMutexLocker lock(&m_mutex);
    return m_activeStage;
}

bool EmulatedMouse::writeBracketOpen() const
{
    QMutexLocker lock(&m_mutex);
    return m_bracketOpen;
}

QVector<QByteArray> EmulatedMouse::writtenReports() const
{
    QMutexLocker lock(&m_mutex);
    return m_written;
}

void EmulatedMouse::setWrittenLimit(int iLimit)
{
    QMutexLocker lock(&m_mutex);
    m_writtenLimit = qMax(0, iLimit);
    if (m_written.size() > m_writtenLimit)
        m_written.remove(0, m_written.size() - m_writtenLimit);
}

int EmulatedMouse::writeCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_writeCount;
}

int EmulatedMouse::readCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_readCount;
}

int EmulatedMouse::commitCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_commitCount;
}

int EmulatedMouse::refusedCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_refusedCount;
}

void EmulatedMouse::clearLog()
{
    QMutexLocker lock(&m_mutex);
    m_written.clear();
    m_writeCount = m_readCount = m_commitCount = m_refusedCount = 0;
}

} // namespace mc
