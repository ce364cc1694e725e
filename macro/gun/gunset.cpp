#include "macro/gun/gunset.h"

namespace mc {

QString runGunSet(QWidget *)
{
    return {};
}

} // namespace mc
