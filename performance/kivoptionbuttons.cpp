// Painting of the performance panels' check boxes and radio buttons.
#include "performance/kivoptionbuttons.h"

#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QPainter>

namespace mc {

namespace {

int indicatorSide()
{
    return qMax(8, scaled(14));
}

int textGap()
{
    return qMax(3, scaled(6));
}

QRect indicatorRect(const QWidget *w)
{
    const int side = indicatorSide();
    return QRect(0, (w->height() - side) / 2, side, side);
}

void drawText(QPainter &p, const QWidget *w, const QString &text, bool bEnabled)
{
    if (text.isEmpty())
        return;
    p.setFont(sharedFont());
    p.setPen(bEnabled ? QColor(Qt::white) : QColor(100, 100, 100));
    const int left = indicatorSide() + textGap();
    p.drawText(QRect(left, 0, w->width() - left, w->height()), Qt::AlignLeft | Qt::AlignVCenter,
               text);
}

QSize hintFor(const QWidget *w, const QString &text)
{
    const QFontMetrics fm(sharedFont());
    const int textWidth = text.isEmpty() ? 0 : textGap() + fm.horizontalAdvance(text);
    return QSize(indicatorSide() + textWidth + 2, qMax(indicatorSide(), fm.height()) + 2)
        .expandedTo(QSize(w->minimumWidth(), w->minimumHeight()));
}

} // namespace

KivCheckBox::KivCheckBox(QWidget *parent) : QCheckBox(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

KivCheckBox::KivCheckBox(const QString &text, QWidget *parent) : QCheckBox(text, parent)
{
    setFocusPolicy(Qt::NoFocus);
}

QSize KivCheckBox::sizeHint() const
{
    return hintFor(this, text());
}

bool KivCheckBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void KivCheckBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect box = indicatorRect(this);
    const QPixmap img = skinPixmap(
        skinPath(isChecked() ? QStringLiteral("checkbox1-2.png") : QStringLiteral("checkbox1-1.png")));
    if (!img.isNull()) {
        p.drawPixmap(box, img);
    } else {
        // Without the skin the state must still show.
        p.setPen(QColor(200, 200, 200));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        if (isChecked())
            p.fillRect(box.adjusted(3, 3, -3, -3), themeColour());
    }
    drawText(p, this, text(), isEnabled());
}

KivRadioButton::KivRadioButton(const QString &text, QWidget *parent) : QRadioButton(text, parent)
{
    setFocusPolicy(Qt::NoFocus);
}

QSize KivRadioButton::sizeHint() const
{
    return hintFor(this, text());
}

bool KivRadioButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void KivRadioButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ring = QRectF(indicatorRect(this)).adjusted(1, 1, -1, -1);
    const QColor theme = themeColour();
    p.setPen(QPen(isChecked() ? theme : QColor(160, 160, 160), qMax(1.0, scaleFactor() * 1.5)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(ring);
    if (isChecked()) {
        const qreal inset = ring.width() * 0.28;
        p.setPen(Qt::NoPen);
        p.setBrush(theme);
        p.drawEllipse(ring.adjusted(inset, inset, -inset, -inset));
    }
    drawText(p, this, text(), isEnabled());
}

} // namespace mc
