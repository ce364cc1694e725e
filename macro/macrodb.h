// Operations on the macro database as a whole: creating, renaming and deleting macros, and
// importing and exporting macro files, singly or in batches. Each returns an outcome that the
// editor turns into its message box (or silence); none of them asks the user anything.
// Names are checked before any file is touched: a name that could reach outside the macro
// folder is refused. User-interface thread.
#pragma once

#include "macro/macrofile.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace mc {

enum class MacroOutcome
{
    Done,
    Unchanged,   // nothing to do (renaming to the same name)
    Exists,      // a macro or target file of that name exists and was kept
    TooMany,     // the macro list is full
    InvalidName, // not a usable file name
    NotFound,    // the macro or source file does not exist
    NotAMacro,   // the source is far too large to be a macro file
    Failed,      // the file system refused
};

struct MacroResult
{
    MacroOutcome outcome = MacroOutcome::Failed;
    QString name; // the macro's name as it now is (after making it unique)
    // For Failed: the file that could not be written and why, one line for the user.
    QString reason;
};

// The wanted name if no macro file (nor list entry) has it, else the name followed by _2, _3, ...
// for the first free one; empty when the name is unsafe or no free name is found.
QString uniqueMacroName(const QString &wanted);

// A new empty macro named after the translated "MACRO" with _1, _2, ..., saved and listed.
MacroResult createMacro();
// A macro with the given content under a unique form of the name (gun files), saved without
// the edit mark and listed.
MacroResult createMacro(const QString &wanted, const Macro &content);

MacroResult renameMacro(const QString &oldName, const QString &newName);
MacroOutcome deleteMacro(const QString &name);

// One file into the macro folder under its base name; an existing macro of that name is kept
// (Exists) and nothing is copied.
MacroResult importMacro(const QString &sourcePath);
// Several files: each new one is copied, an existing macro is kept, and every accepted name ends
// up in the list.
QVector<MacroResult> importMacros(const QStringList &sourcePaths);

// The macro file to the chosen path. An existing target is replaced only when overwrite is set
// (the save dialog has asked), and then atomically.
MacroOutcome exportMacro(const QString &name, const QString &targetPath, bool overwrite);
// Each named macro into the folder under its own file name; existing files there are kept.
QVector<MacroResult> exportMacros(const QStringList &names, const QString &folder);

// Message box texts (context "MacroDialog"); empty for outcomes that show nothing.
const char *macroOutcomeSourceText(MacroOutcome outcome);
QString macroOutcomeText(MacroOutcome outcome);
QString macroOutcomeTitle(MacroOutcome outcome);

} // namespace mc
