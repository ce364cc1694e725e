// The window background, dialog backgrounds, battery frames, logo and program icon.
#include "skinpaint.h"

#include "app/windowcards.h"

#include <QDir>
#include <QLinearGradient>
#include <QRadialGradient>

namespace mc::skin {

namespace {

using namespace colours;

QRectF boxRect(const cards::Box &b)
{
    return QRectF(b.x, b.y, b.w, b.h);
}

// The window takes its shape from this image's alpha, and a shape is all or nothing: a pixel
// that is partly transparent would still belong to the window and show whatever the platform
// puts behind it. So every pixel ends fully opaque, blended over the darkest window colour, or
// fully transparent.
QImage solidShape(const QImage &drawn)
{
    QImage img = drawn.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int a = qAlpha(line[x]);
            if (a < 128) {
                line[x] = 0;
                continue;
            }
            const auto over = [a](int c, int under) { return (c * a + under * (255 - a)) / 255; };
            line[x] = qRgb(over(qRed(line[x]), kWindowDeep.red()),
                           over(qGreen(line[x]), kWindowDeep.green()),
                           over(qBlue(line[x]), kWindowDeep.blue()));
        }
    }
    return img;
}

// 999 x 640: the window's rounded shape, the header and the cards the controls sit on.
bool background(const QString &dir)
{
    Canvas c(999, 640, kNatural);
    QPainter &p = c.p();
    const QRectF shape = boxRect(cards::kShape);
    QLinearGradient g(0, 0, 0, 640);
    g.setColorAt(0, kWindow);
    g.setColorAt(1, kWindowDeep);
    fillRounded(p, shape, cards::kShapeRadius, g, kBorder, 1.0);

    // Header: a faint band behind the logo and the window buttons, closed by an accent line
    // that fades out towards the right.
    const qreal left = cards::kSideColumn.x;
    const qreal right = cards::kContent.right();
    const qreal line = cards::kHeaderBottom;
    p.save();
    p.setClipPath(roundedRect(shape, cards::kShapeRadius));
    QLinearGradient band(0, 0, 0, line + 1);
    band.setColorAt(0, QColor(30, 31, 37));
    band.setColorAt(1, QColor(22, 23, 28));
    p.fillRect(shape.adjusted(1, 1, -1, 0).intersected(QRectF(0, 0, 999, line)), band);
    QLinearGradient accentLine(left, 0, right, 0);
    accentLine.setColorAt(0, accent(230));
    accentLine.setColorAt(0.45, accent(90));
    accentLine.setColorAt(1, accent(0));
    p.fillRect(QRectF(left, line, right - left, 2), accentLine);
    p.restore();

    const qreal r = cards::kCardRadius;
    fillRounded(p, boxRect(cards::kSideColumn), r, kPanel, kBorder);
    const QRectF content = boxRect(cards::kContent);
    QLinearGradient contentFill(0, content.top(), 0, content.bottom());
    contentFill.setColorAt(0, kPanel);
    contentFill.setColorAt(1, QColor(24, 25, 30));
    fillRounded(p, content, r, contentFill, kBorder);

    // Bottom bar, with a divider before the reset/load/save icons and one before "Apply".
    const QRectF bar = boxRect(cards::kBottomBar);
    fillRounded(p, bar, r, QColor(25, 26, 31), kBorder);
    p.setPen(QPen(kBorder, 1));
    p.drawLine(QPointF(580.5, bar.top() + 10), QPointF(580.5, bar.bottom() - 10));
    p.drawLine(QPointF(796.5, bar.top() + 10), QPointF(796.5, bar.bottom() - 10));

    // Stretched with the window, so the program holds it at the window's size.
    const QString path = dir + QStringLiteral("/cfgMainback.png");
    QImage img = solidShape(c.image());
    setDesignSize(img, 999, 640);
    return writeImage(img, path);
}

// The title rule sits at 48.5 of the message box's 309 pixels; the dialogs that stretch this
// image to other heights place their titles by that proportion, so every dialog image keeps it.
bool dialog(const QString &dir, const QString &name, int w, int h)
{
    Canvas c(w, h, kStretched);
    QPainter &p = c.p();
    const qreal rule = h * 48.5 / 309;
    const qreal bandBottom = rule + 7.5;
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(34, 35, 42));
    g.setColorAt(1, QColor(18, 19, 23));
    p.fillRect(QRectF(0, 0, w, h), g);
    QLinearGradient band(0, 0, 0, bandBottom);
    band.setColorAt(0, QColor(44, 45, 53));
    band.setColorAt(1, QColor(34, 35, 42, 0));
    p.fillRect(QRectF(0, 0, w, bandBottom), band);
    p.setPen(QPen(QColor(60, 62, 72), 1));
    p.drawLine(QPointF(20, rule), QPointF(w - 20, rule));
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
    bool ok = writeImage(iconImage(64), dir + QStringLiteral("/icon.ico"), "ico");
    ok = writeImage(iconImage(256), dir + QStringLiteral("/icon.png")) && ok;
    return ok;
}

bool processImage(const QString &dir)
{
    Canvas c(128, 128, kNatural);
    fillRounded(c.p(), QRectF(8, 8, 112, 112), 16, QColor(24, 25, 30, 235), kBorder);
    return c.save(dir, QStringLiteral("process.png"));
}

} // namespace

int writeDesktopIcons(const QString &hicolorDir, const QString &iconName)
{
    // The sizes desktops look for first; anything between is scaled from the nearest.
    int n = 0;
    for (const int side : {16, 24, 32, 48, 64, 128, 256}) {
        n += writeImage(iconImage(side), QStringLiteral("%1/%2x%2/apps/%3.png")
                                             .arg(hicolorDir)
                                             .arg(side)
                                             .arg(iconName));
    }
    return n;
}

int writeWindowImages(const QString &dir)
{
    int n = 0;
    n += background(dir);
    n += dialog(dir, QStringLiteral("dlg.png"), 478, 309);
    n += dialog(dir, QStringLiteral("dlg_gun.png"), 580, 450); // the "GUN SET" dialog
    n += batteryFrames(dir) ? 2 : 0;
    n += logo(dir);
    n += programIcon(dir);
    n += processImage(dir);
    return n;
}

} // namespace mc::skin
