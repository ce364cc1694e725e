// Self-painting label.
#include "widgets/kivlabel.h"

#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QPainter>

namespace mc {

KivLabel::KivLabel(QWidget *parent) : QLabel(parent)
{
    init();
}

KivLabel::KivLabel(const QString &text, QWidget *parent) : QLabel(parent)
{
    init();
    setText(text);
}

void KivLabel::init()
{
    setAttribute(Qt::WA_TranslucentBackground);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
}

void KivLabel::setText(const QString &text)
{
    m_text = text;
    // The base keeps a copy so that size hints and accessibility see the same text.
    setFont(textFont());
    QLabel::setText(text);
    update();
}

void KivLabel::setNumber(int iValue)
{
    setText(QString::asprintf("%d", iValue));
}

void KivLabel::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    QLabel::setAlignment(alignment);
    update();
}

void KivLabel::setWordWrap(bool bWrap)
{
    m_wordWrap = bWrap;
    QLabel::setWordWrap(bWrap);
    update();
}

void KivLabel::setFixedPixelSize(int iSize)
{
    m_fixedSize = qMax(0, iSize);
    setFont(textFont());
    update();
}

void KivLabel::setSizeDecrement(int iDecrement)
{
    m_decrement = iDecrement;
    setFont(textFont());
    update();
}

void KivLabel::setDarkBackground(bool bDark)
{
    m_dark = bDark;
    update();
}

QFont KivLabel::textFont() const
{
    QFont f = font();
    const QString family = fontFamily();
    if (!family.isEmpty())
        f.setFamily(family);
    const int base = m_fixedSize > 0 ? m_fixedSize : fontBaseSize();
    if (base > 0) {
        const int px = scaled(base - m_decrement);
        if (px > 0)
            f.setPixelSize(px);
    }
    return f;
}

void KivLabel::mousePressEvent(QMouseEvent *)
{
    emit EnterSignal(this);
}

void KivLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_dark)
        p.fillRect(rect(), QColor(30, 30, 30));
    p.setFont(textFont());
    p.setPen(palette().color(foregroundRole()));
    const int flags = m_wordWrap ? int(m_alignment | Qt::TextWordWrap) : int(m_alignment);
    p.drawText(contentsRect(), flags, m_text);
}

} // namespace mc
