// The small widgets of the colour dialog: the hue strip, the saturation/value square, the
// preview and the preset swatch (the swatch is also the lighting panel's colour button).
// User-interface thread only. Sizes follow the global scale factor; the values they report do
// not: hue 0..360, saturation and value 0..255 whatever the size on screen.
#pragma once

#include <QColor>
#include <QWidget>

namespace mc {

// A vertical hue strip, 360 at the top and 0 at the bottom, with a triangle at the hue.
class HColorArea : public QWidget
{
    Q_OBJECT
public:
    explicit HColorArea(QWidget *parent = nullptr);

    int hue() const { return m_hue; }
    double fraction() const { return m_fraction; }
    // From outside: stored and shown, not reported.
    void setHue(int iHue);

signals:
    void hueChangedSignal(int iHue);
    void mouseReleaseSignal();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void pickAt(int y);
    int stripWidth() const;

    int m_hue = 0;
    double m_fraction = 0.0;
};

// The hue's colour field, white to full colour across and black at the bottom, with a round
// marker at (s, side - v).
class SVColorArea : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kSide = 255;

    explicit SVColorArea(QWidget *parent = nullptr);

    int hue() const { return m_hue; }
    int saturation() const { return m_s; }
    int value() const { return m_v; }
    // From outside: stored and shown, not reported.
    void setSV(int iS, int iV);

public slots:
    // Redraws the field and reports (hue, s, v) with svChangedSignal.
    void hueChangedSlot(int iHue);

signals:
    void svChangedSignal(int iH, int iS, int iV);
    void mouseReleaseSignal();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void pickAt(const QPoint &pos);
    void drawField();

    int m_hue = 0;
    int m_s = 0;
    int m_v = 0;
    QImage m_field; // the colour field of m_hue at the widget's size
};

// The current colour, as a plain filled rectangle.
class PreviewColorArea : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewColorArea(QWidget *parent = nullptr);

    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour); // from outside: shown, not passed on

public slots:
    void svChangedSlot(int iH, int iS, int iV);

signals:
    void svChangedSignal(int iH, int iS, int iV);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_colour = Qt::black;
};

// A swatch of one colour with a thin black edge; a press reports itself.
class DefaultColorArea : public QWidget
{
    Q_OBJECT
public:
    explicit DefaultColorArea(const QColor &colour = Qt::black, QWidget *parent = nullptr);

    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour);

signals:
    void ClickedSignal();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QColor m_colour;
};

// The colour (RGB form) of hue h (0..360, 360 being 0 again), saturation s and value v (0..255).
QColor colourOfHsv(int iH, int iS, int iV);

} // namespace mc
