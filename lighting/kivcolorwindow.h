// The LIGHTING tab's panel: the effect menu, brightness, speed and colour of the effect, the
// lighting sleep time and "MOVE TO LIGHT OFF". It shows the record the main window hands it
// and writes straight into the working store; nothing reaches the mouse before "Apply".
// User-interface thread only.
//
// Where values go. The effect goes to the lighting slot: slot 0 for the product "9130", whose
// lighting is shared by all slots, the active slot otherwise. The mouse takes its effect values
// (colour, brightness, speed) and its sleep settings from slot 0 whatever slot is active, so
// the panel shows slot 0's, and writes them to slot 0, for the effect shown, and to the shown
// record as well: what the panel shows is what the mouse gets.
#pragma once

#include "profile/profiledata.h"
#include "widgets/kivaction.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QMenu;

namespace mc {

class DefaultColorArea;
class KivLabel;
class KivPushButton;
class KivSlider;

class KivColorWindow : public QWidget
{
    Q_OBJECT
public:
    KivColorWindow(ProfileStore &store, QWidget *parent = nullptr);

    // The record to show (the current slot's record of the store); refreshes every control.
    void setProfileData(ProfileData *record);
    void refresh();
    void setTexts();

    int shownMode() const { return m_mode; }
    int lightingSlot() const;

    // The parts, for the window's end-to-end look and for tests that drive them as a user would.
    KivPushButton *effectButton() const { return m_effectBtn; }
    QMenu *effectMenu() const { return m_menu; }
    QAction *modeAction(int iMode) const { return m_actions.at(size_t(iMode)); }
    KivSlider *brightSlider() const { return m_bright; }
    KivSlider *speedSlider() const { return m_speed; }
    KivSlider *sleepSlider() const { return m_sleep; }
    KivLabel *brightCaption() const { return m_brightCaption; }
    KivLabel *speedCaption() const { return m_speedCaption; }
    KivLabel *colourCaption() const { return m_colourCaption; }
    KivLabel *sleepCaption() const { return m_sleepCaption; }
    KivLabel *minutesLabel() const { return m_minutes; }
    QCheckBox *moveOffBox() const { return m_moveOff; }
    DefaultColorArea *swatch() const { return m_swatch; }

    // The slider style sheet for scale factor s and theme colour t.
    static QString sliderStyle(double s, const QColor &t);

public slots:
    void slotSliderMouseChange();
    void color_clicked();
    void checkbtn_clicked(bool bChecked);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void build();
    void layoutParts();
    void showMode(int iMode);
    void rebuildMenu();
    void chooseEffect(int iMode);
    void showEffectValues();
    void setSliderQuietly(KivSlider *slider, int iValue);
    void onBrightChanged(int iValue);
    void onSpeedChanged(int iValue);
    void onSleepChanged(int iValue);
    void showMinutes(int iValue);
    // The effect entry shown, in the record shown and in slot 0.
    std::array<LedModeInfo *, 2> shownEntries();

    ProfileStore &m_store;
    ProfileData *m_ProfileData = nullptr;
    int m_mode = 0;
    bool m_showSleep = false;

    KivLabel *m_effectCaption = nullptr;
    KivPushButton *m_effectBtn = nullptr;
    QMenu *m_menu = nullptr;
    std::array<KivAction *, kLedModeCount> m_actions{};
    KivLabel *m_brightCaption = nullptr;
    KivSlider *m_bright = nullptr;
    KivLabel *m_speedCaption = nullptr;
    KivSlider *m_speed = nullptr;
    KivLabel *m_colourCaption = nullptr;
    DefaultColorArea *m_swatch = nullptr;
    KivLabel *m_sleepCaption = nullptr;
    KivSlider *m_sleep = nullptr;
    KivLabel *m_minutes = nullptr;
    QCheckBox *m_moveOff = nullptr;
};

} // namespace mc
