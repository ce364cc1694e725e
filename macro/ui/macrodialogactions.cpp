// The macro editor's action side: the tools, the mouse command tree, recording (from the start
// or after the selected action) and the edit mode of one action.
#include "buttons/keycodes.h"
#include "device/macroupload.h"
#include "macro/macrorecorder.h"
#include "macro/ui/kivtreewidget.h"
#include "macro/ui/macroactiontable.h"
#include "macro/ui/macrodialog.h"
#include "macro/ui/mousecommands.h"
#include "widgets/kivlabel.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivpushbutton.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QMenu>

#include <algorithm>

namespace mc {

namespace {

constexpr int kInsertedDelayMs = 10; // what "INSERT DELAY" inserts
constexpr int kMaxDelayField = 65535;

} // namespace

void MacroDialog::onActionsChanged()
{
    if (!m_loading)
        m_dirty = true;
    updateFit();
}

void MacroDialog::updateFit()
{
    const MacroFit fit = macroFit(m_table->actions());
    const QString text = m_current.isEmpty() ? QString() : fitText(fit);
    m_fitLabel->setText(text);
    m_fitLabel->setVisible(!text.isEmpty());
    // The list shows the macro as it stands in the editor.
    if (!m_current.isEmpty())
        markRow(m_list->currentRow(), fit);
}

void MacroDialog::insertDelay()
{
    if (m_current.isEmpty())
        return;
    m_table->insertAfterCurrent({macro::delayMs(kInsertedDelayMs, m_unit)});
}

void MacroDialog::TreeitemClick(QTreeWidgetItem *item, int)
{
    auto *cmd = static_cast<KivTreeItem *>(item);
    if (!cmd || m_mode != Idle)
        return;
    const KivTreeItem::Kind kind = cmd->kind();
    if ((kind == KivTreeItem::Button || kind == KivTreeItem::Movement) && !cmd->isExpanded()) {
        m_tree->collapseAll();
        cmd->setExpanded(true);
        return;
    }
    if (m_current.isEmpty() || kind == KivTreeItem::Movement)
        return;
    if (kind == KivTreeItem::Move)
        m_table->insertAfterCurrent(
            mousecmd::moveCommand(cmd->direction(), cmd->distance(), settings(), m_unit));
    else
        m_table->insertAfterCurrent(
            mousecmd::buttonCommand(cmd->buttonIndex(), cmd->part(), settings(), m_unit));
}

void MacroDialog::KivItemPressed(const QModelIndex &)
{
    // A chosen row takes the keys for copy, cut and paste, whatever had the focus before.
    m_table->setFocus();
}

void MacroDialog::checkbtn_clicked(bool bChecked)
{
    QObject *box = sender();
    for (int i = 0; i < 2; ++i) {
        if (box == m_delayBoxes[size_t(i)])
            onDelayTypeClicked(i + 1, bChecked);
    }
    for (int i = 0; i < 3; ++i) {
        if (box == m_loopBoxes[size_t(i)])
            onLoopTypeClicked(i + 1, bChecked);
    }
}

void MacroDialog::onDelayTypeClicked(int iType, bool bChecked)
{
    if (bChecked)
        m_delayBoxes[size_t(2 - iType)]->setChecked(false);
    m_dirty = true;
}

void MacroDialog::onLoopTypeClicked(int iType, bool bChecked)
{
    if (bChecked) {
        for (int i = 0; i < 3; ++i) {
            if (i != iType - 1)
                m_loopBoxes[size_t(i)]->setChecked(false);
        }
    }
    m_dirty = true;
}

void MacroDialog::DefDelayChanged(const QString &)
{
    if (!m_loading)
        m_dirty = true;
}

void MacroDialog::LoopTimeChanged(const QString &)
{
    if (!m_loading)
        m_dirty = true;
}

// --- recording ---------------------------------------------------------------------------

void MacroDialog::startRecording(bool bAfter)
{
    if (m_mode != Idle)
        return;
    // A recording needs a macro to go into: without one selected, a new one is made for it.
    if (m_current.isEmpty())
        addMacro();
    if (m_current.isEmpty())
        return; // addMacro said why
    const QVector<MacroAction> all = m_table->actions();
    if (bAfter) {
        const int cur = m_table->currentAction();
        m_recordAt = cur < 0 ? int(all.size()) : cur + 1;
        m_keptAfter = all.mid(m_recordAt);
        m_replaced.clear();
    } else {
        m_recordAt = 0;
        m_keptAfter.clear();
        // Kept until something is recorded: a recording of nothing replaces nothing.
        m_replaced = all;
        m_dirtyBeforeRecording = m_dirty;
        m_table->clearActions();
    }
    const MacroSettings s = settings();
    m_recorder->setDelayUnit(m_unit);
    m_recorder->setDelayType(s.delayType);
    m_recorder->setDefaultDelayMs(s.defaultDelay);
    m_recorder->start(bAfter ? int(all.size()) : 0);
    setMode(Recording);
    setFocus();
}

void MacroDialog::SelectRow(int iIndex)
{
    if (m_mode != Recording)
        return;
    const QVector<MacroAction> &recorded = m_recorder->actions();
    if (iIndex < 0 || iIndex >= recorded.size())
        return;
    // The recorder appends; the table shows the new action in its place among the kept ones.
    const QVector<MacroAction> all = m_table->actions();
    const int row = m_recordAt + iIndex;
    QVector<MacroAction> next = all.mid(0, row);
    next.append(recorded.at(iIndex));
    next += m_keptAfter;
    m_table->setActions(next);
    m_table->selectAction(row);
    onActionsChanged();
    setFocus();
}

void MacroDialog::stopRecording()
{
    if (m_mode != Recording)
        return;
    const bool released = m_recorder->stop();
    const bool nothing = m_recorder->actions().isEmpty();
    setMode(Idle);
    if (nothing) {
        if (!m_replaced.isEmpty()) {
            m_table->setActions(m_replaced);
            m_dirty = m_dirtyBeforeRecording;
            updateFit();
        }
        m_replaced.clear();
        return;
    }
    m_replaced.clear();
    if (!released)
        tell(QT_TRANSLATE_NOOP("MacroDialog", "Warning"),
             QT_TRANSLATE_NOOP("MacroDialog", "ONE OR MORE KEYS HAS NOT BEEN RELEASED."));
    // Saved as recorded, whatever the check said.
    saveCurrent();
}

// --- edit mode -----------------------------------------------------------------------------

void MacroDialog::beginEdit()
{
    const int row = m_table->currentAction();
    if (row < 0 || m_mode != Idle)
        return;
    m_editRow = row;
    const MacroAction a = m_table->actionAt(row);
    m_recorder->beginEdit(a);
    showEditPanel(a);
    setMode(Editing);
    m_table->selectAction(row);
}

void MacroDialog::showEditPanel(const MacroAction &a)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_keyLabel, m_delayEdit, m_distanceEdit,
                                                       m_mouseActionBtn})
        w->hide();
    m_editCaption->show();
    switch (macro::kindOf(a)) {
    case macro::kKindKey:
        m_editCaption->setText(QCoreApplication::translate("MacroDialog", "KEY"));
        m_keyLabel->setText(keyName(keyCodeOf(a.DataL)));
        m_keyLabel->show();
        setFocus();
        break;
    case macro::kKindDelay:
        m_editCaption->setText(QCoreApplication::translate("MacroDialog", "DELAY(MS)"));
        m_delayEdit->setText(QString::number(macro::delayMsOf(a, m_unit)));
        m_delayEdit->show();
        m_delayEdit->setFocus();
        break;
    case macro::kKindMouseButton: {
        m_editCaption->setText(QCoreApplication::translate("MacroDialog", "MOUSE ACTION"));
        const int b = mousecmd::buttonIndex(a.DataL);
        m_mouseActionBtn->setText(b < 0 ? QString() : m_buttonMenu->actions().at(b)->text());
        m_mouseActionBtn->setMenu(m_buttonMenu);
        m_mouseActionBtn->show();
        break;
    }
    case macro::kKindMove:
        m_editCaption->setText(QCoreApplication::translate("MacroDialog", "MOUSE ACTION"));
        m_editDirection = int(mousecmd::directionOf(a));
        m_mouseActionBtn->setText(m_moveMenu->actions().at(m_editDirection)->text());
        m_mouseActionBtn->setMenu(m_moveMenu);
        m_mouseActionBtn->show();
        m_distanceEdit->setText(QString::number(mousecmd::distanceOf(a)));
        m_distanceEdit->show();
        break;
    default:
        m_editCaption->setText(QString());
        break;
    }
}

void MacroDialog::setEditedAction(const MacroAction &a)
{
    if (m_mode != Editing)
        return;
    m_table->setActionAt(m_editRow, a);
}

void MacroDialog::onKeyEdited(int iCode)
{
    if (m_mode != Editing)
        return;
    m_keyLabel->setText(keyName(uint8_t(iCode)));
    setEditedAction(m_recorder->editedAction());
}

void MacroDialog::EditDelayChanged(const QString &text)
{
    bool ok = false;
    const int ms = text.toInt(&ok);
    if (!ok)
        return;
    // One unit of the product is the shortest delay the mouse plays.
    setEditedAction(macro::delayMs(std::clamp(ms, m_unit, kMaxDelayField), m_unit));
}

void MacroDialog::onButtonChosen(int iButton)
{
    MacroAction a = m_table->actionAt(m_editRow);
    if (m_mode != Editing || macro::kindOf(a) != macro::kKindMouseButton)
        return;
    a.DataL = mousecmd::buttonBit(iButton);
    m_mouseActionBtn->setText(m_buttonMenu->actions().at(iButton)->text());
    setEditedAction(a);
}

void MacroDialog::mousemove_test(QAction *action)
{
    if (m_mode != Editing || !action)
        return;
    m_editDirection = std::clamp(action->data().toInt(), 0, mousecmd::kDirectionCount - 1);
    m_mouseActionBtn->setText(action->text());
    EditMoveChanged(m_distanceEdit->text());
}

void MacroDialog::EditMoveChanged(const QString &text)
{
    bool ok = false;
    const int d = text.toInt(&ok);
    setEditedAction(mousecmd::moveAction(mousecmd::Direction(m_editDirection), ok ? d : 1));
}

void MacroDialog::endEdit(bool bKeep)
{
    if (m_mode == Recording)
        return;
    const bool wasEditing = m_mode == Editing;
    m_recorder->endEdit();
    for (QWidget *w : std::initializer_list<QWidget *>{m_editCaption, m_keyLabel, m_delayEdit,
                                                       m_distanceEdit, m_mouseActionBtn})
        w->hide();
    const int row = m_editRow;
    m_editRow = -1;
    setMode(Idle);
    if (bKeep) {
        saveCurrent();
    } else {
        loadCurrent();
    }
    if (wasEditing)
        m_table->selectAction(row);
}

} // namespace mc
