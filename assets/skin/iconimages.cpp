// Status pictures, message icons, the macro-step icons and the loading animation.
#include "gifwriter.h"
#include "skinpaint.h"

#include <QSaveFile>
#include <QtMath>

#include <functional>

namespace mc::skin {

namespace {

using namespace colours;

QPen roundPen(const QColor &c, qreal w)
{
    QPen pen(c, w);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

bool lightning(const QString &dir)
{
    Canvas c(26, 40, kStretched);
    QPainter &p = c.p();
    QPainterPath bolt;
    bolt.moveTo(16, 2);
    bolt.lineTo(4, 23);
    bolt.lineTo(12, 23);
    bolt.lineTo(9, 38);
    bolt.lineTo(22, 15);
    bolt.lineTo(14, 15);
    bolt.closeSubpath();
    p.setPen(roundPen(QColor(255, 255, 255, 200), 1));
    p.setBrush(accent());
    p.drawPath(bolt);
    return c.save(dir, QStringLiteral("lightning.png"));
}

// A USB receiver: plug below, body above with the accent light.
void receiver(QPainter &p, qreal s)
{
    p.save();
    p.scale(s / 48.0, s / 48.0);
    p.setPen(roundPen(QColor(150, 152, 160), 1.5));
    p.setBrush(QColor(60, 62, 70));
    p.drawRoundedRect(QRectF(17, 27, 14, 17), 2, 2);
    p.setBrush(QColor(30, 31, 37));
    p.drawRoundedRect(QRectF(13, 5, 22, 24), 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 152, 160));
    p.drawRect(QRectF(20, 33, 3, 3));
    p.drawRect(QRectF(25, 33, 3, 3));
    p.setBrush(accent());
    p.drawEllipse(QPointF(24, 15), 3.5, 3.5);
    p.restore();
}

bool dongles(const QString &dir)
{
    Canvas a(48, 48, kStretched);
    receiver(a.p(), 48);
    bool ok = a.save(dir, QStringLiteral("dongle.png"));
    Canvas b(45, 45, kStretched);
    QPainter &p = b.p();
    p.setPen(roundPen(accent(), 2));
    p.setBrush(QColor(24, 25, 30));
    p.drawEllipse(QRectF(1, 1, 43, 43));
    p.translate(6, 5);
    receiver(p, 33);
    return b.save(dir, QStringLiteral("dongle2.png")) && ok;
}

bool warn(const QString &dir)
{
    Canvas c(45, 45, kStretched);
    QPainter &p = c.p();
    QPainterPath tri;
    tri.moveTo(22.5, 4);
    tri.lineTo(42, 39);
    tri.lineTo(3, 39);
    tri.closeSubpath();
    p.setPen(roundPen(accent(), 3));
    p.setBrush(QColor(30, 31, 37));
    p.drawPath(tri);
    p.setPen(roundPen(Qt::white, 3.5));
    p.drawLine(QPointF(22.5, 16), QPointF(22.5, 27));
    p.drawPoint(QPointF(22.5, 33));
    return c.save(dir, QStringLiteral("warn.png"));
}

bool stepIcon(const QString &dir, const QString &name, const std::function<void(QPainter &)> &f)
{
    // Drawn at twice the size and marked with its design size, so a list at 144 dpi shows the
    // glyph as large as its text rather than at the file's 20 pixels.
    Canvas c(20, 20, kStretched);
    f(c.p());
    return c.save(dir, name);
}

void clockGlyph(QPainter &p, const QColor &c)
{
    p.setPen(roundPen(c, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(3, 3, 14, 14));
    p.drawLine(QPointF(10, 10), QPointF(10, 6));
    p.drawLine(QPointF(10, 10), QPointF(13, 11.5));
}

void keyGlyph(QPainter &p, bool down)
{
    p.setPen(roundPen(QColor(90, 92, 100), 1.2));
    p.setBrush(QColor(235, 235, 240));
    p.drawRoundedRect(QRectF(2.5, 4.5, 15, 13), 2.5, 2.5);
    p.setPen(roundPen(down ? accent() : QColor(60, 160, 90), 1.8));
    const qreal tip = down ? 14 : 7.5;
    const qreal back = down ? 10 : 11.5;
    p.drawLine(QPointF(10, 7), QPointF(10, 14.5));
    p.drawLine(QPointF(7, back), QPointF(10, tip));
    p.drawLine(QPointF(13, back), QPointF(10, tip));
}

void moveGlyph(QPainter &p)
{
    p.setPen(roundPen(QColor(70, 72, 80), 1.5));
    p.drawLine(QPointF(10, 2.5), QPointF(10, 17.5));
    p.drawLine(QPointF(2.5, 10), QPointF(17.5, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 72, 80));
    const QPolygonF tips[4] = {
        QPolygonF({QPointF(10, 1), QPointF(7, 5), QPointF(13, 5)}),
        QPolygonF({QPointF(10, 19), QPointF(7, 15), QPointF(13, 15)}),
        QPolygonF({QPointF(1, 10), QPointF(5, 7), QPointF(5, 13)}),
        QPolygonF({QPointF(19, 10), QPointF(15, 7), QPointF(15, 13)}),
    };
    for (const QPolygonF &t : tips)
        p.drawPolygon(t);
}

void rateGlyph(QPainter &p)
{
    p.setPen(roundPen(accent(), 1.6));
    QPolygonF wave;
    wave << QPointF(1, 11) << QPointF(5, 11) << QPointF(7, 4) << QPointF(10, 17) << QPointF(13, 7)
         << QPointF(15, 11) << QPointF(19, 11);
    p.drawPolyline(wave);
}

} // namespace

int writeIconImages(const QString &dir)
{
    int n = 0;
    n += lightning(dir);
    n += dongles(dir) ? 2 : 0;
    n += warn(dir);
    const QColor dim(70, 72, 80);
    n += stepIcon(dir, QStringLiteral("delay.png"), [&](QPainter &p) { clockGlyph(p, dim); });
    n += stepIcon(dir, QStringLiteral("icondelay.png"),
                  [&](QPainter &p) { clockGlyph(p, accent()); });
    n += stepIcon(dir, QStringLiteral("keydown.png"), [](QPainter &p) { keyGlyph(p, true); });
    n += stepIcon(dir, QStringLiteral("keyup.png"), [](QPainter &p) { keyGlyph(p, false); });
    n += stepIcon(dir, QStringLiteral("mouse_move.png"), moveGlyph);
    n += stepIcon(dir, QStringLiteral("rate.png"), rateGlyph);
    return n;
}

// Twelve frames of a ring of dots on a dark plate, the bright dot walking round. One palette
// runs from the plate colour to the accent; index 0 is transparent outside the plate.
bool writeLoadingGif(const QString &path)
{
    constexpr int kSide = 128;
    constexpr int kFrames = 12;
    const QColor plate(24, 25, 30);
    const QColor acc = accent();
    QVector<QRgb> palette(256);
    palette[0] = qRgb(0, 0, 0);
    for (int i = 1; i < 256; ++i) {
        const double t = (i - 1) / 254.0;
        palette[i] = qRgb(int(plate.red() + t * (acc.red() - plate.red())),
                          int(plate.green() + t * (acc.green() - plate.green())),
                          int(plate.blue() + t * (acc.blue() - plate.blue())));
    }
    const double dr = acc.red() - plate.red();
    const double dg = acc.green() - plate.green();
    const double db = acc.blue() - plate.blue();
    const double len2 = dr * dr + dg * dg + db * db;

    QVector<GifFrame> frames;
    for (int f = 0; f < kFrames; ++f) {
        Canvas c(kSide, kSide, 1);
        QPainter &p = c.p();
        fillRounded(p, QRectF(14, 14, 100, 100), 18, plate);
        p.setPen(Qt::NoPen);
        for (int d = 0; d < kFrames; ++d) {
            const int age = (f - d + kFrames) % kFrames; // 0 = the bright head
            const double angle = 2 * M_PI * d / kFrames - M_PI / 2;
            const QPointF at(64 + 30 * std::cos(angle), 64 + 30 * std::sin(angle));
            QColor col = acc;
            col.setAlphaF(qMax(0.15, 1.0 - age / double(kFrames) * 1.1));
            p.setBrush(col);
            p.drawEllipse(at, 5.5 - age * 0.25, 5.5 - age * 0.25);
        }
        const QImage img = c.image().convertToFormat(QImage::Format_ARGB32);
        QImage idx(kSide, kSide, QImage::Format_Grayscale8);
        for (int y = 0; y < kSide; ++y) {
            const QRgb *src = reinterpret_cast<const QRgb *>(img.constScanLine(y));
            uchar *dst = idx.scanLine(y);
            for (int x = 0; x < kSide; ++x) {
                if (qAlpha(src[x]) < 128) {
                    dst[x] = 0;
                    continue;
                }
                const double t =
                    ((qRed(src[x]) - plate.red()) * dr + (qGreen(src[x]) - plate.green()) * dg +
                     (qBlue(src[x]) - plate.blue()) * db) /
                    len2;
                dst[x] = uchar(1 + qBound(0, int(t * 254 + 0.5), 254));
            }
        }
        frames.append({idx, 80});
    }
    // Whole or not at all, as every image of the skin.
    const QByteArray gif = encodeGif(frames, palette);
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(gif) == gif.size() && out.commit();
}

} // namespace mc::skin
