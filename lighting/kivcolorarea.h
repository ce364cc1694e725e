// The colour dialog: hue strip, saturation/value square, preview, H/S/V and R/G/B boxes, a
// hexadecimal field and seven preset swatches, all showing one current colour that any of them
// changes. Created on the stack by the lighting panel and run modally; accepted, its colour()
// is the choice, rejected it has changed nothing outside itself. User-interface thread only.
#pragma once

#include <QColor>
#include <QDialog>

#include <array>

class QLineEdit;
class QSpinBox;

namespace mc {

class DefaultColorArea;
class HColorArea;
class KivLabel;
class KivPushButton;
class PreviewColorArea;
class SVColorArea;

class KivColorArea : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kSwatchCount = 7;

    explicit KivColorArea(QWidget *parent = nullptr);

    // Fills every control from the colour (H, S, V from its HSV form, the rest from RGB).
    void setColour(const QColor &colour);
    QColor colour() const { return m_colour; }
    int hue() const { return m_h; }
    int saturation() const { return m_s; }
    int value() const { return m_v; }

    // The parts, for the window's look and for tests that drive them as a user would.
    HColorArea *hueStrip() const { return m_hueArea; }
    SVColorArea *square() const { return m_svArea; }
    PreviewColorArea *preview() const { return m_preview; }
    QSpinBox *box(char letter) const; // 'H', 'S', 'V', 'R', 'G', 'B'; nullptr otherwise
    QLineEdit *hexField() const { return m_hex; }
    DefaultColorArea *swatch(int k) const { return m_swatches.at(size_t(k)); }
    KivPushButton *okButton() const { return m_ok; }
    KivPushButton *cancelButton() const { return m_cancel; }
    KivPushButton *applyButton() const { return m_apply; }

    static QColor presetColour(int k);

signals:
    void KivChangeColor(const QColor &colour);
    void ApplyColor(const QColor &colour);

public slots:
    void color_clicked();
    void hValueChangedSlot(int iValue);
    void sValueChangedSlot(int iValue);
    void vValueChangedSlot(int iValue);
    void rValueChangedSlot(int iValue);
    void gValueChangedSlot(int iValue);
    void bValueChangedSlot(int iValue);
    void updateEditData(int iH, int iS, int iV);
    void editChangedSlot(const QString &text);
    void editFinishedSlot();
    void MouseReleaseSlot();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Which control the change came from: it keeps what the user put there.
    enum Source
    {
        FromNone = 0,
        FromHsvBoxes = 1,
        FromRgbBoxes = 2,
        FromHex = 4,
        FromAreas = 8
    };

    void build();
    void layoutParts();
    void wire();
    void setTexts();
    void hsvChanged();
    void rgbChanged();
    void showCurrent(int iSource);

    int m_h = 0;
    int m_s = 0;
    int m_v = 0;
    QColor m_colour = Qt::black;
    // Set while one change is shown in the other controls, whose own change signals must not
    // start a change of their own.
    bool m_updating = false;

    KivLabel *m_caption = nullptr;
    HColorArea *m_hueArea = nullptr;
    SVColorArea *m_svArea = nullptr;
    PreviewColorArea *m_preview = nullptr;
    std::array<QSpinBox *, 6> m_boxes{}; // H S V R G B
    QLineEdit *m_hex = nullptr;
    std::array<DefaultColorArea *, kSwatchCount> m_swatches{};
    KivPushButton *m_ok = nullptr;
    KivPushButton *m_cancel = nullptr;
    KivPushButton *m_apply = nullptr;
};

} // namespace mc
