// One DPI stage row. Figures shown are RawToDpi of the raw values for the row's sensor.
#include "performance/kivsingledpi.h"
#include "performance/log.h"

#include "performance/dpirange.h"
#include "performance/kivoptionbuttons.h"
#include "performance/kivtwobarslider.h"
#include "profile/rawtodpi.h"
#include "profile/settings.h"
#include "widgets/kivlabel.h"
#include "widgets/kivslider.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>

namespace mc {

namespace {

// Row geometry in design pixels of the 440 x 48 row: two lines of text beside the sliders.
constexpr int kLine1 = 3;
constexpr int kLine2 = 25;
constexpr int kLineHeight = 20;

void setTextColour(KivLabel *label, const QColor &colour)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    label->update();
}

} // namespace

KivSingleDPI::KivSingleDPI(quint8 stage, QWidget *parent)
    : QWidget(parent), m_stage(stage), m_enableBox(new KivCheckBox(this)),
      m_linkBox(new KivCheckBox(this)), m_slider(new KivTwoBarSlider(this)),
      m_xLabel(new KivLabel(this)), m_yLabel(new KivLabel(this)), m_dpiLabel(new KivLabel(this)),
      m_lowLabel(new KivLabel(this)), m_highLabel(new KivLabel(this))
{
    m_lowLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lowLabel->setSizeDecrement(1);
    m_highLabel->setSizeDecrement(1);
    m_xLabel->setSizeDecrement(1);
    m_yLabel->setSizeDecrement(1);
    connect(m_enableBox, &QCheckBox::stateChanged, this, &KivSingleDPI::onStateChanged);
    connect(m_linkBox, &QCheckBox::stateChanged, this, &KivSingleDPI::onStateChanged);
    connect(m_slider, &KivTwoBarSlider::SliderChangedSignal, this, &KivSingleDPI::onSliderChanged);
    for (KivLabel *l : {m_xLabel, m_yLabel, m_dpiLabel, m_lowLabel, m_highLabel})
        connect(l, &KivLabel::EnterSignal, this, &KivSingleDPI::slotLabelClick);
    m_linkBox->hide();
    retranslate();
    // Placed before anything is shown: a child shown without a size is measured by Qt for one,
    // a text layout per label and stage, only to be moved at the first resize.
    layoutRow();
    showLinkState();
    showFigures();
}

void KivSingleDPI::setSensor(int iSensor)
{
    m_sensor = iSensor;
    DpiRange range;
    if (dpiRangeFor(iSensor, read33254(), readCurrentProduct(), range)) {
        m_slider->setRange(range.lowest, range.highest);
        m_lowLabel->setNumber(RawToDpi(uint32_t(range.lowest), iSensor));
        m_highLabel->setNumber(RawToDpi(uint32_t(range.highest), iSensor));
        m_linkOffered = range.linkShown;
        m_linkBox->setVisible(m_linkOffered);
        m_rangeKnown = true;
    } else {
        m_rangeKnown = false; // the range shown is another sensor's
    }
    m_slider->setValues(m_x, m_x, m_y);
    showFigures();
}

void KivSingleDPI::setValues(int x, int y)
{
    // A damaged stored value is shown where the slider can show it and kept as shown, so that
    // the figure, the slider and what "Apply" sends agree.
    if (m_rangeKnown) {
        x = qBound(m_slider->minimum(), x, m_slider->maximum());
        y = qBound(m_slider->minimum(), y, m_slider->maximum());
    }
    m_x = x;
    m_y = y;
    // The linked slider follows X even while hidden, so linking again starts from X.
    m_slider->setValues(x, x, y);
    showFigures();
}

void KivSingleDPI::setLink(quint8 link)
{
    m_link = link;
    const QSignalBlocker block(m_linkBox);
    m_linkBox->setChecked(link == 1);
    showLinkState();
}

void KivSingleDPI::setEnable(quint8 enable)
{
    m_enable = enable;
    const QSignalBlocker block(m_enableBox);
    m_enableBox->setChecked(enable == 1);
}

void KivSingleDPI::setActive(bool bActive)
{
    m_active = bActive;
    const QColor colour = bActive ? themeColour() : QColor(Qt::white);
    for (KivLabel *l : {m_xLabel, m_yLabel, m_dpiLabel})
        setTextColour(l, colour);
    for (KivLabel *l : {m_lowLabel, m_highLabel})
        setTextColour(l, bActive ? colour : QColor(170, 170, 170));
    update();
}

void KivSingleDPI::retranslate()
{
    m_linkBox->setText(QCoreApplication::translate("QObject", "Link XY"));
    m_enableBox->setToolTip(QCoreApplication::translate("QObject", "DPI") +
                            QString::asprintf(" %d", m_stage + 1));
}

void KivSingleDPI::onStateChanged(int state)
{
    const quint8 on = state == Qt::Checked ? 1 : 0;
    if (sender() == m_linkBox) {
        m_link = on;
        showLinkState();
        emit LinkSignal(m_link, m_stage);
    } else if (sender() == m_enableBox) {
        m_enable = on;
        emit EnableSignal(m_enable, m_stage);
    }
}

void KivSingleDPI::onSliderChanged(int x, int y)
{
    m_x = x;
    m_y = y;
    showFigures();
    emit DPISignal(x, y, m_stage);
}

void KivSingleDPI::slotLabelClick(KivLabel *)
{
    emit MouseinSignal(m_stage);
}

void KivSingleDPI::mousePressEvent(QMouseEvent *event)
{
    emit MouseinSignal(m_stage);
    QWidget::mousePressEvent(event);
}

void KivSingleDPI::showFigures()
{
    m_xLabel->setText(QString::asprintf("X:%d", RawToDpi(uint32_t(qMax(0, m_x)), m_sensor)));
    m_yLabel->setText(QString::asprintf("Y:%d", RawToDpi(uint32_t(qMax(0, m_y)), m_sensor)));
    m_dpiLabel->setText(QString::asprintf("DPI : %d", RawToDpi(uint32_t(qMax(0, m_y)), m_sensor)));
}

void KivSingleDPI::showLinkState()
{
    const bool linked = m_link == 1;
    m_slider->setLinked(linked);
    // The separate figures only mean something while the axes are apart.
    m_xLabel->setVisible(!linked);
    m_yLabel->setVisible(!linked);
}

void KivSingleDPI::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutRow();
}

void KivSingleDPI::layoutRow()
{
    auto put = [](QWidget *w, int x, int y, int width, int height) {
        w->setGeometry(scaledRect(x, y, width, height));
    };
    put(m_enableBox, 8, 0, 18, 48);
    put(m_dpiLabel, 32, kLine1, 100, kLineHeight);
    put(m_linkBox, 32, kLine2, 100, kLineHeight);
    put(m_lowLabel, 132, 0, 42, 48);
    put(m_slider, 180, 0, 148, 48);
    put(m_highLabel, 332, 0, 44, 48);
    put(m_xLabel, 378, kLine1, 58, kLineHeight);
    put(m_yLabel, 378, kLine2, 58, kLineHeight);
}

void KivSingleDPI::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal radius = scaled(6);
    const QRectF plate = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setBrush(QColor(30, 30, 30));
    p.setPen(m_active ? QPen(themeColour(), qMax(1.0, scaleFactor() * 1.5))
                      : QPen(QColor(55, 55, 55), 1));
    p.drawRoundedRect(plate, radius, radius);
}

} // namespace mc
