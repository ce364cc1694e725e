// Macro files of the macro database (K/MacroDB/<name>.MSMACRO): the editor's settings and the
// action list in one INI group. Called from the user-interface thread (editor, button panel) and
// from the apply worker (macro upload), never at the same time. A missing or damaged file reads
// as an empty macro; nothing read from it is trusted beyond the limits below.
#pragma once

#include "macro/macroaction.h"
#include "profile/saveresult.h"

#include <QString>
#include <QVector>

namespace mc {

struct MacroSettings
{
    int defaultDelay = 10; // ms
    int delayType = 0;     // 0 none, 1 recorded, 2 default delay inserted
    int loopType = 0;      // 0 none, 1 loop count, 2 repeat while held, 3 repeat until pressed
    int loopTime = 1;      // 1..255

    bool operator==(const MacroSettings &o) const
    {
        return defaultDelay == o.defaultDelay && delayType == o.delayType &&
               loopType == o.loopType && loopTime == o.loopTime;
    }
};

struct Macro
{
    MacroSettings settings;
    QVector<MacroAction> actions;
};

namespace macro {
constexpr int kMaxUploadActions = 63; // what a button entry and the mouse's slot carry
constexpr int kMaxReadActions = 4096; // bound of one raw read, whatever the caller asks
// A real macro file is a few hundred kilobytes at most; anything far larger is not one of ours
// and is neither parsed nor imported.
constexpr qint64 kMaxFileSize = 8 * 1024 * 1024;
} // namespace macro

// Writes (creates or overwrites) the macro file atomically. Fails when the name is not a safe
// file name or the file could not be written (the old file is then kept whole). bMarkEdited writes
// the mark `WriteSign` by which the next write to the mouse resends a macro a button runs; a macro
// made fresh under a new name (a gun file) is run by no button yet and goes without it.
SaveResult saveMacro(const QString &name, const Macro &macro, bool bMarkEdited = true);

// Reads the macro and rebuilds each action by kind: keys and mouse buttons get their press or
// release sense from bit 0x80 and DataH 0; mouse buttons with an unknown button bit, actions of
// unknown kind and all-zero movements with both bytes set are dropped or zeroed as the format
// says; delays are copied. Settings out of range are clamped.
Macro loadMacro(const QString &name);

// The actions exactly as stored (bytes clamped to 0..255, missing bytes 0), at most maxActions
// of them, for the upload and for copying into a button entry.
QVector<MacroAction> readStoredActions(const QString &name,
                                       int maxActions = macro::kMaxUploadActions);

// The stored action count, bounded by the actions the file really holds (a huge Count in a
// damaged file does not make the caller loop); 0 for a missing file.
int readStoredCount(const QString &name);

bool macroFileExists(const QString &name);

} // namespace mc
