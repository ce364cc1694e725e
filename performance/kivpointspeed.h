// The sensor options panel of the performance tab: key response (debounce), wheel speed of the
// current profile, and the on/off pairs of the options the whole store shares. The product's
// PROFILE/Sync picks which of them its mouse takes, and so which are shown. The wheel speed is
// written into the current record at once; the store's options are collected by the main
// window before "Apply". User-interface thread only.
#pragma once

#include "profile/profiledata.h"

#include <QWidget>

class QSpinBox;

namespace mc {

class KivCheckBox;
class KivLabel;
class KivSlider;

class KivPointSpeed : public QWidget
{
    Q_OBJECT
public:
    enum Pair
    {
        SyncPair,
        LiftPair,
        AnglePair,
        JitterPair,
        PairCount
    };

    explicit KivPointSpeed(QWidget *parent = nullptr);

    // profile is the working store's current record; it must outlive the next refresh.
    void refresh(ProfileData &profile, quint8 sync, quint8 lift, quint8 angle, quint8 jitter,
                 quint8 debounce);
    // A lift-off value chosen in the report-rate panel, so both show the same choice.
    void setLift(quint8 iLift);
    // Hands the shared options to the store and the shown wheel speed to the current record.
    void collect(ProfileStore &store) const;
    void retranslate();
    // Places the arrangement that PROFILE/Sync selects, at the current scale.
    void layoutPanel();

    quint8 sync() const { return m_sync; }
    quint8 lift() const { return m_lift; }
    quint8 angle() const { return m_angle; }
    quint8 jitter() const { return m_jitter; }
    quint8 debounce() const { return m_debounce; }
    KivSlider *keyResponseSlider() const { return m_slider; }
    KivLabel *keyResponseLabel() const { return m_valueLabel; }
    QSpinBox *scrollSpeedBox() const { return m_spin; }
    // first: the box of "ON" / "1mm", second: "OFF" / "2mm".
    KivCheckBox *box(Pair pair, int i) const { return m_boxes[pair][i]; }
    KivLabel *caption(int i) const { return m_captions[i]; }

public slots:
    void sValueChangedSlot(int s);
    void checkbtn_clicked();

private:
    void onSliderChanged(int v);
    void showPairs();
    static quint8 valueOf(Pair pair, int box);

    ProfileData *m_record = nullptr;
    quint8 m_sync = 0;
    quint8 m_lift = 0;
    quint8 m_angle = 1;
    quint8 m_jitter = 1;
    quint8 m_debounce = 20;

    static constexpr int kCaptionCount = 2 + PairCount;
    KivLabel *m_captions[kCaptionCount];
    KivSlider *m_slider;
    KivLabel *m_valueLabel;
    QSpinBox *m_spin;
    KivCheckBox *m_boxes[PairCount][2];
};

} // namespace mc
