// Progress bar with its own text.
#include "widgets/kivprocessbar.h"

#include "widgets/theme.h"

#include <QPainter>

namespace mc {

KivProcessbar::KivProcessbar(QWidget *parent) : QProgressBar(parent) {}

void KivProcessbar::setOwnText(const QString &text)
{
    // Set at every status answer of the mouse: the same text again is no reason to repaint.
    if (m_text == text)
        return;
    m_text = text;
    update();
}

void KivProcessbar::paintEvent(QPaintEvent *event)
{
    QProgressBar::paintEvent(event);
    if (m_text.isEmpty())
        return;
    QPainter p(this);
    p.setFont(sharedFont());
    p.setPen(Qt::white);
    p.drawText(rect(), Qt::AlignCenter, m_text);
}

} // namespace mc
