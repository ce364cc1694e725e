#include "widgets/runimage.h"

#include <QBitmap>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace mc {

namespace {

// Runs are worth it only when they take well under the pixels' memory; a drawing of flat
// stretches is far below this, a photograph far above.
constexpr qint64 kMaxRunShare = 4; // runs may take at most a quarter of the pixels' bytes

} // namespace

RunImage::RunImage(const QImage &image)
{
    if (image.isNull() || image.width() > 0xFFFF)
        return;
    // Straight (not premultiplied) pixels, as a PNG decodes, are read as they are and only each
    // run's colour is premultiplied: converting the whole picture first cost more than finding
    // its runs.
    const bool straight = image.format() == QImage::Format_ARGB32;
    const QImage img =
        straight ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_size = img.size();
    const qint64 budget = qint64(img.sizeInBytes()) / kMaxRunShare / qint64(sizeof(Run));
    QVector<Run> row;
    const size_t lineBytes = size_t(img.width()) * sizeof(QRgb);
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        // Most rows repeat the one above: a byte comparison settles those without runs.
        if (y > 0 && std::memcmp(line, img.constScanLine(y - 1), lineBytes) == 0) {
            ++m_bands.last().height;
            continue;
        }
        row.clear();
        for (int x = 0; x < img.width();) {
            int end = x + 1;
            while (end < img.width() && line[end] == line[x])
                ++end;
            row.append(
                Run{quint16(x), quint16(end - x), straight ? qPremultiply(line[x]) : line[x]});
            x = end;
        }
        m_bands.append(Band{y, 1, int(m_runs.size()), int(row.size())});
        m_runs += row;
        if (m_runs.size() > budget) {
            m_bands.clear();
            m_runs.clear();
            m_pixels = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            return;
        }
    }
    m_bands.squeeze();
    m_runs.squeeze();
}

qint64 RunImage::byteCount() const
{
    if (!m_pixels.isNull())
        return m_pixels.sizeInBytes();
    return qint64(m_runs.size()) * qint64(sizeof(Run)) + qint64(m_bands.size()) * qint64(sizeof(Band));
}

void RunImage::paint(QPainter &painter, const QRect &clip) const
{
    const QRect area = clip.intersected(QRect(QPoint(0, 0), m_size));
    if (area.isEmpty())
        return;
    if (!m_pixels.isNull()) {
        painter.drawImage(area.topLeft(), m_pixels, area);
        return;
    }
    // The first band that reaches into the area; bands are in row order.
    auto band = std::upper_bound(m_bands.cbegin(), m_bands.cend(), area.top(),
                                 [](int y, const Band &b) { return y < b.y; });
    if (band != m_bands.cbegin())
        --band;
    for (; band != m_bands.cend() && band->y <= area.bottom(); ++band) {
        const int top = qMax(band->y, area.top());
        const int bottom = qMin(band->y + band->height - 1, area.bottom());
        if (bottom < top)
            continue;
        const Run *run = m_runs.constData() + band->first;
        for (const Run *end = run + band->count; run != end; ++run) {
            if (qAlpha(run->pixel) == 0)
                continue;
            const int left = qMax(int(run->x), area.left());
            const int right = qMin(int(run->x) + int(run->width) - 1, area.right());
            if (right < left)
                continue;
            painter.fillRect(QRect(left, top, right - left + 1, bottom - top + 1),
                             QColor::fromRgba(qUnpremultiply(run->pixel)));
        }
    }
}

QImage RunImage::toImage() const
{
    if (!m_pixels.isNull() || isNull())
        return m_pixels;
    QImage img(m_size, QImage::Format_ARGB32_Premultiplied);
    for (const Band &band : m_bands) {
        for (int y = band.y; y < band.y + band.height; ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int i = band.first; i < band.first + band.count; ++i)
                std::fill_n(line + m_runs[i].x, m_runs[i].width, m_runs[i].pixel);
        }
    }
    return img;
}

QRegion RunImage::opaqueRegion() const
{
    if (!m_pixels.isNull())
        return QRegion(QBitmap::fromImage(m_pixels.createAlphaMask()));
    // QRegion::setRects takes rectangles as it keeps them: y-sorted bands of equal height,
    // x-sorted within a band, none touching another of its band, and vertically neighbouring
    // bands of the same spans joined into one.
    QVector<QRect> rects;
    int lastBand = 0; // index in rects of the previous band's first rectangle
    for (const Band &band : m_bands) {
        const int bandStart = rects.size();
        int start = -1;
        int end = 0;
        for (int i = band.first; i <= band.first + band.count; ++i) {
            const bool opaque = i < band.first + band.count && qAlpha(m_runs[i].pixel) >= 128;
            if (opaque) {
                if (start < 0)
                    start = m_runs[i].x;
                end = m_runs[i].x + m_runs[i].width;
            } else if (start >= 0) {
                rects.append(QRect(start, band.y, end - start, band.height));
                start = -1;
            }
        }
        const int count = rects.size() - bandStart;
        const bool joins = bandStart > 0 && bandStart - lastBand == count
                           && rects[lastBand].bottom() + 1 == band.y
                           && std::equal(rects.cbegin() + lastBand, rects.cbegin() + bandStart,
                                         rects.cbegin() + bandStart, [](const QRect &a, const QRect &b) {
                                             return a.left() == b.left() && a.width() == b.width();
                                         });
        if (joins) {
            for (int i = 0; i < count; ++i)
                rects[lastBand + i].setBottom(band.y + band.height - 1);
            rects.resize(bandStart);
        } else if (count > 0) {
            lastBand = bandStart;
        }
    }
    QRegion region;
    region.setRects(rects.constData(), rects.size());
    return region;
}

} // namespace mc
