// Painting and mouse handling of the colour dialog's small widgets.
#include "lighting/colorareas.h"

#include "widgets/uiscale.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace mc {

namespace {

constexpr int kFullCircle = 360;
constexpr int kHueStops = 16;
constexpr int kStripWidth = 34; // design pixels; the rest of the widget holds the marker
constexpr int kMarker = 12;

} // namespace

QColor colourOfHsv(int iH, int iS, int iV)
{
    const int h = ((iH % kFullCircle) + kFullCircle) % kFullCircle;
    return QColor::fromHsv(h, std::clamp(iS, 0, 255), std::clamp(iV, 0, 255)).toRgb();
}

// --- hue strip ---

HColorArea::HColorArea(QWidget *parent) : QWidget(parent) {}

int HColorArea::stripWidth() const
{
    return std::min(width(), std::max(1, scaled(kStripWidth)));
}

void HColorArea::setHue(int iHue)
{
    m_hue = std::clamp(iHue, 0, kFullCircle);
    m_fraction = double(m_hue) / kFullCircle;
    update();
}

void HColorArea::pickAt(int y)
{
    const int h = std::max(1, height());
    m_fraction = std::clamp(1.0 - double(y) / h, 0.0, 1.0);
    m_hue = int(m_fraction * kFullCircle);
    update();
    emit hueChangedSignal(m_hue);
}

void HColorArea::mousePressEvent(QMouseEvent *event)
{
    pickAt(event->pos().y());
}

void HColorArea::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::NoButton)
        pickAt(event->pos().y());
}

void HColorArea::mouseReleaseEvent(QMouseEvent *)
{
    emit mouseReleaseSignal();
}

void HColorArea::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int w = stripWidth();
    QLinearGradient g(0, 0, 0, height());
    for (int i = 0; i < kHueStops; ++i) {
        const double at = double(i) / (kHueStops - 1);
        g.setColorAt(at, colourOfHsv(int((1.0 - at) * (kFullCircle - 1)), 255, 255));
    }
    p.fillRect(0, 0, w, height(), g);

    // The triangle points at the hue from the right of the strip.
    const double y = (1.0 - m_fraction) * (height() - 1);
    const double t = std::max(4, scaled(7));
    QPainterPath tri;
    tri.moveTo(w + 1, y);
    tri.lineTo(w + 1 + t, y - t * 0.7);
    tri.lineTo(w + 1 + t, y + t * 0.7);
    tri.closeSubpath();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(tri, Qt::white);
}

// --- saturation/value square ---

SVColorArea::SVColorArea(QWidget *parent) : QWidget(parent)
{
    drawField();
}

void SVColorArea::setSV(int iS, int iV)
{
    m_s = std::clamp(iS, 0, kSide);
    m_v = std::clamp(iV, 0, kSide);
    update();
}

void SVColorArea::hueChangedSlot(int iHue)
{
    m_hue = std::clamp(iHue, 0, kFullCircle);
    drawField();
    update();
    // A new hue is a new colour under the marker: reported like a move of the marker, so a
    // drag along the strip reaches the preview and the dialog's fields.
    emit svChangedSignal(m_hue, m_s, m_v);
}

void SVColorArea::pickAt(const QPoint &pos)
{
    // At the design size one pixel is one step; scaled, the steps stretch with the square.
    const int w = std::max(1, width() - 1);
    const int h = std::max(1, height() - 1);
    m_s = std::clamp(int(std::lround(double(pos.x()) * kSide / w)), 0, kSide);
    m_v = kSide - std::clamp(int(std::lround(double(pos.y()) * kSide / h)), 0, kSide);
    update();
    emit svChangedSignal(m_hue, m_s, m_v);
}

void SVColorArea::mousePressEvent(QMouseEvent *event)
{
    pickAt(event->pos());
}

void SVColorArea::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::NoButton)
        pickAt(event->pos());
}

void SVColorArea::mouseReleaseEvent(QMouseEvent *)
{
    emit mouseReleaseSignal();
}

void SVColorArea::resizeEvent(QResizeEvent *)
{
    drawField();
}

void SVColorArea::drawField()
{
    const QSize size = this->size().expandedTo(QSize(1, 1));
    m_field = QImage(size, QImage::Format_RGB32);
    QPainter p(&m_field);
    QLinearGradient across(0, 0, size.width(), 0);
    across.setColorAt(0, Qt::white);
    across.setColorAt(1, colourOfHsv(m_hue, 255, 255));
    p.fillRect(m_field.rect(), across);
    QLinearGradient down(0, 0, 0, size.height());
    down.setColorAt(0, QColor(0, 0, 0, 0));
    down.setColorAt(1, Qt::black);
    p.fillRect(m_field.rect(), down);
}

void SVColorArea::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_field);
    const double x = double(m_s) * (width() - 1) / kSide;
    const double y = double(kSide - m_v) * (height() - 1) / kSide;
    const double r = scaled(kMarker) / 2.0;
    // White on the dark lower half, black on the light upper one.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(m_v < kSide / 2 ? Qt::white : Qt::black, std::max(1, scaled(2))));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(x, y), r, r);
}

// --- preview ---

PreviewColorArea::PreviewColorArea(QWidget *parent) : QWidget(parent) {}

void PreviewColorArea::setColour(const QColor &colour)
{
    m_colour = colour;
    update();
}

void PreviewColorArea::svChangedSlot(int iH, int iS, int iV)
{
    setColour(colourOfHsv(iH, iS, iV));
    emit svChangedSignal(iH, iS, iV);
}

void PreviewColorArea::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_colour);
}

// --- swatch ---

DefaultColorArea::DefaultColorArea(const QColor &colour, QWidget *parent)
    : QWidget(parent), m_colour(colour)
{
    setCursor(Qt::PointingHandCursor);
}

void DefaultColorArea::setColour(const QColor &colour)
{
    m_colour = colour;
    update();
}

void DefaultColorArea::mousePressEvent(QMouseEvent *)
{
    emit ClickedSignal();
}

void DefaultColorArea::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_colour.isValid() ? m_colour : QColor(Qt::black));
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace mc
