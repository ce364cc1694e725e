// State images of the buttons: plain and tab buttons, window buttons, the language pill, the
// bottom-bar and profile icons, hotspots, the up/down pair and the check boxes.
#include "skinpaint.h"

#include <QLinearGradient>

#include <functional>

namespace mc::skin {

namespace {

using namespace colours;

enum Look
{
    Normal,
    Hover,
    Pressed
};

bool plainButton(const QString &dir, const QString &name, Look look)
{
    Canvas c(138, 35, kStretched);
    QPainter &p = c.p();
    const QRectF r(0.5, 0.5, 137, 34);
    QLinearGradient g(0, 0, 0, 35);
    switch (look) {
    case Normal:
        g.setColorAt(0, QColor(48, 50, 58));
        g.setColorAt(1, QColor(34, 35, 42));
        fillRounded(p, r, 4, g, kBorderHi);
        break;
    case Hover:
        g.setColorAt(0, QColor(58, 60, 70));
        g.setColorAt(1, QColor(40, 42, 50));
        fillRounded(p, r, 4, g, accent());
        break;
    case Pressed:
        g.setColorAt(0, accentDark(1));
        g.setColorAt(1, accentDark(2));
        fillRounded(p, r, 4, g, accent());
        break;
    }
    return c.save(dir, name);
}

bool tabButton(const QString &dir, const QString &name, Look look)
{
    Canvas c(149, 25, kStretched);
    QPainter &p = c.p();
    const QRectF r(0.5, 0.5, 148, 24);
    switch (look) {
    case Normal:
        fillRounded(p, r, 3, QColor(33, 34, 41), QColor(44, 46, 54));
        break;
    case Hover: {
        QLinearGradient g(0, 0, 149, 0);
        g.setColorAt(0, accent(150));
        g.setColorAt(1, QColor(40, 42, 50));
        fillRounded(p, r, 3, g, accent(200));
        p.fillRect(QRectF(0, 3, 3, 19), accent());
        break;
    }
    case Pressed: {
        QLinearGradient g(0, 0, 149, 0);
        g.setColorAt(0, accentDark(2));
        g.setColorAt(1, QColor(28, 29, 35));
        fillRounded(p, r, 3, g, accent(160));
        break;
    }
    }
    return c.save(dir, name);
}

// A 19 x 19 window button with a glyph; the hover and pressed looks add a plate.
bool windowButton(const QString &dir, const QString &name, Look look, bool close)
{
    Canvas c(19, 19, kStretched);
    QPainter &p = c.p();
    if (look != Normal) {
        const QColor plate = look == Hover ? (close ? accent(200) : QColor(70, 72, 82))
                                           : (close ? accentDark(2) : QColor(50, 52, 60));
        fillRounded(p, QRectF(0, 0, 19, 19), 4, plate);
    }
    QPen pen(look == Normal ? kText : QColor(Qt::white), 1.6);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    if (close) {
        p.drawLine(QPointF(5.5, 5.5), QPointF(13.5, 13.5));
        p.drawLine(QPointF(13.5, 5.5), QPointF(5.5, 13.5));
    } else {
        p.drawLine(QPointF(5, 10), QPointF(14, 10));
    }
    return c.save(dir, name);
}

bool languagePill(const QString &dir, const QString &name, bool hover)
{
    Canvas c(105, 20, kStretched);
    QPainter &p = c.p();
    fillRounded(p, QRectF(0.5, 0.5, 104, 19), 9.5, hover ? QColor(52, 54, 62) : QColor(34, 35, 42),
                hover ? accent() : kBorderHi);
    // A small globe at the left; the text is drawn by the button, centred.
    p.setPen(QPen(hover ? QColor(Qt::white) : kText, 1));
    p.setBrush(Qt::NoBrush);
    const QPointF o(12, 10);
    p.drawEllipse(o, 5.5, 5.5);
    p.drawEllipse(o, 2.5, 5.5);
    p.drawLine(QPointF(6.5, 10), QPointF(17.5, 10));
    return c.save(dir, name);
}

using Glyph = std::function<void(QPainter &, const QColor &)>;

bool iconButton(const QString &dir, const QString &name, int w, int h, bool hover,
                const Glyph &glyph)
{
    Canvas c(w, h, kStretched);
    QPainter &p = c.p();
    fillRounded(p, QRectF(0.5, 0.5, w - 1, h - 1), 4,
                hover ? QColor(52, 54, 62) : QColor(34, 35, 42), hover ? accent() : kBorder);
    p.save();
    p.translate(w / 2.0, h / 2.0);
    glyph(p, hover ? QColor(Qt::white) : kText);
    p.restore();
    return c.save(dir, name);
}

QPen glyphPen(const QColor &c, qreal w = 1.6)
{
    QPen pen(c, w);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void resetGlyph(QPainter &p, const QColor &c)
{
    p.setPen(glyphPen(c));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-6, -6, 12, 12), 60 * 16, 280 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    QPolygonF head;
    head << QPointF(1, -9) << QPointF(6, -5.5) << QPointF(0.5, -2.5);
    p.drawPolygon(head);
}

// Down arrow into a tray (load) or up arrow out of it (save).
void trayGlyph(QPainter &p, const QColor &c, bool down)
{
    p.setPen(glyphPen(c));
    p.setBrush(Qt::NoBrush);
    QPolygonF tray;
    tray << QPointF(-7, 2) << QPointF(-7, 7) << QPointF(7, 7) << QPointF(7, 2);
    p.drawPolyline(tray);
    p.drawLine(QPointF(0, -8), QPointF(0, 3));
    const qreal tip = down ? 3 : -8;
    const qreal back = down ? -1 : -4;
    p.drawLine(QPointF(-4, back), QPointF(0, tip));
    p.drawLine(QPointF(4, back), QPointF(0, tip));
}

void plusGlyph(QPainter &p, const QColor &c)
{
    p.setPen(glyphPen(c));
    p.drawLine(QPointF(-5, 0), QPointF(5, 0));
    p.drawLine(QPointF(0, -5), QPointF(0, 5));
}

void minusGlyph(QPainter &p, const QColor &c)
{
    p.setPen(glyphPen(c));
    p.drawLine(QPointF(-5, 0), QPointF(5, 0));
}

void copyGlyph(QPainter &p, const QColor &c)
{
    p.setPen(glyphPen(c, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(-5, -3, 8, 9), 1.5, 1.5);
    p.drawRoundedRect(QRectF(-2, -6, 8, 9), 1.5, 1.5);
}

void checkGlyph(QPainter &p, const QColor &c)
{
    p.setPen(glyphPen(c, 1.8));
    p.drawLine(QPointF(-5, 0), QPointF(-1.5, 4));
    p.drawLine(QPointF(-1.5, 4), QPointF(5.5, -4));
}

bool hotspot(const QString &dir, const QString &name, bool selected)
{
    Canvas c(20, 20, kStretched);
    QPainter &p = c.p();
    p.setBrush(selected ? accent(120) : QColor(20, 20, 24, 150));
    p.setPen(QPen(selected ? accent() : QColor(220, 220, 225), 1.5));
    p.drawEllipse(QRectF(2, 2, 16, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(selected ? QColor(Qt::white) : QColor(220, 220, 225));
    p.drawEllipse(QRectF(7, 7, 6, 6));
    return c.save(dir, name);
}

// Up or down chevron in a small plate; alt draws the squarer look some products use.
bool chevron(const QString &dir, const QString &name, bool up, bool selected, bool alt)
{
    Canvas c(24, 16, kStretched);
    QPainter &p = c.p();
    const QColor edge = selected ? accent() : QColor(200, 200, 205);
    fillRounded(p, QRectF(0.5, 0.5, 23, 15), alt ? 2 : 7.5,
                selected ? accent(90) : QColor(20, 20, 24, 160), edge);
    p.setPen(glyphPen(selected ? QColor(Qt::white) : edge, 1.8));
    const qreal y0 = up ? 10 : 6;
    const qreal y1 = up ? 5.5 : 10.5;
    p.drawLine(QPointF(7.5, y0), QPointF(12, y1));
    p.drawLine(QPointF(12, y1), QPointF(16.5, y0));
    return c.save(dir, name);
}

bool checkbox(const QString &dir, const QString &name, bool checked)
{
    Canvas c(16, 16, kNatural);
    QPainter &p = c.p();
    fillRounded(p, QRectF(0.5, 0.5, 15, 15), 3, checked ? accent() : QColor(30, 31, 37),
                checked ? accent() : kBorderHi);
    if (checked) {
        p.translate(8, 8);
        p.setPen(glyphPen(Qt::white, 1.8));
        p.drawLine(QPointF(-4, 0), QPointF(-1, 3));
        p.drawLine(QPointF(-1, 3), QPointF(4.5, -3.5));
    }
    return c.save(dir, name);
}

bool selectorPlate(const QString &dir, const QString &name, int w, int h, bool hi)
{
    Canvas c(w, h, kStretched);
    QPainter &p = c.p();
    fillRounded(p, QRectF(0.5, 0.5, w - 1, h - 1), 3, hi ? QColor(52, 54, 62) : QColor(34, 35, 42),
                hi ? accent() : kBorderHi);
    return c.save(dir, name);
}

} // namespace

int writeButtonImages(const QString &dir)
{
    int n = 0;
    n += plainButton(dir, QStringLiteral("tabbutton-1.png"), Normal);
    n += plainButton(dir, QStringLiteral("tabbutton-3.png"), Hover);
    n += plainButton(dir, QStringLiteral("tabbutton-2.png"), Pressed);
    n += tabButton(dir, QStringLiteral("tabbutton2-1.png"), Normal);
    n += tabButton(dir, QStringLiteral("tabbutton2-3.png"), Hover);
    n += tabButton(dir, QStringLiteral("tabbutton2-2.png"), Pressed);
    n += windowButton(dir, QStringLiteral("min-1.png"), Normal, false);
    n += windowButton(dir, QStringLiteral("min-2.png"), Hover, false);
    n += windowButton(dir, QStringLiteral("min-3.png"), Pressed, false);
    n += windowButton(dir, QStringLiteral("close-1.png"), Normal, true);
    n += windowButton(dir, QStringLiteral("close-2.png"), Hover, true);
    n += windowButton(dir, QStringLiteral("close-3.png"), Pressed, true);
    n += languagePill(dir, QStringLiteral("lang.png"), false);
    n += languagePill(dir, QStringLiteral("lang2.png"), true);

    const auto down = [](QPainter &p, const QColor &c) { trayGlyph(p, c, true); };
    const auto up = [](QPainter &p, const QColor &c) { trayGlyph(p, c, false); };
    for (const bool hover : {false, true}) {
        const QString s = hover ? QStringLiteral("2") : QStringLiteral("1");
        n += iconButton(dir, QStringLiteral("Reset") + s + ".png", 26, 25, hover, resetGlyph);
        n += iconButton(dir, QStringLiteral("Import") + s + ".png", 26, 25, hover, down);
        n += iconButton(dir, QStringLiteral("Export") + s + ".png", 26, 25, hover, up);
        n += iconButton(dir, QStringLiteral("profile_add") + s + ".png", 20, 20, hover, plusGlyph);
        n += iconButton(dir, QStringLiteral("profile_del") + s + ".png", 20, 20, hover, minusGlyph);
        n += iconButton(dir, QStringLiteral("profile_import") + s + ".png", 20, 20, hover, down);
        n += iconButton(dir, QStringLiteral("profile_copy") + s + ".png", 20, 20, hover, copyGlyph);
        n += iconButton(dir, QStringLiteral("profile_reset") + s + ".png", 20, 20, hover,
                        resetGlyph);
    }
    n += iconButton(dir, QStringLiteral("profile_export1.png"), 20, 20, false, up);
    n += iconButton(dir, QStringLiteral("profile_apply1.png"), 22, 22, false, checkGlyph);
    n += selectorPlate(dir, QStringLiteral("profilesel.png"), 152, 22, false);
    n += selectorPlate(dir, QStringLiteral("profile_edit_name_1.png"), 150, 22, false);
    n += selectorPlate(dir, QStringLiteral("profile_edit_name_2.png"), 150, 22, true);

    n += hotspot(dir, QStringLiteral("btn_2.png"), false);
    n += hotspot(dir, QStringLiteral("btn_1.png"), true);
    n += chevron(dir, QStringLiteral("btn_up2.png"), true, false, false);
    n += chevron(dir, QStringLiteral("btn_up1.png"), true, true, false);
    n += chevron(dir, QStringLiteral("btn_down2.png"), false, false, false);
    n += chevron(dir, QStringLiteral("btn_down1.png"), false, true, false);
    n += chevron(dir, QStringLiteral("btn_up4.png"), true, false, true);
    n += chevron(dir, QStringLiteral("btn_up3.png"), true, true, true);
    n += chevron(dir, QStringLiteral("btn_down4.png"), false, false, true);
    n += chevron(dir, QStringLiteral("btn_down3.png"), false, true, true);

    n += checkbox(dir, QStringLiteral("checkbox1-1.png"), false);
    n += checkbox(dir, QStringLiteral("checkbox1-2.png"), true);
    return n;
}

} // namespace mc::skin
