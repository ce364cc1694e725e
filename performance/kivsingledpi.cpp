// One DPI stage row. Figures shown are RawToDpi of the raw values for the row's sensor.
#include "performance/kivsingledpi.h"
#include "performance/log.h"

#include "performance/dpirange.h"
#include "performance/kivoptionbuttons.h"
#include "performance/kivtwobarslider.h"
#include "profile/rawtodpi.h"
#include "profile/settings.h"
#include "widgets/kivlabel.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivslider.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>
#include <QIntValidator>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>

#include <climits>

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
      m_lowLabel(new KivLabel(this)), m_highLabel(new KivLabel(this)),
      m_dpiEdit(new KivLineEdit(this))
{
    m_dpiEdit->setValidator(new QIntValidator(0, 999999, m_dpiEdit));
    m_dpiEdit->setMaxLength(6);
    m_dpiEdit->hide();
    m_dpiEdit->installEventFilter(this);
    connect(m_dpiEdit, &QLineEdit::returnPressed, this, [this] { endDpiEdit(true); });
    connect(m_dpiEdit, &KivLineEdit::kivLostFocus, this, [this] { endDpiEdit(true); });
    // Keys step the resolution once a slider has been clicked or tabbed to.
    for (KivSlider *s : {m_slider->linkedSlider(), m_slider->xSlider(), m_slider->ySlider()})
        s->setFocusPolicy(Qt::StrongFocus);
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
    m_dpiLabel->setCursor(Qt::IBeamCursor); // a click types the figure
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

void KivSingleDPI::slotLabelClick(KivLabel *label)
{
    emit MouseinSignal(m_stage);
    // Apart, each axis has its figure to type into; the stage's figure is Y's, as it shows.
    if (label == m_dpiLabel)
        startDpiEdit(m_link == 1 ? Both : AxisY, m_dpiLabel);
    else if (m_link != 1 && label == m_xLabel)
        startDpiEdit(AxisX, m_xLabel);
    else if (m_link != 1 && label == m_yLabel)
        startDpiEdit(AxisY, m_yLabel);
}

int KivSingleDPI::rawForDpi(int iDpi) const
{
    // The figures grow with the raw value but not always by the same step (some sensors
    // change their step halfway), so the nearest is searched, not computed; a tie takes the
    // lower value.
    int best = m_slider->minimum();
    int bestGap = INT_MAX;
    for (int raw = m_slider->minimum(); raw <= m_slider->maximum(); ++raw) {
        const int gap = qAbs(RawToDpi(uint32_t(qMax(0, raw)), m_sensor) - iDpi);
        if (gap < bestGap) {
            best = raw;
            bestGap = gap;
        }
    }
    return best;
}

void KivSingleDPI::startDpiEdit(Axis axis, KivLabel *over)
{
    if (m_dpiEdit->isVisible())
        return;
    m_editAxis = axis;
    m_dpiEdit->setFont(over->font());
    m_dpiEdit->setStyleSheet(themedLineEditStyle());
    m_dpiEdit->setGeometry(over->geometry());
    const int shown = axis == AxisX ? m_x : m_y;
    m_dpiEdit->setText(QString::number(RawToDpi(uint32_t(qMax(0, shown)), m_sensor)));
    m_dpiEdit->selectAll();
    m_dpiEdit->show();
    m_dpiEdit->setFocus();
}

void KivSingleDPI::endDpiEdit(bool bKeep)
{
    if (!m_dpiEdit->isVisible())
        return;
    const QString text = m_dpiEdit->text();
    m_dpiEdit->hide(); // before anything else: hiding takes the focus, which ends the edit again
    bool ok = false;
    const int dpi = text.toInt(&ok);
    if (!bKeep || !ok || !m_rangeKnown)
        return;
    // Linked, the typed figure is the stage's resolution on both axes, as the linked slider
    // sets it; apart, only the axis typed into changes.
    const int raw = rawForDpi(dpi);
    const int x = m_editAxis == AxisY ? m_x : raw;
    const int y = m_editAxis == AxisX ? m_y : raw;
    m_slider->setValues(x, x, y);
    onSliderChanged(x, y);
}

bool KivSingleDPI::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_dpiEdit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        endDpiEdit(false);
        return true;
    }
    return QWidget::eventFilter(watched, event);
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
    if (!m_dpiEdit->isVisible())
        m_dpiEdit->setGeometry(m_dpiLabel->geometry());
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
