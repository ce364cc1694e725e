// The resolution control of one DPI stage: one slider for the linked resolution, or an X and a
// Y slider when the axes are set apart. All three share one raw value range.
#pragma once

#include <QWidget>

namespace mc {

class KivSlider;

class KivTwoBarSlider : public QWidget
{
    Q_OBJECT
public:
    explicit KivTwoBarSlider(QWidget *parent = nullptr);

    void setRange(int iLowest, int iHighest);
    int minimum() const;
    int maximum() const;

    // Shows the linked slider (true) or the X and Y pair (false).
    void setLinked(bool bLinked);
    bool isLinked() const { return m_linked; }

    // Moves the sliders without reporting it: the values come from the record, not the user.
    void setValues(int iLinked, int iX, int iY);

    KivSlider *linkedSlider() const { return m_linkedSlider; }
    KivSlider *xSlider() const { return m_xSlider; }
    KivSlider *ySlider() const { return m_ySlider; }

signals:
    // Raw values: (v, v) from the linked slider, (X, Y) from either of the pair.
    void SliderChangedSignal(int x, int y);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeSliders();
    void applyStyle();

    KivSlider *m_linkedSlider;
    KivSlider *m_xSlider;
    KivSlider *m_ySlider;
    bool m_linked = true;
};

} // namespace mc
