// Canvas and shape helpers.
#include "skinpaint.h"

#include "widgets/themecolours.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace mc::skin {

namespace {
int g_accentEntry = kSkinAccentEntry;
} // namespace

void setAccentEntry(int entry)
{
    g_accentEntry = entry;
}

namespace colours {
QColor accent()
{
    const ThemeRgb t = themeRgbAt(g_accentEntry);
    return QColor(t.r, t.g, t.b);
}
QColor accent(int alpha)
{
    QColor c = accent();
    c.setAlpha(alpha);
    return c;
}
QColor accentDark(int div)
{
    const QColor c = accent();
    return QColor(c.red() / div, c.green() / div, c.blue() / div);
}
} // namespace colours

void setDesignSize(QImage &image, int designW, int designH)
{
    image.setText(QLatin1String(kDesignSizeKey), QStringLiteral("%1x%2").arg(designW).arg(designH));
}

Canvas::Canvas(int designW, int designH, int density)
    : m_image(designW * density, designH * density, QImage::Format_ARGB32_Premultiplied),
      m_designW(designW), m_designH(designH), m_density(density)
{
    m_image.fill(Qt::transparent);
    m_painter.begin(&m_image);
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.scale(density, density);
}

QImage Canvas::image()
{
    if (m_painter.isActive())
        m_painter.end();
    return m_image;
}

namespace {

int g_writeFailures = 0;

bool writeImageFile(const QImage &image, const QString &path, const char *format)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Written aside and renamed: a full disk or a failed write leaves the old image whole,
    // and the build, told of the failure, draws it again.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, format);
    // The fastest deflate level: the program decodes these at start-up, where every
    // millisecond shows, and inflating a lightly packed file is quicker.
    writer.setQuality(80);
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

int imageWriteFailures()
{
    return g_writeFailures;
}

bool writeImage(const QImage &image, const QString &path, const char *format)
{
    const bool ok = writeImageFile(image, path, format);
    if (!ok)
        ++g_writeFailures;
    return ok;
}

bool Canvas::save(const QString &dir, const QString &name)
{
    QImage img = image();
    if (m_density != kNatural)
        setDesignSize(img, m_designW, m_designH);
    return writeImage(img, dir + QLatin1Char('/') + name);
}

bool Canvas::saveWithLarge(const QString &dir, const QString &name)
{
    // "X@2x.png" as drawn, "X.png" shrunk to the design size: the program reads the small one
    // at the design scale, where it would otherwise decode and shrink the large one.
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (m_density == kNatural || dot < 0)
        return save(dir, name);
    if (!save(dir, name.left(dot) + QStringLiteral("@2x") + name.mid(dot)))
        return false;
    QImage small =
        image().scaled(m_designW, m_designH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    setDesignSize(small, m_designW, m_designH);
    return writeImage(small, dir + QLatin1Char('/') + name);
}

QPainterPath roundedRect(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void fillRounded(QPainter &p, const QRectF &r, qreal radius, const QBrush &fill,
                 const QColor &border, qreal borderWidth)
{
    p.save();
    if (border.isValid()) {
        QPen pen(border);
        pen.setWidthF(borderWidth);
        p.setPen(pen);
        const qreal h = borderWidth / 2;
        p.setBrush(fill);
        p.drawPath(roundedRect(r.adjusted(h, h, -h, -h), radius));
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawPath(roundedRect(r, radius));
    }
    p.restore();
}

QFont skinFont(qreal pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setBold(bold);
    return f;
}

} // namespace mc::skin
