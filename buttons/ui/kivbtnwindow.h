// The button assignment panel: one push button per mouse button, labelled with the function it
// has now; clicking one opens the function menu, and the choice is written into the button entry
// of the working profile record by the assignment rules (buttons/assignment.h), through the
// function dialogs where a function needs parameters. The panel tells the main window which
// mouse button the pointer is on, so that the window can highlight it on its picture.
//
// The first list (entries 0-19) is laid out from the product's panel placement; the wheel
// buttons (entries 40 and 41) sit in a strip of their own below it, marked with arrows; the
// second list (entries 20-39) takes the first list's place when group 1 is selected and shows
// only the entries the product has. User-interface thread.
#pragma once

#include "profile/profiledata.h"

#include <QHash>
#include <QWidget>

#include <array>
#include <cstdint>

class QAction;
class QMenu;

namespace mc {

class KivPushButton;

class KivBtnWindow final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kListSize = 20;
    static constexpr uint8_t kNoSelection = 255;
    static constexpr int kWheelStrip = 80; // design height kept below the list for the wheel

    KivBtnWindow(ProfileData *profile, QWidget *parent, double dScale);
    ~KivBtnWindow() override;

    void SetProfileRecord(ProfileData *profile);
    // The record whose buttons the mouse takes (slot 0's: the button block is built from it).
    // Once set, the panel shows and edits its buttons, and a changed entry is copied to the
    // record set above as well. Without it the panel works on that record alone.
    void SetSharedRecord(ProfileData *shared);
    void SelectButton(uint8_t iIndex, uint8_t iGroup);
    void SetScale(double dScale);
    void RetranslateUi();
    void RefreshButtonTexts();

    // The button of an entry (0-41), nullptr outside; and the entry a button stands for, -1 when
    // it is none of the panel's.
    KivPushButton *buttonOfEntry(int iEntry) const;
    int entryOfButton(const KivPushButton *btn) const;
    uint8_t selectedGroup() const { return m_group; }
    uint8_t selectedIndex() const { return m_index; }
    QMenu *topMenu() const { return m_topMenu; }
    QMenu *wheelMenu() const { return m_wheelMenu; }
    QAction *actionOf(int iCode) const { return m_actions.value(iCode); }
    // Height the first list is laid out in: the panel less the wheel strip.
    int listHeight() const;

signals:
    void SelBtnControl(KivPushButton *btn, bool bType);
    void GotoMacroTab(quint8 iBtn);
    void PopOneClickBox();
    // The entry changed; the window keeps the record and sends it on "Apply".
    void ButtonChanged(int iEntry);

public slots:
    void slotMouseOver(KivPushButton *btn, bool bType);
    void slotMouseEnter(KivPushButton *btn);
    void OnMouseEnterSlot(QWidget *w);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildActions();
    void buildMenus();
    KivPushButton *makeButton(uint8_t iBadge, QMenu *menu);
    void layoutLists();
    void layoutWheel();
    void applyGroupVisibility(uint8_t iGroup);
    int selectedEntry() const;
    KivPushButton *selectedButton() const;
    void onChoice(int iCode);
    bool runDialog(int iEntry, int iCode);
    ProfileData *edited() const { return m_shared ? m_shared : m_profile; }

    ProfileData *m_profile = nullptr;
    ProfileData *m_shared = nullptr;
    double m_scale = 1.0;
    uint8_t m_group = 0;
    uint8_t m_index = 0;
    std::array<KivPushButton *, kListSize> m_first{};
    std::array<KivPushButton *, kListSize> m_second{};
    std::array<KivPushButton *, 2> m_wheel{};
    QMenu *m_topMenu = nullptr;
    QMenu *m_wheelMenu = nullptr;
    QHash<int, QMenu *> m_submenus;  // by MenuGroup
    QHash<int, QAction *> m_actions; // by function code
};

} // namespace mc
