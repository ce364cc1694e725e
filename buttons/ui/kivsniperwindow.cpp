// The sniper dialog.
#include "buttons/ui/kivsniperwindow.h"

#include "profile/rawtodpi.h"
#include "widgets/kivlabel.h"
#include "widgets/kivslider.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>

namespace mc {

SniperRange sniperRange(int iSensor)
{
    switch (iSensor) {
    case 3325:
    case 3327:
    case 3335:
    case 3360:
        return {1, 10, 3};
    case 3333:
        return {2, 10, 3};
    case 3389:
        return {2, 20, 6};
    case 3212:
        return {16, 32, 16};
    case 3104:
        return {14, 26, 14};
    default:
        return {1, 10, 0};
    }
}

KivSniperWindow::KivSniperWindow(int iSensor, QWidget *parent)
    : KivDialogFrame(420, 200, parent), m_sensor(iSensor)
{
    setTitleText(QCoreApplication::translate("KivSniperWindow", "Sniper Setting"));
    setButtonTexts(QCoreApplication::translate("KivSniperWindow", "OK"),
                   QCoreApplication::translate("KivSniperWindow", "Cancel"));
    const SniperRange r = sniperRange(iSensor);
    m_slider = new KivSlider(Qt::Horizontal, this);
    m_slider->setRange(r.min, r.max);
    m_slider->setGeometry(scaledRect(30, 80, 260, 30));
    // The look of the window's other sliders, and a keyboard focus mark in the theme colour.
    const QColor theme = themeColour();
    const int handle = qMax(8, scaled(12));
    const int groove = qMax(2, scaled(4));
    m_slider->setFocusPolicy(Qt::StrongFocus);
    m_slider->setStyleSheet(
        QStringLiteral("QSlider{background-color:rgba(0,0,0,0)}"
                       "QSlider::groove:horizontal{height:%1px;background:rgb(70,70,70);"
                       "border-radius:%2px}"
                       "QSlider::sub-page:horizontal{background:%3;border-radius:%2px}"
                       "QSlider::handle:horizontal{background:rgb(235,235,235);width:%4px;"
                       "margin:-%5px 0;border-radius:%6px}"
                       "QSlider::handle:horizontal:focus{border:2px solid %3}")
            .arg(groove)
            .arg(qMax(1, scaled(2)))
            .arg(theme.name())
            .arg(handle)
            .arg((handle - groove) / 2)
            .arg(qMax(4, scaled(6))));
    m_dpiLabel = makeLabel(QString());
    m_dpiLabel->setAlignment(Qt::AlignCenter);
    m_dpiLabel->setDarkBackground(true);
    m_dpiLabel->setGeometry(scaledRect(300, 80, 90, 30));
    connect(m_slider, &QSlider::valueChanged, this, &KivSniperWindow::onSliderChanged);
    setValue(uint8_t(r.min));
    onSliderChanged(m_slider->value());
}

void KivSniperWindow::setValue(uint8_t iValue)
{
    const SniperRange r = sniperRange(m_sensor);
    int v = iValue;
    if ((v < r.min || v > r.max) && r.preset != 0)
        v = r.preset;
    m_slider->setValue(qBound(r.min, v, r.max));
    onSliderChanged(m_slider->value());
}

uint8_t KivSniperWindow::value() const
{
    return uint8_t(m_slider->value());
}

QString KivSniperWindow::dpiText() const
{
    return m_dpiLabel->text();
}

void KivSniperWindow::onSliderChanged(int iValue)
{
    m_dpiLabel->setText(QString::asprintf("%d", RawToDpi(uint32_t(iValue), m_sensor)));
    emit SetSniperValue(quint8(iValue));
}

} // namespace mc
