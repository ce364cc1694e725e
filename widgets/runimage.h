// An image held as runs of equal pixels. The window's background is a few hundred colours laid
// out in long flat stretches, repeated row after row: as runs it takes tens of kilobytes, as
// pixels megabytes for as long as the window lives. An image that does not compress well (a
// photograph, noise) is kept as pixels, so nothing is lost either way.
#pragma once

#include <QImage>
#include <QRegion>
#include <QSize>
#include <QVector>

class QPainter;

namespace mc {

class RunImage
{
public:
    RunImage() = default;
    explicit RunImage(const QImage &image);

    bool isNull() const { return m_size.isEmpty(); }
    QSize size() const { return m_size; }
    bool heldAsRuns() const { return m_pixels.isNull() && !isNull(); }
    // Bytes the image holds (runs and bands, or pixels).
    qint64 byteCount() const;

    // Draws the image with its top-left at (0, 0), only what falls inside clip.
    void paint(QPainter &painter, const QRect &clip) const;
    // The pixels again (for a scaled copy), premultiplied ARGB.
    QImage toImage() const;
    // Where the image is at least half opaque: the window's shape.
    QRegion opaqueRegion() const;

private:
    struct Run
    {
        quint16 x;
        quint16 width;
        QRgb pixel; // premultiplied
    };
    // Consecutive rows with identical runs share one band.
    struct Band
    {
        int y;
        int height;
        int first; // index of the band's first run
        int count;
    };
    QSize m_size;
    QVector<Band> m_bands;
    QVector<Run> m_runs;
    QImage m_pixels; // set instead of runs when runs would not be smaller
};

} // namespace mc
