// How the macro editor's action table draws a row: the Map column decides the look, an icon and
// what the action does ("Press", "Release", "Delay", "Move"), and the next column what it does it
// with (the key or button, the delay in milliseconds, the direction and distance). The bytes
// themselves mean nothing to a user and are not shown. User-interface thread.
#pragma once

#include "macro/macroaction.h"

#include <QStyledItemDelegate>

namespace mc {

// The words of an action as the table shows them ("Press A", "120 ms", "MOVE UP 5"), with the
// product's delay unit and key name set.
QString macroActionText(const MacroAction &a, int iUnit, bool bFrench);
// The two halves of those words, one per column: what the action does, and with what.
QString macroActionKindText(const MacroAction &a);
QString macroActionValueText(const MacroAction &a, int iUnit, bool bFrench);
// The skin image of an action's icon ("delay.png", "keydown.png", ...); empty for none.
QString macroActionIcon(const MacroAction &a);

class KivMacroItemDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit KivMacroItemDelegate(QObject *parent = nullptr);

    // Read once per macro shown rather than per painted row.
    void setDelayUnit(int iUnit) { m_unit = iUnit; }
    void setFrenchNames(bool bFrench) { m_french = bFrench; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The action of a row of the three-column model.
    static MacroAction actionAt(const QModelIndex &index);

private:
    int m_unit = macro::kDefaultDelayUnit;
    bool m_french = false;
};

} // namespace mc
