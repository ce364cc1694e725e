// The status query (command 0x48) and the reports the mouse sends up: the one exchange that does
// not go through SendCommand. The status poller runs it once every 57 passes; the command-line
// tool runs it once before a write, so that a sleeping mouse is known. Any thread; the caller
// keeps the command handle open.
#pragma once

#include "device/reportframe.h"

#include <cstdint>
#include <optional>

namespace mc {

class MouseConnection;

// 05 24 FA 48 and 29 zero bytes: the frame with command 0x48 and its checksum.
frame::Report statusQueryReport();

struct StatusAnswer
{
    uint8_t batteryLow = 0;  // byte 4
    uint8_t batteryHigh = 0; // byte 5
    uint8_t charging = 0;    // byte 6
    uint8_t writeState = 0;  // byte 7
    uint8_t statusByte = 0;  // byte 10

    // All of battery and charging zero: the mouse is off or asleep.
    bool mouseOff() const { return batteryLow == 0 && batteryHigh == 0 && charging == 0; }
};
StatusAnswer statusAnswerOf(const uint8_t *report);

struct ChangeReport
{
    uint8_t profile = 0; // bytes 4..7
    uint8_t stage = 0;
    uint8_t rate = 0;
    uint8_t mode = 0;
};
ChangeReport changeReportOf(const uint8_t *report);

enum class QueryOutcome
{
    NoDevice,  // no command handle: nothing written
    ReadError, // the read after the query failed: the window shows the mouse as off
    Answer,    // a status answer came
    Other,     // nothing came in time, or another report
};

struct StatusQueryResult
{
    QueryOutcome outcome = QueryOutcome::NoDevice;
    frame::Report reply{};
    StatusAnswer answer; // valid for Answer
    // A change report (0x49) that came before the answer, else nullopt.
    std::optional<frame::Report> change;
};

// Writes the query, pauses, and reads until the answer comes or the read time is up, passing
// over the reports of the node's other collections (pointer, keyboard); a change report that
// comes first is handed back too. A status answer's status byte is kept in the connection,
// where the DPI block of sensor 3395 reads it. A failed write is only logged: the read still
// tells what the mouse says.
StatusQueryResult queryStatusOnce(MouseConnection &connection, int pauseMs = 10,
                                  int readTimeoutMs = 50);

// Records the status byte of an answer in the connection.
void noteStatusAnswer(MouseConnection &connection, const StatusAnswer &answer);

} // namespace mc
