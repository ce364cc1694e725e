// The layout of the 33-byte command report and of the two reports the mouse sends up (status
// answer and on-mouse change report): named offsets, command codes and phases, so that no part
// of the program spells a byte position as a bare number.
#pragma once

#include "device/transport.h"

#include <array>
#include <cstdint>

namespace mc::frame {

// Offsets within a report.
constexpr int kReportId = 0;
constexpr int kChecksum = 1;
constexpr int kMark = 2;
constexpr int kCommand = 3;
constexpr int kOffsetLow = 4; // block writes: offset low byte; other commands: the parameter
constexpr int kOffsetHigh = 5;
constexpr int kLength = 6;
constexpr int kPhase = 7;
constexpr int kData = 8;
constexpr int kMaxData = 25;
constexpr int kHeaderSize = 8; // bytes 0..7, the part the checksum and the header check see
static_assert(kData + kMaxData == kReportSize, "a report is the header plus 25 data bytes");

constexpr uint8_t kReportIdValue = 0x05;
constexpr uint8_t kMarkValue = 0xFA;
constexpr uint8_t kChecksumXor = 0x66;

// Command codes.
constexpr uint8_t kGeneralBlock = 0x01;
constexpr uint8_t kDpiBlock = 0x02;
constexpr uint8_t kButtonBlock = 0x03;
constexpr uint8_t kLightingBlock = 0x04;
constexpr uint8_t kMacroBlock = 0x05;
constexpr uint8_t kLastBlockCommand = 0x0A; // commands up to this one are block writes
constexpr uint8_t kCommit = 0x40;
constexpr uint8_t kSelectProfile = 0x44;
constexpr uint8_t kWriteBracket = 0x46;
constexpr uint8_t kStatus = 0x48;
constexpr uint8_t kChangeReport = 0x49;

constexpr uint8_t kCommitMark = 0xF3; // byte 4 of a commit

// Phases of a block write.
constexpr uint8_t kPhaseFirst = 0xD1;
constexpr uint8_t kPhaseMore = 0xD2;
constexpr uint8_t kPhaseClose = 0xD3;
constexpr uint8_t kCloseData = 0x1A;           // the one data byte of a closing packet
constexpr uint16_t kCloseOffset = 0x007F;      // closing packet of blocks 0x01..0x04
constexpr uint16_t kMacroCloseOffset = 0x0FFF; // closing packet of the macro block

// Status answer (command 0x48 sent up by the mouse).
constexpr int kBatteryLow = 4;
constexpr int kBatteryHigh = 5;
constexpr int kCharging = 6;
constexpr int kWriteState = 7;
constexpr int kStatusByte = 10;

// On-mouse change report (command 0x49).
constexpr int kChangeProfile = 4;
constexpr int kChangeStage = 5;
constexpr int kChangeRate = 6;
constexpr int kChangeMode = 7;

using Report = std::array<uint8_t, kReportSize>;

// A report with id, mark and command filled in and its checksum computed.
inline Report makeReport(uint8_t command, uint8_t param = 0)
{
    Report r{};
    r[kReportId] = kReportIdValue;
    r[kMark] = kMarkValue;
    r[kCommand] = command;
    r[kOffsetLow] = param;
    r[kChecksum] = Checksum(r.data());
    return r;
}

// A report that came up on another collection of the same node (on Linux every handle of the
// receiver's node receives the pointer's and keyboard's input reports too): it has a length, a
// header that is not all zero, and another report ID or no frame mark. Such a report is no answer,
// no status and no change; an all-zero header is the mouse's empty answer, not a stranger's.
inline bool isForeignReport(const uint8_t *report, int length)
{
    if (length <= 0)
        return false;
    bool zero = true;
    for (int i = 0; i < kHeaderSize && i < length; ++i)
        zero = zero && report[i] == 0;
    if (zero)
        return false;
    return length <= kMark || report[kReportId] != kReportIdValue || report[kMark] != kMarkValue;
}

// True for the commands whose echo is read back and compared.
constexpr bool isVerified(uint8_t command)
{
    return command <= kLastBlockCommand || command == kCommit || command == kWriteBracket;
}

// True for the commands whose echo must repeat the data bytes too.
constexpr bool carriesData(uint8_t command)
{
    return command <= kLastBlockCommand;
}

} // namespace mc::frame
