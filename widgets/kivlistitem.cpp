// Macro step row with the inline delay editor.
#include "widgets/kivlistitem.h"
#include "widgets/log.h"

#include "widgets/kivlabel.h"
#include "widgets/kivlineedit.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QIntValidator>
#include <QLabel>

namespace mc {

namespace {
constexpr int kMinDelayMs = 10;
constexpr int kMaxDelayMs = 65530; // 6553 units of 10 ms: the largest the two bytes keep
} // namespace

int committedDelay(const QString &typed)
{
    bool ok = false;
    const qlonglong v = typed.trimmed().toLongLong(&ok);
    if (!ok || v < kMinDelayMs)
        return kMinDelayMs;
    if (v > kMaxDelayMs - 1)
        return kMaxDelayMs;
    return int(v - v % 10);
}

KivListItem::KivListItem(int iType, uint8_t map, uint8_t dataH, uint8_t dataL, const QString &text,
                         const QString &iconPath, QWidget *parent)
    : QWidget(parent), m_type(iType), m_map(map), m_dataH(dataH), m_dataL(dataL), m_owner(parent)
{
    resize(scaled(100), scaled(50));
    m_icon = new QLabel(this);
    m_icon->setAlignment(Qt::AlignCenter);
    if (!iconPath.isEmpty()) {
        const QPixmap pm = skinPixmap(iconPath);
        if (!pm.isNull())
            m_icon->setPixmap(pm);
    }
    m_label = new KivLabel(this);
    m_label->setStyleSheet(QStringLiteral("color:black"));
    // The labels cover the whole row and would take its double-click for themselves.
    m_icon->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (m_type == kDelayStepType) {
        showDelay();
        m_edit = new KivLineEdit(this);
        m_edit->setValidator(new QIntValidator(0, 99999999, m_edit));
        m_edit->hide();
        connect(m_edit, &QLineEdit::returnPressed, this, &KivListItem::editPressSlot);
        connect(m_edit, &KivLineEdit::kivLostFocus, this, &KivListItem::lostFocusSlot);
    } else {
        m_label->setText(text);
    }
}

KivListItem::~KivListItem()
{
    // The editor outlives this part of the row: ~QWidget hides the row's window and then deletes
    // the children, and an editor that still has the focus reports losing it on the way. A slot
    // run then would act on a row that is no longer one.
    if (m_edit)
        disconnect(m_edit, nullptr, this, nullptr);
}

QString KivListItem::text() const
{
    return m_label->text();
}

void KivListItem::showDelay()
{
    m_label->setText(QString::asprintf("%d", delayMs()) + QStringLiteral(" ms"));
}

void KivListItem::resizeEvent(QResizeEvent *)
{
    const int h = height();
    m_icon->setGeometry(0, 0, h, h);
    m_label->setGeometry(h, 0, qMax(0, width() - h), h);
    if (m_edit)
        m_edit->setGeometry(h, (h - scaled(24)) / 2, qMax(0, width() - h), scaled(24));
}

void KivListItem::startEdit()
{
    if (!m_edit)
        return;
    m_edit->setText(QString::number(delayMs()));
    m_label->hide();
    m_edit->show();
    m_edit->setFocus();
    m_edit->selectAll();
}

bool KivListItem::isEditing() const
{
    return m_edit && !m_edit->isHidden();
}

void KivListItem::mouseDoubleClickEvent(QMouseEvent *)
{
    startEdit();
}

void KivListItem::editPressSlot()
{
    if (!isEditing())
        return;
    const int ms = committedDelay(m_edit->text());
    const int units = ms / 10;
    m_dataH = uint8_t(units >> 8);
    m_dataL = uint8_t(units & 0xFF);
    showDelay();
    m_edit->hide();
    m_label->show();
    emit delayChanged(ms);
    returnFocus();
}

void KivListItem::lostFocusSlot()
{
    if (!isEditing())
        return;
    qCDebug(lcWidgets, "lostFocusSlot");
    m_edit->hide();
    m_label->show();
    returnFocus();
}

void KivListItem::returnFocus()
{
    if (m_owner)
        m_owner->setFocus();
}

} // namespace mc
