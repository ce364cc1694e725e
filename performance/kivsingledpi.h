// One DPI stage of the DPI editor: enable box, "Link XY" box, the resolution sliders and the
// figures they stand for. The sliders step with the arrow keys and the wheel, and a click on
// the DPI figure lets the user type it, taken to the sensor's nearest step. It keeps the stage's
// raw values and reports every change by a signal carrying its stage number; the panel keeps the
// record. User-interface thread only.
#pragma once

#include <QWidget>

#include <cstdint>

namespace mc {

class KivCheckBox;
class KivLabel;
class KivLineEdit;
class KivTwoBarSlider;

class KivSingleDPI : public QWidget
{
    Q_OBJECT
public:
    KivSingleDPI(quint8 stage, QWidget *parent = nullptr);

    quint8 stage() const { return m_stage; }

    // Sets the slider range, the range labels and the "Link XY" box for a sensor; a sensor
    // the editor does not know leaves them as they were.
    // Values set later are held within the range of a known sensor.
    void setSensor(int iSensor);
    int sensor() const { return m_sensor; }
    void setValues(int x, int y);
    void setLink(quint8 link);
    void setEnable(quint8 enable);
    void setActive(bool bActive);
    // Re-lays out the children at the current scale.
    void layoutRow();
    void retranslate();

    int x() const { return m_x; }
    int y() const { return m_y; }
    quint8 link() const { return m_link; }
    quint8 enable() const { return m_enable; }
    bool isActive() const { return m_active; }

    KivTwoBarSlider *slider() const { return m_slider; }
    KivCheckBox *linkBox() const { return m_linkBox; }
    KivCheckBox *enableBox() const { return m_enableBox; }
    KivLabel *xLabel() const { return m_xLabel; }
    KivLabel *yLabel() const { return m_yLabel; }
    KivLabel *dpiLabel() const { return m_dpiLabel; }
    KivLabel *lowestLabel() const { return m_lowLabel; }
    KivLabel *highestLabel() const { return m_highLabel; }
    // The field over the DPI figure in which a click lets the user type the DPI.
    KivLineEdit *dpiEdit() const { return m_dpiEdit; }

    // The raw value of the sensor's step nearest a DPI figure, within the slider's range.
    int rawForDpi(int iDpi) const;

signals:
    void DPISignal(int x, int y, quint8 stage);
    void LinkSignal(quint8 link, quint8 stage);
    void EnableSignal(quint8 enable, quint8 stage);
    void MouseinSignal(quint8 stage);

public slots:
    void onStateChanged(int state);
    void onSliderChanged(int x, int y);
    void slotLabelClick(KivLabel *label);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showFigures();
    void showLinkState();
    // The figure typed sets both axes, or the one it was typed over while they are apart.
    enum Axis
    {
        Both,
        AxisX,
        AxisY
    };
    void startDpiEdit(Axis axis, KivLabel *over);
    void endDpiEdit(bool bKeep);

    quint8 m_stage;
    int m_sensor = 0;
    int m_x = 0;
    int m_y = 0;
    quint8 m_link = 1;
    Axis m_editAxis = Both;
    quint8 m_enable = 1;
    bool m_active = false;
    bool m_linkOffered = false;
    bool m_rangeKnown = false;

    KivCheckBox *m_enableBox;
    KivCheckBox *m_linkBox;
    KivTwoBarSlider *m_slider;
    KivLabel *m_xLabel;
    KivLabel *m_yLabel;
    KivLabel *m_dpiLabel;
    KivLabel *m_lowLabel;
    KivLabel *m_highLabel;
    KivLineEdit *m_dpiEdit;
};

} // namespace mc
