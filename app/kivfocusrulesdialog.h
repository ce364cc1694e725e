// The dialog of the profile per application: the ordered rules (application, slot) with add,
// remove and reorder, a pick from the applications running now, the slot of every other
// application and the on/off switch. Where the application in front cannot be known it says so
// and the switch cannot be turned on. It edits a copy; the caller takes rules() on accept.
// User-interface thread.
#pragma once

#include "buttons/ui/kivdialogframe.h"
#include "profile/focusrules.h"

class QCheckBox;
class QLineEdit;
class QMenu;
class QTreeWidget;

namespace mc {

class FocusWatcher;
class KivLabel;

class KivFocusRulesDialog final : public KivDialogFrame
{
    Q_OBJECT
public:
    // watcher: availability and the running applications (not owned; may be null: unavailable).
    KivFocusRulesDialog(const FocusRules &rules, const FocusWatcher *watcher,
                        QWidget *parent = nullptr);

    FocusRules rules() const;

    // Children, for the tests.
    QCheckBox *enableBox() const { return m_enable; }
    KivLabel *unavailableNotice() const { return m_notice; }
    QTreeWidget *ruleList() const { return m_list; }
    QLineEdit *applicationEdit() const { return m_edit; }
    QMenu *runningMenu() const { return m_runningMenu; }
    QMenu *slotMenu() const { return m_slotMenu; }
    QMenu *defaultSlotMenu() const { return m_defaultMenu; }
    KivPushButton *addButton() const { return m_add; }
    KivPushButton *removeButton() const { return m_remove; }
    KivPushButton *upButton() const { return m_up; }
    KivPushButton *downButton() const { return m_down; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMenu *makeSlotMenu(KivPushButton *button, int *slot);
    void fillRunningMenu();
    void showRules();
    void addRule();
    void removeRule();
    void moveRule(int step);
    void takeSelected();
    int selectedRow() const;

    const FocusWatcher *m_watcher;
    FocusRules m_rules;
    int m_newSlot = 0;

    QCheckBox *m_enable = nullptr;
    KivLabel *m_notice = nullptr;
    QTreeWidget *m_list = nullptr;
    QLineEdit *m_edit = nullptr;
    KivPushButton *m_running = nullptr;
    QMenu *m_runningMenu = nullptr;
    KivPushButton *m_slot = nullptr;
    QMenu *m_slotMenu = nullptr;
    KivPushButton *m_add = nullptr;
    KivPushButton *m_remove = nullptr;
    KivPushButton *m_up = nullptr;
    KivPushButton *m_down = nullptr;
    KivLabel *m_defaultLabel = nullptr;
    KivPushButton *m_defaultSlot = nullptr;
    QMenu *m_defaultMenu = nullptr;
};

// "Mode" + " %d" with slot + 1: the slot selector's name of a slot.
QString slotMenuText(int iSlot);

} // namespace mc
