// The sample product's pictures: the mouse seen from above (Mouse.png), from the left side
// (<product>_Side.png beside the product folder) and one hover picture per panel button
// (mouse_<n>.png) with that button lit in the accent colour; each also drawn twice as large
// (name@2x.png) for scales above the design size.
#include "skinpaint.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QTransform>

namespace mc::skin {

namespace {

using namespace colours;

// Regions of the top view, in the 300 x 400 design square.
QPainterPath bodyPath()
{
    QPainterPath path;
    path.moveTo(150, 28);
    path.cubicTo(215, 28, 246, 80, 248, 160);
    path.cubicTo(250, 250, 240, 330, 205, 365);
    path.cubicTo(185, 384, 115, 384, 95, 365);
    path.cubicTo(60, 330, 50, 250, 52, 160);
    path.cubicTo(54, 80, 85, 28, 150, 28);
    return path;
}

QPainterPath leftButtonPath()
{
    QPainterPath path;
    path.moveTo(146, 32);
    path.cubicTo(95, 34, 60, 80, 57, 160);
    path.lineTo(57, 170);
    path.lineTo(146, 170);
    path.closeSubpath();
    return path;
}

// The left button mirrored about the body's centre line.
QPainterPath rightButtonPath()
{
    return QTransform(-1, 0, 0, 1, 300, 0).map(leftButtonPath());
}

const QRectF kWheel(139, 70, 22, 52);
const QRectF kDpiButton(141, 134, 18, 26);
const QRectF kSideFront(50, 150, 10, 38);
const QRectF kSideBack(50, 196, 10, 38);

QPainterPath regionOf(int n)
{
    QPainterPath path;
    switch (n) {
    case 1:
        return leftButtonPath();
    case 2:
        return rightButtonPath();
    case 3:
        path.addRoundedRect(kWheel, 10, 10);
        return path;
    case 4:
        path.addRoundedRect(kSideFront, 4, 4);
        return path;
    case 5:
        path.addRoundedRect(kSideBack, 4, 4);
        return path;
    case 6:
        path.addRoundedRect(kDpiButton, 5, 5);
        return path;
    default:
        return path;
    }
}

void litRegion(QPainter &p, const QPainterPath &region)
{
    if (region.isEmpty())
        return;
    p.setPen(QPen(accent(), 2.5));
    p.setBrush(accent(120));
    p.drawPath(region);
}

void topView(QPainter &p, int lit)
{
    const QPainterPath body = bodyPath();
    // Soft shadow below the body.
    QRadialGradient shadow(150, 215, 170);
    shadow.setColorAt(0, QColor(0, 0, 0, 140));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(QPointF(150, 215), 150, 190);

    QLinearGradient shell(52, 0, 248, 0);
    shell.setColorAt(0, QColor(38, 40, 47));
    shell.setColorAt(0.5, QColor(58, 60, 70));
    shell.setColorAt(1, QColor(34, 36, 42));
    p.setBrush(shell);
    p.setPen(QPen(QColor(80, 82, 92), 1.5));
    p.drawPath(body);

    // Accent light strip around the palm.
    QPainterPath strip;
    strip.moveTo(70, 250);
    strip.cubicTo(78, 330, 110, 362, 150, 362);
    strip.cubicTo(190, 362, 222, 330, 230, 250);
    QPen glow(accent(90), 9);
    glow.setCapStyle(Qt::RoundCap);
    p.setBrush(Qt::NoBrush);
    p.setPen(glow);
    p.drawPath(strip);
    QPen core(accent(), 2.5);
    core.setCapStyle(Qt::RoundCap);
    p.setPen(core);
    p.drawPath(strip);

    // Buttons: slightly lighter plates with the split line between them.
    p.setPen(QPen(QColor(22, 23, 27), 2));
    for (const QPainterPath &b : {leftButtonPath(), rightButtonPath()}) {
        QLinearGradient g(0, 30, 0, 170);
        g.setColorAt(0, QColor(70, 72, 82));
        g.setColorAt(1, QColor(48, 50, 58));
        p.setBrush(g);
        p.drawPath(b.intersected(body));
    }
    if (lit == 1 || lit == 2)
        litRegion(p, regionOf(lit).intersected(body));
    p.setBrush(QColor(20, 21, 25));
    p.setPen(QPen(QColor(90, 92, 102), 1));
    p.drawRoundedRect(kWheel, 10, 10);
    p.setPen(QPen(QColor(110, 112, 122), 1.2));
    for (qreal y = kWheel.top() + 8; y < kWheel.bottom() - 5; y += 6)
        p.drawLine(QPointF(kWheel.left() + 5, y), QPointF(kWheel.right() - 5, y));
    p.setBrush(QColor(30, 31, 37));
    p.setPen(QPen(QColor(90, 92, 102), 1));
    p.drawRoundedRect(kDpiButton, 5, 5);
    p.setBrush(QColor(44, 46, 54));
    p.drawRoundedRect(kSideFront, 4, 4);
    p.drawRoundedRect(kSideBack, 4, 4);

    // Logo mark on the palm.
    p.setPen(QPen(QColor(110, 112, 122), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(150, 290), 10, 10);

    if (lit > 2)
        litRegion(p, regionOf(lit));
}

void sideView(QPainter &p)
{
    QRadialGradient shadow(150, 230, 150);
    shadow.setColorAt(0, QColor(0, 0, 0, 140));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(QPointF(150, 235), 150, 40);

    QPainterPath body;
    body.moveTo(20, 222);
    body.cubicTo(22, 160, 70, 105, 150, 100);
    body.cubicTo(230, 96, 280, 150, 282, 222);
    body.cubicTo(282, 236, 272, 240, 260, 240);
    body.lineTo(40, 240);
    body.cubicTo(28, 240, 20, 234, 20, 222);
    QLinearGradient shell(0, 100, 0, 240);
    shell.setColorAt(0, QColor(62, 64, 74));
    shell.setColorAt(1, QColor(32, 34, 40));
    p.setBrush(shell);
    p.setPen(QPen(QColor(80, 82, 92), 1.5));
    p.drawPath(body);

    // Thumb rest, side buttons and the light strip along the base.
    p.setBrush(QColor(28, 29, 35));
    p.setPen(QPen(QColor(70, 72, 82), 1));
    p.drawRoundedRect(QRectF(70, 185, 150, 40), 16, 16);
    p.setBrush(QColor(50, 52, 60));
    p.setPen(QPen(QColor(100, 102, 112), 1.2));
    p.drawRoundedRect(QRectF(92, 150, 44, 18), 8, 8);
    p.drawRoundedRect(QRectF(142, 150, 44, 18), 8, 8);
    QPen glow(accent(90), 7);
    glow.setCapStyle(Qt::RoundCap);
    p.setPen(glow);
    p.drawLine(QPointF(45, 234), QPointF(255, 234));
    QPen core(accent(), 2);
    core.setCapStyle(Qt::RoundCap);
    p.setPen(core);
    p.drawLine(QPointF(45, 234), QPointF(255, 234));
}

} // namespace

int writeProductImages(const QString &dir, const QString &productName)
{
    const QString folder = QStringLiteral("mouse/") + productName + QLatin1Char('/');
    int n = 0;
    Canvas front(300, 400, kStretched);
    topView(front.p(), 0);
    n += front.saveWithLarge(dir, folder + QStringLiteral("Mouse.png"));
    for (int i = 1; i <= 16; ++i) {
        Canvas hover(300, 400, kStretched);
        topView(hover.p(), i);
        n += hover.saveWithLarge(dir, folder + QStringLiteral("mouse_%1.png").arg(i));
    }
    Canvas side(300, 300, kStretched);
    sideView(side.p());
    n += side.saveWithLarge(dir, QStringLiteral("mouse/") + productName + QStringLiteral("_Side.png"));
    return n;
}

} // namespace mc::skin
