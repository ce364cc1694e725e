// Menu action with the shared font.
#include "widgets/kivaction.h"

#include "widgets/theme.h"

namespace mc {

KivAction::KivAction(QObject *parent) : QAction(parent)
{
    setFont(sharedFont());
}

KivAction::KivAction(const QString &text, QObject *parent) : QAction(text, parent)
{
    setFont(sharedFont());
}

void KivAction::setText(const QString &text)
{
    QAction::setText(text);
    setFont(sharedFont());
}

} // namespace mc
