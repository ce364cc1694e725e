// The command transport: one 33-byte report written to the command collection, the mouse's
// echo read back and compared, with the retry counters of the protocol.
#pragma once

#include <cstdint>

namespace mc {

class MouseConnection;

constexpr int kReportSize = 33;

// Result codes of device operations. kMouseOff is the apply worker's own.
enum Result : uint8_t
{
    kOk = 0,
    kNoDevice = 1,
    kNoAnswer = 2,
    kWriteFailed = 4,
    kMouseOff = 5,
};

// Byte 1 of a report: (bytes 2..7 summed) mod 256, xor 0x66.
uint8_t Checksum(const uint8_t *report);

// 0 match, 1 header mismatch, 2 data mismatch.
uint8_t CompareReply(const uint8_t *sent, const uint8_t *reply, bool dataFlag);

// The retry rules of one exchange, apart from its reads, writes and pauses: told what each read
// after a write brought, it says what to do next. SendCommand makes one per call; any thread.
class ReplyCheck final
{
public:
    enum class Next
    {
        ReadAgain, // read once more (after the retry pause when pause is set)
        Rewrite,   // write the same report again
        Finish     // the exchange ends with result
    };
    struct Step
    {
        Next next = Next::Finish;
        bool pause = false;
        uint8_t result = 0;
    };

    // sent: the report as written (kept by the caller for the exchange).
    ReplyCheck(const uint8_t *sent, bool dataFlag) : m_sent(sent), m_dataFlag(dataFlag) {}
    // readResult: what the read returned (negative for a failure); reply: the reply buffer,
    // all zero where the read put nothing.
    Step afterRead(int readResult, const uint8_t *reply);

private:
    const uint8_t *m_sent;
    bool m_dataFlag;
    int m_readFailures = 0;
    int m_headerMismatches = 0;
    int m_zeroReplies = 0;
    int m_rewrites = 0;
    uint8_t m_last = 0;
    bool m_compared = false;
};

// Writes the report (byte 1 is filled in here) to the connection's command handle and verifies the
// echo where the command calls for it. Blocks for at least 10 ms. Any thread; no lock: the caller
// keeps the handle open and runs one exchange at a time.
uint8_t SendCommand(MouseConnection &connection, const uint8_t *report, int length = kReportSize);

} // namespace mc
