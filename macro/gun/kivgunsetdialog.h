// The "GUN SET" dialog: the name of the gun file, the number of shots and, for each shot, the
// pause after it and the pointer correction (vertical and horizontal step). The step list shows
// the steps the description gives as it is edited; "Yes" refuses an empty or unusable name and
// otherwise closes with the steps ready. The dialog creates no file. User-interface thread.
#pragma once

#include "buttons/ui/kivdialogframe.h"
#include "macro/gun/gunsteps.h"

#include <array>

class QListWidget;
class QMenu;
class QSpinBox;

namespace mc {

class KivLineEdit;

class KivGunsetDialog final : public KivDialogFrame
{
    Q_OBJECT
public:
    // iDelayUnit: ms per delay count of the product (macro::delayUnit()).
    explicit KivGunsetDialog(int iDelayUnit, QWidget *parent = nullptr);

    QString name() const; // as entered, without surrounding blanks
    int bulletCount() const { return m_bullets; }
    QVector<GunShot> shots() const;     // the first bulletCount() rows
    QVector<MacroAction> steps() const; // as the step list holds them

    KivLineEdit *nameEdit() const { return m_name; }
    QMenu *bulletMenu() const { return m_bulletMenu; }
    QSpinBox *delayBox(int iShot) const;
    QSpinBox *verticalBox(int iShot) const;
    QSpinBox *horizontalBox(int iShot) const;
    QListWidget *stepList() const { return m_list; }

public slots:
    void accept() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void onBulletChosen(int iCount);
    void refreshSteps();

private:
    struct ShotRow
    {
        KivLabel *number = nullptr;
        QSpinBox *delay = nullptr;
        QSpinBox *vertical = nullptr;
        QSpinBox *horizontal = nullptr;
    };

    void buildHead();
    void buildRows();
    QSpinBox *makeSpinBox(int iMin, int iMax, int iValue, const QString &tip);
    // A delay in ms as whole units of the product, at least one.
    int wholeUnits(int iMs) const;
    void warn(const QString &text);

    int m_unit;
    int m_bullets = 1;
    KivLineEdit *m_name = nullptr;
    KivPushButton *m_bulletBtn = nullptr;
    QMenu *m_bulletMenu = nullptr;
    std::array<ShotRow, kMaxGunShots> m_rows{};
    QListWidget *m_list = nullptr;
};

} // namespace mc
