// Replies to a command report. The first 33 bytes are the report sent (its checksum filled in as
// SendCommand fills it); the rest is what each read after a write brings: a failure, nothing, or
// a reply of up to 33 bytes. The retry rules of SendCommand (ReplyCheck) must end the exchange
// within their counters, with "sent" only when the last reply read echoed the report as the
// verification rule demands, and otherwise with "no valid answer".
#include "fuzzsupport.h"

#include "device/reportframe.h"
#include "device/transport.h"

#include <algorithm>
#include <cstring>

using namespace mc;
using namespace mc::fuzz;

namespace {

// Generous bounds on the counters: 30 failing reads, 20 header mismatches answered by reading,
// two rewrites, and five rewrites for each run of all-zero replies, which a mismatch restarts.
constexpr int kMaxWrites = 1 + 2 + 5 * (1 + 20 + 2 + 1);
constexpr int kMaxReads = 30 + 20 + kMaxWrites * 2;

class Script
{
public:
    Script(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    // One read: -1 failure, or the byte count with the reply in buf (zeros where none came).
    int read(uint8_t *buf)
    {
        std::memset(buf, 0, kReportSize);
        if (m_pos >= m_size)
            return 0; // the mouse has gone quiet
        const uint8_t control = m_data[m_pos++];
        if (control % 4 == 0)
            return -1;
        if (control % 4 == 1)
            return 0;
        const size_t n = std::min<size_t>(kReportSize, m_size - m_pos);
        std::memcpy(buf, m_data + m_pos, n);
        m_pos += n;
        return int(n);
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

bool headerIsZero(const uint8_t *r)
{
    return std::all_of(r, r + frame::kHeaderSize, [](uint8_t b) { return b == 0; });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < size_t(kReportSize))
        return 0;
    uint8_t sent[kReportSize];
    std::memcpy(sent, data, kReportSize);
    sent[frame::kChecksum] = Checksum(sent);
    const uint8_t command = sent[frame::kCommand];
    const bool dataFlag = frame::carriesData(command);
    MC_FUZZ_CHECK(CompareReply(sent, sent, dataFlag) == 0, "a report does not match itself");
    if (!frame::isVerified(command))
        return 0; // written once, never read

    Script script(data + kReportSize, size - kReportSize);
    ReplyCheck check(sent, dataFlag);
    uint8_t reply[kReportSize];
    uint8_t lastReal[kReportSize] = {};
    bool anyReal = false;
    int writes = 1;
    int reads = 0;
    for (;;) {
        const int got = script.read(reply);
        ++reads;
        if (got >= 0 && !headerIsZero(reply)) {
            std::memcpy(lastReal, reply, kReportSize);
            anyReal = true;
        }
        const ReplyCheck::Step step = check.afterRead(got, reply);
        MC_FUZZ_CHECK(!step.pause || step.next == ReplyCheck::Next::ReadAgain,
                      "a pause before anything but a read");
        if (step.next == ReplyCheck::Next::Finish) {
            MC_FUZZ_CHECK(step.result == kOk || step.result == kNoAnswer, "result %d", step.result);
            if (step.result == kOk)
                MC_FUZZ_CHECK(anyReal && CompareReply(sent, lastReal, dataFlag) == 0,
                              "success without a matching echo");
            break;
        }
        if (step.next == ReplyCheck::Next::Rewrite)
            ++writes;
        MC_FUZZ_CHECK(writes <= kMaxWrites && reads <= kMaxReads,
                      "the exchange goes on: %d writes, %d reads", writes, reads);
    }
    return 0;
}
