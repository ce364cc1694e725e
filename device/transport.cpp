// The write–read–verify exchange of one command report with its retry counters. The counters
// bound the retries: two rewrites for read failures and mismatches together, up to five further
// rewrites for each run of all-zero answers, thirty failing reads before the first rewrite and
// twenty header mismatches answered by reading again.
#include "device/transport.h"
#include "device/log.h"

#include "device/devicetable.h"
#include "device/hidbackend.h"
#include "device/reportframe.h"

#include <QDebug>
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

uint8_t SendCommand(const uint8_t *report, int length)
{
    const HidHandle handle = commandHandle();
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
    HidBackend &hid = hidBackend();

    for (;;) {
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
            std::memset(reply, 0, sizeof reply);
            step = check.afterRead(hid.readTimeout(handle, reply, size_t(length), kReadTimeoutMs),
                                   reply);
            if (step.pause)
                QThread::msleep(kRetryPauseMs);
        } while (step.next == ReplyCheck::Next::ReadAgain);
        if (step.next == ReplyCheck::Next::Finish)
            return step.result;
    }
}

} // namespace mc
