// The macro number table of the write to the mouse.
#include "device/writestate.h"

namespace mc {

int MacroNumberTable::number(const QString &name)
{
    const int at = m_names.indexOf(name);
    if (at >= 0)
        return at;
    m_names.append(name);
    return int(m_names.size()) - 1;
}

} // namespace mc
