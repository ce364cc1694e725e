// State rules and painting of the image button.
#include "widgets/kivpushbutton.h"

#include "widgets/theme.h"

#include "widgets/uiscale.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace mc {

QString badgeText(uint8_t badge)
{
    switch (badge) {
    case 0:
        return QString();
    case 253:
        return QStringLiteral("  ") + QChar(0x2191);
    case 254:
        return QStringLiteral("  ") + QChar(0x2193);
    default:
        return QStringLiteral("  ") + QString::number(badge);
    }
}

KivPushButton::KivPushButton(const QStringList &imagePaths, QWidget *parent,
                             const QString &singleImage)
    : QPushButton(parent)
{
    m_singlePath = singleImage;
    setImages(imagePaths);
}

void KivPushButton::setImages(const QStringList &imagePaths)
{
    m_paths = imagePaths;
    m_images = QVector<QPixmap>(m_paths.size());
    m_read = QVector<bool>(m_paths.size(), false);
    update();
}

const QPixmap &KivPushButton::image(int index) const
{
    if (!m_read.at(index)) {
        m_images[index] = skinPixmap(m_paths.at(index));
        m_read[index] = true;
    }
    return m_images.at(index);
}

void KivPushButton::setText(const QString &text)
{
    m_text = text;
    setToolTip(text);
    update();
}

void KivPushButton::setState(int iState)
{
    m_state = qBound(int(Normal), iState, int(Disabled));
    m_checked = iState != 0;
    update();
}

void KivPushButton::setCheckable(bool bCheckable)
{
    m_checkable = bCheckable;
    m_state = Normal;
    update();
}

void KivPushButton::setEnabled(bool bEnable)
{
    m_enabled = bEnable;
    if (!bEnable)
        m_state = Disabled;
    else
        m_state = (m_checkable && m_checked) ? Hover : Normal;
    QPushButton::setEnabled(bEnable);
    update();
}

void KivPushButton::setBadge(uint8_t badge)
{
    m_badge = badge;
    update();
}

void KivPushButton::setVertical(bool bVertical)
{
    m_vertical = bVertical;
    update();
}

void KivPushButton::setThemeHighlight(bool bOn)
{
    m_themeHighlight = bOn;
    update();
}

void KivPushButton::setRound(bool bRound)
{
    m_round = bRound;
    update();
}

QSize KivPushButton::sizeHint() const
{
    if (!m_singlePath.isEmpty()) {
        const QPixmap single = skinPixmap(m_singlePath);
        if (!single.isNull())
            return single.size();
    }
    if (!m_paths.isEmpty() && !image(0).isNull())
        return image(0).size();
    return QPushButton::sizeHint();
}

QColor KivPushButton::textColour(int iState, int iColorMode)
{
    const int s = qBound(0, iState, 3);
    if (iColorMode != 0) {
        static const QColor dark[4] = {Qt::white, Qt::black, Qt::black, QColor(100, 100, 100)};
        return dark[s];
    }
    static const QColor light[4] = {QColor(200, 200, 200), QColor(225, 225, 225), Qt::white,
                                    QColor(100, 100, 100)};
    return light[s];
}

void KivPushButton::enterEvent(EnterEvent *event)
{
    m_pressedSinceEnter = false;
    emit OverSignal(this, true);
    if (m_enabled) {
        m_state = m_paths.size() > 1 ? Hover : Normal;
        update();
        QPushButton::enterEvent(event);
    }
}

void KivPushButton::leaveEvent(QEvent *event)
{
    if (!m_pressedSinceEnter)
        emit OverSignal(this, false);
    if (m_enabled) {
        m_state = (m_checkable && m_checked) ? Hover : Normal;
        update();
        QPushButton::leaveEvent(event);
    }
}

void KivPushButton::mousePressEvent(QMouseEvent *event)
{
    if (!m_enabled)
        return;
    if (event->button() == Qt::LeftButton) {
        m_pressedSinceEnter = true;
        const bool wasChecked = m_checked;
        m_checked = !m_checked;
        if (m_paths.size() > 2)
            m_state = wasChecked ? Normal : Pressed;
        update();
        emit EnterSignal(this);
    }
    QPushButton::mousePressEvent(event);
}

void KivPushButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_enabled)
        return;
    if (event->button() == Qt::LeftButton && m_paths.size() > 1) {
        m_state = Hover;
        update();
    }
    QPushButton::mouseReleaseEvent(event);
}

const QPixmap *KivPushButton::imageOfState() const
{
    if (m_paths.isEmpty())
        return nullptr;
    // A state without its own image falls back to the normal one rather than reading past
    // the list (many buttons have two or three images only).
    const int index = m_state < m_paths.size() ? m_state : 0;
    return &image(index);
}

void KivPushButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (const QPixmap *pm = imageOfState(); pm && !pm->isNull())
        p.drawPixmap(rect(), *pm);

    const int mode = colorMode();
    if (m_themeHighlight && (m_state == Hover || m_state == Pressed)) {
        const QColor t = themeColour();
        QLinearGradient g(60, 50, 200, 150);
        if (mode != 0) {
            g.setColorAt(0.1, t);
            g.setColorAt(0.4, t);
        } else {
            const int div = m_state == Hover ? 2 : 3;
            g.setColorAt(0.1, QColor(t.red() / div, t.green() / div, t.blue() / div, 150));
            QColor top = t;
            top.setAlpha(150);
            g.setColorAt(0.4, top);
        }
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        const QRect r(0, 0, width() - 1, height() - 1);
        if (m_round)
            p.drawEllipse(r);
        else
            p.drawRect(r);
    }

    p.setFont(sharedFont());
    p.setPen(textColour(m_state, mode));
    if (m_badge != 0)
        p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, badgeText(m_badge));
    if (m_text.isEmpty())
        return;
    if (m_vertical) {
        p.translate(width() / 2.0, height() / 2.0);
        p.rotate(90);
        const QRect r(-height() / 2, -width() / 2, height(), width());
        p.drawText(r, Qt::AlignCenter, m_text);
        return;
    }
    const QRect r = rect().adjusted(3, 0, -3, 0);
    const QString shown = p.fontMetrics().elidedText(m_text, Qt::ElideRight, width() - 5);
    p.drawText(r, Qt::AlignCenter, shown);
    if (m_focusMarked && hasFocus())
        paintFocusMark(p, rect());
}

void KivPushButton::focusInEvent(QFocusEvent *event)
{
    m_focusMarked = keyboardFocusReason(event->reason());
    QPushButton::focusInEvent(event);
    update();
}

void KivPushButton::focusOutEvent(QFocusEvent *event)
{
    m_focusMarked = false;
    QPushButton::focusOutEvent(event);
    update();
}

void KivPushButton::keyPressEvent(QKeyEvent *event)
{
    // The button's own enabled flag rules the keyboard as it rules the mouse. A button with a
    // menu opens it on Enter as well as on Space.
    if (!m_enabled)
        return;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && menu()) {
        showMenu();
        return;
    }
    m_focusMarked = true;
    QPushButton::keyPressEvent(event);
}

bool keyboardFocusReason(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

void paintFocusMark(QPainter &p, const QRect &rect)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const int w = qMax(1, scaled(2));
    QPen pen(themeColour());
    pen.setWidth(w);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const int inset = w / 2;
    p.drawRect(
        rect.adjusted(inset, inset, -inset - (w % 2 == 0 ? 0 : 1), -inset - (w % 2 == 0 ? 0 : 1)));
    p.restore();
}

} // namespace mc
