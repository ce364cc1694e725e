// The block write scheme: how a byte block of the mouse is cut into 33-byte packets (a first
// packet, further packets, a closing packet) and how a list of reports goes out through the
// transport. Building is pure; sending runs on the calling thread and blocks (10 ms a report).
#pragma once

#include "device/reportframe.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace mc {

class MouseConnection;

using ReportList = std::vector<frame::Report>;

// One packet of a block: where its bytes start in the block and how many it carries.
struct PacketSpan
{
    uint16_t offset = 0;
    uint8_t length = 0;
};

// A block packet with `length` data bytes (held to 25) taken from `data`. The checksum is filled
// in, although the transport computes it again.
frame::Report blockPacket(uint8_t command, uint16_t offset, uint8_t phase, const uint8_t *data,
                          int length);
// The packet that ends a block: phase D3, one byte 0x1A, offset 0x7F (0x0FFF for macros).
frame::Report closingPacket(uint8_t command);
// A command that is not a block write: byte 4 its parameter, byte 5 the second one.
frame::Report controlReport(uint8_t command, uint8_t param, uint8_t param2 = 0);

// The packets of a block cut at the given spans (the first with phase D1, the others D2),
// followed by the closing packet. Spans reaching beyond the block are cut to it.
ReportList blockReports(uint8_t command, const uint8_t *block, int blockSize,
                        std::initializer_list<PacketSpan> spans);

// Sends the reports in order; the first non-zero transport result ends the list and is returned,
// later reports are not sent.
uint8_t sendReports(MouseConnection &connection, const ReportList &reports);

} // namespace mc
