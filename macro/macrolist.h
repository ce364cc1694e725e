// The macro list: fifty slots "MACRO_LIST/0".."MACRO_LIST/49" in K/Config.ini, each holding a
// macro name or nothing. The editor shows the names in slot order; slots keep their positions
// when a macro is removed, and a new macro takes the first empty slot. Entries that are not safe
// file names (a damaged or hostile Config.ini) are never offered. User-interface thread.
#pragma once

#include <QString>
#include <QStringList>

namespace mc {

QStringList macroListSlots(); // all fifty entries, empty strings for gaps
QStringList macroNames();     // the usable names in slot order, gaps and unsafe entries skipped
int macroCount();             // number of usable names
int freeMacroSlot();          // first empty slot, or -1 when all fifty are taken
bool isMacroListed(const QString &name);

// Writes the name into the first empty slot and returns that slot. A name already listed keeps
// its slot (no duplicates); -1 when the name is unsafe, the list is full or could not be saved.
int addToMacroList(const QString &name);
// Empties every slot holding the name; returns the first such slot, or -1.
int removeFromMacroList(const QString &name);
// Puts newName into the slots that hold oldName; returns the first such slot, or -1 (none, or
// the list could not be saved).
int replaceInMacroList(const QString &oldName, const QString &newName);

} // namespace mc
