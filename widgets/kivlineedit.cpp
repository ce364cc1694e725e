// Line edit with a focus-loss signal.
#include "widgets/kivlineedit.h"

namespace mc {

KivLineEdit::KivLineEdit(QWidget *parent) : QLineEdit(parent) {}

void KivLineEdit::focusOutEvent(QFocusEvent *event)
{
    // The base class stops the caret's blinking; without it a field left keeps its caret.
    QLineEdit::focusOutEvent(event);
    emit kivLostFocus();
}

} // namespace mc
