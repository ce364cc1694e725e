// The command transport: one 33-byte report written to the command collection, the mouse's
// echo read back and compared, with the retry counters of the protocol.
#pragma once

#include <cstdint>

namespace mc {

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

// Writes the report (byte 1 is filled in here) to the command handle and verifies the echo
// where the command calls for it. Blocks for at least 10 ms. Any thread; no lock: the caller
// keeps the handle open and runs one exchange at a time.
uint8_t SendCommand(const uint8_t *report, int length = kReportSize);

} // namespace mc
