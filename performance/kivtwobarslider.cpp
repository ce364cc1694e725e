// The linked and the X/Y sliders of one DPI stage.
#include "performance/kivtwobarslider.h"

#include "widgets/kivslider.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QSignalBlocker>

namespace mc {

KivTwoBarSlider::KivTwoBarSlider(QWidget *parent)
    : QWidget(parent), m_linkedSlider(new KivSlider(Qt::Horizontal, this)),
      m_xSlider(new KivSlider(Qt::Horizontal, this)), m_ySlider(new KivSlider(Qt::Horizontal, this))
{
    for (KivSlider *s : {m_linkedSlider, m_xSlider, m_ySlider}) {
        // One raw unit per step, so the figure moves in the sensor's own DPI steps.
        s->setSingleStep(1);
        s->setPageStep(1);
        s->setFocusPolicy(Qt::NoFocus);
    }
    // The hidden sliders follow the one moved, so that linking or unlinking afterwards starts
    // from the values the stage now holds.
    connect(m_linkedSlider, &QSlider::valueChanged, this, [this](int v) {
        setValues(v, v, v);
        emit SliderChangedSignal(v, v);
    });
    connect(m_xSlider, &QSlider::valueChanged, this, [this](int v) {
        setValues(v, v, m_ySlider->value());
        emit SliderChangedSignal(v, m_ySlider->value());
    });
    connect(m_ySlider, &QSlider::valueChanged, this, [this](int v) {
        setValues(m_xSlider->value(), m_xSlider->value(), v);
        emit SliderChangedSignal(m_xSlider->value(), v);
    });
    applyStyle();
    setLinked(true);
}

void KivTwoBarSlider::setRange(int iLowest, int iHighest)
{
    for (KivSlider *s : {m_linkedSlider, m_xSlider, m_ySlider}) {
        const QSignalBlocker block(s);
        s->setRange(iLowest, iHighest);
    }
}

int KivTwoBarSlider::minimum() const
{
    return m_linkedSlider->minimum();
}

int KivTwoBarSlider::maximum() const
{
    return m_linkedSlider->maximum();
}

void KivTwoBarSlider::setLinked(bool bLinked)
{
    m_linked = bLinked;
    m_linkedSlider->setVisible(bLinked);
    m_xSlider->setVisible(!bLinked);
    m_ySlider->setVisible(!bLinked);
}

void KivTwoBarSlider::setValues(int iLinked, int iX, int iY)
{
    const QSignalBlocker b1(m_linkedSlider), b2(m_xSlider), b3(m_ySlider);
    m_linkedSlider->setValue(iLinked);
    m_xSlider->setValue(iX);
    m_ySlider->setValue(iY);
}

void KivTwoBarSlider::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeSliders();
}

void KivTwoBarSlider::placeSliders()
{
    const int h = height();
    const int bar = qMin(h, qMax(12, scaled(20)));
    m_linkedSlider->setGeometry(0, (h - bar) / 2, width(), bar);
    const int half = h / 2;
    const int pairBar = qMin(bar, half);
    m_xSlider->setGeometry(0, (half - pairBar) / 2, width(), pairBar);
    m_ySlider->setGeometry(0, half + (half - pairBar) / 2, width(), pairBar);
    applyStyle();
}

void KivTwoBarSlider::applyStyle()
{
    const QColor t = themeColour();
    const int groove = qMax(2, scaled(4));
    const int handle = qMax(8, scaled(12));
    const int margin = (handle - groove) / 2;
    const QString style =
        QStringLiteral("QSlider{background-color:rgba(0,0,0,0)}"
                       "QSlider::groove:horizontal{height:%1px;background:rgb(70,70,70);"
                       "border-radius:%2px}"
                       "QSlider::sub-page:horizontal{background:rgb(%3,%4,%5);border-radius:%2px}"
                       "QSlider::handle:horizontal{background:rgb(235,235,235);width:%6px;"
                       "margin:-%7px 0;border-radius:%8px}")
            .arg(groove)
            .arg(groove / 2)
            .arg(t.red())
            .arg(t.green())
            .arg(t.blue())
            .arg(handle)
            .arg(margin)
            .arg(handle / 2);
    // On this widget rather than on each slider: Qt parses and keeps a style sheet per widget
    // that has one, and a panel holds eight of these.
    setStyleOnce(this, style);
}

} // namespace mc
