// Drawing the action table's rows.
#include "macro/ui/kivmacroitemdelegate.h"

#include "buttons/keycodes.h"
#include "macro/ui/mousecommands.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QPainter>

namespace mc {

namespace {

constexpr char kContext[] = "MacroDialog";
constexpr int kIconSize = 16;
constexpr int kRowHeight = 20;
constexpr int kPad = 6;

QString pressWord(const MacroAction &a)
{
    return QCoreApplication::translate(kContext, macro::isPress(a)
                                                     ? QT_TRANSLATE_NOOP("MacroDialog", "Press")
                                                     : QT_TRANSLATE_NOOP("MacroDialog", "Release"));
}

} // namespace

QString macroActionText(const MacroAction &a, int iUnit, bool bFrench)
{
    switch (macro::kindOf(a)) {
    case macro::kKindDelay:
        return QString::asprintf("%d ms", macro::delayMsOf(a, iUnit));
    case macro::kKindKey:
        return pressWord(a) + QLatin1Char(' ') + keyName(keyCodeOf(a.DataL), bFrench);
    case macro::kKindMouseButton: {
        const int i = mousecmd::buttonIndex(a.DataL);
        return pressWord(a) + QLatin1Char(' ') + mousecmd::buttonName(i);
    }
    case macro::kKindMove:
        return mousecmd::directionName(mousecmd::directionOf(a)) + QLatin1Char(' ') +
               QString::number(mousecmd::distanceOf(a));
    default:
        return QString();
    }
}

QString macroActionKindText(const MacroAction &a)
{
    switch (macro::kindOf(a)) {
    case macro::kKindDelay:
        return QCoreApplication::translate(kContext, QT_TRANSLATE_NOOP("MacroDialog", "Delay"));
    case macro::kKindKey:
    case macro::kKindMouseButton:
        return pressWord(a);
    case macro::kKindMove:
        return QCoreApplication::translate(kContext, QT_TRANSLATE_NOOP("MacroDialog", "Move"));
    default:
        return QString();
    }
}

QString macroActionValueText(const MacroAction &a, int iUnit, bool bFrench)
{
    switch (macro::kindOf(a)) {
    case macro::kKindDelay:
        return macroActionText(a, iUnit, bFrench);
    case macro::kKindKey:
        return keyName(keyCodeOf(a.DataL), bFrench);
    case macro::kKindMouseButton:
        return mousecmd::buttonName(mousecmd::buttonIndex(a.DataL));
    case macro::kKindMove:
        return mousecmd::directionName(mousecmd::directionOf(a)) + QLatin1Char(' ') +
               QString::number(mousecmd::distanceOf(a));
    default:
        return QString();
    }
}

QString macroActionIcon(const MacroAction &a)
{
    switch (macro::kindOf(a)) {
    case macro::kKindDelay:
        return QStringLiteral("delay.png");
    case macro::kKindKey:
    case macro::kKindMouseButton:
        return macro::isPress(a) ? QStringLiteral("keydown.png") : QStringLiteral("keyup.png");
    case macro::kKindMove:
        return QStringLiteral("mouse_move.png");
    default:
        return QString();
    }
}

KivMacroItemDelegate::KivMacroItemDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

MacroAction KivMacroItemDelegate::actionAt(const QModelIndex &index)
{
    const QAbstractItemModel *m = index.model();
    if (!m)
        return {};
    const auto byte = [&](int column) {
        return uint8_t(qBound(0, m->index(index.row(), column).data().toInt(), 255));
    };
    return {byte(0), byte(1), byte(2)};
}

void KivMacroItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    painter->save();
    const QRect r = option.rect;
    if (option.state & QStyle::State_Selected) {
        QColor sel = themeColour();
        sel.setAlpha(110);
        painter->fillRect(r, sel);
    }
    painter->setFont(sharedFont());
    const MacroAction a = actionAt(index);
    if (index.column() == 0) {
        const int side = scaled(kIconSize);
        int x = r.x() + scaled(kPad);
        const QString icon = macroActionIcon(a);
        if (!icon.isEmpty()) {
            const QPixmap pm = skinPixmap(skinPath(icon));
            if (!pm.isNull())
                painter->drawPixmap(QRect(x, r.y() + (r.height() - side) / 2, side, side), pm);
        }
        x += side + scaled(kPad);
        painter->setPen(Qt::white);
        const QRect text(x, r.y(), r.right() - x, r.height());
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                          painter->fontMetrics().elidedText(macroActionKindText(a), Qt::ElideRight,
                                                            text.width()));
    } else if (index.column() == 1) {
        painter->setPen(Qt::white);
        const QRect text = r.adjusted(scaled(kPad), 0, -scaled(kPad), 0);
        painter->drawText(
            text, Qt::AlignLeft | Qt::AlignVCenter,
            painter->fontMetrics().elidedText(macroActionValueText(a, m_unit, m_french),
                                              Qt::ElideRight, text.width()));
    }
    painter->restore();
}

QSize KivMacroItemDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return QSize(scaled(160), scaled(kRowHeight));
}

} // namespace mc
