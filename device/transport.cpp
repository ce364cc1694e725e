// The write–read–verify exchange of one command report with its retry counters. The counters
// bound the retries: two rewrites for read failures and mismatches together, up to five further
// rewrites for each run of all-zero answers, thirty failing reads before the first rewrite and
// twenty header mismatches answered by reading again.
#include "device/transport.h"
#include "device/log.h"

#include "device/mouseconnection.h"
#include "device/reportframe.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstring>

namespace mc {

namespace {
constexpr int kBufferSize = 64;
constexpr int kReadTimeoutMs = 150;
constexpr int kPauseAfterWriteMs = 10;
constexpr int kRetryPauseMs = 50;
constexpr int kMaxReadFailures = 29;     // failing reads answered by reading again
constexpr int kMaxHeaderMismatches = 19; // header mismatches answered by reading again
constexpr int kMaxRewrites = 2;
constexpr int kMaxZeroReplies = 5;
// Reports waiting before a command is written are stale (an echo given up on, the pointer's
// movement): at most this many are read away. The queue of a hidraw node holds 63.
constexpr int kMaxStale = 128;

// Empties the handle's queue without waiting: nothing read after the write can then be an
// answer to an earlier command.
// A change the user made on the mouse is kept for the poller whoever reads it.
bool keptIfChange(MouseConnection &connection, const uint8_t *report, int length)
{
    if (length <= frame::kChangeMode || frame::isForeignReport(report, length) ||
        report[frame::kCommand] != frame::kChangeReport)
        return false;
    connection.keepChangeReport(report);
    return true;
}

void dropStale(MouseConnection &connection, HidHandle handle)
{
    uint8_t scrap[kBufferSize];
    for (int i = 0; i < kMaxStale; ++i) {
        std::memset(scrap, 0, sizeof scrap);
        const int n = connection.hid().readTimeout(handle, scrap, kReportSize, 0);
        if (n <= 0)
            return;
        keptIfChange(connection, scrap, n);
    }
}

// One read of the exchange: waits up to timeoutMs for a report of the command collection and
// passes over the reports of the node's other collections (the pointer's movement comes up to
// 1000 times a second) and over a change report of the mouse, which is kept for the poller:
// they cost neither a retry nor a pause. Returns what hid_read gives; 0
// when only strangers came before the time was up.
int readCommandReport(MouseConnection &connection, HidHandle handle, uint8_t *reply, int length,
                      int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    int remaining = timeoutMs;
    for (;;) {
        std::memset(reply, 0, kBufferSize);
        const int n = connection.hid().readTimeout(handle, reply, size_t(length), remaining);
        if (!frame::isForeignReport(reply, n) && !keptIfChange(connection, reply, n))
            return n;
        remaining = timeoutMs - int(waited.elapsed());
        if (remaining <= 0) {
            std::memset(reply, 0, kBufferSize);
            return 0;
        }
    }
}

bool headerIsZero(const uint8_t *reply)
{
    return std::all_of(reply, reply + frame::kHeaderSize, [](uint8_t b) { return b == 0; });
}
} // namespace

uint8_t Checksum(const uint8_t *report)
{
    unsigned sum = 0;
    for (int i = frame::kMark; i < frame::kHeaderSize; ++i)
        sum += report[i];
    return uint8_t((sum & 0xFF) ^ frame::kChecksumXor);
}

uint8_t CompareReply(const uint8_t *sent, const uint8_t *reply, bool dataFlag)
{
    for (int i : {frame::kReportId, frame::kMark, frame::kCommand, frame::kOffsetLow,
                  frame::kOffsetHigh, frame::kLength}) {
        if (sent[i] != reply[i])
            return 1;
    }
    if (!dataFlag)
        return 0;
    // A length byte above 25 cannot describe data inside a report; only the report is compared.
    const int n = std::min<int>(sent[frame::kLength], frame::kMaxData);
    if (n == 0)
        return 0;
    return std::memcmp(sent + frame::kData, reply + frame::kData, size_t(n)) == 0 ? 0 : 2;
}

ReplyCheck::Step ReplyCheck::afterRead(int readResult, const uint8_t *reply)
{
    using N = Next;
    if (readResult < 0) {
        if (++m_readFailures <= kMaxReadFailures)
            return {N::ReadAgain, true, kOk};
        if (++m_rewrites > kMaxRewrites)
            return {N::Finish, false, kNoAnswer};
        return {N::Rewrite, false, kOk};
    }
    if (headerIsZero(reply)) {
        if (++m_zeroReplies <= kMaxZeroReplies)
            return {N::Rewrite, false, kOk};
        // Nothing to compare after all those writes: that is no answer, not success.
        if (!m_compared)
            return {N::Finish, false, kNoAnswer};
    } else {
        m_last = CompareReply(m_sent, reply, m_dataFlag);
        m_compared = true;
    }

    switch (m_last) {
    case 2:
        if (++m_rewrites > kMaxRewrites)
            return {N::Finish, false, kNoAnswer};
        m_zeroReplies = 0;
        return {N::Rewrite, false, kOk};
    case 1:
        m_zeroReplies = 0;
        if (++m_headerMismatches <= kMaxHeaderMismatches)
            return {N::ReadAgain, true, kOk};
        if (++m_rewrites > kMaxRewrites)
            return {N::Finish, false, kNoAnswer};
        return {N::Rewrite, false, kOk};
    default:
        return {N::Finish, false, kOk};
    }
}

uint8_t SendCommand(MouseConnection &connection, const uint8_t *report, int length)
{
    const HidHandle handle = connection.commandHandle();
    if (!handle)
        return kNoDevice;
    // The header must be there for the checksum; more than the buffer cannot be sent.
    length = std::clamp(length, frame::kHeaderSize, kBufferSize);

    uint8_t sent[kBufferSize] = {};
    uint8_t reply[kBufferSize] = {};
    std::memcpy(sent, report, size_t(length));
    sent[frame::kChecksum] = Checksum(sent);

    const uint8_t command = sent[frame::kCommand];
    const bool verified = frame::isVerified(command);
    ReplyCheck check(sent, frame::carriesData(command));
    HidBackend &hid = connection.hid();

    for (;;) {
        dropStale(connection, handle);
        if (hid.write(handle, sent, size_t(length)) < 0) {
            qCDebug(lcDevice, "Unable to send a feature report.");
            return kWriteFailed;
        }
        QThread::msleep(kPauseAfterWriteMs);
        if (!verified)
            return kOk;
        ReplyCheck::Step step;
        do {
            // A read that times out leaves nothing behind: the reply then reads as all zero.
            const int got = readCommandReport(connection, handle, reply, length, kReadTimeoutMs);
            step = check.afterRead(got, reply);
            if (step.pause)
                QThread::msleep(kRetryPauseMs);
        } while (step.next == ReplyCheck::Next::ReadAgain);
        if (step.next == ReplyCheck::Next::Finish)
            return step.result;
    }
}

} // namespace mc
