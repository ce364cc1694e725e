// Line edit with a focus-loss signal.
#include "widgets/kivlineedit.h"

namespace mc {

KivLineEdit::KivLineEdit(QWidget *parent) : QLineEdit(parent) {}

void KivLineEdit::focusOutEvent(QFocusEvent *)
{
    emit kivLostFocus();
}

} // namespace mc
