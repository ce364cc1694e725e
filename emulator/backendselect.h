// The one place that chooses the process-wide HID backend from the command line and the
// environment; the GUI and the command-line tool both call it at start-up, after the data
// folder has been chosen (the emulated mouse reads its IDs and name from there).
//
//   --emulate[=MODE] or MOUSECFG_EMULATE=MODE (the option wins), MODE one of:
//     receiver (the default)  the receiver is plugged in, the mouse answers
//     cable                   the cable is plugged in
//     both                    receiver and cable
//     off                     receiver; the mouse is off (battery reads zero)
//     silent                  receiver; the mouse never answers
//     none                    nothing is plugged in
//     denied                  receiver; its node cannot be opened (no access, as without the
//                             udev rule)
//   MOUSECFG_EMULATE_MOTION=HZ          the emulated pointer moves: HZ reports a second
//   --trace                   every report written or read is printed on standard output
//   --trace=FILE, MOUSECFG_TRACE=FILE   the same, into FILE (the window has no standard output
//                             worth reading)
//   --diagnostics=FILE        every report written or read, with the time it went over the wire,
//                             recorded into FILE for as long as the program runs (see hidtrace.h)
//   MOUSECFG_EMULATOR_CONTROL=FILE      a control file that plugs, unplugs and wakes the
//                             emulated mouse of a running program (see emulatorcontrol.h)
#pragma once

#include <QString>
#include <QStringList>

namespace mc {

class EmulatedMouse;
class TracingBackend;

// Takes the options above out of args, installs the backend they ask for and returns the
// remaining arguments. An unknown MODE installs nothing and sets *error (when given).
QStringList installBackendFromArgs(const QStringList &args, QString *error = nullptr);

// The emulated mouse installed by installBackendFromArgs, or nullptr.
EmulatedMouse *installedEmulator();

// The tracer in front of the installed backend, put there now when there is none: the one that
// records diagnostics. It stays installed until the backend is chosen again. User-interface
// thread (the CLI's main thread) only.
TracingBackend &diagnosticsTracer();
// Whether the installed tracer records diagnostics now (--diagnostics, or the tray entry);
// installs nothing.
bool diagnosticsRecording();

// True when mode names one of the modes above.
bool isEmulateMode(const QString &mode);

} // namespace mc
