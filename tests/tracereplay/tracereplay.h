// Playing a recorded trace against the emulated mouse: every report the program wrote is written
// again, in order, to the mouse's command collection, and what the mouse answers is compared
// with what was recorded, answer by answer. Reports the mouse sent on its own (0x49) are not
// answers and are left out of the comparison. So a user's recording becomes a test: the emulated
// mouse must answer as the user's mouse did, and the test then reads the memory the replay left.
#pragma once

#include "emulator/emulatedmouse.h"
#include "tracefile.h"

#include <QStringList>

namespace mc::test {

struct ReplayOptions
{
    EmulatedMouse::Attachment attachment = EmulatedMouse::Attachment::Receiver;
    // Battery, charging, write state and status byte are the user's mouse's circumstances, not
    // its protocol: when set, each status query is answered with the values its recorded answer
    // carried.
    bool followRecordedStatus = false;
};

struct ReplayResult
{
    int written = 0;        // reports written to the mouse
    int compared = 0;       // answers compared
    QStringList mismatches; // one line per answer that differs (at most ten), or a setup error
    bool ok() const { return mismatches.isEmpty(); }
};

// The attachment must be plugged in. The mouse answers without delay during the replay.
ReplayResult replayTrace(const TraceFile &trace, EmulatedMouse &mouse,
                         const ReplayOptions &options = {});

} // namespace mc::test
