// The action table and its operations.
#include "macro/ui/macroactiontable.h"

#include "macro/ui/kivmacroitemdelegate.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QScrollBar>
#include <QStandardItemModel>

#include <algorithm>

namespace mc {

namespace {

constexpr int kColumns = 3;
constexpr int kColumnWidth = 160;
constexpr int kRowHeight = 20;

QList<QStandardItem *> rowOf(const MacroAction &a)
{
    QList<QStandardItem *> row;
    for (const uint8_t b : {a.Map, a.DataH, a.DataL}) {
        auto *item = new QStandardItem(QString::number(b));
        item->setEditable(false);
        row << item;
    }
    return row;
}

} // namespace

MacroActionTable::MacroActionTable(QWidget *parent) : QTableView(parent)
{
    m_model = new QStandardItemModel(0, kColumns, this);
    setModel(m_model);
    m_delegate = new KivMacroItemDelegate(this);
    setItemDelegate(m_delegate);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    // Focus by click only: the usual keys copy, cut and paste once a row has been chosen, and
    // typing elsewhere (a recording) never lands here.
    setFocusPolicy(Qt::ClickFocus);
    // Two columns in words under their captions; the third byte has no column of its own.
    setColumnHidden(2, true);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->hide();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_menu = new QMenu(this);
    m_copy = m_menu->addAction(QString(), this, &MacroActionTable::copySelection);
    m_cut = m_menu->addAction(QString(), this, &MacroActionTable::cutSelection);
    m_paste = m_menu->addAction(QString(), this, &MacroActionTable::paste);
    m_copy->setShortcut(QKeySequence::Copy);
    m_cut->setShortcut(QKeySequence::Cut);
    m_paste->setShortcut(QKeySequence::Paste);
    for (QAction *a : {m_copy, m_cut, m_paste}) {
        a->setShortcutContext(Qt::WidgetShortcut);
        addAction(a);
    }
    retranslate();
    applyScale();
}

void MacroActionTable::retranslate()
{
    m_copy->setText(QCoreApplication::translate("MacroDialog", "COPY"));
    m_cut->setText(QCoreApplication::translate("MacroDialog", "CUT"));
    m_paste->setText(QCoreApplication::translate("MacroDialog", "PASTE"));
    m_model->setHorizontalHeaderLabels({QCoreApplication::translate("MacroDialog", "ACTION"),
                                        QCoreApplication::translate("MacroDialog", "KEY / VALUE"),
                                        QString()});
    styleMenu(m_menu);
}

void MacroActionTable::applyScale()
{
    for (int c = 0; c < kColumns; ++c)
        setColumnWidth(c, scaled(kColumnWidth));
    verticalHeader()->setDefaultSectionSize(scaled(kRowHeight));
    verticalHeader()->setMinimumSectionSize(1);
    const QColor t = themeColour();
    // The delegate draws the selection in the theme colour; the style's own would mix in.
    setStyleSheet(QStringLiteral("QTableView{background-color:rgb(24,25,30);color:white;"
                                 "border:1px solid rgb(52,54,62);"
                                 "selection-background-color:transparent;}"
                                 "QScrollBar:vertical{background:rgb(30,31,37);width:%1px;"
                                 "margin:0px;}"
                                 "QScrollBar::handle:vertical{background:rgb(%2,%3,%4);"
                                 "min-height:%5px;border-radius:%6px;}"
                                 "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical"
                                 "{height:0px;}"
                                 "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical"
                                 "{background:none;}"
                                 "QHeaderView::section{background-color:rgb(36,37,44);"
                                 "color:rgb(170,172,180);border:none;"
                                 "border-bottom:1px solid rgb(52,54,62);padding-left:%7px;}")
                      .arg(scaled(8))
                      .arg(t.red())
                      .arg(t.green())
                      .arg(t.blue())
                      .arg(scaled(20))
                      .arg(scaled(4))
                      .arg(scaled(6)));
    horizontalHeader()->setFont(sharedFont());
    horizontalHeader()->setFixedHeight(scaled(kRowHeight + 2));
}

QVector<MacroAction> MacroActionTable::actions() const
{
    QVector<MacroAction> out;
    out.reserve(m_model->rowCount());
    for (int r = 0; r < m_model->rowCount(); ++r)
        out.append(actionAt(r));
    return out;
}

void MacroActionTable::setActions(const QVector<MacroAction> &actions)
{
    m_model->removeRows(0, m_model->rowCount());
    for (const MacroAction &a : actions)
        m_model->appendRow(rowOf(a));
    clearSelection();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

int MacroActionTable::count() const
{
    return m_model->rowCount();
}

MacroAction MacroActionTable::actionAt(int iRow) const
{
    if (iRow < 0 || iRow >= count())
        return {};
    return KivMacroItemDelegate::actionAt(m_model->index(iRow, 0));
}

void MacroActionTable::setActionAt(int iRow, const MacroAction &action)
{
    if (iRow < 0 || iRow >= count())
        return;
    const uint8_t bytes[kColumns] = {action.Map, action.DataH, action.DataL};
    for (int c = 0; c < kColumns; ++c)
        m_model->item(iRow, c)->setText(QString::number(bytes[c]));
    emit actionsChanged();
}

int MacroActionTable::currentAction() const
{
    const QItemSelectionModel *sel = selectionModel();
    const QModelIndex cur = sel->currentIndex();
    if (cur.isValid() && sel->isRowSelected(cur.row(), QModelIndex()))
        return cur.row();
    const QVector<int> rows = selectedActions();
    return rows.isEmpty() ? -1 : rows.first();
}

QVector<int> MacroActionTable::selectedActions() const
{
    QVector<int> rows;
    for (const QModelIndex &i : selectionModel()->selectedRows())
        rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MacroActionTable::selectAction(int iRow)
{
    if (iRow < 0 || iRow >= count()) {
        clearSelection();
        return;
    }
    selectRange(iRow, iRow);
}

void MacroActionTable::selectRange(int iFirst, int iLast)
{
    const QItemSelection range(m_model->index(iFirst, 0), m_model->index(iLast, kColumns - 1));
    selectionModel()->select(range, QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(m_model->index(iLast, 0), QItemSelectionModel::NoUpdate);
    scrollTo(m_model->index(iLast, 0));
}

void MacroActionTable::insertAt(int iRow, const QVector<MacroAction> &actions)
{
    if (actions.isEmpty())
        return;
    iRow = std::clamp(iRow, 0, count());
    for (int i = 0; i < actions.size(); ++i)
        m_model->insertRow(iRow + i, rowOf(actions.at(i)));
    emit actionsChanged();
}

void MacroActionTable::insertAfterCurrent(const QVector<MacroAction> &actions)
{
    if (actions.isEmpty())
        return;
    const int cur = currentAction();
    const int at = cur < 0 ? count() : cur + 1;
    insertAt(at, actions);
    selectAction(at + actions.size() - 1);
}

bool MacroActionTable::removeCurrent()
{
    const int cur = currentAction();
    if (cur < 0)
        return false;
    m_model->removeRow(cur);
    selectAction(std::min(cur, count() - 1));
    emit actionsChanged();
    return true;
}

bool MacroActionTable::moveCurrent(int iTo)
{
    const int cur = currentAction();
    if (cur < 0)
        return false;
    iTo = std::clamp(iTo, 0, count() - 1);
    if (iTo == cur)
        return false;
    const QList<QStandardItem *> row = m_model->takeRow(cur);
    m_model->insertRow(iTo, row);
    selectAction(iTo);
    emit actionsChanged();
    return true;
}

void MacroActionTable::clearActions()
{
    if (count() == 0)
        return;
    m_model->removeRows(0, count());
    emit actionsChanged();
}

bool MacroActionTable::copySelection()
{
    const QVector<int> rows = selectedActions();
    if (rows.isEmpty())
        return false;
    m_copied.clear();
    for (int r : rows)
        m_copied.append(actionAt(r));
    return true;
}

bool MacroActionTable::cutSelection()
{
    const QVector<int> rows = selectedActions();
    if (!copySelection())
        return false;
    for (int i = rows.size() - 1; i >= 0; --i)
        m_model->removeRow(rows.at(i));
    selectAction(std::min(rows.first(), count() - 1));
    emit actionsChanged();
    return true;
}

bool MacroActionTable::paste()
{
    if (m_copied.isEmpty())
        return false;
    const int cur = currentAction();
    const QVector<int> rows = selectedActions();
    // After the last selected action: pasting over a selection of several keeps their order.
    const int at = cur < 0 ? count() : rows.last() + 1;
    insertAt(at, m_copied);
    selectRange(at, at + m_copied.size() - 1);
    return true;
}

void MacroActionTable::contextMenuEvent(QContextMenuEvent *event)
{
    if (!isEnabled())
        return;
    const bool any = !selectedActions().isEmpty();
    m_copy->setEnabled(any);
    m_cut->setEnabled(any);
    m_paste->setEnabled(!m_copied.isEmpty());
    m_menu->popup(event->globalPos());
}

} // namespace mc
