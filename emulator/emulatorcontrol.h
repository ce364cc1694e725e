// A test hook for driving the emulated mouse of a running program from outside (the end-to-end
// scripts): a control file named by MOUSECFG_EMULATOR_CONTROL. Each time the file is written,
// its lines are run in order:
//   plug receiver|cable      unplug receiver|cable
//   off | on                 the mouse is asleep (battery reads zero) or awake again
//   report SLOT STAGE RATE   the user changed slot, stage or rate with the mouse's buttons
//   reset                    the mouse forgets its settings (back to the factory state), as one
//                            that lost power does
//   motion HZ                the pointer moves: HZ reports a second, until "motion 0"
//   key USAGE                a key pressed and released: a keyboard usage (0x49 Insert), or
//                            0x0C0000 + a consumer usage; decimal or 0x-hexadecimal
// Unknown lines are ignored. The file is watched through the file system's notifications, so
// an idle program wakes for nothing. Lives on the thread that created it (the main thread).
#pragma once

#include <QObject>
#include <QString>

class QFileSystemWatcher;

namespace mc {

class EmulatedMouse;

class EmulatorControl final : public QObject
{
    Q_OBJECT
public:
    EmulatorControl(EmulatedMouse &mouse, const QString &path, QObject *parent = nullptr);

    // Runs one command line; false when the line is not understood.
    static bool runLine(EmulatedMouse &mouse, const QString &line);

private:
    void readCommands();

    EmulatedMouse &m_mouse;
    QString m_path;
    QFileSystemWatcher *m_watcher;
};

} // namespace mc
