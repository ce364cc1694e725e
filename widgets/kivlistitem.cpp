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
// What the two bytes of a delay and the step's millisecond figure both keep.
constexpr int kMaxDelayMs = 65535;

int usableUnit(int iUnitMs)
{
    return iUnitMs >= 1 && iUnitMs <= 1000 ? iUnitMs : kDefaultDelayUnitMs;
}
} // namespace

int committedDelay(const QString &typed, int iUnitMs)
{
    const int unit = usableUnit(iUnitMs);
    bool ok = false;
    const qlonglong v = typed.trimmed().toLongLong(&ok);
    // No delay is shorter than one unit: a step of no length would be no delay at all.
    if (!ok || v < unit)
        return unit;
    const int ms = int(qMin<qlonglong>(v, kMaxDelayMs));
    return ms - ms % unit;
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

void KivListItem::setDelayUnit(int iUnitMs)
{
    m_unit = usableUnit(iUnitMs);
    if (m_type == kDelayStepType)
        showDelay();
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
    const int ms = committedDelay(m_edit->text(), m_unit);
    const int units = ms / m_unit;
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
