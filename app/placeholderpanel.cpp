// Placeholder panel painting.
#include "app/placeholderpanel.h"

#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QPainter>

namespace mc {

PanelPlaceholder::PanelPlaceholder(const QString &caption, QWidget *parent)
    : QWidget(parent), m_caption(caption)
{
    setObjectName(caption);
}

void PanelPlaceholder::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(52, 54, 62), 1, Qt::DashLine));
    p.setBrush(QColor(30, 31, 37, 160));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), scaled(6), scaled(6));
    QFont f = sharedFont();
    f.setPixelSize(qMax(1, scaled(13)));
    p.setFont(f);
    p.setPen(QColor(110, 112, 122));
    p.drawText(rect(), Qt::AlignCenter, m_caption);
}

} // namespace mc
