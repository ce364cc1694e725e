// The report-rate panel of the performance tab: the rate of the current profile, chosen from a
// menu, and the lift-off distance, which belongs to the whole store and goes to the main window
// by RefreshLift. User-interface thread only.
#pragma once

#include "profile/profiledata.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QLabel;
class QMenu;

namespace mc {

class KivAction;
class KivLabel;
class KivPushButton;
class KivRadioButton;

class KivReportRate : public QWidget
{
    Q_OBJECT
public:
    explicit KivReportRate(QWidget *parent = nullptr);

    // Takes the record and the store's lift-off value; a lift other than 1 or 2 shows 2 mm.
    void refresh(const ProfileData &profile, quint8 iLift);
    // Shows a lift-off value chosen elsewhere, without reporting it back.
    void showLift(quint8 iLift);
    void collect(ProfileData &profile) const { profile.pollrate = m_ProfileData.pollrate; }
    void retranslate();
    void layoutPanel();

    const ProfileData &profileData() const { return m_ProfileData; }
    quint8 lift() const { return m_iLift; }
    KivPushButton *rateButton() const { return m_rateBtn; }
    QMenu *rateMenu() const { return m_menu; }
    KivRadioButton *liftButton(int i) const { return m_radios.at(size_t(i)); }

signals:
    void RefreshLift(quint8 iLift);

public slots:
    void onRadioChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void chooseRate(int index);
    void showRate();

    ProfileData m_ProfileData;
    quint8 m_iLift = 2;
    KivLabel *m_caption;
    QLabel *m_icon;
    KivPushButton *m_rateBtn;
    QMenu *m_menu;
    std::array<KivAction *, 4> m_actions{};
    KivLabel *m_liftCaption;
    std::array<KivRadioButton *, 2> m_radios{};
    QButtonGroup *m_group;
};

} // namespace mc
