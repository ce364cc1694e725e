// The DPI panel of the performance tab: up to eight stage rows over its own copy of the current
// profile record. The main window refreshes it from the working store and collects `dpi` and the
// stages back before "Apply". The mouse takes the stages of slot 0 whatever slot is active (the
// DPI block is built from it) and the active stage of each slot, so the window hands the panel
// slot 0's stages beside the current record and collects them back into both.
// User-interface thread only.
#pragma once

#include "profile/profiledata.h"

#include <QWidget>

#include <array>

namespace mc {

class KivLabel;
class KivSingleDPI;

class KivDPIWindow : public QWidget
{
    Q_OBJECT
public:
    KivDPIWindow(const ProfileData &profile, QWidget *parent = nullptr);

    // Takes the record and the sensor code (MouseSenSor/1) and shows them.
    void refresh(const ProfileData &profile, int iSensor);
    // The same, showing the stages of `shared` (slot 0's) with the active stage of `profile`.
    void refresh(const ProfileData &profile, const ProfileData &shared, int iSensor);
    // Makes a stage the active one; also used when the mouse reports a stage change.
    void selectStage(quint8 stage);
    // Hands `dpi` and the eight stages to the record the main window writes.
    void collect(ProfileData &profile) const;
    // Hands the stages alone to a record that shares them (slot 0's).
    void collectStages(ProfileData &shared) const;
    void retranslate();
    // Places the rows for the current scale and DPI count.
    void layoutPanel();

    const ProfileData &profileData() const { return m_ProfileData; }
    int sensor() const { return m_sensor; }
    int rowCount() const { return m_rowCount; }
    KivSingleDPI *row(int i) const { return m_rows.at(size_t(i)); }

public slots:
    void onSliderChanged(int x, int y, quint8 stage);
    void onLinkChanged(quint8 link, quint8 stage);
    void onEnableChanged(quint8 enable, quint8 stage);
    void MouseinSignal(quint8 stage);
    // Kept for the signal set the panel has always had; nothing is wired to them.
    void onRadioChanged() {}
    void onStateChanged(int) {}
    void slotLabelClick(KivLabel *) {}

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showRecord();
    void highlight();

    ProfileData m_ProfileData;
    int m_sensor = 3325;
    int m_rowCount = kStageCount;
    KivLabel *m_caption;
    std::array<KivSingleDPI *, kStageCount> m_rows{};
};

} // namespace mc
