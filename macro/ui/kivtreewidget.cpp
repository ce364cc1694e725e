// The mouse command tree.
#include "macro/ui/kivtreewidget.h"

#include "widgets/kivlineedit.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QIntValidator>

#include <algorithm>

namespace mc {

namespace {

constexpr int kDefaultDistance = 10;
constexpr int kTextColumnWidth = 112;
constexpr int kDistanceWidth = 40;
constexpr int kRowHeight = 20;

const char *const kHalfTexts[2] = {QT_TRANSLATE_NOOP("MacroDialog", "PRESS DOWN"),
                                   QT_TRANSLATE_NOOP("MacroDialog", "BOUNCE UP")};

QString macroTr(const char *text)
{
    return QCoreApplication::translate("MacroDialog", text);
}

} // namespace

KivTreeItem::KivTreeItem(Kind kind, int iIndex, QTreeWidget *parent)
    : QTreeWidgetItem(parent, QTreeWidgetItem::UserType), m_kind(kind), m_index(iIndex)
{}

KivTreeItem::KivTreeItem(Kind kind, int iIndex, QTreeWidgetItem *parent)
    : QTreeWidgetItem(parent, QTreeWidgetItem::UserType), m_kind(kind), m_index(iIndex)
{}

int KivTreeItem::buttonIndex() const
{
    if (m_kind == Button)
        return m_index;
    if (m_kind == Half)
        return static_cast<const KivTreeItem *>(parent())->index();
    return -1;
}

mousecmd::Part KivTreeItem::part() const
{
    if (m_kind != Half)
        return mousecmd::Part::Click;
    return m_index == 0 ? mousecmd::Part::Press : mousecmd::Part::Release;
}

int KivTreeItem::distance() const
{
    bool ok = false;
    const int d = m_distance ? m_distance->text().toInt(&ok) : 0;
    return ok ? std::clamp(d, 1, macro::kMaxMoveStep) : 1;
}

KivTreeWidget::KivTreeWidget(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(2);
    header()->hide();
    header()->setStretchLastSection(false);
    setRootIsDecorated(true);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    for (int b = 0; b < mousecmd::kButtonCount; ++b) {
        auto *item = new KivTreeItem(KivTreeItem::Button, b, this);
        new KivTreeItem(KivTreeItem::Half, 0, item);
        new KivTreeItem(KivTreeItem::Half, 1, item);
        m_buttons.append(item);
    }
    m_movement = new KivTreeItem(KivTreeItem::Movement, 0, this);
    for (int d = 0; d < mousecmd::kDirectionCount; ++d) {
        auto *item = new KivTreeItem(KivTreeItem::Move, d, m_movement);
        auto *edit = new KivLineEdit(this);
        edit->setValidator(new QIntValidator(1, macro::kMaxMoveStep, edit));
        edit->setMaxLength(3);
        edit->setText(QString::number(kDefaultDistance));
        edit->setAlignment(Qt::AlignCenter);
        setItemWidget(item, 1, edit);
        item->setDistanceEdit(edit);
        m_moves.append(item);
    }
    retranslate();
    applyScale();
}

KivTreeItem *KivTreeWidget::buttonItem(int iButton) const
{
    return iButton >= 0 && iButton < m_buttons.size() ? m_buttons.at(iButton) : nullptr;
}

KivTreeItem *KivTreeWidget::halfItem(int iButton, mousecmd::Part part) const
{
    KivTreeItem *b = buttonItem(iButton);
    if (!b || part == mousecmd::Part::Click)
        return nullptr;
    return static_cast<KivTreeItem *>(b->child(part == mousecmd::Part::Press ? 0 : 1));
}

KivTreeItem *KivTreeWidget::moveItem(mousecmd::Direction dir) const
{
    return m_moves.value(int(dir));
}

void KivTreeWidget::retranslate()
{
    for (KivTreeItem *b : m_buttons) {
        b->setText(0, mousecmd::buttonName(b->index()));
        for (int h = 0; h < 2; ++h)
            b->child(h)->setText(0, macroTr(kHalfTexts[h]));
    }
    m_movement->setText(0, macroTr(QT_TRANSLATE_NOOP("MacroDialog", "MOVEMENT")));
    for (KivTreeItem *m : m_moves)
        m->setText(0, mousecmd::directionName(m->direction()));
}

void KivTreeWidget::applyScale()
{
    const QFont font = sharedFont();
    setFont(font);
    setIndentation(scaled(12));
    setColumnWidth(0, scaled(kTextColumnWidth));
    setColumnWidth(1, scaled(kDistanceWidth));
    const QColor t = themeColour();
    const QString sheet =
        QStringLiteral("QTreeWidget{background-color:rgb(24,25,30);color:white;"
                       "border:1px solid rgb(52,54,62);}"
                       "QTreeWidget:disabled{color:rgb(110,110,110);}"
                       "QTreeWidget::item{height:%1px;}"
                       "QTreeWidget::item:hover{background-color:rgb(45,47,55);}"
                       "QTreeWidget::item:selected{background-color:rgba(%2,%3,%4,110);"
                       "color:white;}"
                       "QScrollBar:vertical{background:rgb(30,31,37);width:%5px;}"
                       "QScrollBar::handle:vertical{background:rgb(%2,%3,%4);}"
                       "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical"
                       "{height:0px;}"
                       // The rows' distance fields: styled here, Qt keeps one parsed
                       // sheet for all of them instead of one each.
                       "QLineEdit{background-color:rgb(30,30,30);color:white;"
                       "border:1px solid rgb(78,80,90);padding:0px;}"
                       "QLineEdit:disabled{color:rgb(110,110,110);}")
            .arg(scaled(kRowHeight))
            .arg(t.red())
            .arg(t.green())
            .arg(t.blue())
            .arg(scaled(8));
    setStyleOnce(this, sheet);
    for (KivTreeItem *m : m_moves) {
        KivLineEdit *e = m->distanceEdit();
        e->setFont(font);
        e->setFixedHeight(scaled(kRowHeight - 2));
    }
}

} // namespace mc
