// The window background, dialog backgrounds, battery frames, logo and program icon.
#include "skinpaint.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace mc::skin {

namespace {

using namespace colours;

// 999 x 640 with transparent rounded corners: the window's shape comes from this alpha.
bool background(const QString &dir)
{
    Canvas c(999, 640, kNatural);
    QPainter &p = c.p();
    const QRectF whole(0, 0, 999, 640);
    QLinearGradient g(0, 0, 0, 640);
    g.setColorAt(0, kWindow);
    g.setColorAt(1, kWindowDeep);
    fillRounded(p, whole, 16, g, kBorder, 1.0);

    // Header: a faint band behind the logo and the window buttons, closed by an accent line
    // that fades out towards the right.
    p.save();
    p.setClipPath(roundedRect(whole, 16));
    QLinearGradient band(0, 0, 0, 78);
    band.setColorAt(0, QColor(30, 31, 37));
    band.setColorAt(1, QColor(22, 23, 28));
    p.fillRect(QRectF(1, 1, 997, 77), band);
    QLinearGradient line(55, 0, 944, 0);
    line.setColorAt(0, accent(230));
    line.setColorAt(0.45, accent(90));
    line.setColorAt(1, accent(0));
    p.fillRect(QRectF(55, 77, 889, 2), line);
    p.restore();

    // Side column for the tabs.
    fillRounded(p, QRectF(55, 84, 177, 482), 8, kPanel, kBorder);
    // Content area for the panels and the product pictures.
    QLinearGradient content(0, 84, 0, 566);
    content.setColorAt(0, kPanel);
    content.setColorAt(1, QColor(24, 25, 30));
    fillRounded(p, QRectF(272, 84, 690, 482), 8, content, kBorder);

    // Bottom bar with the battery, the reset/load/save icons and "Apply".
    fillRounded(p, QRectF(55, 574, 907, 56), 8, QColor(25, 26, 31), kBorder);
    p.setPen(QPen(kBorder, 1));
    p.drawLine(QPointF(580.5, 584), QPointF(580.5, 620));
    p.drawLine(QPointF(796.5, 584), QPointF(796.5, 620));
    return c.save(dir, QStringLiteral("cfgMainback.png"));
}

bool dialog(const QString &dir, const QString &name, int w, int h)
{
    Canvas c(w, h, kStretched);
    QPainter &p = c.p();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(34, 35, 42));
    g.setColorAt(1, QColor(18, 19, 23));
    p.fillRect(QRectF(0, 0, w, h), g);
    QLinearGradient band(0, 0, 0, 56);
    band.setColorAt(0, QColor(44, 45, 53));
    band.setColorAt(1, QColor(34, 35, 42, 0));
    p.fillRect(QRectF(0, 0, w, 56), band);
    p.setPen(QPen(QColor(60, 62, 72), 1));
    p.drawLine(QPointF(20, 48.5), QPointF(w - 20, 48.5));
    return c.save(dir, name);
}

// The frame around the battery bar: the bar sits 6 pixels in, the nub on the right.
void batteryBody(QPainter &p, const QColor &edge)
{
    QPen pen(edge, 2);
    p.setPen(pen);
    p.setBrush(QColor(18, 19, 23));
    p.drawRoundedRect(QRectF(3, 3, 77, 41), 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(edge);
    p.drawRoundedRect(QRectF(80, 16, 5, 15), 1.5, 1.5);
}

bool batteryFrames(const QString &dir)
{
    Canvas plain(86, 47, kStretched);
    batteryBody(plain.p(), kBorderHi);
    bool ok = plain.save(dir, QStringLiteral("bat1.png"));

    // Cable or charging: the bar is hidden and the frame carries a plug instead.
    Canvas cable(86, 47, kStretched);
    QPainter &p = cable.p();
    batteryBody(p, kBorderHi);
    p.setPen(Qt::NoPen);
    p.setBrush(accent());
    QPainterPath bolt;
    bolt.moveTo(45, 9);
    bolt.lineTo(31, 26);
    bolt.lineTo(41, 26);
    bolt.lineTo(37, 38);
    bolt.lineTo(52, 20);
    bolt.lineTo(42, 20);
    bolt.closeSubpath();
    p.drawPath(bolt);
    ok = cable.save(dir, QStringLiteral("bat2.png")) && ok;
    return ok;
}

void mouseGlyph(QPainter &p, const QRectF &r, const QColor &body, const QColor &line)
{
    QPainterPath path;
    path.addRoundedRect(r, r.width() / 2, r.width() / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPath(path);
    p.save();
    p.setClipPath(path);
    p.setPen(QPen(line, r.width() / 12));
    p.drawLine(QPointF(r.center().x(), r.top() + r.height() * 0.08),
               QPointF(r.center().x(), r.top() + r.height() * 0.4));
    p.drawLine(QPointF(r.left(), r.top() + r.height() * 0.42),
               QPointF(r.right(), r.top() + r.height() * 0.42));
    p.restore();
}

bool logo(const QString &dir)
{
    Canvas c(200, 50, kStretched);
    QPainter &p = c.p();
    mouseGlyph(p, QRectF(6, 7, 22, 36), accent(), QColor(20, 20, 24));
    p.setFont(skinFont(24, true));
    p.setPen(QColor(235, 235, 240));
    p.drawText(QRectF(38, 0, 160, 50), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("MOUSECFG"));
    return c.save(dir, QStringLiteral("mouselogo.png"));
}

QImage iconImage(int side)
{
    Canvas c(side, side, 1);
    QPainter &p = c.p();
    const qreal s = side;
    fillRounded(p, QRectF(0, 0, s, s), s * 0.22, QColor(26, 27, 33));
    mouseGlyph(p, QRectF(s * 0.3, s * 0.14, s * 0.4, s * 0.72), accent(), QColor(26, 27, 33));
    return c.image();
}

bool programIcon(const QString &dir)
{
    // One 64-pixel image: the tray and the title bar scale it down smoothly.
    bool ok = iconImage(64).save(dir + QStringLiteral("/icon.ico"), "ico");
    ok = iconImage(256).save(dir + QStringLiteral("/icon.png")) && ok;
    return ok;
}

bool processImage(const QString &dir)
{
    Canvas c(128, 128, kNatural);
    fillRounded(c.p(), QRectF(8, 8, 112, 112), 16, QColor(24, 25, 30, 235), kBorder);
    return c.save(dir, QStringLiteral("process.png"));
}

} // namespace

int writeWindowImages(const QString &dir)
{
    int n = 0;
    n += background(dir);
    n += dialog(dir, QStringLiteral("dlg.png"), 478, 309);
    n += dialog(dir, QStringLiteral("dlg_gun.png"), 560, 520);
    n += batteryFrames(dir) ? 2 : 0;
    n += logo(dir);
    n += programIcon(dir);
    n += processImage(dir);
    return n;
}

} // namespace mc::skin
