// The sniper dialog: the sensor step the mouse drops to while the sniper button is held. The
// slider's range and the DPI its steps mean depend on the product's sensor. User-interface
// thread.
#pragma once

#include "buttons/ui/kivdialogframe.h"

#include <cstdint>

namespace mc {

class KivSlider;

struct SniperRange
{
    int min = 1;
    int max = 10;
    int preset = 0; // replaces a value outside the range; 0: the value is only clamped
};
SniperRange sniperRange(int iSensor);

class KivSniperWindow final : public KivDialogFrame
{
    Q_OBJECT
public:
    // iSensor: the product's sensor code (MouseSenSor/1).
    explicit KivSniperWindow(int iSensor, QWidget *parent = nullptr);

    void setValue(uint8_t iValue); // preset; an out-of-range value opens at the sensor's preset
    uint8_t value() const;
    QString dpiText() const;
    KivSlider *slider() const { return m_slider; }

signals:
    void SetSniperValue(quint8 iValue);

private slots:
    void onSliderChanged(int iValue);

private:
    int m_sensor = 0;
    KivSlider *m_slider = nullptr;
    KivLabel *m_dpiLabel = nullptr;
};

} // namespace mc
