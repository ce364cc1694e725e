// The macro editor's action table: a table view over a three-column item model (Map, DataH,
// DataL of each action), drawn by KivMacroItemDelegate, with the operations of the editor's
// action tools and the context actions "COPY", "CUT" and "PASTE". The copied actions stay while
// another macro is shown, so they can be pasted into it. User-interface thread.
#pragma once

#include "macro/macroaction.h"

#include <QTableView>
#include <QVector>

class QMenu;
class QStandardItemModel;

namespace mc {

class KivMacroItemDelegate;

class MacroActionTable final : public QTableView
{
    Q_OBJECT
public:
    explicit MacroActionTable(QWidget *parent = nullptr);

    KivMacroItemDelegate *itemDelegate() const { return m_delegate; }
    QStandardItemModel *actionModel() const { return m_model; }

    QVector<MacroAction> actions() const;
    void setActions(const QVector<MacroAction> &actions); // nothing selected afterwards
    int count() const;
    MacroAction actionAt(int iRow) const;
    void setActionAt(int iRow, const MacroAction &action);

    // The selected action: the current row when it is selected, else the first selected row;
    // -1 when nothing is selected.
    int currentAction() const;
    QVector<int> selectedActions() const; // in table order
    void selectAction(int iRow);          // that row alone, made visible; -1 clears

    // Inserts after the selected action, or at the end when none is selected, and selects the
    // last inserted action.
    void insertAfterCurrent(const QVector<MacroAction> &actions);
    // Removes the selected action and selects the one now at its place (or the new last one).
    bool removeCurrent();
    // Moves the selected action to iTo (clamped), keeping it selected; false when it is there.
    bool moveCurrent(int iTo);
    void clearActions();

    // The context actions. Copy and cut take every selected action, in table order; paste puts
    // the copied ones after the selected action (at the end without one) and selects them.
    bool copySelection();
    bool cutSelection();
    bool paste();
    const QVector<MacroAction> &copied() const { return m_copied; }
    QMenu *contextMenu() const { return m_menu; }
    QAction *copyAction() const { return m_copy; }
    QAction *cutAction() const { return m_cut; }
    QAction *pasteAction() const { return m_paste; }

    void retranslate();
    void applyScale(); // column widths and row height for the current scale factor

signals:
    // The list of actions changed (not emitted by setActions).
    void actionsChanged();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void insertAt(int iRow, const QVector<MacroAction> &actions);
    void selectRange(int iFirst, int iLast);

    QStandardItemModel *m_model = nullptr;
    KivMacroItemDelegate *m_delegate = nullptr;
    QVector<MacroAction> m_copied;
    QMenu *m_menu = nullptr;
    QAction *m_copy = nullptr;
    QAction *m_cut = nullptr;
    QAction *m_paste = nullptr;
};

} // namespace mc
