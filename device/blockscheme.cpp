// Packets of the block write scheme.
#include "device/blockscheme.h"

#include <algorithm>
#include <cstring>

namespace mc {

frame::Report blockPacket(uint8_t command, uint16_t offset, uint8_t phase, const uint8_t *data,
                          int length)
{
    length = std::clamp(length, 0, frame::kMaxData);
    frame::Report r{};
    r[frame::kReportId] = frame::kReportIdValue;
    r[frame::kMark] = frame::kMarkValue;
    r[frame::kCommand] = command;
    r[frame::kOffsetLow] = uint8_t(offset & 0xFF);
    r[frame::kOffsetHigh] = uint8_t(offset >> 8);
    r[frame::kLength] = uint8_t(length);
    r[frame::kPhase] = phase;
    if (length > 0)
        std::memcpy(r.data() + frame::kData, data, size_t(length));
    r[frame::kChecksum] = Checksum(r.data());
    return r;
}

frame::Report closingPacket(uint8_t command)
{
    const uint8_t data = frame::kCloseData;
    const uint16_t offset =
        command == frame::kMacroBlock ? frame::kMacroCloseOffset : frame::kCloseOffset;
    return blockPacket(command, offset, frame::kPhaseClose, &data, 1);
}

frame::Report controlReport(uint8_t command, uint8_t param, uint8_t param2)
{
    frame::Report r{};
    r[frame::kReportId] = frame::kReportIdValue;
    r[frame::kMark] = frame::kMarkValue;
    r[frame::kCommand] = command;
    r[frame::kOffsetLow] = param;
    r[frame::kOffsetHigh] = param2;
    r[frame::kChecksum] = Checksum(r.data());
    return r;
}

ReportList blockReports(uint8_t command, const uint8_t *block, int blockSize,
                        std::initializer_list<PacketSpan> spans)
{
    ReportList out;
    out.reserve(spans.size() + 1);
    bool first = true;
    for (const PacketSpan &span : spans) {
        const int length = std::clamp(blockSize - int(span.offset), 0, int(span.length));
        out.push_back(blockPacket(command, span.offset,
                                  first ? frame::kPhaseFirst : frame::kPhaseMore,
                                  block + std::min<int>(span.offset, blockSize), length));
        first = false;
    }
    out.push_back(closingPacket(command));
    return out;
}

uint8_t sendReports(MouseConnection &connection, const ReportList &reports)
{
    for (const frame::Report &r : reports) {
        const uint8_t result = SendCommand(connection, r.data(), kReportSize);
        if (result != kOk)
            return result;
    }
    return kOk;
}

} // namespace mc
