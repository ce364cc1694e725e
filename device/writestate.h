// What the write to the mouse keeps between its steps: the device copy of the store (the blocks
// are built from it, and the button block notes each macro's device slot in it) and the macro
// number table, which the button block fills and the next macro upload consumes. One per
// connection, used only by the write while it runs.
#pragma once

#include "profile/profiledata.h"

#include <QString>
#include <QStringList>

namespace mc {

// Device macro slots in the order in which distinct macro names first appear among the entries
// of the button block: the name at index s runs from device macro slot s.
class MacroNumberTable
{
public:
    // The name's slot, numbering it with the next free slot when it is new.
    int number(const QString &name);
    int slotOf(const QString &name) const { return m_names.indexOf(name); }
    int size() const { return int(m_names.size()); }
    bool isEmpty() const { return m_names.isEmpty(); }
    const QStringList &names() const { return m_names; }
    void clear() { m_names.clear(); }

private:
    QStringList m_names;
};

struct WriteState
{
    ProfileStore deviceCopy;
    MacroNumberTable macroTable;
};

} // namespace mc
