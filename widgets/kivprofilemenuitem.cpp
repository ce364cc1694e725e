// Checkable menu row.
#include "widgets/kivprofilemenuitem.h"

#include "widgets/kivlabel.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QMouseEvent>
#include <QPainter>

namespace mc {

KivProfileMenuItem::KivProfileMenuItem(const QString &text, QWidget *parent) : QWidget(parent)
{
    m_label = new KivLabel(text, this);
    // The label would take the press for itself (it reports presses of its own): clicks on the
    // text must toggle the row as well.
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(scaled(150), scaled(25));
}

void KivProfileMenuItem::setText(const QString &text)
{
    m_label->setText(text);
}
QString KivProfileMenuItem::text() const
{
    return m_label->text();
}

void KivProfileMenuItem::setChecked(bool bChecked)
{
    m_checked = bChecked;
    update();
}

void KivProfileMenuItem::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setChecked(!m_checked);
    emit CheckBtnSignal(this);
}

void KivProfileMenuItem::resizeEvent(QResizeEvent *)
{
    const int h = height();
    m_label->setGeometry(h + scaled(4), 0, qMax(0, width() - h - scaled(4)), h);
}

void KivProfileMenuItem::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap pm = skinPixmap(skinPath(m_checked ? QStringLiteral("checkbox1-2.png")
                                                     : QStringLiteral("checkbox1-1.png")));
    const int side = qMin(height(), scaled(16));
    const QRect box(0, (height() - side) / 2, side, side);
    if (!pm.isNull())
        p.drawPixmap(box, pm);
}

} // namespace mc
